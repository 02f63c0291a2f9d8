#include "CleanDraws.h"
#include "RuleDigits.h"

#include <algorithm>
#include <iterator>

namespace qrt
{

bool CleanDraws::add(const char *base, const std::pair<qsizetype, qsizetype> *cells, int count,
                     qint32 *values)
{
    if (!m_clean || count != m_expected || !m_limits.miniNumber || !m_limits.maxNumber)
        return m_clean = false;
    const char *issue = base + cells[0].first;
    const qsizetype issueSize = cells[0].second;
    if (issueSize > 17 || !digitsOnly(issue, issueSize))
        return m_clean = false;
    uint64_t key = 0;
    for (qsizetype i = 0; i < issueSize; ++i)
        key = key * 10 + uint64_t(issue[i] - '0');
    key = key * 32 + uint64_t(issueSize);
    if (!m_first && key <= m_lastIssue)
        return m_clean = false;
    m_first = false;
    m_lastIssue = key;
    uint64_t seen[16] = {};
    for (int c = 1; c < count; ++c) {
        const char *p = base + cells[c].first;
        const qsizetype size = cells[c].second;
        if (size > 9 || !digitsOnly(p, size))
            return m_clean = false;
        const qint32 v = *valueOf(p, size);
        const auto [low, high] = m_bounds[size_t(c)];
        if (v < low || v > high || v >= 1024)
            return m_clean = false;
        values[c - 1] = v;
        if (!m_limits.checkBonus)
            continue;
        if (c == m_bonusDrumStart)
            std::fill(std::begin(seen), std::end(seen), 0); // a bonus may repeat a basic number
        uint64_t &word = seen[v / 64];
        const uint64_t bit = uint64_t(1) << (v % 64);
        if (word & bit)
            return m_clean = false;
        word |= bit;
    }
    return true;
}

} // namespace qrt
