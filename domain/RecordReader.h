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

    RecordReader(const QByteArray &bytes, char separator, qsizetype from = 0, int firstLine = 1);

    /// The next record, empty ones included; false at the end of the text.
    bool next();
    /// The line the record starts on.
    int line() const { return m_line; }
    const std::vector<QByteArrayView> &fields() const { return m_fields; }
    /// The record's text as it stands in the file, for messages.
    QByteArrayView raw() const { return m_raw; }
    /// No field holds anything.
    bool blank() const;
    qsizetype position() const { return m_pos; }

private:
    void splitPlain(const char *begin, const char *end);
    /// False when a quote stays open too long to be a record of draws.
    bool splitQuoted();

    const QByteArray &m_bytes;
    char m_sep;
    qsizetype m_pos;
    int m_nextLine;
    int m_line = 0;
    QByteArrayView m_raw;
    std::vector<QByteArrayView> m_fields;
    QByteArray m_unquoted;
};

} // namespace qrt::domain
