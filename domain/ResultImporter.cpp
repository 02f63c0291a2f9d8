#include "ResultImporter.h"
#include "DateField.h"
#include "RecordReader.h"

#include <qrt/refhost/DrawFileReader.h>

#include <DrawRules.h>

#include <QCoreApplication>

#include <QHash>
#include <QSet>

#include <algorithm>
#include <array>
#include <cstring>
#include <limits>

namespace qrt::domain
{

namespace
{
constexpr size_t kListed = 100;
// Rows looked at to find the layout; the roles must hold in nine of ten of them, so that a
// few junk rows near the top do not hide the table.
constexpr int kSampleRows = 200;
// A file is read in pieces of this size: its first piece also holds the rows sampled.
constexpr qsizetype kPiece = qsizetype(8) << 20;
constexpr int kIssueDigits = 19; // an issue's value fits 64 bits
constexpr quint32 kTooLong = std::numeric_limits<quint32>::max();

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool digitsOnly(QByteArrayView f)
{
    if (f.isEmpty())
        return false;
    for (const char c : f)
        if (!isDigit(c))
            return false;
    return true;
}

bool hasLetter(QByteArrayView f)
{
    for (const char c : f)
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || uchar(c) >= 0x80)
            return true;
    return false;
}

// The numbers of a field, however they are joined: "03 12 13", "18|30|40", "1-2-3". False
// when the field holds anything else.
bool numbersIn(QByteArrayView f, std::vector<quint32> &out)
{
    const char *p = f.data();
    const char *e = p + f.size();
    while (p < e) {
        if (isDigit(*p)) {
            quint64 v = 0;
            int n = 0;
            for (; p < e && isDigit(*p); ++p, ++n)
                if (n < 10)
                    v = v * 10 + quint64(*p - '0');
            out.push_back(n > 9 || v > kTooLong - 1 ? kTooLong : quint32(v));
            continue;
        }
        const char c = *p++;
        if (c != ' ' && c != '\t' && c != '|' && c != '-' && c != ',' && c != ';' && c != '/' &&
            c != '.' && c != '+' && c != '\r')
            return false;
    }
    return true;
}

int countNumbers(QByteArrayView f)
{
    std::vector<quint32> v;
    return numbersIn(f, v) ? int(v.size()) : -1;
}

QString shown(QByteArrayView f, bool latin1)
{
    const QByteArrayView cut = f.size() > 40 ? f.first(40) : f;
    QString s = latin1 ? QString::fromLatin1(cut) : QString::fromUtf8(cut);
    if (cut.size() < f.size())
        s += QStringLiteral("...");
    return s;
}

// The separator that splits every sampled line (outside quotes) into the same number of
// fields; blanks when none does.
// With @p cut, the bytes are the first piece of a file, and *cut is set when the lines sampled
// ran out before they were enough.
char detectSeparator(const QByteArray &bytes, bool *cut)
{
    const std::array<char, 4> candidates{'\t', ';', ',', '|'};
    std::array<std::vector<int>, 4> counts;
    // '\n' never splits a line: one field a line.
    RecordReader lines(bytes, '\n', 0, 1, !cut);
    int sampled = 0;
    while (sampled < 50 && lines.next()) {
        const QByteArrayView raw = lines.raw();
        if (raw.isEmpty())
            continue;
        ++sampled;
        std::array<int, 4> n{};
        bool quoted = false;
        for (const char c : raw) {
            if (c == '"')
                quoted = !quoted;
            else if (!quoted)
                for (size_t k = 0; k < candidates.size(); ++k)
                    n[k] += c == candidates[k] ? 1 : 0;
        }
        for (size_t k = 0; k < candidates.size(); ++k)
            counts[k].push_back(n[k]);
    }
    if (cut && sampled < 50)
        *cut = true;
    // The most frequent count among lines that have the separator at all, so that a title
    // line above the table does not count against it.
    for (size_t k = 0; k < candidates.size(); ++k) {
        QHash<int, int> freq;
        for (const int n : counts[k])
            if (n > 0)
                ++freq[n];
        int bestCount = 0;
        for (auto it = freq.cbegin(); it != freq.cend(); ++it)
            bestCount = std::max(bestCount, it.value());
        if (bestCount > 0 && bestCount * 10 >= sampled * 6)
            return candidates[k];
    }
    return ' ';
}

// The program's own text draw file: digits, blanks, commas, a "+" before the bonus, "#"
// comments; separated by blanks at least once, so that a CSV of commas alone is a table,
// where a "#" row is a row.
bool looksLikeTextDraws(const QByteArray &bytes, const ref::LotteryShape &shape, bool *cut)
{
    RecordReader lines(bytes, '\n', 0, 1, !cut);
    int sampled = 0, withPlus = 0;
    bool blanks = false;
    while (sampled < 50 && lines.next()) {
        const QByteArrayView raw = lines.raw();
        if (raw.isEmpty() || raw.front() == '#')
            continue;
        ++sampled;
        int plus = 0;
        bool digit = false;
        for (const char c : raw) {
            if (c == '+')
                ++plus;
            else if (isDigit(c))
                digit = true;
            else if (c == ' ' || c == '\t')
                blanks = blanks || digit;
            else if (c != ',' && c != '\r' && c != '\0') // a NUL is a bad line of its own
                return false;
        }
        withPlus += plus > 0 ? 1 : 0;
    }
    if (cut && sampled < 50)
        *cut = true;
    if (sampled == 0)
        return true;
    // A file of a game with bonus numbers is one for a lottery without them too, refused line
    // by line for its "+".
    return withPlus * 2 > sampled || (!shape.bonus && withPlus == 0 && blanks);
}

// How the lines of the first megabyte end: "LF", "CR LF", "CR", "mixed", or "" for one line.
// With @p more, the bytes go on, and a CR at their end may be the half of a CR LF.
QString lineEndsOf(const QByteArray &bytes, bool more)
{
    QByteArrayView head(bytes.constData(), std::min<qsizetype>(bytes.size(), 1 << 20));
    if (head.endsWith('\r') && (more || head.size() < bytes.size()))
        head.chop(1);
    const qsizetype lf = head.count('\n'), crlf = head.count("\r\n"), cr = head.count('\r');
    return lf == 0 && cr == 0         ? QString()
           : crlf == lf && cr == crlf ? QCoreApplication::translate("ResultImporter", "CR LF")
           : lf == 0                  ? QStringLiteral("CR")
           : crlf == 0                ? QStringLiteral("LF")
                                      : QStringLiteral("mixed");
}

enum class Kind { Empty, Int, Date, List, Text };

Kind kindOf(QByteArrayView f)
{
    if (f.isEmpty())
        return Kind::Empty;
    if (digitsOnly(f))
        return Kind::Int;
    if (DateField::parse(f.data(), f.size()))
        return Kind::Date;
    return countNumbers(f) >= 2 ? Kind::List : Kind::Text;
}

quint64 intValue(QByteArrayView f)
{
    quint64 v = 0;
    for (const char c : f.first(std::min<qsizetype>(f.size(), kIssueDigits)))
        v = v * 10 + quint64(c - '0');
    return v;
}

// The largest number a draw of @p s may hold, bonus numbers included.
int largest(const ref::LotteryShape &s)
{
    return s.bonus && s.ownDrum ? std::max(s.maxi, s.bonusMaxi) : s.maxi;
}

// The place of the first number of [from, to) that an earlier one of that range repeats;
// nums.size() when there is none. @p seen is all clear before and after.
size_t firstRepeat(const std::vector<quint32> &nums, size_t from, size_t to,
                   std::vector<uint64_t> &seen)
{
    size_t twice = nums.size();
    for (size_t i = from; i < to; ++i) {
        uint64_t &word = seen[nums[i] / 64];
        const uint64_t bit = uint64_t(1) << (nums[i] % 64);
        if ((word & bit) && twice == nums.size())
            twice = i;
        word |= bit;
    }
    for (size_t i = from; i < to; ++i)
        seen[nums[i] / 64] = 0;
    return twice;
}

struct Sampled {
    int line;
    std::vector<QByteArray> fields;
};
} // namespace

// The rows as read, packed: a million keno draws take about 35 MB here.
struct ResultImporter::Parsed {
    int issueCol = -1, dateCol = -1;
    // Every column that holds bonus numbers, in file order; what they hold together is the
    // draw's bonus numbers.
    std::vector<int> bonusCols;
    // A date written in three columns, from this one on; -1 when there is none.
    int partsCol = -1;
    bool partsYearFirst = false;
    std::vector<int> numberCols;
    int firstDataLine = 1;
    int stride = 0;
    // The bounds of every number of a draw, basic numbers first: the rules' own table.
    std::vector<std::pair<qint32, qint32>> bounds;

    // What the rows refused for the shape alone need of a shape that holds them: the extents
    // of their basic and bonus numbers, and the count of bonus numbers they have where it is
    // not the lottery's (-1: none such, -2: not one count).
    bool otherBad = false;
    bool rangeBad = false;
    int fileBonuses = -1;
    bool bonusMeetsBasic = false;
    quint32 basicLo = kTooLong, basicHi = 0, bonusLo = kTooLong, bonusHi = 0;

    std::vector<char> issueChars;
    std::vector<uint32_t> issueEnd;
    // One byte a number where the lottery's numbers fit, two otherwise.
    bool narrow = false;
    std::vector<quint8> values;
    size_t width() const { return narrow ? 1 : 2; }
    quint16 value(size_t at) const
    {
        return narrow ? values[at] : quint16(values[2 * at] | (values[2 * at + 1] << 8));
    }
    std::vector<uint32_t> lines;
    // Rows whose date still waits for the day-month order; empty when none does.
    std::vector<uint8_t> either;
    int maxFirst = 0, maxSecond = 0;
    bool dotsOnly = true;
    QString eitherExample;
    int rows() const { return int(lines.size()); }
    QByteArrayView issue(int r) const
    {
        const uint32_t b = r == 0 ? 0 : issueEnd[size_t(r) - 1];
        return QByteArrayView(issueChars.data() + b, issueEnd[size_t(r)] - b);
    }
};

QString ImportLayout::describe() const
{
    QStringList parts;
    if (format == Format::TextDraws) {
        parts << QCoreApplication::translate("ResultImporter", "a text draw file");
    } else {
        const QString sep = separator == ' ' ? QStringLiteral("blanks")
                            : separator == '\t'
                                ? QStringLiteral("tabs")
                                : QStringLiteral("\"%1\"").arg(QLatin1Char(separator));
        parts << QCoreApplication::translate("ResultImporter", "a table with %1 between fields")
                     .arg(sep);
        parts << (headerLine > 0
                      ? QCoreApplication::translate("ResultImporter", "a header on line %1")
                            .arg(headerLine)
                      : QCoreApplication::translate("ResultImporter", "no header"));
        QStringList used;
        for (qsizetype c = 0; c < roles.size() && c < columns.size(); ++c) {
            if (roles[c] == ColumnRole::Ignored)
                continue;
            qsizetype last = c;
            while (roles[c] == ColumnRole::Numbers && last + 1 < roles.size() &&
                   last + 1 < columns.size() && roles[last + 1] == ColumnRole::Numbers)
                ++last;
            used << (last == c
                         ? QStringLiteral("%1 from \"%2\"").arg(roleName(roles[c]), columns[c])
                         : QCoreApplication::translate("ResultImporter",
                                                       "numbers from \"%1\" to \"%2\"")
                               .arg(columns[c], columns[last]));
            c = last;
        }
        if (!used.isEmpty())
            parts << used.join(QStringLiteral(", "));
    }
    if (dayMonth == DayMonth::DayFirst)
        parts << QCoreApplication::translate("ResultImporter", "dates day first");
    else if (dayMonth == DayMonth::MonthFirst)
        parts << QCoreApplication::translate("ResultImporter", "dates month first");
    parts << encoding;
    if (!lineEnds.isEmpty())
        parts << QCoreApplication::translate("ResultImporter", "%1 line ends").arg(lineEnds);
    parts << (order == Order::Ascending
                  ? QCoreApplication::translate("ResultImporter", "oldest first")
              : order == Order::Descending
                  ? QCoreApplication::translate("ResultImporter", "newest first")
                  : QCoreApplication::translate("ResultImporter", "in mixed order"));
    return parts.join(QStringLiteral("; "));
}

ResultImporter::ResultImporter(const ref::LotteryShape &shape, ImportChoices choices)
    : m_shape(shape), m_choices(std::move(choices)), m_firstPiece(kPiece), m_nextPiece(kPiece),
      m_draws(shape.total, shape.bonuses())
{
}

ref::Status ResultImporter::readFile(const QString &path)
{
    ref::DrawFileReader file;
    QByteArray head;
    ref::Status s = file.open(path);
    if (s.ok())
        s = file.readMore(head, m_firstPiece);
    // UTF-16 is converted whole, in the buffer it was read into.
    if (s.ok() && !file.atEnd() && looksLikeUtf16(head))
        s = file.readRest(head);
    if (!s.ok())
        return s;
    m_more = file.atEnd() ? nullptr : &file;
    s = read(std::move(head));
    m_more = nullptr;
    return s;
}

// Drops the records read from the text, and reads the next piece of the file after what is
// left of it. False when the file cannot be read on.
bool ResultImporter::readOn(qsizetype from, bool &last)
{
    m_text.bytes.remove(0, from);
    m_checked = std::max<qsizetype>(0, m_checked - from);
    if (!readMore(from == 0))
        return false;
    last = m_more->atEnd();
    return true;
}

// Appends the next piece of the file to the text: with @p grow as much as the text holds
// already, so that a long line or a sample of few line ends is not looked through and copied
// again and again. Text that is not UTF-8 further on is Latin-1 from there: only the messages
// about its rows depend on it.
bool ResultImporter::readMore(bool grow)
{
    const qsizetype most = grow ? std::max(m_nextPiece, m_text.bytes.size()) : m_nextPiece;
    if (const ref::Status s = m_more->readMore(m_text.bytes, most); !s.ok()) {
        m_error = s.message();
        return false;
    }
    if (m_text.latin1)
        return true;
    const qsizetype end = m_more->atEnd()
                              ? m_text.bytes.size()
                              : settledEnd(m_text.bytes, m_checked, m_text.bytes.size());
    if (!QByteArrayView(m_text.bytes.constData() + m_checked, end - m_checked).isValidUtf8()) {
        m_text.latin1 = true;
        m_layout.encoding = m_text.encoding = QStringLiteral("Latin-1");
    }
    m_checked = end;
    return true;
}

QStringList ResultImporter::describeBad(const QString &file, int most) const
{
    ref::ReadResult r;
    r.errors = m_bad;
    r.unlisted = m_unlisted;
    return r.describe(file, most);
}

ref::Status ResultImporter::read(QByteArray bytes)
{
    return readText(std::move(bytes)) ? ref::Status::success() : ref::Status::failure(m_error);
}

bool ResultImporter::readText(QByteArray bytes)
{
    m_text = decodeImportText(std::move(bytes), !m_more);
    m_checked = settledEnd(m_text.bytes, 0, m_text.bytes.size());
    m_layout = ImportLayout();
    m_layout.encoding = m_text.encoding;
    m_bad.clear();
    m_unlisted = m_repeats = 0;
    m_holding.reset();
    m_fileBonuses = -1;
    m_draws = ref::DrawList(m_shape.total, m_shape.bonuses());
    m_error.clear();
    const bool ownDrum = m_shape.bonus && m_shape.ownDrum;
    if (m_shape.mini < 0 || m_shape.maxi > 65535 ||
        (ownDrum && (m_shape.bonusMini < 0 || m_shape.bonusMaxi > 65535))) {
        m_error = QCoreApplication::translate("ResultImporter",
                                              "the importer takes numbers from 0 to 65535 only");
        return false;
    }
    Parsed p;
    p.stride = m_shape.total + m_shape.bonuses();
    p.narrow = largest(m_shape) <= 255;
    {
        DrawLimits limits;
        limits.totalNumber = m_shape.total;
        limits.miniNumber = m_shape.mini;
        limits.maxNumber = m_shape.maxi;
        limits.checkBonus = m_shape.bonus;
        limits.bonusCount = std::max(1, m_shape.bonuses());
        limits.ownDrum = ownDrum;
        limits.bonusMini = m_shape.bonusMini;
        limits.bonusMax = m_shape.bonusMaxi;
        // Column 0 of the rules' table is the issue.
        p.bounds = columnBounds(limits, 1 + p.stride);
        p.bounds.erase(p.bounds.begin());
    }
    // The rows sampled must be those a whole read samples: where they run beyond the first
    // piece of a file, the piece grows until they fit.
    const ImportLayout found = m_layout;
    const Parsed before = p;
    bool cut = false;
    do {
        cut = false;
        m_layout = found;
        m_layout.encoding = m_text.encoding;
        m_layout.lineEnds = lineEndsOf(m_text.bytes, m_more && !m_more->atEnd());
        p = before;
        m_error.clear();
        const bool detected = detect(p, m_more && !m_more->atEnd() ? &cut : nullptr);
        if (cut ? !readMore(true) : !detected)
            return false;
    } while (cut);
    if (!parseAll(p))
        return false;
    // The text is not needed past this point; a large file gives its memory back before the
    // draws are built.
    m_text.bytes = QByteArray();
    return finish(p);
}

bool ResultImporter::detect(Parsed &p, bool *cut)
{
    if (m_choices.roles.isEmpty() && looksLikeTextDraws(m_text.bytes, m_shape, cut)) {
        m_layout.format = ImportLayout::Format::TextDraws;
        return true;
    }
    m_layout.format = ImportLayout::Format::Table;
    m_layout.separator = detectSeparator(m_text.bytes, cut);
    return detectTable(p, cut);
}

bool ResultImporter::detectTable(Parsed &p, bool *cut)
{
    std::vector<Sampled> sample;
    RecordReader reader(m_text.bytes, m_layout.separator, 0, 1, !cut);
    while (int(sample.size()) < kSampleRows + 10 && reader.next()) {
        if (reader.blank())
            continue;
        Sampled s{reader.line(), {}};
        for (const QByteArrayView f : reader.fields())
            s.fields.emplace_back(f.data(), f.size());
        sample.push_back(std::move(s));
    }
    if (cut && int(sample.size()) < kSampleRows + 10)
        *cut = true;
    if (sample.empty())
        return true;
    auto dataLike = [](const Sampled &s) {
        int n = 0;
        for (const QByteArray &f : s.fields) {
            const Kind k = kindOf(f);
            n += k == Kind::Int || k == Kind::Date || k == Kind::List ? 1 : 0;
        }
        return n;
    };
    auto letters = [](const Sampled &s) {
        for (const QByteArray &f : s.fields)
            if (kindOf(f) == Kind::Text && hasLetter(f))
                return true;
        return false;
    };
    size_t k = 0;
    // A title above the table: one field of words over a row of many fields.
    while (k + 1 < sample.size() && letters(sample[k]) && sample[k + 1].fields.size() >= 3 &&
           std::count_if(sample[k].fields.begin(), sample[k].fields.end(),
                         [](const QByteArray &f) { return !f.isEmpty(); }) <= 1) {
        m_layout.notes << QCoreApplication::translate(
                              "ResultImporter",
                              "line %1 was skipped: \"%2\" is a title, not a row of "
                              "the table")
                              .arg(sample[k].line)
                              .arg(m_text.decode(sample[k].fields.front().constData(),
                                                 sample[k].fields.front().size()));
        ++k;
    }
    std::vector<int> following;
    for (size_t i = k + 1; i < sample.size() && following.size() < 5; ++i)
        following.push_back(dataLike(sample[i]));
    std::sort(following.begin(), following.end());
    const int typical = following.empty() ? 0 : following[following.size() / 2];
    const int headLike = dataLike(sample[k]);
    const bool header = letters(sample[k]) && (headLike == 0 || headLike < typical);
    size_t columns = 0;
    for (const Sampled &s : sample)
        columns = std::max(columns, s.fields.size());
    for (size_t c = 0; c < columns; ++c) {
        const QByteArray *name =
            header && c < sample[k].fields.size() ? &sample[k].fields[c] : nullptr;
        m_layout.columns << (name && !name->isEmpty()
                                 ? m_text.decode(name->constData(), name->size())
                                 : QStringLiteral("column %1").arg(c + 1));
    }
    if (header) {
        m_layout.headerLine = sample[k].line;
        ++k;
    }
    // Without a row after the header in the sample, the rows start after it: a first piece of
    // the file may end before them.
    p.firstDataLine = k < sample.size() ? sample[k].line : reader.nextLine();

    for (size_t c = 0; c < columns; ++c) {
        ColumnRole role = ColumnRole::Ignored;
        if (!m_choices.roles.isEmpty())
            role = qsizetype(c) < m_choices.roles.size() ? m_choices.roles[qsizetype(c)]
                                                         : ColumnRole::Ignored;
        else if (header)
            role = roleOfHeader(m_layout.columns[qsizetype(c)]);
        m_layout.roles << role;
    }

    // What the sampled rows hold, column by column.
    struct Stats {
        int ints = 0, dates = 0, balls = 0, bonusBalls = 0, rows = 0, years = 0;
        int listCount = -1;
        int lists = 0;
        quint64 max = 0;
        QSet<quint64> distinct;
    };
    std::vector<Stats> stats(columns);
    const bool ownDrum = m_shape.bonus && m_shape.ownDrum;
    int rows = 0;
    for (size_t i = k; i < sample.size() && rows < kSampleRows; ++i, ++rows) {
        for (size_t c = 0; c < columns; ++c) {
            Stats &st = stats[c];
            if (c >= sample[i].fields.size())
                continue;
            const QByteArray &f = sample[i].fields[c];
            switch (kindOf(f)) {
            case Kind::Int: {
                ++st.ints;
                const quint64 v = intValue(f);
                st.max = std::max(st.max, v);
                st.distinct.insert(v);
                st.years += f.size() == 4 && v >= 1900 && v <= 2199 ? 1 : 0;
                st.balls += v >= quint64(m_shape.mini) && v <= quint64(m_shape.maxi) ? 1 : 0;
                st.bonusBalls +=
                    ownDrum && v >= quint64(m_shape.bonusMini) && v <= quint64(m_shape.bonusMaxi)
                        ? 1
                        : 0;
                break;
            }
            case Kind::Date:
                ++st.dates;
                break;
            case Kind::List: {
                // A draw's numbers, its bonus numbers with them or not.
                const int n = countNumbers(f);
                if (n >= m_shape.total && n <= m_shape.total + std::max(1, m_shape.bonuses()))
                    ++st.lists;
                break;
            }
            default:
                break;
            }
        }
    }
    const auto most = [rows](int n) { return rows > 0 && n * 10 >= rows * 9; };
    auto find = [&](ColumnRole r) {
        const qsizetype i = m_layout.roles.indexOf(r);
        return int(i);
    };
    if (find(ColumnRole::Issue) < 0 && find(ColumnRole::Date) < 0) {
        int date = -1, draw = -1;
        // A date in three columns of its own, as some lotteries write it: month, day, year
        // (the day and the month are told apart as for a date field), or year, month, day.
        const auto upTo = [&](size_t c, quint64 most_) {
            return most(stats[c].ints) && stats[c].max <= most_ && stats[c].max > 0;
        };
        for (size_t c = 0; c + 2 < columns; ++c) {
            if (m_layout.roles[qsizetype(c)] != ColumnRole::Ignored)
                continue;
            if (upTo(c, 31) && upTo(c + 1, 31) && most(stats[c + 2].years)) {
                p.partsCol = int(c);
                p.partsYearFirst = false;
            } else if (most(stats[c].years) && upTo(c + 1, 12) && upTo(c + 2, 31)) {
                p.partsCol = int(c);
                p.partsYearFirst = true;
            } else {
                continue;
            }
            break;
        }
        const auto inParts = [&](size_t c) {
            return p.partsCol >= 0 && int(c) >= p.partsCol && int(c) < p.partsCol + 3;
        };
        for (size_t c = 0; c < columns; ++c) {
            const Stats &st = stats[c];
            if (date < 0 && most(st.dates))
                date = int(c);
            if (draw < 0 && !inParts(c) && most(st.ints) &&
                st.distinct.size() * 10 >= qsizetype(st.ints) * 9)
                draw = int(c);
        }
        if (date >= 0)
            p.partsCol = -1; // a date field says it better
        // A week of the year is unique over a few rows too; a draw number next to a date
        // soon outgrows it.
        if (draw >= 0 && (date >= 0 || p.partsCol >= 0) && stats[size_t(draw)].max <= 53)
            draw = -1;
        if (draw >= 0)
            p.partsCol = -1; // the draw number is the issue
        for (int j = 0; p.partsCol >= 0 && j < 3; ++j)
            m_layout.roles[p.partsCol + j] = ColumnRole::Date;
        if (draw >= 0 && m_layout.roles[draw] == ColumnRole::Ignored)
            m_layout.roles[draw] = ColumnRole::Issue;
        if (date >= 0 && m_layout.roles[date] == ColumnRole::Ignored)
            m_layout.roles[date] = ColumnRole::Date;
    }
    if (find(ColumnRole::Numbers) < 0) {
        const int after = std::max(find(ColumnRole::Issue), find(ColumnRole::Date)) + 1;
        for (int c = after; c < int(columns); ++c) {
            if (m_layout.roles[c] != ColumnRole::Ignored)
                continue;
            if (most(stats[size_t(c)].lists)) {
                m_layout.roles[c] = ColumnRole::Numbers;
                break;
            }
            int run = 0;
            while (c + run < int(columns) && m_layout.roles[c + run] == ColumnRole::Ignored &&
                   most(stats[size_t(c) + size_t(run)].balls))
                ++run;
            if (run >= m_shape.total) {
                for (int j = 0; j < m_shape.total; ++j)
                    m_layout.roles[c + j] = ColumnRole::Numbers;
                // The shape's count of bonus numbers ends the row, from their own drum where
                // it has one.
                if (find(ColumnRole::Bonus) < 0) {
                    const auto bonusLike = [&](int col) {
                        return col < int(columns) && m_layout.roles[col] == ColumnRole::Ignored &&
                               most(ownDrum ? stats[size_t(col)].bonusBalls
                                            : stats[size_t(col)].balls);
                    };
                    for (int k = 0; k < m_shape.bonuses() && bonusLike(c + m_shape.total + k); ++k)
                        m_layout.roles[c + m_shape.total + k] = ColumnRole::Bonus;
                }
                break;
            }
            c += run;
        }
    }
    p.issueCol = find(ColumnRole::Issue);
    p.dateCol = find(ColumnRole::Date);
    for (qsizetype c = 0; c < m_layout.roles.size(); ++c) {
        if (m_layout.roles[c] == ColumnRole::Numbers)
            p.numberCols.push_back(int(c));
        // A lottery without a bonus number reads the draws of a file that has them.
        else if (m_layout.roles[c] == ColumnRole::Bonus && m_shape.bonus)
            p.bonusCols.push_back(int(c));
    }
    if (rows == 0 && !header)
        return true;
    if (p.issueCol < 0 && p.dateCol < 0) {
        m_error = QCoreApplication::translate(
            "ResultImporter", "no column holds the draw number or the draw date: name it in a "
                              "header row (such as \"Draw Number\" or \"Draw Date\")");
        return false;
    }
    if (p.numberCols.empty()) {
        m_error =
            QCoreApplication::translate(
                "ResultImporter", "no column holds the %1 numbers from %2 to %3 of a draw: name "
                                  "them in a header row (such as \"Ball 1\" or \"Winning "
                                  "Numbers\")")
                .arg(m_shape.total)
                .arg(m_shape.mini)
                .arg(m_shape.maxi);
        return false;
    }
    return true;
}

bool ResultImporter::parseAll(Parsed &p)
{
    const bool text = m_layout.format == ImportLayout::Format::TextDraws;
    // A file read in pieces may turn out to be Latin-1 further on.
    const bool &latin1 = m_text.latin1;
    const int total = m_shape.total;
    const bool checkRepeats = m_shape.bonus || !m_shape.ordered;
    {
        // One line is one draw, nearly always; the lines of the first megabyte tell how many
        // there are without reading the whole file once more.
        const qsizetype size =
            m_more && m_more->size() > 0 ? qsizetype(m_more->size()) : m_text.bytes.size();
        const qsizetype head = std::min<qsizetype>(m_text.bytes.size(), 1 << 20);
        const qsizetype lines =
            head == 0
                ? 1
                : QByteArrayView(m_text.bytes.constData(), head).count('\n') * (size / head + 1) +
                      1;
        const size_t rows = size_t(std::min<qsizetype>(lines, size / (qsizetype(2) * total) + 1));
        p.lines.reserve(rows);
        p.issueEnd.reserve(rows);
        p.values.reserve(rows * size_t(p.stride) * p.width());
        p.issueChars.reserve(rows * 8);
    }
    std::vector<quint32> nums;
    std::vector<int> from; // the column each number came from
    const int bonuses = m_shape.bonuses();
    const bool ownDrum = m_shape.bonus && m_shape.ownDrum;
    std::vector<uint64_t> seen(size_t(largest(m_shape)) / 64 + 1);
    std::vector<quint16> row(size_t(p.stride));
    size_t lastListedLine = std::numeric_limits<size_t>::max();
    auto column = [&](int c) {
        return c >= 0 && c < m_layout.columns.size()
                   ? QStringLiteral(" (column \"%1\")").arg(m_layout.columns[c])
                   : QString();
    };
    // A row refused for the shape alone, with @p found bonus numbers: what a shape that takes
    // it must hold. False for numbers no shape holds.
    auto noteShapeBad = [&](int found) {
        if (std::find(nums.begin(), nums.end(), kTooLong) != nums.end())
            return false;
        if (found == bonuses)
            p.rangeBad = true;
        else
            p.fileBonuses = p.fileBonuses == -1 || p.fileBonuses == found ? found : -2;
        const auto basicEnd = nums.begin() + std::min<qsizetype>(total, qsizetype(nums.size()));
        for (auto it = nums.begin(); it != nums.end(); ++it) {
            const bool basic = it < basicEnd;
            (basic ? p.basicLo : p.bonusLo) = std::min(basic ? p.basicLo : p.bonusLo, *it);
            (basic ? p.basicHi : p.bonusHi) = std::max(basic ? p.basicHi : p.bonusHi, *it);
            if (!basic && std::find(nums.begin(), basicEnd, *it) != basicEnd)
                p.bonusMeetsBasic = true;
        }
        return true;
    };
    const char separator = text ? RecordReader::kTextDraws : m_layout.separator;
    bool last = !m_more || m_more->atEnd(), unread = false;
    RecordReader reader(m_text.bytes, separator, 0, 1, last);
    // The next record, from the next piece of the file where this one has none left.
    auto next = [&] {
        while (!reader.next()) {
            if (last)
                return false;
            if (!readOn(reader.position(), last)) {
                unread = true;
                return false;
            }
            reader.restart(last);
        }
        return true;
    };
    while (next()) {
        const int line = reader.line();
        if (!text && line < p.firstDataLine)
            continue;
        if ((reader.blank() && !reader.tooLong()) || (text && reader.raw().front() == '#'))
            continue;
        bool failed = false;
        // Every refusal is of another rule than the shape's unless it says otherwise.
        bool forShape = false;
        auto bad = [&](auto &&why) {
            failed = true;
            p.otherBad = p.otherBad || !forShape;
            if (m_bad.size() < kListed) {
                m_bad.push_back({line, why()});
                if (m_bad.size() == kListed)
                    lastListedLine = size_t(line);
            } else {
                ++m_unlisted;
            }
        };
        const auto &fields = reader.fields();
        if (reader.tooLong()) {
            bad([&] {
                return QCoreApplication::translate("ResultImporter",
                                                   "the line is %1 bytes long; a draw line "
                                                   "holds at most %2")
                    .arg(reader.raw().size())
                    .arg(RecordReader::kLongestRecord);
            });
            continue;
        }
        if (reader.raw().contains('\0')) {
            bad([] {
                return QCoreApplication::translate(
                    "ResultImporter", "the line holds a NUL byte: the file is binary or damaged");
            });
            continue;
        }
        nums.clear();
        from.clear();
        QByteArrayView issue;
        std::optional<DateField> date;
        int dateColumn = -1;
        if (text) {
            qsizetype plus = -1, pluses = 0;
            for (qsizetype i = 0; i < qsizetype(fields.size()); ++i)
                if (fields[size_t(i)] == "+") {
                    ++pluses;
                    plus = plus < 0 ? i : plus;
                }
            if (pluses > 1) {
                bad([&] {
                    return bonuses > 1
                               ? QCoreApplication::translate("ResultImporter",
                                                             "more than one \"+\": only the bonus "
                                                             "numbers follow a \"+\"")
                               : QCoreApplication::translate("ResultImporter",
                                                             "more than one \"+\": only the bonus "
                                                             "number follows a \"+\"");
                });
                continue;
            }
            const qsizetype basicEnd = plus < 0 ? qsizetype(fields.size()) : plus;
            if (basicEnd == 0) {
                bad([] {
                    return QCoreApplication::translate("ResultImporter", "the issue is missing");
                });
                continue;
            }
            if (basicEnd - 1 != total) {
                bad([&] {
                    return QCoreApplication::translate(
                               "ResultImporter", "expected %1 numbers after the issue, found %2")
                        .arg(total)
                        .arg(basicEnd - 1);
                });
                continue;
            }
            issue = fields[0];
            for (size_t i = 1; i < fields.size() && !failed; ++i) {
                if (fields[i] == "+")
                    continue;
                if (!digitsOnly(fields[i])) {
                    bad([&] {
                        return QCoreApplication::translate("ResultImporter",
                                                           "\"%1\" is not a number")
                            .arg(shown(fields[i], latin1));
                    });
                    break;
                }
                numbersIn(fields[i], nums);
                from.push_back(-1);
            }
            if (failed)
                continue;
            const int found = plus < 0 ? 0 : int(qsizetype(fields.size()) - plus - 1);
            if (found != bonuses) {
                forShape = noteShapeBad(found);
                bad([&] {
                    if (!m_shape.bonus)
                        return QStringLiteral(
                            "this lottery has no bonus number, but the line has a \"+\"");
                    if (plus < 0)
                        return bonuses > 1
                                   ? QCoreApplication::translate("ResultImporter",
                                                                 "the bonus numbers are missing: "
                                                                 "write them after a \"+\"")
                                   : QCoreApplication::translate("ResultImporter",
                                                                 "the bonus number is missing: "
                                                                 "write it after a \"+\"");
                    return bonuses == 1
                               ? QCoreApplication::translate(
                                     "ResultImporter", "expected one bonus number after the \"+\", "
                                                       "found %1")
                                     .arg(found)
                               : QCoreApplication::translate(
                                     "ResultImporter", "expected %1 bonus numbers after the \"+\", "
                                                       "found %2")
                                     .arg(bonuses)
                                     .arg(found);
                });
                continue;
            }
        } else {
            auto at = [&](int c) {
                return c >= 0 && size_t(c) < fields.size() ? fields[size_t(c)] : QByteArrayView();
            };
            if (p.issueCol >= 0) {
                issue = at(p.issueCol);
                if (issue.isEmpty()) {
                    bad([&] {
                        return QCoreApplication::translate("ResultImporter",
                                                           "the issue is missing") +
                               column(p.issueCol);
                    });
                    continue;
                }
            } else if (p.partsCol >= 0) {
                dateColumn = p.partsCol;
                const QByteArrayView a = at(p.partsCol), b = at(p.partsCol + 1),
                                     c = at(p.partsCol + 2);
                const QByteArrayView year = p.partsYearFirst ? a : c;
                if (!digitsOnly(a) || !digitsOnly(b) || !digitsOnly(c) || a.size() > 4 ||
                    b.size() > 2 || c.size() > 4 || year.size() != 4) {
                    bad([&] {
                        return QCoreApplication::translate("ResultImporter",
                                                           "\"%1 %2 %3\" is not a date")
                                   .arg(shown(a, latin1), shown(b, latin1), shown(c, latin1)) +
                               column(p.partsCol);
                    });
                    continue;
                }
                DateField d;
                d.year = int(intValue(year));
                d.first = int(intValue(p.partsYearFirst ? b : a));
                d.second = int(intValue(p.partsYearFirst ? c : b));
                d.order = p.partsYearFirst ? DateField::Order::Known : DateField::Order::Either;
                if (d.first > 99 || d.second > 99 ||
                    (p.partsYearFirst && !DateField::valid(d.year, d.first, d.second))) {
                    bad([&] {
                        return QCoreApplication::translate("ResultImporter",
                                                           "\"%1 %2 %3\" is not a real date")
                                   .arg(shown(a, latin1), shown(b, latin1), shown(c, latin1)) +
                               column(p.partsCol);
                    });
                    continue;
                }
                date = d;
            } else {
                dateColumn = p.dateCol;
                const QByteArrayView f = at(p.dateCol);
                date = DateField::parse(f.data(), f.size());
                if (!date) {
                    bad([&] {
                        return (f.isEmpty() ? QCoreApplication::translate("ResultImporter",
                                                                          "the date is missing")
                                            : QCoreApplication::translate(
                                                  "ResultImporter", "\"%1\" is not a date with a "
                                                                    "four-digit year")
                                                  .arg(shown(f, latin1))) +
                               column(p.dateCol);
                    });
                    continue;
                }
                if (date->order == DateField::Order::Known &&
                    !DateField::valid(date->year, date->first, date->second)) {
                    bad([&] {
                        return QCoreApplication::translate("ResultImporter",
                                                           "\"%1\" is not a real date")
                                   .arg(shown(f, latin1)) +
                               column(p.dateCol);
                    });
                    continue;
                }
            }
            // The numbers of the given columns, in order, each remembered with its column.
            const auto take = [&](const std::vector<int> &cols) {
                for (const int c : cols) {
                    if (!numbersIn(at(c), nums)) {
                        bad([&] {
                            return QCoreApplication::translate("ResultImporter",
                                                               "\"%1\" is not a number")
                                       .arg(shown(at(c), latin1)) +
                                   column(c);
                        });
                        return false;
                    }
                    from.resize(nums.size(), c);
                }
                return true;
            };
            if (!take(p.numberCols))
                continue;
            const int basics = int(nums.size());
            if (!take(p.bonusCols))
                continue;
            const int extra = int(nums.size()) - total;
            if (basics != total && (!p.bonusCols.empty() || extra < 0 || extra > 2)) {
                bad([&] {
                    return QCoreApplication::translate(
                               "ResultImporter", "expected %1 numbers after the issue, found %2")
                        .arg(total)
                        .arg(p.bonusCols.empty() ? nums.size() : size_t(basics));
                });
                continue;
            }
            // Publishers that write the bonus numbers among the winning numbers put them last;
            // a lottery without a bonus number leaves one such out.
            if (!m_shape.bonus && p.bonusCols.empty() && extra == 1) {
                nums.pop_back();
                from.pop_back();
            } else if (extra != bonuses) {
                QString where;
                if (p.bonusCols.size() == 1) {
                    where = column(p.bonusCols.front());
                } else if (!p.bonusCols.empty()) {
                    QStringList names;
                    for (const int c : p.bonusCols)
                        names << QStringLiteral("\"%1\"").arg(m_layout.columns.value(c));
                    where = QStringLiteral(" (columns %1)").arg(names.join(QStringLiteral(", ")));
                }
                forShape = noteShapeBad(extra);
                bad([&] {
                    if (!m_shape.bonus)
                        return QCoreApplication::translate(
                                   "ResultImporter",
                                   "expected %1 numbers after the issue, found %2")
                                   .arg(total)
                                   .arg(nums.size()) +
                               where;
                    if (extra == 0)
                        return (bonuses > 1
                                    ? QCoreApplication::translate("ResultImporter",
                                                                  "the bonus numbers are missing")
                                    : QCoreApplication::translate("ResultImporter",
                                                                  "the bonus number is missing")) +
                               where;
                    return (bonuses == 1
                                ? QCoreApplication::translate("ResultImporter",
                                                              "expected one bonus number, found %1")
                                      .arg(extra)
                                : QCoreApplication::translate("ResultImporter",
                                                              "expected %1 bonus numbers, found %2")
                                      .arg(bonuses)
                                      .arg(extra)) +
                           where;
                });
                continue;
            }
        }
        if (!date) {
            if (!digitsOnly(issue)) {
                bad([&] {
                    return QCoreApplication::translate("ResultImporter",
                                                       "the issue \"%1\" is not a number")
                               .arg(shown(issue, latin1)) +
                           column(p.issueCol);
                });
                continue;
            }
            if (issue.size() > kIssueDigits) {
                bad([&] {
                    return QCoreApplication::translate("ResultImporter",
                                                       "the issue \"%1\" is longer than %2 digits")
                               .arg(shown(issue, latin1))
                               .arg(kIssueDigits) +
                           column(p.issueCol);
                });
                continue;
            }
        }
        // The rules' order: every number within its drum's bounds, then no number twice
        // within a drum (the whole draw when the bonus numbers share the basic drum).
        size_t outside = nums.size();
        bool huge = false;
        for (size_t i = 0; i < nums.size(); ++i) {
            const auto [lo, hi] = p.bounds[i];
            if (outside == nums.size() && (qint64(nums[i]) < lo || qint64(nums[i]) > hi))
                outside = i;
            huge = huge || nums[i] == kTooLong;
        }
        size_t twice = nums.size();
        if (checkRepeats) {
            const size_t split = ownDrum ? size_t(total) : nums.size();
            if (outside == nums.size()) {
                twice = std::min(firstRepeat(nums, 0, split, seen),
                                 firstRepeat(nums, split, nums.size(), seen));
            } else {
                // Numbers beyond the drum, so beyond the bitmap: a row refused anyway.
                for (size_t i = 1; i < nums.size() && twice == nums.size(); ++i)
                    for (size_t j = i < split ? 0 : split; j < i; ++j)
                        if (nums[j] == nums[i]) {
                            twice = i;
                            break;
                        }
            }
        }
        if (outside < nums.size()) {
            // A wider drum would take the row: a game whose rules changed.
            forShape = twice == nums.size() && !huge && noteShapeBad(bonuses);
            const quint32 v = nums[outside];
            // Named apart where the bonus numbers have their own drum and bounds.
            const bool isBonus = ownDrum && int(outside) >= total;
            bad([&] {
                return QCoreApplication::translate("ResultImporter",
                                                   "%1 %2 is out of range %3 to %4")
                           .arg(isBonus ? QStringLiteral("bonus") : QStringLiteral("number"),
                                v == kTooLong ? QCoreApplication::translate(
                                                    "ResultImporter", "with ten digits or more")
                                              : QString::number(v))
                           .arg(p.bounds[outside].first)
                           .arg(p.bounds[outside].second) +
                       column(from[outside]);
            });
            continue;
        }
        if (twice < nums.size()) {
            bad([&] {
                return QCoreApplication::translate("ResultImporter", "%1 %2 is drawn twice")
                    .arg(ownDrum && int(twice) >= total ? QStringLiteral("bonus")
                                                        : QStringLiteral("number"))
                    .arg(nums[twice]);
            });
            continue;
        }
        // A good row.
        for (int j = 0; j < p.stride; ++j)
            row[size_t(j)] = quint16(nums[size_t(j)]);
        // Published files nearly always list the numbers in order already.
        if (!m_shape.ordered && !std::is_sorted(row.begin(), row.begin() + total))
            std::sort(row.begin(), row.begin() + total);
        for (const quint16 v : row) {
            p.values.push_back(quint8(v));
            if (!p.narrow)
                p.values.push_back(quint8(v >> 8));
        }
        if (date) {
            char buf[8];
            const auto put2 = [](char *d, int v) {
                d[0] = char('0' + v / 10);
                d[1] = char('0' + v % 10);
            };
            put2(buf, date->year / 100);
            put2(buf + 2, date->year % 100);
            put2(buf + 4, date->first);
            put2(buf + 6, date->second);
            p.issueChars.insert(p.issueChars.end(), buf, buf + 8);
            if (date->order != DateField::Order::Known) {
                if (p.either.empty()) {
                    p.either.resize(p.lines.size());
                    const auto f = [&](int c) { return shown(fields[size_t(c)], latin1); };
                    p.eitherExample = p.partsCol < 0 ? f(dateColumn)
                                                     : QStringLiteral("%1 %2 %3")
                                                           .arg(f(dateColumn), f(dateColumn + 1),
                                                                f(dateColumn + 2));
                }
                p.either.push_back(1);
                p.maxFirst = std::max(p.maxFirst, date->first);
                p.maxSecond = std::max(p.maxSecond, date->second);
                p.dotsOnly = p.dotsOnly && date->order == DateField::Order::DotsEither;
            } else if (!p.either.empty()) {
                p.either.push_back(0);
            }
        } else {
            p.issueChars.insert(p.issueChars.end(), issue.begin(), issue.end());
            if (!p.either.empty())
                p.either.push_back(0);
        }
        p.issueEnd.push_back(uint32_t(p.issueChars.size()));
        p.lines.push_back(uint32_t(line));
    }
    return !unread;
}

bool ResultImporter::finish(Parsed &p)
{
    std::vector<std::pair<uint32_t, uint32_t>> lateBad; // line, row
    std::vector<uint8_t> dropped(size_t(p.rows()));
    std::vector<QString> lateWhy; // by index into lateBad, made for the listed ones only
    enum Late : uint32_t { NotADate = 0x80000000u };
    if (!p.either.empty()) {
        bool dayFirst;
        if (m_choices.dayFirst) {
            dayFirst = *m_choices.dayFirst;
        } else if (p.maxFirst > 12 && p.maxSecond <= 12) {
            dayFirst = true;
        } else if (p.maxSecond > 12 && p.maxFirst <= 12) {
            dayFirst = false;
        } else if (p.maxFirst <= 12 && p.maxSecond <= 12) {
            if (!p.dotsOnly) {
                m_layout.dayMonth = ImportLayout::DayMonth::Undecided;
                m_error =
                    QCoreApplication::translate(
                        "ResultImporter", "the dates of column \"%1\" do not tell the day from the "
                                          "month (no number in either place is above 12, as in "
                                          "\"%2\"): choose the order in the preview")
                        .arg(m_layout.columns.value(p.dateCol), p.eitherExample);
                return false;
            }
            dayFirst = true;
        } else {
            // Both places go above 12: the order that leaves fewer impossible dates.
            int badDayFirst = 0, badMonthFirst = 0;
            for (int r = 0; r < p.rows(); ++r) {
                if (!p.either[size_t(r)])
                    continue;
                const QByteArrayView s = p.issue(r);
                const int a = (s[4] - '0') * 10 + (s[5] - '0');
                const int b = (s[6] - '0') * 10 + (s[7] - '0');
                badDayFirst += b > 12 ? 1 : 0;
                badMonthFirst += a > 12 ? 1 : 0;
            }
            dayFirst = badDayFirst <= badMonthFirst;
        }
        m_layout.dayMonth =
            dayFirst ? ImportLayout::DayMonth::DayFirst : ImportLayout::DayMonth::MonthFirst;
        for (int r = 0; r < p.rows(); ++r) {
            if (!p.either[size_t(r)])
                continue;
            char *s = p.issueChars.data() + (r == 0 ? 0 : p.issueEnd[size_t(r) - 1]);
            if (dayFirst) {
                std::swap(s[4], s[6]);
                std::swap(s[5], s[7]);
            }
            const int year =
                (s[0] - '0') * 1000 + (s[1] - '0') * 100 + (s[2] - '0') * 10 + (s[3] - '0');
            if (!DateField::valid(year, (s[4] - '0') * 10 + (s[5] - '0'),
                                  (s[6] - '0') * 10 + (s[7] - '0'))) {
                dropped[size_t(r)] = 1;
                lateBad.emplace_back(p.lines[size_t(r)], uint32_t(r) | NotADate);
            }
        }
        p.either = {};
    }

    // Issues as numbers, equal values by length: the text of the issue follows from both.
    std::vector<uint64_t> keys(size_t(p.rows()));
    for (int r = 0; r < p.rows(); ++r)
        keys[size_t(r)] = intValue(p.issue(r));
    auto less = [&](uint32_t a, uint32_t b) {
        if (keys[a] != keys[b])
            return keys[a] < keys[b];
        return p.issue(int(a)).size() < p.issue(int(b)).size();
    };
    bool up = true, down = true;
    for (int r = 1; r < p.rows() && (up || down); ++r) {
        up = up && !less(uint32_t(r), uint32_t(r - 1));
        down = down && !less(uint32_t(r - 1), uint32_t(r));
    }
    m_layout.order = up     ? ImportLayout::Order::Ascending
                     : down ? ImportLayout::Order::Descending
                            : ImportLayout::Order::Mixed;
    std::vector<uint32_t> order;
    order.reserve(size_t(p.rows()));
    for (int r = 0; r < p.rows(); ++r)
        if (!dropped[size_t(r)])
            order.push_back(uint32_t(r));
    if (down)
        std::reverse(order.begin(), order.end());
    else if (!up)
        std::stable_sort(order.begin(), order.end(), less);
    keys.clear();
    keys.shrink_to_fit();

    const size_t stride = size_t(p.stride);
    auto same = [&](uint32_t a, uint32_t b) {
        return std::memcmp(p.values.data() + a * stride * p.width(),
                           p.values.data() + b * stride * p.width(), stride * p.width()) == 0;
    };
    auto sameIssue = [&](uint32_t a, uint32_t b) { return p.issue(int(a)) == p.issue(int(b)); };
    // Rows of one issue: the same draw again counts once; different draws under one issue
    // are all bad, as the file cannot say which is right.
    std::vector<uint32_t> keep;
    keep.reserve(order.size());
    for (size_t i = 0; i < order.size();) {
        size_t j = i + 1;
        bool differ = false;
        while (j < order.size() && sameIssue(order[i], order[j])) {
            differ = differ || !same(order[i], order[j]);
            ++j;
        }
        if (!differ) {
            keep.push_back(order[i]);
            m_repeats += qsizetype(j - i - 1);
        } else {
            for (size_t k = i; k < j; ++k)
                lateBad.emplace_back(p.lines[order[k]], order[k]);
        }
        i = j;
    }
    order = {};

    // The listed bad rows are the first hundred by line of both kinds.
    if (!lateBad.empty()) {
        std::sort(lateBad.begin(), lateBad.end());
        const size_t listed = std::min(lateBad.size(), kListed);
        for (size_t i = 0; i < listed; ++i) {
            const uint32_t r = lateBad[i].second & ~NotADate;
            const QString issue = QString::fromLatin1(p.issue(int(r)));
            QString why;
            if (lateBad[i].second & NotADate) {
                why = QCoreApplication::translate("ResultImporter",
                                                  "%1 is not a real date (column \"%2\")")
                          .arg(issue, m_layout.columns.value(p.dateCol));
            } else {
                QStringList others;
                for (const auto &[line, row] : lateBad)
                    if (!(row & NotADate) && line != lateBad[i].first &&
                        p.issue(int(row)) == p.issue(int(r)) && others.size() < 5)
                        others << QString::number(line);
                why = QCoreApplication::translate("ResultImporter",
                                                  "issue %1 is also on line %2 with other numbers")
                          .arg(issue, others.join(QStringLiteral(", ")));
            }
            m_bad.push_back({int(lateBad[i].first), why});
        }
        m_unlisted += qsizetype(lateBad.size() - listed);
        std::stable_sort(
            m_bad.begin(), m_bad.end(),
            [](const ref::ReadError &a, const ref::ReadError &b) { return a.line < b.line; });
        if (m_bad.size() > kListed) {
            m_unlisted += qsizetype(m_bad.size() - kListed);
            m_bad.resize(kListed);
        }
    }

    m_draws = ref::DrawList(m_shape.total, m_shape.bonuses());
    m_draws.reserve(int(keep.size()), 8);
    std::vector<qint32> numbers(stride);
    QString issue;
    for (const uint32_t r : keep) {
        const QByteArrayView s = p.issue(int(r));
        issue.resize(s.size());
        for (qsizetype k = 0; k < s.size(); ++k)
            issue[k] = QLatin1Char(s[k]);

        for (size_t j = 0; j < stride; ++j)
            numbers[j] = p.value(r * stride + j);
        m_draws.appendDraw(issue, numbers.data());
    }
    p.otherBad = p.otherBad || !lateBad.empty();
    findHoldingShape(p);
    return true;
}

void ResultImporter::findHoldingShape(const Parsed &p)
{
    if (p.otherBad || (p.fileBonuses == -1 && !p.rangeBad))
        return;
    ref::LotteryShape s = m_shape;
    int sharedLo = m_shape.mini, sharedHi = m_shape.maxi;
    if (p.fileBonuses >= 0) {
        // Another game's file: its own counts and ranges, from the shape's smallest number
        // on. A draw of such a file in this lottery's counts would be a guess.
        if (p.rangeBad || m_draws.size() > 0 || p.fileBonuses > 2)
            return;
        s.bonus = p.fileBonuses > 0;
        s.bonusCount = std::max(1, p.fileBonuses);
        s.ownDrum = s.bonus && (m_shape.secondDrum() || p.bonusMeetsBasic);
        s.maxi = sharedHi = 0;
        s.bonusMaxi = 0;
        s.bonusMini = m_shape.bonus && m_shape.ownDrum ? m_shape.bonusMini : m_shape.mini;
        m_fileBonuses = p.fileBonuses;
    } else if (!s.bonus || !s.ownDrum) {
        s.bonusMini = s.bonusMaxi = 0;
    }
    const auto widen = [](int &lo, int &hi, quint32 from, quint32 to) {
        if (from > to)
            return; // none seen
        lo = std::min<qint64>(lo, from);
        hi = std::max<qint64>(hi, to);
    };
    widen(sharedLo, sharedHi, p.basicLo, p.basicHi);
    if (s.bonus && s.ownDrum)
        widen(s.bonusMini, s.bonusMaxi, p.bonusLo, p.bonusHi);
    else if (s.bonus)
        widen(sharedLo, sharedHi, p.bonusLo, p.bonusHi);
    s.mini = sharedLo;
    s.maxi = sharedHi;
    // Named as the preset it happens to be, or as a custom shape of that form.
    const std::optional<ref::LotteryShape> named = ref::LotteryShape::parse(s.key());
    if (named && !named->sameDraws(m_shape))
        m_holding = named;
    else
        m_fileBonuses = -1;
}

QString ResultImporter::shapeHint() const
{
    if (!m_holding)
        return {};
    if (m_fileBonuses >= 0)
        return QCoreApplication::translate(
                   "ResultImporter",
                   "the draws of the file have %1 bonus numbers, those of %2 (%3) have "
                   "%4; the smallest lottery that holds the whole file is %5 (%6): "
                   "use --lottery %7")
            .arg(m_fileBonuses)
            .arg(m_shape.name, m_shape.id())
            .arg(m_shape.bonuses())
            .arg(m_holding->name, m_holding->id(), m_holding->key());
    return QCoreApplication::translate(
               "ResultImporter",
               "the draws outside %1 (%2) are listed above; the smallest lottery that "
               "holds the whole file is %3: use --lottery %3")
        .arg(m_shape.name, m_shape.id(), m_holding->key());
}

int ResultImporter::compareIssues(QStringView a, QStringView b)
{
    auto stripped = [](QStringView s) {
        qsizetype i = 0;
        while (i + 1 < s.size() && s[i] == u'0')
            ++i;
        return s.mid(i);
    };
    const QStringView x = stripped(a), y = stripped(b);
    if (x.size() != y.size())
        return x.size() < y.size() ? -1 : 1;
    if (const int c = x.compare(y); c != 0)
        return c < 0 ? -1 : 1;
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

QStringList ResultImporter::describeConflicts(const QString &file, const Merge &m)
{
    QStringList out;
    for (const Conflict &c : m.conflicts)
        out << QCoreApplication::translate("ResultImporter",
                                           "%1: issue %2 is held as \"%3\" but the file has \"%4\"")
                   .arg(file, c.issue, c.held, c.file);
    if (m.conflictCount > qsizetype(m.conflicts.size()))
        out << QStringLiteral("... and %1 more")
                   .arg(m.conflictCount - qsizetype(m.conflicts.size()));
    return out;
}

QString ResultImporter::counts(const Merge &m) const
{
    QString s = QCoreApplication::translate("ResultImporter",
                                            "%1 new, %2 already held, %3 conflicting, %4 bad")
                    .arg(m.added)
                    .arg(m.alreadyHeld)
                    .arg(m.conflictCount)
                    .arg(badCount());
    if (m_repeats > 0)
        s += QCoreApplication::translate("ResultImporter", ", %1 repeated rows counted once")
                 .arg(m_repeats);
    return s;
}

QString ResultImporter::drawText(const ref::DrawList &draws, int i)
{
    QStringList parts;
    for (int j = 0; j < draws.total(); ++j)
        parts << QStringLiteral("%1").arg(draws.number(i, j), 2, 10, QLatin1Char('0'));
    QString text = parts.join(u' ');
    if (draws.hasBonus())
        text += QStringLiteral(" +");
    for (int k = 0; k < draws.bonusCount(); ++k)
        text += QStringLiteral(" %1").arg(draws.bonus(i, k), 2, 10, QLatin1Char('0'));
    return text;
}

ResultImporter::Merge ResultImporter::mergeInto(const ref::DrawList &held)
{
    return merge(held, nullptr);
}

ResultImporter::Merge ResultImporter::mergeInto(ref::DrawList &&held)
{
    return merge(held, &held);
}

ResultImporter::Merge ResultImporter::merge(const ref::DrawList &held, ref::DrawList *spare)
{
    Merge m;
    if (held.size() == 0) {
        m.added = m_draws.size();
        m.draws = std::move(m_draws);
        m_draws = ref::DrawList(m_shape.total, m_shape.bonuses());
        return m;
    }
    const int total = m_shape.total;
    std::vector<qint32> a(static_cast<size_t>(total)), b(static_cast<size_t>(total));
    auto sameDraw = [&](int h, int f) {
        for (int k = 0; k < m_shape.bonuses(); ++k)
            if (held.bonus(h, k) != m_draws.bonus(f, k))
                return false;
        for (int j = 0; j < total; ++j) {
            a[size_t(j)] = held.number(h, j);
            b[size_t(j)] = m_draws.number(f, j);
        }
        if (!m_shape.ordered) {
            std::sort(a.begin(), a.end());
            std::sort(b.begin(), b.end());
        }
        return a == b;
    };
    bool sorted = true;
    for (int i = 1; i < held.size() && sorted; ++i)
        sorted = compareIssues(held.issueView(i - 1), held.issueView(i)) < 0;
    QHash<QStringView, int> index;
    if (!sorted) {
        index.reserve(held.size());
        for (int i = 0; i < held.size(); ++i)
            index.insert(held.issueView(i), i);
    }
    // The file's issues come in ascending order: each is looked for from where the last one
    // was found, in steps that double, so a file that runs alongside the history costs a
    // compare or two a draw rather than a whole binary search.
    int cursor = 0;
    auto find = [&](QStringView issue) {
        if (!sorted)
            return index.value(issue, -1);
        int lo = cursor, hi = cursor, step = 1;
        while (hi < held.size() && compareIssues(held.issueView(hi), issue) < 0) {
            lo = hi + 1;
            hi += step;
            step *= 2;
        }
        hi = std::min(hi, held.size());
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (compareIssues(held.issueView(mid), issue) < 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        cursor = lo;
        return lo < held.size() && held.issueView(lo) == issue ? lo : -1;
    };
    std::vector<uint8_t> isNew(size_t(m_draws.size()));
    for (int f = 0; f < m_draws.size(); ++f) {
        const int h = find(m_draws.issueView(f));
        if (h < 0) {
            isNew[size_t(f)] = 1;
            ++m.added;
        } else if (sameDraw(h, f)) {
            ++m.alreadyHeld;
        } else if (++m.conflictCount <= qsizetype(kListed)) {
            m.conflicts.push_back({m_draws.issue(f), drawText(held, h), drawText(m_draws, f)});
        }
    }
    const int bonuses = m_shape.bonuses();
    const auto firstNew = std::find(isNew.begin(), isNew.end(), 1);
    // An update's usual case: every new issue comes after the last one held. The held list
    // given up by the caller then grows in place (its buffers are remapped, not copied), so a
    // million held draws are never held twice.
    const bool inPlace =
        spare && sorted &&
        (firstNew == isNew.end() || compareIssues(m_draws.issueView(int(firstNew - isNew.begin())),
                                                  held.issueView(held.size() - 1)) > 0);
    if (inPlace) {
        m.draws = std::move(*spare);
        m.draws.reserve(m.draws.size() + m.added, 8);
    } else {
        m.draws = ref::DrawList(total, bonuses);
        m.draws.reserve(held.size() + m.added, 8);
    }
    std::vector<qint32> numbers(static_cast<size_t>(total + bonuses));
    auto copy = [&](const ref::DrawList &from, int i) {
        for (int j = 0; j < total; ++j)
            numbers[size_t(j)] = from.number(i, j);
        for (int k = 0; k < bonuses; ++k)
            numbers[size_t(total) + size_t(k)] = from.bonus(i, k);
        m.draws.appendDraw(from.issueView(i), numbers.data());
    };
    int f = 0;
    auto nextNew = [&] {
        while (f < m_draws.size() && !isNew[size_t(f)])
            ++f;
    };
    nextNew();
    for (int h = 0; h < (inPlace ? 0 : held.size()); ++h) {
        while (f < m_draws.size() && compareIssues(m_draws.issueView(f), held.issueView(h)) < 0) {
            copy(m_draws, f++);
            nextNew();
        }
        copy(held, h);
    }
    for (; f < m_draws.size(); ++f)
        if (isNew[size_t(f)])
            copy(m_draws, f);
    m_draws = ref::DrawList(m_shape.total, m_shape.bonuses());
    if (spare && !inPlace)
        *spare = ref::DrawList(m_shape.total, m_shape.bonuses());
    return m;
}

} // namespace qrt::domain
