#include "RecordingDraws.h"
#include <qrt/Automation.h>
#include <qrt/RuntimeError.h>

#include <QFile>
#include <QPointer>

#include <algorithm>

namespace qrt::doubles
{

namespace
{
QList<QPointer<QObject>> created;

template <typename T> QObject *track()
{
    created << new T;
    return created.last();
}
} // namespace

void RecordingDraw::setAt(QVariantList &values, const QVariant &j, const QVariant &value)
{
    while (values.size() < j.toInt())
        values << qint32(0);
    values[j.toInt() - 1] = qint32(value.toInt());
}

void RecordingDraw::OrderNumbers()
{
    logged("Draw.OrderNumbers");
    std::sort(data.numbers.begin(), data.numbers.end(),
              [](const QVariant &a, const QVariant &b) { return a.toInt() < b.toInt(); });
}

void RecordingLotterys::AddItem(const QVariant &draw)
{
    logged("Draws.AddItem", {draw});
    m_text += formatDraw(qobject_cast<RecordingDraw *>(toObject(draw))->data).toUtf8() + '\n';
}

QVariant RecordingLotterys::SaveData(const QVariant &path, const QVariant &lastRead)
{
    logged("Draws.SaveData",
           lastRead.isValid() ? QVariantList{path, lastRead} : QVariantList{path});
    QFile file(path.toString());
    // A read-only file is not written over, even when the tests run as root.
    if ((file.exists() && !(file.permissions() & QFileDevice::WriteOwner)) ||
        !file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw RuntimeError(75, QStringLiteral("Path/File access error: %1").arg(path.toString()));
    file.write(m_text);
    return qint32(0);
}

void registerRecordingClasses()
{
    registerClass(QStringLiteral("QRTLottery.Lotterys"), track<RecordingLotterys>);
    registerClass(QStringLiteral("QRTLottery.Lottery"), track<RecordingDraw>);
}

QObjectList createdAlive()
{
    QObjectList out;
    for (const QPointer<QObject> &o : std::as_const(created))
        if (o)
            out << o.data();
    return out;
}

} // namespace qrt::doubles
