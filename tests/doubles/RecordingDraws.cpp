#include "RecordingDraws.h"
#include "CallLog.h"
#include <qrt/Automation.h>
#include <qrt/RuntimeError.h>

#include <QFile>
#include <QTextStream>

#include <algorithm>

namespace qrt::doubles
{

namespace
{
const QString kDraw = QStringLiteral("Draw");
const QString kDraws = QStringLiteral("Draws");

void record(const QString &object, const QString &member, const QVariantList &args = {})
{
    CallLog::instance().add(object, member, args);
    maybeFail(object, member);
}

bool writeDraws(const QString &path, const std::vector<RecordingLotterys::Saved> &items)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw RuntimeError(75, QStringLiteral("Path/File access error: %1").arg(path));
    QTextStream out(&file);
    for (const auto &d : items) {
        QStringList numbers;
        for (qint32 n : d.numbers)
            numbers << QString::number(n);
        out << d.issue << ';' << numbers.join(u',') << ';'
            << (d.special ? QString::number(*d.special) : QString())
            << (d.special2 ? u',' + QString::number(*d.special2) : QString()) << '\n';
    }
    return true;
}
} // namespace

int RecordingDraw::alive = 0;
int RecordingLotterys::alive = 0;
QPointer<RecordingLotterys> RecordingLotterys::last;

RecordingDraw::RecordingDraw()
{
    ++alive;
}
RecordingDraw::~RecordingDraw()
{
    --alive;
}

void RecordingDraw::SetIssue(const QVariant &v)
{
    record(kDraw, QStringLiteral("SetIssue"), {v});
    issue = v.toString();
}

void RecordingDraw::SetNumber(const QVariant &j, const QVariant &value)
{
    record(kDraw, QStringLiteral("SetNumber"), {j, value});
    const int index = j.toInt();
    if (index < 1)
        throw RuntimeError(9);
    if (numbers.size() < size_t(index))
        numbers.resize(size_t(index), 0);
    numbers[size_t(index - 1)] = value.toInt();
}

void RecordingDraw::OrderNumbers()
{
    record(kDraw, QStringLiteral("OrderNumbers"));
    std::sort(numbers.begin(), numbers.end());
}

void RecordingDraw::SetSpecial(const QVariant &value)
{
    record(kDraw, QStringLiteral("SetSpecial"), {value});
    special = value.toInt();
}

void RecordingDrumDraw::SetSpecialAt(const QVariant &k, const QVariant &value)
{
    record(QStringLiteral("Draw"), QStringLiteral("SetSpecialAt"), {k, value});
    if (k.toInt() == 1)
        special = value.toInt();
    else if (k.toInt() == 2)
        special2 = value.toInt();
    else
        throw RuntimeError(9);
}

RecordingLotterys::RecordingLotterys()
{
    ++alive;
    last = this;
}

RecordingLotterys::~RecordingLotterys()
{
    --alive;
}

void RecordingLotterys::AddItem(const QVariant &draw)
{
    record(kDraws, QStringLiteral("AddItem"), {draw});
    auto *d = qobject_cast<RecordingDraw *>(toObject(draw));
    if (!d)
        throw RuntimeError(13);
    items.push_back({d->issue, d->numbers, d->special, d->special2});
}

QVariant RecordingLotterys::SaveData(const QVariant &path)
{
    record(kDraws, QStringLiteral("SaveData"), {path});
    writeDraws(path.toString(), items);
    return qint32(0);
}

QVariant RecordingLotterys::SaveData(const QVariant &path, const QVariant &lastRead)
{
    record(kDraws, QStringLiteral("SaveData"), {path, lastRead});
    writeDraws(path.toString(), items);
    return qint32(0);
}

void registerRecordingClasses(bool secondDrum)
{
    registerClass(QStringLiteral("QRTLottery.Lotterys"), [] { return new RecordingLotterys; });
    registerClass(QStringLiteral("QRTLottery.Lottery"), [secondDrum]() -> QObject * {
        if (secondDrum)
            return new RecordingDrumDraw;
        return new RecordingDraw;
    });
}

std::vector<DrawData> readDrawFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(53, QStringLiteral("File not found: %1").arg(path));
    std::vector<DrawData> draws;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const QStringList parts = line.split(u';');
        if (parts.size() != 3)
            throw RuntimeError(62, QStringLiteral("Bad line in %1").arg(path));
        DrawData d;
        d.issue = parts[0];
        for (const QString &n : parts[1].split(u',', Qt::SkipEmptyParts))
            d.numbers << qint32(n.toInt());
        const QStringList bonus = parts[2].split(u',', Qt::SkipEmptyParts);
        if (!bonus.empty())
            d.special = qint32(bonus[0].toInt());
        if (bonus.size() > 1)
            d.special2 = qint32(bonus[1].toInt());
        draws.push_back(d);
    }
    return draws;
}

} // namespace qrt::doubles
