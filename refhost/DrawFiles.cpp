#include "CleanDraws.h"
#include "DrawRules.h"
#include "modPublic.h"
#include <qrt/refhost/DrawFileReader.h>
#include <qrt/refhost/DrawFiles.h>

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <optional>

namespace qrt::ref
{

namespace
{

const char kMagic[] = "QRTDraws";
// Version 2 only for the shapes version 1 cannot name: a file of any other lottery stays
// readable by the programs that read version 1.
constexpr int kVersion = 1;
constexpr int kSecondDrumVersion = 2;
// Bad lines listed by number; the rest are counted in constant memory.
constexpr size_t kListedErrors = 100;
// A header line is a word and a short value; a longer one is no header.
constexpr qsizetype kMaxHeaderLineBytes = 4096;
const char kUtf8Bom[] = "\xEF\xBB\xBF";

// A UTF-16 file has a byte order mark or, being digits and blanks, a NUL in every other byte.
bool looksUtf16(const QByteArray &bytes)
{
    return bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF") ||
           (bytes.size() >= 2 && (bytes[0] == 0) != (bytes[1] == 0));
}

using Span = std::pair<qsizetype, qsizetype>;
int splitFields(const QByteArray &bytes, qsizetype begin, qsizetype end, Span *out, int room);

// Room for a draw of nine-digit numbers, however it is spaced, and a long issue: a line
// beyond it is refused before it is split, so a hostile line costs no memory.
qsizetype maxLineBytes(int cols)
{
    return 4096 + 32 * qsizetype(cols);
}

// The draws that passed the line checks, as the rule code reads them: a row is the bounds of
// its line, split again when the row is read, so a million draws cost neither a string nor a
// stored span per cell. The rules read row by row, so each line is split once.
class ParsedTable : public DrawTable
{
public:
    ParsedTable(const QByteArray &bytes, int cols)
        : m_bytes(bytes), m_cols(cols), m_fields(size_t(cols))
    {
    }
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

private:
    struct Row { // offsets fit: bigger files are refused before parsing
        uint32_t begin, plus, end;
        int line;
    };

    // Only lines whose fields were counted are added, so a row fills m_fields exactly.
    Span span(int row, int col) const
    {
        if (row != m_splitRow) {
            const Row &r = m_rows[size_t(row)];
            const int basic = splitFields(m_bytes, r.begin, r.plus, m_fields.data(), m_cols);
            if (r.plus < r.end && basic < m_cols)
                splitFields(m_bytes, r.plus + 1, r.end, m_fields.data() + basic, m_cols - basic);
            m_splitRow = row;
        }
        return m_fields[size_t(col)];
    }

    const QByteArray &m_bytes;
    int m_cols;
    std::vector<Row> m_rows;
    mutable int m_splitRow = -1;
    mutable std::vector<Span> m_fields;
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

// Every line is split twice on its way in, once to be counted and taken, once for the rule
// check, so the separators are looked up in a table.
constexpr std::array<bool, 256> kSeparator = [] {
    std::array<bool, 256> t{};
    for (unsigned char c : {' ', '\t', '\r', '\v', '\f', ','})
        t[c] = true;
    return t;
}();

// The fields of bytes [begin, end), separated by blanks or commas, as (start, length): the
// first @p room of them go to @p out, the rest are only counted, so a line of more fields than
// a draw has costs no memory. Returns how many there are.
int splitFields(const QByteArray &bytes, qsizetype begin, qsizetype end, Span *out, int room)
{
    const auto *base = reinterpret_cast<const unsigned char *>(bytes.constData());
    const unsigned char *p = base + begin;
    const unsigned char *stop = base + end;
    Span *o = out;
    Span *const full = out + std::max(room, 0);
    while (o != full && p < stop) {
        while (p < stop && kSeparator[*p])
            ++p;
        const unsigned char *start = p;
        while (p < stop && !kSeparator[*p])
            ++p;
        if (p > start)
            *o++ = {start - base, p - start};
    }
    // Past the room the fields are counted only, by where they start.
    int count = int(o - out);
    for (const unsigned char *first = base + begin; p < stop; ++p)
        count += !kSeparator[*p] && (p == first || kSeparator[p[-1]]);
    return count;
}

QString columnName(int col, const LotteryShape &shape)
{
    if (col == 0)
        return QStringLiteral("issue");
    if (col > shape.total && col <= shape.total + shape.bonuses())
        return col == shape.total + 1 ? QStringLiteral("bonus") : QStringLiteral("bonus 2");
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
    if (shown < errorCount())
        out << QStringLiteral("... and %1%2 more")
                   .arg(unlistedAtLeast ? QStringLiteral("at least ") : QString())
                   .arg(errorCount() - shown);
    return out;
}

void ReadResult::addErrors(std::vector<ReadError> more, qsizetype moreUnlisted)
{
    if (more.empty() && moreUnlisted == 0)
        return;
    errors.insert(errors.end(), std::make_move_iterator(more.begin()),
                  std::make_move_iterator(more.end()));
    std::stable_sort(errors.begin(), errors.end(),
                     [](const ReadError &a, const ReadError &b) { return a.line < b.line; });
    unlisted += moreUnlisted;
    if (errors.size() > kListedErrors) {
        unlisted += qsizetype(errors.size() - kListedErrors);
        errors.resize(kListedErrors);
    }
    draws = DrawList(shape.total, shape.bonuses());
}

qsizetype maxDrawLineBytes(const LotteryShape &shape)
{
    return maxLineBytes(shape.total + 1 + shape.bonuses());
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
    qsizetype pos = 0;
    if (bytes.startsWith(kUtf8Bom)) {
        pos = 3;
    } else if (looksUtf16(bytes)) {
        result.errors.push_back(
            {firstLine, QStringLiteral("the file is UTF-16 text: save it as UTF-8 or plain text "
                                       "and read it again")});
        return result;
    }
    const int bonuses = shape.bonuses();
    const int cols = shape.total + 1 + bonuses;
    ParsedTable table(bytes, cols);
    // One line is one draw, nearly always: growing the rows by doubling would copy them
    // about twenty times on a million draws. Never more than the bytes can hold, though.
    size_t lines = 1;
    if (expectedRows)
        lines = *expectedRows;
    else
        for (const char *p = bytes.constData(), *stop = p + bytes.size();
             (p = static_cast<const char *>(std::memchr(p, '\n', size_t(stop - p)))); ++p)
            ++lines;
    table.reserve(std::min(lines, size_t(bytes.size()) / size_t(2 * cols) + 1));
    // The issue, the basic numbers and the bonus of the line at hand.
    std::vector<Span> cells(static_cast<size_t>(cols));
    const qsizetype maxLine = maxLineBytes(cols);
    std::vector<qint32> values(static_cast<size_t>(cols));
    DrawLimits limits;
    limits.totalNumber = shape.total;
    limits.miniNumber = shape.mini;
    limits.maxNumber = shape.maxi;
    limits.checkBonus = shape.bonus;
    limits.bonusCount = std::max(1, bonuses);
    limits.ownDrum = shape.bonus && shape.ownDrum;
    limits.bonusMini = shape.bonusMini;
    limits.bonusMax = shape.bonusMaxi;
    CleanDraws witness(limits);
    // Issues are nearly always ASCII digits: they are widened into one reused text instead of
    // a new string each.
    QString issue;
    auto issueText = [&issue](const char *p, qsizetype size) -> QStringView {
        for (qsizetype k = 0; k < size; ++k)
            if (uchar(p[k]) >= 0x80) {
                issue = QString::fromUtf8(p, size);
                return issue;
            }
        issue.resize(size);
        char16_t *out = reinterpret_cast<char16_t *>(issue.data());
        for (qsizetype k = 0; k < size; ++k)
            out[k] = char16_t(uchar(p[k]));
        return issue;
    };
    result.draws = DrawList(shape.total, bonuses);
    result.draws.reserve(int(std::min(lines, size_t(bytes.size()) / size_t(2 * cols) + 1)));
    // Once kListedErrors lines are bad, no later line can be among the listed ones: later lines
    // are only counted, and are not kept for the rule check.
    int lastListedLine = std::numeric_limits<int>::max();
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
        // The reason is only made for a line that will be listed.
        auto bad = [&](auto &&why) {
            if (result.errors.size() < kListedErrors) {
                result.errors.push_back({lineNo, why()});
                if (result.errors.size() == kListedErrors)
                    lastListedLine = lineNo;
            } else {
                ++result.unlisted;
            }
        };
        if (end - begin > maxLine) {
            bad([&] {
                return QStringLiteral("the line is %1 bytes long; a draw line holds at most %2")
                    .arg(end - begin)
                    .arg(maxLine);
            });
            continue;
        }
        if (findInLine(bytes, '\0', begin, end) >= 0) {
            bad([] {
                return QStringLiteral("the line holds a NUL byte: the file is binary or damaged");
            });
            continue;
        }
        // Searched within the line only: a lottery without a bonus has no "+" anywhere.
        const qsizetype plus = findInLine(bytes, '+', begin, end);
        const bool hasPlus = plus >= 0;
        if (hasPlus && findInLine(bytes, '+', plus + 1, end) >= 0) {
            bad([&] {
                return bonuses > 1
                           ? QStringLiteral("more than one \"+\": only the bonus numbers follow "
                                            "a \"+\"")
                           : QStringLiteral("more than one \"+\": only the bonus number follows "
                                            "a \"+\"");
            });
            continue;
        }
        if (shape.bonus && !hasPlus) {
            bad([&] {
                return bonuses > 1 ? QStringLiteral("the bonus numbers are missing: write them "
                                                    "after a \"+\"")
                                   : QStringLiteral("the bonus number is missing: write it after "
                                                    "a \"+\"");
            });
            continue;
        }
        if (!shape.bonus && hasPlus) {
            bad([] {
                return QStringLiteral("this lottery has no bonus number, but the line has a \"+\"");
            });
            continue;
        }
        const int fields =
            splitFields(bytes, begin, hasPlus ? plus : end, cells.data(), shape.total + 1);
        if (fields == 0) {
            bad([] { return QStringLiteral("the issue is missing"); });
            continue;
        }
        if (fields - 1 != shape.total) {
            bad([&] {
                return QStringLiteral("expected %1 numbers after the issue, found %2")
                    .arg(shape.total)
                    .arg(fields - 1);
            });
            continue;
        }
        if (shape.bonus) {
            const int bonus =
                splitFields(bytes, plus + 1, end, &cells[size_t(shape.total) + 1], bonuses);
            if (bonus != bonuses) {
                bad([&] {
                    return bonuses == 1
                               ? QStringLiteral("expected one bonus number after the \"+\", "
                                                "found %1")
                                     .arg(bonus)
                               : QStringLiteral("expected %1 bonus numbers after the \"+\", "
                                                "found %2")
                                     .arg(bonuses)
                                     .arg(bonus);
                });
                continue;
            }
        }
        if (lineNo >= lastListedLine) {
            result.unlistedAtLeast = true;
            continue;
        }
        table.add(lineNo, begin, hasPlus ? plus : end, end);
        const char *data = bytes.constData();
        // The draw is taken from the fields split already, while the file is still clean;
        // the rule check below throws it away again if any cell breaks a rule.
        if (witness.add(data, cells.data(), int(cells.size()), values.data()) &&
            result.errors.empty()) {
            result.draws.appendDraw(issueText(data + cells[0].first, cells[0].second),
                                    values.data());
            continue;
        }
        if (!result.errors.empty())
            continue;
        // Unsigned: a field that is no number yet may be long; its value is never used then.
        auto number = [&](const Span &field) {
            quint32 v = 0;
            for (qsizetype k = 0; k < field.second; ++k)
                v = v * 10 + quint32(data[field.first + k] - '0');
            return qint32(v);
        };
        for (int c = 1; c < int(cells.size()); ++c)
            values[size_t(c - 1)] = number(cells[size_t(c)]);
        result.draws.appendDraw(issueText(data + cells[0].first, cells[0].second), values.data());
    }

    // A file whose every draw passed as it was read breaks no rule: the full check, which
    // reads every cell again, is for files that left doubt.
    std::vector<RuleBreak> breaks =
        witness.clean() ? std::vector<RuleBreak>() : checkDraws(table, limits, false);
    // Rows are in line order. Past the first hundred breaks none can be listed, so they are
    // counted without a message: a message each would cost far more than the file.
    std::stable_sort(breaks.begin(), breaks.end(),
                     [](const RuleBreak &a, const RuleBreak &b) { return a.row < b.row; });
    if (breaks.size() > kListedErrors) {
        result.unlisted += qsizetype(breaks.size() - kListedErrors);
        breaks.resize(kListedErrors);
    }
    for (const RuleBreak &b : breaks) {
        result.errors.push_back(
            {table.line(b.row),
             QStringLiteral("%1 (%2: \"%3\")")
                 .arg(LoadMessage(b.message), columnName(b.col, shape), table.text(b.row, b.col))});
    }
    std::stable_sort(result.errors.begin(), result.errors.end(),
                     [](const ReadError &a, const ReadError &b) { return a.line < b.line; });
    if (result.errors.size() > kListedErrors) {
        result.unlisted += qsizetype(result.errors.size() - kListedErrors);
        result.errors.resize(kListedErrors);
    }
    // A file is loaded whole or not at all.
    if (!result.errors.empty())
        result.draws = DrawList(shape.total, bonuses);
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
    std::vector<char> line(size_t(12) * size_t(draws.total() + draws.bonusCount() + 1) + 4);
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
            for (int k = 0; k < draws.bonusCount(); ++k) {
                *p++ = ' ';
                p = writeTwoDigits(p, draws.bonus(i, k));
            }
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
    out += ' ' + QByteArray::number(shape.secondDrum() ? kSecondDrumVersion : kVersion) + '\n';
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
    qsizetype pos = bytes.startsWith(kUtf8Bom) ? 3 : 0;
    if (pos == 0 && looksUtf16(bytes))
        return fail(1, QStringLiteral("the file is UTF-16 text, not a QRT draw file"));
    QByteArray header[5];
    for (int i = 0; i < 5; ++i) {
        const qsizetype end = bytes.indexOf('\n', pos);
        if (end < 0)
            return fail(
                i + 1,
                i == 0 ? QStringLiteral("not a QRT draw file (the file is empty or has no header)")
                       : QStringLiteral("the header ends early: the file is truncated"));
        if (end - pos > kMaxHeaderLineBytes)
            return fail(i + 1,
                        QStringLiteral("the line is %1 bytes long; a header line holds at most %2")
                            .arg(end - pos)
                            .arg(kMaxHeaderLineBytes));
        // A header whose lines end in CR LF (an editor's doing) reads the same.
        header[i] = bytes.mid(pos, end - pos);
        if (header[i].endsWith('\r'))
            header[i].chop(1);
        pos = end + 1;
    }
    const QList<QByteArray> first = header[0].split(' ');
    if (first.size() != 2 || first[0] != kMagic)
        return fail(1, QStringLiteral("not a QRT draw file (it should start with \"%1 %2\")")
                           .arg(QLatin1String(kMagic))
                           .arg(kVersion));
    const bool secondDrumVersion = first[1] == QByteArray::number(kSecondDrumVersion);
    if (first[1] != QByteArray::number(kVersion) && !secondDrumVersion)
        return fail(1, QStringLiteral("format version %1 is not supported; this program reads "
                                      "versions %2 and %3")
                           .arg(QString::fromUtf8(first[1]))
                           .arg(kVersion)
                           .arg(kSecondDrumVersion));
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
    if (shape->secondDrum() != secondDrumVersion)
        return fail(3, QStringLiteral("the shape %1 cannot be in a file of format version %2")
                           .arg(values[1], QString::fromUtf8(first[1])));
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
ReadResult unreadable(const QString &why)
{
    ReadResult r;
    r.errors.push_back({0, why});
    return r;
}

} // namespace

Status readDrawFileBytes(const QString &path, QByteArray &bytes)
{
    bytes = QByteArray();
    DrawFileReader file;
    Status s = file.open(path);
    if (s.ok())
        s = file.readRest(bytes);
    if (!s.ok())
        bytes = QByteArray();
    return s;
}

ReadResult readUserDataFile(const QString &path, QByteArray *bytes)
{
    QByteArray all;
    if (const Status s = readDrawFileBytes(path, all); !s.ok())
        return unreadable(s.message());
    ReadResult r = readUserData(all);
    if (bytes)
        *bytes = std::move(all);
    return r;
}

} // namespace qrt::ref
