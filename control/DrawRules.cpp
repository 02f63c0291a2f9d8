#include "DrawRules.h"

#include <QSet>

#include <cstdint>
#include <limits>
#include <vector>

namespace qrt
{

namespace
{

// Issues are digit strings by the time repeats are looked for. Up to 17 digits they are
// packed with their length into one integer (the length keeps "0101" apart from "101"), so a
// million issues need no string copies; longer ones fall back to text.
class IssueSet
{
public:
    /// Holds at most @p capacity short issues, at most half full.
    explicit IssueSet(size_t capacity)
    {
        size_t size = 16;
        while (size < capacity * 2) {
            size *= 2;
            --m_shift;
        }
        m_slots.assign(size, 0);
    }

    /// False when @p issue was there already.
    bool insert(const QString &issue)
    {
        if (issue.size() <= 17) {
            uint64_t value = 0;
            for (QChar c : issue)
                value = value * 10 + uint64_t(c.unicode() - u'0');
            return insertKey(value * 32 + uint64_t(issue.size()));
        }
        if (m_long.contains(issue))
            return false;
        m_long.insert(issue);
        return true;
    }

private:
    // Open addressing over one flat array: a node-based set allocates once per issue, which
    // made it the slowest part of checking a million draws. Keys are never 0 (the length is
    // part of them), so 0 marks a free slot.
    bool insertKey(uint64_t key)
    {
        const size_t mask = m_slots.size() - 1;
        for (size_t i = slotOf(key);; i = (i + 1) & mask) {
            if (m_slots[i] == key)
                return false;
            if (m_slots[i] == 0) {
                m_slots[i] = key;
                return true;
            }
        }
    }

    size_t slotOf(uint64_t key) const { return size_t((key * 0x9E3779B97F4A7C15ull) >> m_shift); }

    std::vector<uint64_t> m_slots;
    int m_shift = 60; // 64 - log2 of the slot count
    QSet<QString> m_long;
};

std::optional<qint32> valueOf(const QString &digits)
{
    int64_t v = 0;
    for (QChar c : digits) {
        v = v * 10 + (c.unicode() - u'0');
        if (v > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    return qint32(v);
}

// Reads every cell once, row by row (the order the cells lie in memory), and notes what each
// rule needs; then reports in the order of the rules, which runs column by column.
class Checker
{
public:
    Checker(const DrawTable &t, const DrawLimits &l, bool first)
        : table(t), limits(l), stopAtFirst(first), rows(t.rowCount()), cols(t.colCount())
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
        numberColumn(cols - 1, 24, 25);
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
    bool isBad(int r, int c) { return c < 0 || c >= cols || (state(r, c) & Reported); }

    void survey()
    {
        states.assign(size_t(rows) * size_t(std::max(cols, 1)), 0);
        issueDigits.assign(size_t(rows), false);
        issueRepeated.assign(size_t(rows), false);
        IssueSet seen{size_t(rows)};
        std::vector<qint32> values;
        for (int r = 0; r < rows; ++r) {
            if (cols > 0) {
                table.cell(r, 0, text);
                issueDigits[size_t(r)] = isDigits(text);
                // Only digit issues take part in the repeat check: the others are reported
                // by the step before it, which either stops the check or marks them.
                if (issueDigits[size_t(r)])
                    issueRepeated[size_t(r)] = !seen.insert(text);
            }
            values.clear();
            for (int c = 1; c < cols; ++c) {
                table.cell(r, c, text);
                const bool digits = isDigits(text);
                const std::optional<qint32> v = digits ? valueOf(text) : std::nullopt;
                const bool inRange = v && limits.miniNumber && limits.maxNumber &&
                                     *v >= *limits.miniNumber && *v <= *limits.maxNumber;
                state(r, c) = uint8_t((digits ? Digits : 0) | (inRange ? InRange : 0));
                if (!limits.checkBonus)
                    continue;
                // Compared by value, so 7, 07 and 007 are the same number.
                if (!v) {
                    repeats.push_back({26, r, c});
                    continue;
                }
                bool repeated = false;
                for (qint32 earlier : values)
                    repeated = repeated || earlier == *v;
                if (repeated)
                    repeats.push_back({26, r, c});
                else
                    values.push_back(*v);
            }
        }
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
    const int rows;
    const int cols;
    QString text;
    std::vector<uint8_t> states;
    std::vector<bool> issueDigits;
    std::vector<bool> issueRepeated;
    std::vector<RuleBreak> repeats; // found while surveying, reported last
    std::vector<RuleBreak> found;
};

} // namespace

bool isDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c.unicode() < u'0' || c.unicode() > u'9')
            return false;
    return true;
}

std::vector<RuleBreak> checkDraws(const DrawTable &table, const DrawLimits &limits,
                                  bool stopAtFirst)
{
    return Checker(table, limits, stopAtFirst).run();
}

} // namespace qrt
