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
        item = new RecordingItem(this, index - 1);
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

} // namespace qrt::doubles
