#include "SampleHistory.h"

#include <QRandomGenerator>

#include <algorithm>
#include <numeric>

namespace qrt::domain
{

ref::DrawList sampleHistory(const ref::LotteryShape &shape, int count)
{
    QRandomGenerator rng(quint32(qHash(shape.id())));
    ref::DrawList draws(shape.total, shape.bonuses());
    const bool ownDrum = shape.bonus && shape.ownDrum;
    // The numbers drawn from the basic drum; a drum of its own is drawn from after them.
    const int needed = shape.total + (ownDrum ? 0 : shape.bonuses());
    const qint64 span = qint64(shape.maxi) - shape.mini + 1;
    const bool distinct = span >= needed && span <= 100000;
    std::vector<qint32> pool;
    if (distinct) {
        pool.resize(size_t(span));
        std::iota(pool.begin(), pool.end(), shape.mini);
    }
    std::vector<qint32> values(static_cast<size_t>(shape.total + shape.bonuses()));
    for (int i = 0; i < count; ++i) {
        if (distinct) {
            // A partial shuffle draws without putting back, as a real drawing does.
            for (int k = 0; k < needed; ++k) {
                const size_t pick =
                    size_t(k) + size_t(rng.bounded(quint32(pool.size() - size_t(k))));
                std::swap(pool[size_t(k)], pool[pick]);
                values[size_t(k)] = pool[size_t(k)];
            }
        } else {
            for (int k = 0; k < needed; ++k)
                values[size_t(k)] =
                    shape.mini + qint32(rng.bounded(quint32(std::min<qint64>(span, 0x7FFFFFFF))));
        }
        if (ownDrum) {
            const quint32 bonusSpan = quint32(shape.bonusMaxi - shape.bonusMini + 1);
            const qint32 first = shape.bonusMini + qint32(rng.bounded(bonusSpan));
            values[size_t(shape.total)] = first;
            if (shape.bonusCount == 2) // the second differs from the first, as the drum has it
                values[size_t(shape.total) + 1] =
                    shape.bonusMini +
                    qint32((quint32(first - shape.bonusMini) + 1 + rng.bounded(bonusSpan - 1)) %
                           bonusSpan);
        }
        std::sort(values.begin(), values.begin() + shape.total);
        draws.appendDraw(QString::number(2026001 + i), values.data());
    }
    return draws;
}

} // namespace qrt::domain
