#pragma once

#include <qrt/refhost/qrt_refhost_export.h>

#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/DrawList.h>
#include <qrt/refhost/LotteryShape.h>

#include <QObject>
#include <QVariant>

#include <array>

namespace qrt::ref
{

class Lottery;

/// What Lottery::Item hands out: a view of one draw. A handful of them are reused in turn,
/// so reaching every number of a million draws creates no object per call; a view stays
/// valid until several more Item calls have been made.
class QRT_REFHOST_EXPORT DrawItem : public QObject
{
    Q_OBJECT
public:
    /// A view of @p lottery's draws, pointed at one by Lottery::Item.
    explicit DrawItem(Lottery *lottery);
    /// The draw's issue, basic number @p j (1-based) and bonus number (0 without one).
    ///@{
    Q_INVOKABLE QString GetIssue() const;
    Q_INVOKABLE qint32 GetNumber(qint32 j) const;
    Q_INVOKABLE qint32 GetSpecial() const;
    /// Bonus number @p k, 1 or 2; RuntimeError 9 for a bonus the draws do not have.
    Q_INVOKABLE qint32 GetSpecialAt(qint32 k) const;
    ///@}

private:
    friend class Lottery;
    Lottery *m_lottery;
    int m_index = 0;
};

/// The reference lottery object: a lottery's shape and its draws, with the members the
/// control calls (see HostContract.h). ReadData loads a user data file whole or not at all.
class QRT_REFHOST_EXPORT Lottery : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QVariant StartItem READ startItem WRITE setStartItem)
    Q_PROPERTY(QVariant EndItem READ endItem WRITE setEndItem)

public:
    /// A lottery of @p shape without draws.
    explicit Lottery(const LotteryShape &shape = {}, QObject *parent = nullptr);

    /// The members the control reads: the shape and the number of draws.
    ///@{
    Q_INVOKABLE qint32 TotalNumber() const { return m_shape.total; }
    Q_INVOKABLE bool HasSpecial() const { return m_shape.bonus; }
    Q_INVOKABLE qint32 MiniNumber() const { return m_shape.mini; }
    Q_INVOKABLE qint32 MaxNumber() const { return m_shape.maxi; }
    Q_INVOKABLE qint32 Count() const { return m_draws.size(); }
    /// The bonus numbers of a draw, 1 or 2.
    Q_INVOKABLE qint32 SpecialCount() const { return m_shape.bonus ? m_shape.bonusCount : 1; }
    /// The bonus drum's bounds; RuntimeError 438, as for a member the object lacks, when the
    /// bonus numbers share the basic drum, so that the control sees the one-drum lottery.
    Q_INVOKABLE qint32 SpecialMiniNumber() const;
    Q_INVOKABLE qint32 SpecialMaxNumber() const;
    /// Draw @p i, 1 to Count; RuntimeError 9 outside.
    Q_INVOKABLE QObject *Item(qint32 i);
    ///@}
    /// Replaces the draws with those of the user data file at @p path and returns their
    /// number. A file that cannot be read, is damaged or belongs to another lottery throws
    /// RuntimeError 62 naming every bad line, and the draws stay as they were.
    Q_INVOKABLE qint32 ReadData(const QString &path);

    /// The host's range, as the control sets it after each save (StartItem, EndItem).
    ///@{
    QVariant startItem() const { return m_start; }
    void setStartItem(const QVariant &v) { m_start = v; }
    QVariant endItem() const { return m_end; }
    void setEndItem(const QVariant &v) { m_end = v; }

    /// The lottery's shape.
    const LotteryShape &shape() const { return m_shape; }
    /// A new shape drops the draws.
    void setShape(const LotteryShape &shape);
    ///@}
    /// The draws, all of the shape.
    ///@{
    const DrawList &draws() const { return m_draws; }
    void setDraws(DrawList draws);
    /// Hands the draws over and leaves the lottery without any: a caller that replaces them
    /// all need not hold two copies.
    DrawList takeDraws();
    ///@}
    /// ReadData without the exception: the draws are replaced only when the result is ok(),
    /// and then the file read is kept as `path.bak` too (see keepLastGood), and @p backup, when
    /// given, says how that went.
    ReadResult load(const QString &path, Status *backup = nullptr);

Q_SIGNALS:
    /// ReadData replaced the draws (a save has just written and re-read them).
    void dataRead();

private:
    friend class DrawItem;
    LotteryShape m_shape;
    DrawList m_draws;
    std::array<DrawItem *, 4> m_items{};
    size_t m_nextItem = 0;
    QVariant m_start;
    QVariant m_end;
};

} // namespace qrt::ref
