#pragma once

#include <qrt/refhost/qrt_refhost_export.h>

#include <QString>
#include <QStringView>

#include <cstddef>
#include <memory>

namespace qrt::ref
{

/// The draws of one lottery, packed: all issues in one character pool, all numbers in one
/// array of the narrowest integers that hold them (one byte each while every number is below
/// 256), so a million draws of seven numbers need about 25 MB and no object each.
class QRT_REFHOST_EXPORT DrawList
{
public:
    /// No draws, of no numbers.
    DrawList();
    /// @p bonuses numbers (0, 1 or 2) follow the @p total basic numbers of each draw.
    explicit DrawList(int total, int bonuses = 0);
    DrawList(const DrawList &other);
    DrawList(DrawList &&other) noexcept;
    DrawList &operator=(const DrawList &other);
    DrawList &operator=(DrawList &&other) noexcept;
    ~DrawList();

    /// The number of draws.
    int size() const { return m_size; }
    /// Basic numbers per draw.
    int total() const { return m_total; }
    bool hasBonus() const { return m_bonuses > 0; }
    int bonusCount() const { return m_bonuses; }

    /// The issue of draw @p i, 0-based.
    ///@{
    QString issue(int i) const { return issueView(i).toString(); }
    QStringView issueView(int i) const;
    ///@}
    /// Basic number @p j of draw @p i, both 0-based. A load reads every number through here,
    /// so it stays inline.
    qint32 number(int i, int j) const
    {
        Q_ASSERT(i >= 0 && i < m_size && j >= 0 && j < m_total);
        return value(size_t(i) * stride() + size_t(j));
    }
    /// Bonus number @p k (0-based) of draw @p i; 0 when the draws have no such bonus.
    qint32 bonus(int i, int k = 0) const
    {
        Q_ASSERT(i >= 0 && i < m_size && k >= 0);
        return k < m_bonuses ? value(size_t(i) * stride() + size_t(m_total + k)) : 0;
    }

    /// @p numbers holds total() values; @p bonus is used when the lottery has one, and the
    /// second bonus, if any, is 0.
    void append(QStringView issue, const qint32 *numbers, qint32 bonus = 0);
    /// @p values holds the basic numbers and then the bonus numbers, total() + bonusCount().
    void appendDraw(QStringView issue, const qint32 *values);
    /// Makes room for @p draws draws whose issues are about @p issueChars long.
    void reserve(int draws, int issueChars = 8);
    /// Drops every draw.
    void clear();

    /// Bytes held, for measurements.
    size_t memoryBytes() const;
    /// The same draws of the same shape.
    bool operator==(const DrawList &o) const;

private:
    class Storage;
    size_t stride() const { return size_t(m_total) + size_t(m_bonuses); }
    qint32 value(size_t at) const
    {
        if (m_width == 1)
            return static_cast<const quint8 *>(m_values)[at];
        if (m_width == 2)
            return static_cast<const quint16 *>(m_values)[at];
        return static_cast<const qint32 *>(m_values)[at];
    }
    Storage &storage();
    void appendValues(const qint32 *values, qint32 bonus, bool oneBonus);
    // After every change of the storage: what the inline readers read.
    void refresh();

    int m_total = 0;
    int m_bonuses = 0;
    // Null until the first draw, and in a list moved from.
    std::unique_ptr<Storage> d;
    int m_size = 0;
    // Bytes a number: 1, 2 or 4, the narrowest that holds every number appended since the
    // list was made or cleared.
    int m_width = 1;
    const void *m_values = nullptr;
};

} // namespace qrt::ref
