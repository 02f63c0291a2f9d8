#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace qrt::domain
{

/// The records of delimited text, one at a time, as RFC 4180 has them: a field in double
/// quotes may hold the separator, "" for a quote and line breaks (a record of up to 64 KB). Line
/// ends may be LF, CR LF or CR alone. Fields come without the blanks around them.
class RecordReader
{
public:
    /// The separator: ',', ';', '\t' or '|'; ' ' for runs of blanks; kTextDraws for the text
    /// draw file, where blanks and commas separate and a "+" is a field of its own.
    static constexpr char kTextDraws = '+';
    /// No record of draws comes near this: a longer line is not split into fields at all, and
    /// a quote left open for longer ends with its line.
    static constexpr qsizetype kLongestRecord = qsizetype(1) << 16;

    /// Without @p whole, the bytes are a piece of a longer text: a record that reaches their
    /// end may go on in the next piece, and is left for it.
    RecordReader(const QByteArray &bytes, char separator, qsizetype from = 0, int firstLine = 1,
                 bool whole = true);

    /// The next record, empty ones included; false at the end of the text, or of the piece.
    bool next();
    /// The line the record starts on.
    int line() const { return m_line; }
    const std::vector<QByteArrayView> &fields() const { return m_fields; }
    /// The record's text as it stands in the file, for messages.
    QByteArrayView raw() const { return m_raw; }
    /// No field holds anything.
    bool blank() const;
    /// The record is a line longer than kLongestRecord, and has no fields.
    bool tooLong() const { return m_tooLong; }
    /// Where the next record starts; at the end of a piece, the record left for the next one.
    qsizetype position() const { return m_pos; }
    /// The line the next record starts on.
    int nextLine() const { return m_nextLine; }
    /// Goes on from the start of the bytes, which the caller has replaced by what was left of
    /// them and the next piece of the text.
    void restart(bool whole)
    {
        m_pos = 0;
        m_whole = whole;
    }

private:
    enum class Quoted { Done, TooLong, Unfinished };
    void splitPlain(const char *begin, const char *end);
    /// TooLong when a quote stays open too long to be a record of draws.
    Quoted splitQuoted();

    const QByteArray &m_bytes;
    char m_sep;
    bool m_whole;
    qsizetype m_pos;
    int m_nextLine;
    int m_line = 0;
    bool m_tooLong = false;
    QByteArrayView m_raw;
    std::vector<QByteArrayView> m_fields;
    QByteArray m_unquoted;
};

} // namespace qrt::domain
