#include "DrawRules.h"
#include "modPublic.h"
#include <qrt/refhost/DrawFiles.h>

#include <QFile>

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

namespace qrt::ref
{

namespace
{

const char kMagic[] = "QRTDraws";
constexpr int kVersion = 1;

void splitFields(const QByteArray &bytes, qsizetype begin, qsizetype end,
                 std::vector<std::pair<qsizetype, qsizetype>> &out);

// The draws that passed the line checks, as the rule code reads them: a row is the bounds of
// its line, split again when the row is read, so a million draws cost neither a string nor a
// stored span per cell. The rules read row by row, so each line is split once.
class ParsedTable : public DrawTable
{
public:
    ParsedTable(const QByteArray &bytes, int cols) : m_bytes(bytes), m_cols(cols) {}
    int rowCount() const override { return int(m_rows.size()); }
    int colCount() const override { return m_cols; }
    void cell(int row, int col, QString &out) const override
    {
        const auto [start, len] = span(row, col);
        const char *p = m_bytes.constData() + start;
        out.resize(len);
        QChar *dst = out.data();
        for (qsizetype i = 0; i < len; ++i)
            dst[i] = QChar(uchar(p[i])); // bytes above 127 are never digits, whatever they encode
    }

    bool cellBytes(int row, int col, const char *&data, qsizetype &size) const override
    {
        const auto [start, len] = span(row, col);
        data = m_bytes.constData() + start;
        size = len;
        return true;
    }

    void reserve(size_t rows) { m_rows.reserve(rows); }
    /// A line whose fields were counted already: [begin, plus) holds the issue and the
    /// numbers, [plus + 1, end) the bonus; plus is end for a lottery without one.
    void add(int line, qsizetype begin, qsizetype plus, qsizetype end)
    {
        m_rows.push_back({uint32_t(begin), uint32_t(plus), uint32_t(end), line});
    }
    int line(int row) const { return m_rows[size_t(row)].line; }
    QString text(int row, int col) const
    {
        const auto [start, len] = span(row, col);
        return QString::fromUtf8(m_bytes.constData() + start, len);
    }
    qint32 value(int row, int col) const
    {
        const auto [start, len] = span(row, col);
        qint32 v = 0;
        for (qsizetype i = 0; i < len; ++i)
            v = v * 10 + (m_bytes[start + i] - '0');
        return v;
    }

private:
    struct Row { // offsets fit: bigger files are refused before parsing
        uint32_t begin, plus, end;
        int line;
    };

    std::pair<qsizetype, qsizetype> span(int row, int col) const
    {
        if (row != m_splitRow) {
            const Row &r = m_rows[size_t(row)];
            m_fields.clear();
            splitFields(m_bytes, r.begin, r.plus, m_fields);
            if (r.plus < r.end)
                splitFields(m_bytes, r.plus + 1, r.end, m_fields);
            m_splitRow = row;
        }
        return m_fields[size_t(col)];
    }

    const QByteArray &m_bytes;
    int m_cols;
    std::vector<Row> m_rows;
    mutable int m_splitRow = -1;
    mutable std::vector<std::pair<qsizetype, qsizetype>> m_fields;
};

qsizetype findInLine(const QByteArray &bytes, char c, qsizetype from, qsizetype end)
{
    if (from >= end)
        return -1;
    const void *hit = std::memchr(bytes.constData() + from, c, size_t(end - from));
    return hit ? static_cast<const char *>(hit) - bytes.constData() : -1;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// The fields of bytes [begin, end), separated by blanks or commas, as (start, length).
void splitFields(const QByteArray &bytes, qsizetype begin, qsizetype end,
                 std::vector<std::pair<qsizetype, qsizetype>> &out)
{
    qsizetype i = begin;
    while (i < end) {
        while (i < end && (isBlank(bytes[i]) || bytes[i] == ','))
            ++i;
        const qsizetype start = i;
        while (i < end && !isBlank(bytes[i]) && bytes[i] != ',')
            ++i;
        if (i > start)
            out.emplace_back(start, i - start);
    }
}

QString columnName(int col, const LotteryShape &shape)
{
    if (col == 0)
        return QStringLiteral("issue");
    if (shape.bonus && col == shape.total + 1)
        return QStringLiteral("bonus");
    return QStringLiteral("number %1").arg(col);
}

void appendUtf8(QByteArray &out, QStringView text)
{
    for (QChar c : text) {
        if (c.unicode() >= 0x80) {
            out += text.toUtf8();
            return;
        }
    }
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char *p = out.data() + at;
    for (QChar c : text)
        *p++ = char(c.unicode());
}

} // namespace

QStringList ReadResult::describe(const QString &file, int most) const
{
    const qsizetype shown =
        most < 0 ? qsizetype(errors.size()) : std::min(qsizetype(errors.size()), qsizetype(most));
    QStringList out;
    for (qsizetype i = 0; i < shown; ++i)
        out << QStringLiteral("%1:%2: %3").arg(file).arg(errors[i].line).arg(errors[i].reason);
    if (shown < qsizetype(errors.size()))
        out << QStringLiteral("... and %1 more").arg(qsizetype(errors.size()) - shown);
    return out;
}

quint32 crc32(const QByteArray &bytes)
{
    // zlib's table-driven CRC is several times faster than a byte loop on a 30 MB body.
    return quint32(
        ::crc32_z(0, reinterpret_cast<const Bytef *>(bytes.constData()), size_t(bytes.size())));
}

namespace
{
// @p expectedRows, when known, spares counting the lines first.
ReadResult readTextDrawsWith(const QByteArray &bytes, const LotteryShape &shape, int firstLine,
                             std::optional<size_t> expectedRows)
{
    ReadResult result;
    result.shape = shape;
    if (quint64(bytes.size()) >= std::numeric_limits<uint32_t>::max()) {
        result.errors.push_back({0, QStringLiteral("the file is too large (4 GB or more)")});
        return result;
    }
    const int cols = shape.total + 1 + (shape.bonus ? 1 : 0);
    ParsedTable table(bytes, cols);
    // One line is one draw, nearly always: growing the rows by doubling would copy them
    // about twenty times on a million draws.
    size_t lines = 1;
    if (expectedRows) // as the file claims, but never more than its bytes can hold
        lines = std::min(*expectedRows, size_t(bytes.size()) / size_t(2 * cols) + 1);
    else
        for (const char *p = bytes.constData(), *stop = p + bytes.size();
             (p = static_cast<const char *>(std::memchr(p, '\n', size_t(stop - p)))); ++p)
            ++lines;
    table.reserve(lines);
    std::vector<std::pair<qsizetype, qsizetype>> cells;
    std::vector<std::pair<qsizetype, qsizetype>> bonus;
    qsizetype pos = 0;
    for (int lineNo = firstLine; pos < bytes.size(); ++lineNo) {
        qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            end = bytes.size();
        const qsizetype begin = pos;
        pos = end + 1;
        qsizetype first = begin;
        while (first < end && isBlank(bytes[first]))
            ++first;
        if (first == end || bytes[first] == '#')
            continue;
        auto bad = [&](const QString &why) { result.errors.push_back({lineNo, why}); };
        // Searched within the line only: a lottery without a bonus has no "+" anywhere.
        const qsizetype plus = findInLine(bytes, '+', begin, end);
        const bool hasPlus = plus >= 0;
        if (hasPlus) {
            if (findInLine(bytes, '+', plus + 1, end) >= 0) {
                bad(QStringLiteral("more than one \"+\": only the bonus number follows a \"+\""));
                continue;
            }
        }
        if (shape.bonus && !hasPlus) {
            bad(QStringLiteral("the bonus number is missing: write it after a \"+\""));
            continue;
        }
        if (!shape.bonus && hasPlus) {
            bad(QStringLiteral("this lottery has no bonus number, but the line has a \"+\""));
            continue;
        }
        cells.clear();
        splitFields(bytes, begin, hasPlus ? plus : end, cells);
        if (cells.empty()) {
            bad(QStringLiteral("the issue is missing"));
            continue;
        }
        if (int(cells.size()) - 1 != shape.total) {
            bad(QStringLiteral("expected %1 numbers after the issue, found %2")
                    .arg(shape.total)
                    .arg(cells.size() - 1));
            continue;
        }
        if (shape.bonus) {
            bonus.clear();
            splitFields(bytes, plus + 1, end, bonus);
            if (bonus.size() != 1) {
                bad(QStringLiteral("expected one bonus number after the \"+\", found %1")
                        .arg(bonus.size()));
                continue;
            }
        }
        table.add(lineNo, begin, hasPlus ? plus : end, end);
    }

    DrawLimits limits;
    limits.totalNumber = shape.total;
    limits.miniNumber = shape.mini;
    limits.maxNumber = shape.maxi;
    limits.checkBonus = shape.bonus;
    for (const RuleBreak &b : checkDraws(table, limits, false)) {
        result.errors.push_back(
            {table.line(b.row),
             QStringLiteral("%1 (%2: \"%3\")")
                 .arg(LoadMessage(b.message), columnName(b.col, shape), table.text(b.row, b.col))});
    }
    std::stable_sort(result.errors.begin(), result.errors.end(),
                     [](const ReadError &a, const ReadError &b) { return a.line < b.line; });
    if (!result.errors.empty())
        return result;

    result.draws = DrawList(shape.total, shape.bonus);
    result.draws.reserve(table.rowCount());
    std::vector<qint32> values(static_cast<size_t>(cols));
    for (int r = 0; r < table.rowCount(); ++r) {
        for (int c = 1; c < cols; ++c)
            values[size_t(c)] = table.value(r, c);
        result.draws.append(table.text(r, 0), values.data() + 1,
                            shape.bonus ? values[size_t(cols) - 1] : 0);
    }
    return result;
}

} // namespace

ReadResult readTextDraws(const QByteArray &bytes, const LotteryShape &shape, int firstLine)
{
    return readTextDrawsWith(bytes, shape, firstLine, std::nullopt);
}

namespace
{
void appendTextDraws(QByteArray &out, const DrawList &draws)
{
    out.reserve(out.size() + qsizetype(draws.size()) * (10 + 3 * (draws.total() + 2)));
    // The numbers of a draw are written into a buffer and appended at once.
    std::vector<char> line(size_t(12) * size_t(draws.total() + 1) + 4);
    for (int i = 0; i < draws.size(); ++i) {
        appendUtf8(out, draws.issueView(i));
        char *p = line.data();
        for (int j = 0; j < draws.total(); ++j) {
            *p++ = ' ';
            p = writeTwoDigits(p, draws.number(i, j));
        }
        if (draws.hasBonus()) {
            *p++ = ' ';
            *p++ = '+';
            *p++ = ' ';
            p = writeTwoDigits(p, draws.bonus(i));
        }
        *p++ = '\n';
        out.append(line.data(), p - line.data());
    }
}
} // namespace

QByteArray formatTextDraws(const DrawList &draws)
{
    QByteArray out;
    appendTextDraws(out, draws);
    return out;
}

QByteArray formatUserData(const LotteryShape &shape, const DrawList &draws)
{
    QByteArray out;
    out += kMagic;
    out += ' ' + QByteArray::number(kVersion) + '\n';
    out += "lottery: " + shape.name.toUtf8() + '\n';
    out += "shape: " + shape.id().toUtf8() + '\n';
    out += "draws: " + QByteArray::number(draws.size()) + '\n';
    // The checksum has a fixed width, so the body can follow at once and the checksum be
    // filled in afterwards: no second copy of a 30 MB body.
    out += "crc32: ";
    const qsizetype crcAt = out.size();
    out += "00000000\n";
    const qsizetype bodyAt = out.size();
    appendTextDraws(out, draws);
    const QByteArray body = QByteArray::fromRawData(out.constData() + bodyAt, out.size() - bodyAt);
    const QByteArray crc = QByteArray::number(crc32(body), 16).rightJustified(8, '0');
    std::memcpy(out.data() + crcAt, crc.constData(), 8);
    return out;
}

ReadResult readUserData(const QByteArray &bytes)
{
    ReadResult result;
    auto fail = [&](int line, const QString &why) {
        result.errors.push_back({line, why});
        return result;
    };
    qsizetype pos = 0;
    QByteArray header[5];
    for (int i = 0; i < 5; ++i) {
        const qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            return fail(
                i + 1,
                i == 0 ? QStringLiteral("not a QRT draw file (the file is empty or has no header)")
                       : QStringLiteral("the header ends early: the file is truncated"));
        header[i] = bytes.mid(pos, end - pos);
        pos = end + 1;
    }
    const QList<QByteArray> first = header[0].split(' ');
    if (first.size() != 2 || first[0] != kMagic)
        return fail(1, QStringLiteral("not a QRT draw file (it should start with \"%1 %2\")")
                           .arg(QLatin1String(kMagic))
                           .arg(kVersion));
    if (first[1] != QByteArray::number(kVersion))
        return fail(
            1, QStringLiteral("format version %1 is not supported; this program reads version %2")
                   .arg(QString::fromUtf8(first[1]))
                   .arg(kVersion));
    const char *keys[] = {"lottery", "shape", "draws", "crc32"};
    QString values[4];
    for (int i = 0; i < 4; ++i) {
        const QByteArray prefix = QByteArray(keys[i]) + ": ";
        if (!header[i + 1].startsWith(prefix))
            return fail(
                i + 2,
                QStringLiteral("expected \"%1: ...\" in the header").arg(QLatin1String(keys[i])));
        values[i] = QString::fromUtf8(header[i + 1].mid(prefix.size()));
    }
    QString why;
    const std::optional<LotteryShape> shape = LotteryShape::parse(values[1], &why);
    if (!shape)
        return fail(3, why);
    result.shape = *shape;
    result.shape.name = values[0];
    bool ok = false;
    const int count = values[2].toInt(&ok);
    if (!ok || count < 0)
        return fail(4, QStringLiteral("\"%1\" is not a number of draws").arg(values[2]));
    const quint32 expectedCrc = values[3].toUInt(&ok, 16);
    if (!ok || values[3].size() != 8)
        return fail(5, QStringLiteral("\"%1\" is not a CRC-32 checksum").arg(values[3]));

    // A view, not a copy: the body is most of the file.
    const QByteArray body = QByteArray::fromRawData(bytes.constData() + pos, bytes.size() - pos);
    ReadResult draws = readTextDrawsWith(body, result.shape, 6, size_t(count) + 1);
    result.errors = std::move(draws.errors);
    if (crc32(body) != expectedCrc)
        result.errors.insert(
            result.errors.begin(),
            {5, QStringLiteral("checksum mismatch: the draws were changed or damaged "
                               "after they were saved")});
    if (result.errors.empty() && draws.draws.size() != count)
        result.errors.push_back(
            {4, QStringLiteral("the header promises %1 draws but the file holds %2")
                    .arg(count)
                    .arg(draws.draws.size())});
    if (result.errors.empty())
        result.draws = std::move(draws.draws);
    return result;
}

namespace
{
ReadResult unreadable(const QFile &file)
{
    ReadResult r;
    r.errors.push_back({0, QStringLiteral("cannot read the file: %1").arg(file.errorString())});
    return r;
}
} // namespace

ReadResult readUserDataFile(const QString &path, QByteArray *bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file);
    const QByteArray all = file.readAll();
    if (bytes)
        *bytes = all;
    return readUserData(all);
}

ReadResult readTextDrawFile(const QString &path, const LotteryShape &shape)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return unreadable(file);
    return readTextDraws(file.readAll(), shape);
}

} // namespace qrt::ref
