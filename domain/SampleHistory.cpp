#include "SampleHistory.h"

#include <QRandomGenerator>

#include <algorithm>
#include <numeric>

namespace qrt::domain
{

ref::DrawList sampleHistory(const ref::LotteryShape &shape, int count)
{
    QRandomGenerator rng(quint32(qHash(shape.id())));
    ref::DrawList draws(shape.total, shape.bonus);
    const int needed = shape.total + (shape.bonus ? 1 : 0);
    const qint64 span = qint64(shape.maxi) - shape.mini + 1;
    const bool distinct = span >= needed && span <= 100000;
    std::vector<qint32> pool;
    if (distinct) {
        pool.resize(size_t(span));
        std::iota(pool.begin(), pool.end(), shape.mini);
    }
    std::vector<qint32> values(static_cast<size_t>(needed));
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
            for (qint32 &v : values)
                v = shape.mini + qint32(rng.bounded(quint32(std::min<qint64>(span, 0x7FFFFFFF))));
        }
        std::sort(values.begin(), values.begin() + shape.total);
        draws.append(QString::number(2026001 + i), values.data(), shape.bonus ? values.back() : 0);
    }
    return draws;
}

} // namespace qrt::domain
