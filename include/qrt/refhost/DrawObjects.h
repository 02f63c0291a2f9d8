#pragma once

#include <qrt/refhost/qrt_refhost_export.h>

#include <qrt/refhost/DrawList.h>
#include <qrt/refhost/LotteryShape.h>

#include <QObject>
#include <QVarLengthArray>

#include <functional>
#include <vector>

namespace qrt::ref
{

/// One draw being saved, created by name as "QRTLottery.Lottery".
class QRT_REFHOST_EXPORT Draw : public QObject
{
    Q_OBJECT
public:
    /// With @p keepOrder, OrderNumbers leaves the numbers as drawn.
    explicit Draw(bool keepOrder = false) : m_keepOrder(keepOrder) {}

    /// The draw's issue.
    Q_INVOKABLE void SetIssue(const QString &issue) { m_issue = issue; }
    /// Number @p j, 1-based; the draw grows to hold it.
    Q_INVOKABLE void SetNumber(qint32 j, qint32 value);
    /// Puts the basic numbers in ascending order, unless their order is part of the draw.
    Q_INVOKABLE void OrderNumbers();
    /// The first bonus number.
    Q_INVOKABLE void SetSpecial(qint32 value) { m_bonus[0] = value; }
    /// Bonus number @p k, 1 or 2; RuntimeError 9 otherwise.
    Q_INVOKABLE void SetSpecialAt(qint32 k, qint32 value);

    /// What the calls above set.
    ///@{
    const QString &issue() const { return m_issue; }
    const QVarLengthArray<qint32, 32> &numbers() const { return m_numbers; }
    qint32 bonus(int k = 0) const { return m_bonus[k]; }

private:
    QString m_issue;
    ///@}
    QVarLengthArray<qint32, 32> m_numbers; // a draw on the heap only past 32 numbers
    qint32 m_bonus[2] = {};
    bool m_keepOrder;
};

/// The draws of one save, created by name as "QRTLottery.Lotterys". SaveData(path) writes
/// the user data file; SaveData(path, true) writes the plain text draw file. Both write
/// atomically and keep the previous file as a backup.
class QRT_REFHOST_EXPORT DrawCollection : public QObject
{
    Q_OBJECT
public:
    /// No draws yet, for a lottery of @p shape.
    explicit DrawCollection(const LotteryShape &shape, QObject *parent = nullptr);

    /// Copies the draw; the caller keeps the object. RuntimeError 13 for anything but a Draw,
    /// 5 for a draw of another shape.
    Q_INVOKABLE void AddItem(QObject *draw);
    /// Returns the number of draws written; RuntimeError 75 when the file cannot be written.
    Q_INVOKABLE qint32 SaveData(const QString &path);
    /// SaveData(path) for the user data file; with @p textFile the plain text draw file.
    Q_INVOKABLE qint32 SaveData(const QString &path, bool textFile);

    /// The draws added so far.
    const DrawList &draws() const { return m_draws; }

Q_SIGNALS:
    /// A file was written but its folder could not be synced. With something connected, the
    /// save goes on and this says so; with nothing, SaveData throws RuntimeError 75 as for a
    /// failure.
    void notConfirmed(const QString &message);

private:
    LotteryShape m_shape;
    DrawList m_draws;
};

/// Registers "QRTLottery.Lotterys" and "QRTLottery.Lottery". A new collection takes the shape
/// that @p currentShape gives at the moment it is created.
QRT_REFHOST_EXPORT void registerClasses(std::function<LotteryShape()> currentShape);

} // namespace qrt::ref
