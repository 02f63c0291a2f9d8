#include "DrawRules.h"

#include <QSet>

#include <cstdint>
#include <limits>
#include <unordered_set>

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
    explicit IssueSet(size_t expected) { m_keys.reserve(expected); }

    /// False when @p issue was there already.
    bool insert(const QString &issue)
    {
        if (issue.size() <= 17) {
            uint64_t value = 0;
            for (QChar c : issue)
                value = value * 10 + uint64_t(c.unicode() - u'0');
            return m_keys.insert(value * 32 + uint64_t(issue.size())).second;
        }
        if (m_long.contains(issue))
            return false;
        m_long.insert(issue);
        return true;
    }

private:
    std::unordered_set<uint64_t> m_keys;
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

bool inRange(const QString &digits, const DrawLimits &limits)
{
    if (!limits.miniNumber || !limits.maxNumber)
        return false;
    const std::optional<qint32> v = valueOf(digits);
    return v && *v >= *limits.miniNumber && *v <= *limits.maxNumber;
}

class Checker
{
public:
    Checker(const DrawTable &t, const DrawLimits &l, bool first)
        : table(t), limits(l), stopAtFirst(first), rows(t.rowCount()), cols(t.colCount())
    {
        bad.assign(size_t(rows) * size_t(std::max(cols, 1)), false);
    }

    std::vector<RuleBreak> run()
    {
        issueSteps();
        if (done())
            return found;
        for (int c = 1; c <= limits.totalNumber && !done(); ++c)
            numberColumn(c, 22, 23);
        if (done() || !limits.checkBonus)
            return found;
        numberColumn(cols - 1, 24, 25);
        if (!done())
            repeatsWithinRows();
        return found;
    }

private:
    bool done() const { return stopAtFirst && !found.empty(); }

    void read(int r, int c)
    {
        if (c >= 0 && c < cols)
            table.cell(r, c, text);
        else
            text.clear();
    }

    void report(int message, int r, int c)
    {
        found.push_back({message, r, c});
        if (c >= 0 && c < cols)
            bad[size_t(r) * size_t(cols) + size_t(c)] = true;
    }
    bool isBad(int r, int c) const
    {
        return c < 0 || c >= cols || bad[size_t(r) * size_t(cols) + size_t(c)];
    }

    void issueSteps()
    {
        for (int r = 0; r < rows && !done(); ++r) {
            read(r, 0);
            if (!isDigits(text))
                report(19, r, 0);
        }
        if (done())
            return;
        IssueSet seen{size_t(rows)};
        for (int r = 0; r < rows && !done(); ++r) {
            if (isBad(r, 0))
                continue; // only met when listing every break: not digits, reported already
            read(r, 0);
            if (!seen.insert(text))
                report(21, r, 0);
        }
    }

    void numberColumn(int c, int digitsMessage, int rangeMessage)
    {
        for (int r = 0; r < rows && !done(); ++r) {
            read(r, c);
            if (!isDigits(text))
                report(digitsMessage, r, c);
        }
        for (int r = 0; r < rows && !done(); ++r) {
            if (isBad(r, c))
                continue;
            read(r, c);
            if (!inRange(text, limits))
                report(rangeMessage, r, c);
        }
    }

    void repeatsWithinRows()
    {
        std::vector<qint32> values;
        for (int r = 0; r < rows && !done(); ++r) {
            values.clear();
            for (int c = 1; c < cols && !done(); ++c) {
                if (isBad(r, c))
                    continue;
                read(r, c);
                // Compared by value, so 7, 07 and 007 are the same number.
                const std::optional<qint32> v = isDigits(text) ? valueOf(text) : std::nullopt;
                if (!v) {
                    report(26, r, c);
                    continue;
                }
                bool repeated = false;
                for (qint32 earlier : values)
                    repeated = repeated || earlier == *v;
                if (repeated)
                    report(26, r, c);
                else
                    values.push_back(*v);
            }
        }
    }

    const DrawTable &table;
    const DrawLimits &limits;
    const bool stopAtFirst;
    const int rows;
    const int cols;
    QString text;
    std::vector<bool> bad;
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
