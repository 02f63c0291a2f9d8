#pragma once

#include "DrawRules.h"

#include <cstdint>
#include <utility>
#include <vector>

namespace qrt
{

/// Follows draws as a file reader meets them, cells as bytes, and tells whether checkDraws()
/// would find nothing in them, without keeping them: a reader that saw every draw pass needs
/// no second look. Any doubt ends the witness, and the reader runs the full check. Issues are
/// taken as rising numbers of up to 17 digits, as nearly every history has them.
class QRT_EXPORT CleanDraws
{
public:
    explicit CleanDraws(const DrawLimits &limits)
        : m_limits(limits),
          m_expected(limits.totalNumber + 1 + (limits.checkBonus ? limits.bonusCount : 0)),
          m_bounds(columnBounds(limits, m_expected)),
          m_bonusDrumStart(limits.checkBonus && limits.ownDrum ? limits.totalNumber + 1 : -1)
    {
    }

    /// @p cells holds the issue, the basic numbers and, when the bonus is checked, the bonus,
    /// each as a start and length within @p base. Puts the values of the numbers into
    /// @p values (one per cell after the issue) while all draws passed; false from the first
    /// draw that leaves doubt on.
    bool add(const char *base, const std::pair<qsizetype, qsizetype> *cells, int count,
             qint32 *values);
    bool clean() const { return m_clean; }

private:
    DrawLimits m_limits;
    int m_expected;
    std::vector<std::pair<qint32, qint32>> m_bounds; // of each column
    int m_bonusDrumStart;
    bool m_clean = true;
    bool m_first = true;
    uint64_t m_lastIssue = 0;
};

} // namespace qrt
