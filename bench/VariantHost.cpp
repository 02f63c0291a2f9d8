#include "VariantHost.h"

#include <qrt/Automation.h>
#include <qrt/HostContract.h>
#include <qrt/RuntimeError.h>

VariantLottery::VariantLottery(const qrt::ref::LotteryShape &shape) : inner(shape)
{
    for (VariantItem *&item : m_items)
        item = new VariantItem(&inner, this);
}

QVariant VariantLottery::Item(const QVariant &i)
{
    const int n = i.toInt();
    if (n < 1 || n > inner.draws().size())
        throw qrt::RuntimeError(9);
    VariantItem *item = m_items[m_next];
    m_next = (m_next + 1) % m_items.size();
    item->index = n - 1;
    return QVariant::fromValue<QObject *>(item);
}

void VariantDraws::AddItem(const QVariant &draw)
{
    auto *d = qobject_cast<VariantDraw *>(draw.value<QObject *>());
    if (!d)
        throw qrt::RuntimeError(13);
    m_inner.AddItem(&d->inner);
}

void registerVariantClasses(const qrt::ref::LotteryShape &shape)
{
    qrt::registerClass(QString::fromLatin1(qrt::host::kLotterysClass),
                       [shape] { return new VariantDraws(shape); });
    qrt::registerClass(QString::fromLatin1(qrt::host::kLotteryClass),
                       [shape] { return new VariantDraw(shape.ordered); });
}
