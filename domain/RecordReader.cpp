#include "RecordReader.h"

#include <cstring>

namespace qrt::domain
{

namespace
{
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

QByteArrayView trimmed(const char *b, const char *e)
{
    while (b < e && isBlank(*b))
        ++b;
    while (e > b && isBlank(e[-1]))
        --e;
    return QByteArrayView(b, e - b);
}

// The end of the line that starts at @p p: the first LF, or a CR alone before it.
const char *lineEnd(const char *p, const char *stop)
{
    const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(stop - p)));
    const char *limit = lf ? lf : stop;
    const char *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(limit - p)));
    return !cr || cr + 1 == limit ? limit : cr;
}
} // namespace

RecordReader::RecordReader(const QByteArray &bytes, char separator, qsizetype from, int firstLine,
                           bool whole)
    : m_bytes(bytes), m_sep(separator), m_whole(whole), m_pos(from), m_nextLine(firstLine)
{
}

bool RecordReader::blank() const
{
    for (const QByteArrayView f : m_fields)
        if (!f.isEmpty())
            return false;
    return true;
}

void RecordReader::splitPlain(const char *b, const char *e)
{
    if (m_sep == ' ' || m_sep == kTextDraws) {
        const bool text = m_sep == kTextDraws;
        const char *p = b;
        while (p < e) {
            while (p < e && (isBlank(*p) || (text && *p == ',')))
                ++p;
            if (p == e)
                break;
            if (text && *p == '+') {
                m_fields.emplace_back(p, 1);
                ++p;
                continue;
            }
            const char *start = p;
            while (p < e && !isBlank(*p) && !(text && (*p == ',' || *p == '+')))
                ++p;
            m_fields.emplace_back(start, p - start);
        }
        return;
    }
    const char *start = b;
    for (;;) {
        const char *hit = static_cast<const char *>(std::memchr(start, m_sep, size_t(e - start)));
        if (!hit) {
            m_fields.push_back(trimmed(start, e));
            return;
        }
        m_fields.push_back(trimmed(start, hit));
        start = hit + 1;
    }
}

bool RecordReader::next()
{
    const char *base = m_bytes.constData();
    const char *stop = base + m_bytes.size();
    if (m_pos >= m_bytes.size())
        return false;
    const char *begin = base + m_pos;
    const char *end = lineEnd(begin, stop);
    // The line may go on in the next piece; a CR at the end may be the half of a CR LF.
    const bool unfinished = !m_whole && end == stop;
    m_fields.clear();
    m_line = m_nextLine;
    // Split, a line of megabytes would be millions of fields.
    m_tooLong = end - begin > kLongestRecord;
    if (m_tooLong) {
        if (unfinished)
            return false;
        m_raw = QByteArrayView(begin, end - begin);
        m_pos = (end - base) + 1;
        ++m_nextLine;
        return true;
    }
    if (!std::memchr(begin, '"', size_t(end - begin)) || m_sep == kTextDraws) {
        if (unfinished)
            return false;
        m_raw = trimmed(begin, end);
        splitPlain(begin, end);
        m_pos = (end - base) + 1;
        ++m_nextLine;
        return true;
    }
    const Quoted quoted = splitQuoted();
    if (quoted == Quoted::Unfinished || (quoted == Quoted::TooLong && unfinished)) {
        m_fields.clear();
        return false;
    }
    if (quoted == Quoted::TooLong) {
        // A quote that never closes would make the rest of the file one field: the line is
        // taken as it stands instead, and is a bad row of its own.
        m_fields.clear();
        m_raw = trimmed(begin, end);
        splitPlain(begin, end);
        m_pos = (end - base) + 1;
        ++m_nextLine;
    }
    return true;
}

// A record with quotes: fields are unquoted into a buffer, and the views into it are made once
// the buffer has stopped growing.
RecordReader::Quoted RecordReader::splitQuoted()
{
    const char *base = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    qsizetype pos = m_pos;
    m_unquoted.resize(0);
    std::vector<std::pair<qsizetype, qsizetype>> spans;
    qsizetype fieldStart = 0;
    bool quoted = false, inField = false, wasQuoted = false;
    int lines = 1;
    auto endField = [&] {
        qsizetype b = fieldStart, e = m_unquoted.size();
        if (!wasQuoted) {
            while (b < e && isBlank(m_unquoted[b]))
                ++b;
            while (e > b && isBlank(m_unquoted[e - 1]))
                --e;
        }
        spans.emplace_back(b, e - b);
        fieldStart = m_unquoted.size();
        inField = wasQuoted = false;
    };
    const bool blanks = m_sep == ' ';
    while (pos < size) {
        const char c = base[pos++];
        if (quoted && pos - m_pos > kLongestRecord)
            return Quoted::TooLong;
        if (quoted) {
            if (c == '"' && pos < size && base[pos] == '"') {
                m_unquoted += '"';
                ++pos;
            } else if (c == '"') {
                quoted = false;
            } else {
                if (c == '\n' || (c == '\r' && (pos >= size || base[pos] != '\n')))
                    ++lines;
                m_unquoted += c;
            }
            continue;
        }
        if (c == '"' && !inField) {
            quoted = wasQuoted = inField = true;
            m_unquoted.truncate(fieldStart); // blanks before the quote
            continue;
        }
        if (c == '\n' || (c == '\r' && (pos >= size || base[pos] != '\n')))
            break;
        if (blanks ? (c == ' ' || c == '\t') : c == m_sep) {
            if (blanks && !inField)
                continue;
            endField();
            continue;
        }
        if (c == '\r')
            continue;
        if (!isBlank(c))
            inField = true;
        if (!wasQuoted)
            m_unquoted += c; // text after a closing quote is dropped, as spreadsheets do
    }
    // Cut at the end of a piece: in quotes, in the line, or after a CR that may be half a CR LF.
    if (pos >= size && !m_whole && (quoted || base[size - 1] != '\n'))
        return Quoted::Unfinished;
    if (inField || !blanks)
        endField();
    m_raw = QByteArrayView(base + m_pos, pos - m_pos);
    m_pos = pos;
    m_nextLine += lines;
    for (const auto &[b, n] : spans)
        m_fields.emplace_back(m_unquoted.constData() + b, n);
    return Quoted::Done;
}

} // namespace qrt::domain
