#include <qrt/Automation.h>
#include <qrt/HostContract.h>
#include <qrt/RuntimeError.h>
#include <qrt/refhost/AtomicFile.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/DrawObjects.h>

#include <QMetaMethod>

#include <algorithm>

namespace qrt::ref
{

void Draw::SetNumber(qint32 j, qint32 value)
{
    if (j < 1 || j > 1000)
        throw RuntimeError(9);
    while (m_numbers.size() < j)
        m_numbers.append(0);
    m_numbers[j - 1] = value;
}

void Draw::SetSpecialAt(qint32 k, qint32 value)
{
    if (k < 1 || k > 2)
        throw RuntimeError(9);
    m_bonus[k - 1] = value;
}

void Draw::OrderNumbers()
{
    if (!m_keepOrder)
        std::sort(m_numbers.begin(), m_numbers.end());
}

DrawCollection::DrawCollection(const LotteryShape &shape, QObject *parent)
    : QObject(parent), m_shape(shape), m_draws(shape.total, shape.bonuses())
{
}

void DrawCollection::AddItem(QObject *object)
{
    auto *draw = qobject_cast<Draw *>(object);
    if (!draw)
        throw RuntimeError(13);
    if (int(draw->numbers().size()) != m_shape.total)
        throw RuntimeError(5, QStringLiteral("Draw %1 has %2 numbers; this lottery draws %3")
                                  .arg(draw->issue())
                                  .arg(draw->numbers().size())
                                  .arg(m_shape.total));
    if (m_shape.bonuses() <= 1) {
        m_draws.append(draw->issue(), draw->numbers().data(), draw->bonus());
        return;
    }
    QVarLengthArray<qint32, 34> values(draw->numbers().begin(), draw->numbers().end());
    for (int k = 0; k < m_shape.bonuses(); ++k)
        values.append(draw->bonus(k));
    m_draws.appendDraw(draw->issue(), values.data());
}

qint32 DrawCollection::SaveData(const QString &path)
{
    const Status saved = writeFileAtomically(path, formatUserData(m_shape, m_draws));
    // Written but not confirmed on disk: the save goes on, and whoever listens is told.
    if (saved.landed() && !saved.ok() &&
        isSignalConnected(QMetaMethod::fromSignal(&DrawCollection::notConfirmed))) {
        Q_EMIT notConfirmed(
            QStringLiteral("The draws were saved, but may be lost at a power cut: %1")
                .arg(saved.message()));
        return m_draws.size();
    }
    if (!saved.ok())
        throw RuntimeError(75, (saved.landed() ? QStringLiteral("The draws were saved, but may be "
                                                                "lost at a power cut: %1")
                                               : QStringLiteral("The draws were not saved: %1"))
                                   .arg(saved.message()));
    return m_draws.size();
}

qint32 DrawCollection::SaveData(const QString &path, bool textFile)
{
    if (!textFile)
        return SaveData(path);
    const Status written = writeFileAtomically(path, formatTextDraws(m_draws));
    if (written.landed() && !written.ok() &&
        isSignalConnected(QMetaMethod::fromSignal(&DrawCollection::notConfirmed))) {
        Q_EMIT notConfirmed(
            QStringLiteral("The draw file %1 was written, but may be lost at a power cut: %2")
                .arg(path, written.message()));
        return m_draws.size();
    }
    if (!written.ok())
        throw RuntimeError(75,
                           (written.landed() ? QStringLiteral("The draw file was written, but "
                                                              "may be lost at a power cut: %1")
                                             : QStringLiteral("The draw file was not written: %1"))
                               .arg(written.message()));
    return m_draws.size();
}

void registerClasses(std::function<LotteryShape()> currentShape)
{
    registerClass(QString::fromLatin1(host::kLotterysClass),
                  [currentShape] { return new DrawCollection(currentShape()); });
    registerClass(QString::fromLatin1(host::kLotteryClass),
                  [currentShape] { return new Draw(currentShape().ordered); });
}

} // namespace qrt::ref
