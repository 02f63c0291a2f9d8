#pragma once

#include "RecordingLottery.h"

#include <QObject>
#include <QPointer>
#include <QVariant>

#include <optional>
#include <vector>

namespace qrt::doubles
{

/// The draw object a save creates by name for each row ("QRTLottery.Lottery"); logs as
/// "Draw.Member(...)".
class RecordingDraw : public QObject
{
    Q_OBJECT
public:
    RecordingDraw();
    ~RecordingDraw() override;
    Q_INVOKABLE void SetIssue(const QVariant &issue);
    Q_INVOKABLE void SetNumber(const QVariant &j, const QVariant &value);
    Q_INVOKABLE void OrderNumbers();
    Q_INVOKABLE void SetSpecial(const QVariant &value);

    QString issue;
    std::vector<qint32> numbers;
    std::optional<qint32> special;

    std::optional<qint32> special2;

    static int alive; // instances not yet destroyed
};

/// A draw object that takes a second bonus: "SetSpecialAt"(k, value).
class RecordingDrumDraw : public RecordingDraw
{
    Q_OBJECT
public:
    Q_INVOKABLE void SetSpecialAt(const QVariant &k, const QVariant &value);
};

/// The draw collection a save creates by name ("QRTLottery.Lotterys"); logs as
/// "Draws.Member(...)". SaveData writes a small text file that RecordingLottery::ReadData
/// reads back: one draw a line, "issue;n,n,n;bonus".
class RecordingLotterys : public QObject
{
    Q_OBJECT
public:
    RecordingLotterys();
    ~RecordingLotterys() override;
    Q_INVOKABLE void AddItem(const QVariant &draw);
    Q_INVOKABLE QVariant SaveData(const QVariant &path);
    Q_INVOKABLE QVariant SaveData(const QVariant &path, const QVariant &lastRead);

    struct Saved {
        QString issue;
        std::vector<qint32> numbers;
        std::optional<qint32> special;
        std::optional<qint32> special2;
    };
    std::vector<Saved> items;

    static int alive;
    static QPointer<RecordingLotterys> last; // the most recently created collection
};

/// Registers the collection and the draw under their class names; with @p secondDrum the draw
/// is a RecordingDrumDraw.
void registerRecordingClasses(bool secondDrum = false);

std::vector<DrawData> readDrawFile(const QString &path);

} // namespace qrt::doubles
