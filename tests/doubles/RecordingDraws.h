#pragma once

#include "RecordingLottery.h"

#include <QObject>
#include <QVariant>

namespace qrt::doubles
{

/// The draw object a save creates by name for each row ("QRTLottery.Lottery"); logs as
/// "Draw.Member(...)".
class RecordingDraw : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE void SetIssue(const QVariant &issue)
    {
        data.issue = logged("Draw.SetIssue", {issue}, issue);
    }
    Q_INVOKABLE void SetNumber(const QVariant &j, const QVariant &n)
    {
        setAt(data.numbers, logged("Draw.SetNumber", {j, n}, j), n);
    }
    Q_INVOKABLE void OrderNumbers();
    Q_INVOKABLE void SetSpecial(const QVariant &b)
    {
        setAt(data.specials, logged("Draw.SetSpecial", {b}, 1), b);
    }
    Q_INVOKABLE void SetSpecialAt(const QVariant &k, const QVariant &b)
    {
        setAt(data.specials, logged("Draw.SetSpecialAt", {k, b}, k), b);
    }

    DrawData data; // every number a 32-bit integer

private:
    // Sets the @p j-th of @p values, counted from 1.
    static void setAt(QVariantList &values, const QVariant &j, const QVariant &value);
};

/// The draw collection a save creates by name ("QRTLottery.Lotterys"); logs as
/// "Draws.Member(...)". SaveData writes the draws as formatDraw() does, one a line, for
/// RecordingLottery::ReadData to read back.
class RecordingLotterys : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE void AddItem(const QVariant &draw);
    /// Logged with the last-read flag only when the control gives one.
    Q_INVOKABLE QVariant SaveData(const QVariant &path, const QVariant &lastRead = {});

private:
    QByteArray m_text;
};

/// Registers the collection and the draw under their class names.
void registerRecordingClasses();
/// The objects of those classes that the control created and has not deleted yet.
QObjectList createdAlive();

} // namespace qrt::doubles
