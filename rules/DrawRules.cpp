#include "DrawRules.h"
#include "RuleDigits.h"

#include <QSet>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace qrt
{

namespace
{

// Finds the issues that repeat an earlier one. They are digit strings by then: up to 17
// digits they are packed with their length into one integer (the length keeps "0101" apart
// from "101"), so a million issues need no string copies; longer ones fall back to text.
// Histories nearly always run in issue order, so the packed issues are first checked for
// rising strictly, which settles them in one pass; otherwise they are sorted, which costs
// n log n whatever the issues are. A hash set was slower on both counts: a node set allocates
// per issue, and a flat one either scatters sequential issues over memory or can be driven
// into long probe chains by unlucky ones.
class IssueRepeats
{
public:
    explicit IssueRepeats(size_t rows) { m_keys.reserve(rows); }

    /// @p issue is digits only, as single bytes or UTF-16.
    template <typename Ch> void add(int row, const Ch *issue, qsizetype size)
    {
        if (size <= 17) {
            uint64_t value = 0;
            for (qsizetype i = 0; i < size; ++i)
                value = value * 10 + uint64_t(issue[i] - '0');
            const uint64_t key = value * 32 + uint64_t(size);
            m_rising = m_rising && (m_keys.empty() || m_keys.back().first < key);
            m_keys.emplace_back(key, row);
            return;
        }
        QString text(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            text[i] = QChar(char16_t(issue[i]));
        if (m_long.contains(text))
            m_longRepeats.push_back(row);
        else
            m_long.insert(text);
    }

    /// Sets @p repeated for every occurrence of an issue after its first.
    void mark(std::vector<bool> &repeated)
    {
        for (int row : m_longRepeats)
            repeated[size_t(row)] = true;
        if (m_rising)
            return;
        std::sort(m_keys.begin(), m_keys.end());
        for (size_t i = 1; i < m_keys.size(); ++i)
            if (m_keys[i].first == m_keys[i - 1].first)
                repeated[size_t(m_keys[i].second)] = true;
    }

private:
    std::vector<std::pair<uint64_t, int>> m_keys; // in row order until sorted
    bool m_rising = true;
    QSet<QString> m_long;
    std::vector<int> m_longRepeats;
};

// Reads every cell once, row by row (the order the cells lie in memory), and notes what each
// rule needs; then reports in the order of the rules, which runs column by column.
class Checker
{
public:
    Checker(const DrawTable &t, const DrawLimits &l, bool first,
            const std::function<void(int)> &read)
        : table(t), limits(l), stopAtFirst(first), rowsRead(read), rows(t.rowCount()),
          cols(t.colCount()), bounds(columnBounds(l, cols)),
          bonusDrumStart(l.checkBonus && l.ownDrum ? l.totalNumber + 1 : -1)
    {
    }

    std::vector<RuleBreak> run()
    {
        survey();
        for (int r = 0; r < rows && !done(); ++r)
            if (!issueDigits[size_t(r)])
                found.push_back({19, r, 0});
        for (int r = 0; r < rows && !done(); ++r)
            if (issueRepeated[size_t(r)])
                found.push_back({21, r, 0});
        for (int c = 1; c <= limits.totalNumber && !done(); ++c)
            numberColumn(c, 22, 23);
        if (done() || !limits.checkBonus)
            return found;
        for (int k = limits.bonusCount; k >= 1 && !done(); --k)
            numberColumn(cols - k, 24, 25);
        for (const RuleBreak &b : repeats) {
            if (done())
                break;
            if (!isBad(b.row, b.col))
                found.push_back(b);
        }
        return found;
    }

private:
    enum : uint8_t { Digits = 1, InRange = 2, Reported = 4 };

    bool done() const { return stopAtFirst && !found.empty(); }
    uint8_t &state(int r, int c) { return states[size_t(r) * size_t(cols) + size_t(c)]; }
    bool isBad(int r, int c)
    {
        return c < 0 || c >= cols || (!states.empty() && (state(r, c) & Reported));
    }

    void survey()
    {
        // Cell states are kept only once a number cell fails a test: a clean history, the
        // common case, is read once and needs no per-cell memory.
        states.clear();
        issueDigits.assign(size_t(rows), false);
        issueRepeated.assign(size_t(rows), false);
        IssueRepeats issues{size_t(rows)};
        std::vector<qint32> values;
        for (int r = 0; r < rows; ++r) {
            if (rowsRead && r % 1024 == 0)
                rowsRead(r);
            if (cols > 0)
                withCell(r, 0, [&](const auto *p, qsizetype size) {
                    issueDigits[size_t(r)] = digitsOnly(p, size);
                    // Only digit issues take part in the repeat check: the others are
                    // reported by the step before it, which either stops the check or marks
                    // them.
                    if (issueDigits[size_t(r)])
                        issues.add(r, p, size);
                });
            forget(values);
            for (int c = 1; c < cols; ++c) {
                if (c == bonusDrumStart)
                    forget(values); // the bonus drum's numbers may repeat a basic one
                withCell(r, c, [&](const auto *p, qsizetype size) {
                    const bool digits = digitsOnly(p, size);
                    const std::optional<qint32> v = digits ? valueOf(p, size) : std::nullopt;
                    surveyNumber(r, c, digits, v, values);
                });
            }
        }
        issues.mark(issueRepeated);
        if (rowsRead)
            rowsRead(rows);
    }

    void forget(std::vector<qint32> &values)
    {
        for (qint32 v : values)
            if (v >= 0 && v < kSeenBits)
                seen[size_t(v) / 64] &= ~(uint64_t(1) << (v % 64));
        values.clear();
    }

    // Hands @p use the cell's characters, as bytes when the table has them.
    template <typename F> void withCell(int r, int c, F &&use)
    {
        const char *bytes = nullptr;
        qsizetype size = 0;
        if (table.cellBytes(r, c, bytes, size)) {
            use(reinterpret_cast<const uchar *>(bytes), size);
        } else {
            table.cell(r, c, text);
            use(reinterpret_cast<const char16_t *>(text.utf16()), text.size());
        }
    }

    void surveyNumber(int r, int c, bool digits, std::optional<qint32> v,
                      std::vector<qint32> &values)
    {
        const auto [low, high] = bounds[size_t(c)];
        const bool inRange = v && *v >= low && *v <= high;
        const auto flags = uint8_t((digits ? Digits : 0) | (inRange ? InRange : 0));
        if (flags != (Digits | InRange) && states.empty())
            states.assign(size_t(rows) * size_t(cols), uint8_t(Digits | InRange));
        if (!states.empty())
            state(r, c) = flags;
        if (!limits.checkBonus)
            return;
        // Compared by value, so 7, 07 and 007 are the same number.
        if (!v) {
            repeats.push_back({26, r, c});
            return;
        }
        bool repeated = false;
        if (*v < kSeenBits) {
            uint64_t &word = seen[size_t(*v) / 64];
            const uint64_t bit = uint64_t(1) << (*v % 64);
            repeated = (word & bit) != 0;
            word |= bit;
        } else {
            for (qint32 earlier : values)
                repeated = repeated || earlier == *v;
        }
        if (repeated)
            repeats.push_back({26, r, c});
        else
            values.push_back(*v);
    }

    void report(int message, int r, int c)
    {
        found.push_back({message, r, c});
        if (c >= 0 && c < cols)
            state(r, c) |= Reported;
    }

    void numberColumn(int c, int digitsMessage, int rangeMessage)
    {
        const bool inTable = c >= 0 && c < cols;
        if (inTable && states.empty())
            return; // every number cell passed both tests
        for (int r = 0; r < rows && !done(); ++r)
            if (!inTable || !(state(r, c) & Digits))
                report(digitsMessage, r, c);
        for (int r = 0; r < rows && !done(); ++r)
            if (!isBad(r, c) && !(state(r, c) & InRange))
                report(rangeMessage, r, c);
    }

    const DrawTable &table;
    const DrawLimits &limits;
    const bool stopAtFirst;
    const std::function<void(int)> &rowsRead;
    const int rows;
    const int cols;
    const std::vector<std::pair<qint32, qint32>> bounds;
    const int bonusDrumStart; // the first column whose repeats are looked for apart, or -1
    QString text;
    // The values of the current draw below kSeenBits, as bits; larger ones are looked up in
    // the draw's list of values.
    static constexpr qint32 kSeenBits = 1024;
    uint64_t seen[kSeenBits / 64] = {};
    std::vector<uint8_t> states;
    std::vector<bool> issueDigits;
    std::vector<bool> issueRepeated;
    std::vector<RuleBreak> repeats; // found while surveying, reported last
    std::vector<RuleBreak> found;
};

} // namespace

// Out of line, so that the table's type information lives in this library alone.
DrawTable::~DrawTable() = default;

std::vector<std::pair<qint32, qint32>> columnBounds(const DrawLimits &limits, int cols)
{
    std::vector<std::pair<qint32, qint32>> out(size_t(std::max(cols, 1)), {1, 0});
    for (int c = 1; c < cols; ++c) {
        const bool bonusDrum = limits.ownDrum && c > limits.totalNumber;
        const std::optional<qint32> &mini = bonusDrum ? limits.bonusMini : limits.miniNumber;
        const std::optional<qint32> &maxi = bonusDrum ? limits.bonusMax : limits.maxNumber;
        if (mini && maxi)
            out[size_t(c)] = {*mini, *maxi};
    }
    return out;
}

bool isDigits(QStringView text)
{
    return digitsOnly(text.utf16(), text.size());
}

std::vector<RuleBreak> checkDraws(const DrawTable &table, const DrawLimits &limits,
                                  bool stopAtFirst, const std::function<void(int rows)> &rowsRead)
{
    return Checker(table, limits, stopAtFirst, rowsRead).run();
}

} // namespace qrt
