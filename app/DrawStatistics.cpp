#include "DrawStatistics.h"

#include <algorithm>
#include <cmath>

namespace qrt::app
{

namespace
{
// Counts, waits and deviations of the numbers @p mini to @p mini + span - 1, @p perDraw of
// them drawn in each draw without putting back; @p valuesOf(i, out) gives draw i's values.
template <typename Values>
std::vector<DrawStatistics::Number> drumNumbers(qint64 mini, qint64 span, int perDraw, int first,
                                                int last, double &expected, Values valuesOf)
{
    std::vector<DrawStatistics::Number> numbers(static_cast<size_t>(span));
    std::vector<qint64> lastSeen(size_t(span), qint64(first) - 1);
    std::vector<qint32> row;
    for (int i = first; i <= last; ++i) {
        row.clear();
        valuesOf(i, row);
        for (qint32 v : row) {
            const qint64 k = qint64(v) - mini;
            if (k < 0 || k >= span)
                continue;
            DrawStatistics::Number &n = numbers[size_t(k)];
            ++n.count;
            n.longestGap = std::max(n.longestGap, i - lastSeen[size_t(k)] - 1);
            lastSeen[size_t(k)] = i;
        }
    }
    const qint64 draws = last >= first ? qint64(last) - first + 1 : 0;
    const double p = std::min(1.0, double(perDraw) / double(span));
    expected = double(draws) * p;
    const double sd = std::sqrt(double(draws) * p * (1 - p));
    for (qint64 k = 0; k < span; ++k) {
        DrawStatistics::Number &n = numbers[size_t(k)];
        n.value = qint32(mini + k);
        n.sinceLast = n.count > 0 ? last - lastSeen[size_t(k)] : -1;
        n.longestGap = std::max(n.longestGap, qint64(last) - lastSeen[size_t(k)]);
        n.deviation = sd > 0 ? (double(n.count) - expected) / sd : 0;
    }
    return numbers;
}
} // namespace

DrawStatistics DrawStatistics::of(const ref::LotteryShape &shape, const ref::DrawList &draws,
                                  int first, int last, int pairs)
{
    DrawStatistics s;
    const qint64 span = qint64(shape.maxi) - shape.mini + 1;
    if (span <= 0 || span > 100000)
        return s;
    first = std::max(first, 0);
    last = std::min(last, draws.size() - 1);
    s.draws = last >= first ? qint64(last) - first + 1 : 0;
    s.numbers.resize(size_t(span));
    std::vector<qint64> lastSeen(size_t(span), qint64(first) - 1);
    const bool withPairs = span <= 400;
    // 32-bit counts in one flat triangle-in-a-square: a million keno draws add 190 million
    // pairs, so the inner loop is kept to one increment.
    std::vector<quint32> pairCounts(withPairs ? size_t(span * span) : 0);
    std::vector<qint32> row;
    for (int i = first; i <= last; ++i) {
        row.clear();
        for (int j = 0; j < draws.total(); ++j) {
            const qint64 k = qint64(draws.number(i, j)) - shape.mini;
            if (k < 0 || k >= span)
                continue;
            Number &n = s.numbers[size_t(k)];
            ++n.count;
            n.longestGap = std::max(n.longestGap, i - lastSeen[size_t(k)] - 1);
            lastSeen[size_t(k)] = i;
            row.push_back(qint32(k));
        }
        if (!withPairs)
            continue;
        std::sort(row.begin(), row.end()); // nearly always sorted already
        const size_t m = row.size();
        for (size_t x = 0; x < m; ++x) {
            quint32 *base = pairCounts.data() + size_t(row[x]) * size_t(span);
            for (size_t y = x + 1; y < m; ++y)
                ++base[row[y]];
        }
    }
    // A number drawn once per draw at most: the chance of each is total / span.
    const double p = std::min(1.0, double(shape.total) / double(span));
    s.expected = double(s.draws) * p;
    const double sd = std::sqrt(double(s.draws) * p * (1 - p));
    for (qint64 k = 0; k < span; ++k) {
        Number &n = s.numbers[size_t(k)];
        n.value = qint32(shape.mini + k);
        n.sinceLast = n.count > 0 ? last - lastSeen[size_t(k)] : -1;
        n.longestGap = std::max(n.longestGap, qint64(last) - lastSeen[size_t(k)]);
        n.deviation = sd > 0 ? (double(n.count) - s.expected) / sd : 0;
    }
    if (withPairs) {
        for (qint64 a = 0; a < span; ++a)
            for (qint64 b = a + 1; b < span; ++b)
                if (const qint64 c = pairCounts[size_t(a * span + b)]; c > 0)
                    s.topPairs.push_back({qint32(shape.mini + a), qint32(shape.mini + b), c});
        const auto more = [](const Pair &x, const Pair &y) {
            return x.count != y.count ? x.count > y.count : std::tie(x.a, x.b) < std::tie(y.a, y.b);
        };
        const size_t keep = std::min(s.topPairs.size(), size_t(std::max(pairs, 0)));
        std::partial_sort(s.topPairs.begin(), s.topPairs.begin() + qsizetype(keep),
                          s.topPairs.end(), more);
        s.topPairs.resize(keep);
    }
    const qint64 bonusSpan = qint64(shape.bonusMaxi) - shape.bonusMini + 1;
    if (shape.bonus && shape.ownDrum && bonusSpan > 0 && bonusSpan <= 100000)
        s.bonusNumbers = drumNumbers(shape.bonusMini, bonusSpan, shape.bonusCount, first, last,
                                     s.bonusExpected, [&](int i, std::vector<qint32> &out) {
                                         for (int k = 0; k < draws.bonusCount(); ++k)
                                             out.push_back(draws.bonus(i, k));
                                     });
    return s;
}

} // namespace qrt::app
