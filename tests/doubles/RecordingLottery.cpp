#include "RecordingLottery.h"
#include "CallLog.h"
#include "RecordingDraws.h"
#include <qrt/RuntimeError.h>

namespace qrt::doubles
{

namespace
{
const QString kLottery = QStringLiteral("Lottery");
const QString kItem = QStringLiteral("Item");

QVariant logged(const QString &object, const QString &member, const QVariant &result,
                const QVariantList &args = {})
{
    CallLog::instance().add(object, member, args);
    maybeFail(object, member);
    return result;
}
} // namespace

RecordingItem::RecordingItem(RecordingLottery *lottery, int index)
    : QObject(lottery), m_lottery(lottery), m_index(index)
{
}

const DrawData &RecordingItem::draw() const
{
    return m_lottery->draws.at(size_t(m_index));
}

QVariant RecordingItem::GetIssue()
{
    return logged(kItem, QStringLiteral("GetIssue"), draw().issue);
}

QVariant RecordingItem::GetNumber(const QVariant &j)
{
    const int n = j.toInt();
    const QVariantList &numbers = draw().numbers;
    const QVariant value = n >= 1 && n <= numbers.size() ? numbers[n - 1] : QVariant();
    return logged(kItem, QStringLiteral("GetNumber"), value, {j});
}

QVariant RecordingItem::GetSpecial()
{
    return logged(kItem, QStringLiteral("GetSpecial"), draw().special);
}

QVariant RecordingDrumItem::GetSpecialAt(const QVariant &k)
{
    return logged(kItem, QStringLiteral("GetSpecialAt"),
                  k.toInt() == 2   ? draw().special2
                  : k.toInt() == 1 ? draw().special
                                   : QVariant(),
                  {k});
}

RecordingLottery::RecordingLottery(QObject *parent) : QObject(parent) {}

RecordingLottery *RecordingLottery::make(int total, int mini, int maxi, bool bonus,
                                         const QStringList &lines, QObject *parent)
{
    auto *l = new RecordingLottery(parent);
    l->totalNumber = total;
    l->miniNumber = mini;
    l->maxNumber = maxi;
    l->hasSpecial = bonus;
    for (const QString &line : lines) {
        const QStringList halves = line.split(u'+');
        QStringList parts = halves[0].split(u' ', Qt::SkipEmptyParts);
        DrawData d;
        d.issue = parts.takeFirst();
        for (const QString &p : parts)
            d.numbers << p;
        if (halves.size() > 1)
            d.special = halves[1].trimmed();
        l->draws.push_back(d);
    }
    return l;
}

QVariant RecordingLottery::TotalNumber()
{
    return logged(kLottery, QStringLiteral("TotalNumber"), totalNumber);
}
QVariant RecordingLottery::HasSpecial()
{
    return logged(kLottery, QStringLiteral("HasSpecial"), hasSpecial);
}
QVariant RecordingLottery::MiniNumber()
{
    return logged(kLottery, QStringLiteral("MiniNumber"), miniNumber);
}
QVariant RecordingLottery::MaxNumber()
{
    return logged(kLottery, QStringLiteral("MaxNumber"), maxNumber);
}

QVariant RecordingLottery::Count()
{
    const QVariant count = countOverride.isValid() ? countOverride : QVariant(qint32(draws.size()));
    return logged(kLottery, QStringLiteral("Count"), count);
}

QObject *RecordingLottery::Item(const QVariant &i)
{
    logged(kLottery, QStringLiteral("Item"), {}, {i});
    const int index = i.toInt();
    if (index < 1 || size_t(index) > draws.size())
        throw RuntimeError(9);
    if (m_items.size() < draws.size())
        m_items.resize(draws.size(), nullptr);
    RecordingItem *&item = m_items[size_t(index - 1)];
    if (!item)
        item = makeItem(index - 1);
    return item;
}

QVariant RecordingLottery::ReadData(const QVariant &path)
{
    logged(kLottery, QStringLiteral("ReadData"), {}, {path});
    draws = readDrawFile(path.toString());
    return qint32(0);
}

void RecordingLottery::setStartItem(const QVariant &v)
{
    logged(kLottery, QStringLiteral("StartItem="), {}, {v});
    m_start = v;
}

void RecordingLottery::setEndItem(const QVariant &v)
{
    logged(kLottery, QStringLiteral("EndItem="), {}, {v});
    m_end = v;
}

RecordingDrumLottery *RecordingDrumLottery::make(int total, int mini, int maxi, int count,
                                                 QVariant bonusMini, QVariant bonusMax,
                                                 const QStringList &lines, QObject *parent)
{
    auto *l = new RecordingDrumLottery(parent);
    l->totalNumber = total;
    l->miniNumber = mini;
    l->maxNumber = maxi;
    l->hasSpecial = true;
    l->specialCount = count;
    l->specialMini = bonusMini;
    l->specialMax = bonusMax;
    for (const QString &line : lines) {
        const QStringList halves = line.split(u'+');
        QStringList parts = halves[0].split(u' ', Qt::SkipEmptyParts);
        DrawData d;
        d.issue = parts.takeFirst();
        for (const QString &p : parts)
            d.numbers << p;
        const QStringList bonus =
            halves.size() > 1 ? halves[1].split(u' ', Qt::SkipEmptyParts) : QStringList();
        if (!bonus.empty())
            d.special = bonus[0];
        if (bonus.size() > 1)
            d.special2 = bonus[1];
        l->draws.push_back(d);
    }
    return l;
}

QVariant RecordingDrumLottery::SpecialCount()
{
    return logged(kLottery, QStringLiteral("SpecialCount"), specialCount);
}

namespace
{
// An invalid bound stands for a member the lottery does not have.
QVariant bound(const QString &member, const QVariant &value)
{
    if (!value.isValid())
        throw RuntimeError(438);
    return logged(kLottery, member, value);
}
} // namespace

QVariant RecordingDrumLottery::SpecialMiniNumber()
{
    return bound(QStringLiteral("SpecialMiniNumber"), specialMini);
}

QVariant RecordingDrumLottery::SpecialMaxNumber()
{
    return bound(QStringLiteral("SpecialMaxNumber"), specialMax);
}

} // namespace qrt::doubles
