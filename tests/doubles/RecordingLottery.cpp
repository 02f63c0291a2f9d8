#include "RecordingLottery.h"
#include <qrt/RuntimeError.h>

#include <QFile>

namespace qrt::doubles
{

std::vector<DrawData> parseDraws(const QStringList &lines, bool asNumbers)
{
    const auto value = [asNumbers](const QString &text) {
        return asNumbers ? QVariant(qint32(text.toInt())) : QVariant(text);
    };
    std::vector<DrawData> draws;
    for (const QString &line : lines) {
        const QStringList halves = line.split(u'+');
        QStringList parts = halves[0].split(u' ', Qt::SkipEmptyParts);
        DrawData d{parts.takeFirst(), {}, {}};
        for (const QString &p : parts)
            d.numbers << value(p);
        // "+" alone is a bonus given as an empty text.
        if (halves.size() > 1)
            for (const QString &b : halves[1].trimmed().split(u' '))
                d.specials << value(b);
        draws.push_back(d);
    }
    return draws;
}

QString formatDraw(const DrawData &draw)
{
    QString text = draw.issue.toString();
    for (const QVariant &n : draw.numbers)
        text += u' ' + n.toString();
    for (qsizetype k = 0; k < draw.specials.size(); ++k)
        text += (k ? QStringLiteral(" ") : QStringLiteral(" +")) + draw.specials[k].toString();
    return text;
}

RecordingLottery *RecordingLottery::make(int total, int mini, int maxi, bool bonus,
                                         const QStringList &draws, QObject *parent)
{
    auto *l = new RecordingLottery(parent);
    l->totalNumber = total;
    l->miniNumber = mini;
    l->maxNumber = maxi;
    l->hasSpecial = bonus;
    l->draws = parseDraws(draws);
    return l;
}

QVariant RecordingLottery::ReadData(const QVariant &path)
{
    logged("Lottery.ReadData", {path});
    QFile file(path.toString());
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(53, QStringLiteral("File not found: %1").arg(path.toString()));
    draws = parseDraws(QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts), true);
    return qint32(0);
}

// An invalid value stands for a member the lottery does not have.
QVariant RecordingLottery::drum(const char *member, const QVariant &value)
{
    if (!value.isValid())
        throw RuntimeError(438);
    CallLog::instance().add(QStringLiteral("Lottery.") + QLatin1String(member));
    return value;
}

} // namespace qrt::doubles
