#pragma once

#include <qrt/refhost/qrt_refhost_export.h>

#include <qrt/PodBuffer.h>

#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <vector>

namespace qrt::ref
{

/// The draws of one lottery, packed: all issues in one character pool, all numbers in one
/// integer array, so a million draws of seven numbers need about 40 MB and no object each.
class QRT_REFHOST_EXPORT DrawList
{
public:
    /// No draws yet, of @p total basic numbers each, with a bonus number or not.
    DrawList(int total = 0, bool bonus = false) : m_total(total), m_bonus(bonus) {}

    /// The number of draws.
    int size() const { return int(m_issueEnd.size()); }
    /// Basic numbers per draw.
    int total() const { return m_total; }
    /// Whether every draw has a bonus number.
    bool hasBonus() const { return m_bonus; }

    /// The issue of draw @p i, 0-based.
    ///@{
    QString issue(int i) const { return issueView(i).toString(); }
    QStringView issueView(int i) const;
    ///@}
    /// Basic number @p j of draw @p i, both 0-based.
    qint32 number(int i, int j) const { return m_values[size_t(i) * stride() + size_t(j)]; }
    /// The bonus number of draw @p i, 0-based; 0 when there is none.
    qint32 bonus(int i) const
    {
        return m_bonus ? m_values[size_t(i) * stride() + size_t(m_total)] : 0;
    }

    /// @p numbers holds total() values; @p bonus is used when the lottery has one.
    void append(QStringView issue, const qint32 *numbers, qint32 bonus = 0);
    /// Makes room for @p draws draws whose issues are about @p issueChars long.
    void reserve(int draws, int issueChars = 8);
    /// Drops every draw.
    void clear();

    /// Bytes held, for measurements.
    size_t memoryBytes() const;
    /// The same draws of the same shape.
    bool operator==(const DrawList &o) const = default;

private:
    size_t stride() const { return size_t(m_total) + (m_bonus ? 1 : 0); }

    int m_total;
    bool m_bonus;
    // Grown with realloc: a collection filled one draw at a time by a save does not copy
    // itself at every doubling.
    PodBuffer<uint32_t> m_issueEnd;
    PodBuffer<char16_t> m_issueChars;
    PodBuffer<qint32> m_values;
};

} // namespace qrt::ref
