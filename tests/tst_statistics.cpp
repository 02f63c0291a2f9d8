// The statistics of a range against counts done here the plain way, draw by draw.
#include "DrawStatistics.h"
#include "StatisticsModel.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <QSortFilterProxyModel>
#include <QTest>

#include <algorithm>
#include <map>
#include <numeric>

using namespace qrt;
using namespace qrt::app;

class tst_Statistics : public QObject
{
    Q_OBJECT

    static ref::DrawList randomDraws(const ref::LotteryShape &shape, int n, quint32 seed)
    {
        QRandomGenerator rng(seed);
        ref::DrawList draws(shape.total, shape.bonus);
        std::vector<qint32> pool(size_t(shape.maxi - shape.mini + 1));
        std::iota(pool.begin(), pool.end(), shape.mini);
        for (int i = 0; i < n; ++i) {
            std::shuffle(pool.begin(), pool.end(), rng);
            draws.append(QString::number(1000 + i), pool.data(), 0);
        }
        return draws;
    }

private Q_SLOTS:
    void matchesPlainCounts_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("all") << 0 << 299;
        QTest::newRow("middle") << 100 << 180;
        QTest::newRow("one draw") << 42 << 42;
        QTest::newRow("empty") << 50 << 49;
    }
    void matchesPlainCounts()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        const ref::LotteryShape shape = *ref::LotteryShape::parse(QStringLiteral("5:1-12"));
        const ref::DrawList draws = randomDraws(shape, 300, 9);
        const DrawStatistics s = DrawStatistics::of(shape, draws, first, last, 5);
        QCOMPARE(s.draws, qint64(std::max(0, last - first + 1)));
        QCOMPARE(s.numbers.size(), size_t(12));
        auto has = [&](int i, qint32 v) {
            for (int j = 0; j < draws.total(); ++j)
                if (draws.number(i, j) == v)
                    return true;
            return false;
        };
        for (qint32 v = 1; v <= 12; ++v) {
            qint64 count = 0, since = -1, gap = 0, run = 0;
            for (int i = first; i <= last; ++i) {
                if (has(i, v)) {
                    ++count;
                    run = 0;
                    since = last - i;
                } else {
                    gap = std::max(gap, ++run);
                }
            }
            const DrawStatistics::Number &n = s.numbers[size_t(v - 1)];
            QCOMPARE(n.value, v);
            QCOMPARE(n.count, count);
            QCOMPARE(n.sinceLast, since);
            QCOMPARE(n.longestGap, gap);
        }
        std::map<std::pair<qint32, qint32>, qint64> pairs;
        for (int i = first; i <= last; ++i)
            for (int a = 0; a < draws.total(); ++a)
                for (int b = 0; b < draws.total(); ++b)
                    if (draws.number(i, a) < draws.number(i, b))
                        ++pairs[{draws.number(i, a), draws.number(i, b)}];
        qint64 best = 0;
        for (const auto &[key, c] : pairs)
            best = std::max(best, c);
        if (s.draws == 0) {
            QVERIFY(s.topPairs.empty());
            return;
        }
        QCOMPARE(s.topPairs.size(), size_t(5));
        QCOMPARE(s.topPairs.front().count, best);
        for (const DrawStatistics::Pair &p : s.topPairs)
            QCOMPARE(p.count, (pairs[{p.a, p.b}]));
    }

    // The table sorts by value, not by text, and "never" waits longest; it exports as shown.
    void modelSortsAndExports()
    {
        const ref::LotteryShape shape = *ref::LotteryShape::parse(QStringLiteral("2:1-12"));
        ref::DrawList draws(2, false);
        const qint32 rows[][2] = {{1, 2}, {1, 3}, {1, 10}};
        for (int i = 0; i < 3; ++i)
            draws.append(QString::number(i + 1), rows[i], 0);
        StatisticsModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setStatistics(DrawStatistics::of(shape, draws, 0, 2));
        QSortFilterProxyModel sorted;
        sorted.setSourceModel(&model);
        sorted.setSortRole(Qt::UserRole);
        sorted.sort(StatisticsModel::SinceLast, Qt::DescendingOrder);
        QCOMPARE(sorted.index(0, StatisticsModel::SinceLast).data().toString(),
                 QStringLiteral("never"));
        sorted.sort(StatisticsModel::Count, Qt::DescendingOrder);
        QCOMPARE(sorted.index(0, StatisticsModel::Number).data().toString(), QStringLiteral("1"));
        sorted.sort(StatisticsModel::Number, Qt::DescendingOrder);
        QCOMPARE(sorted.index(0, StatisticsModel::Number).data().toString(), QStringLiteral("12"));
        const QList<QByteArray> csv = model.toCsv().split('\n');
        QCOMPARE(csv[0], QByteArray("number,drawn,draws since,longest gap,mark\r"));
        QCOMPARE(csv[1], QByteArray("1,3,0,0,hot\r"));
        QCOMPARE(csv[3], QByteArray("3,1,1,1,\r"));
        QCOMPARE(csv[4], QByteArray("4,0,never,3,\r"));
    }

    // A drum of its own is counted apart, each of its numbers against its own expected count:
    // a bonus that equals a basic number counts once in each drum.
    void bonusDrumApart_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<int>("bonusRows");
        QTest::addColumn<double>("bonusExpected");
        QTest::newRow("one from 1-4") << "2:1-12+1:1-4" << 4 << 6 * 1 / 4.0;
        QTest::newRow("two from 1-4") << "2:1-12+2:1-4" << 4 << 6 * 2 / 4.0;
        QTest::newRow("same drum") << "2:1-12+" << 0 << 0.0;
    }
    void bonusDrumApart()
    {
        QFETCH(QString, shape);
        QFETCH(int, bonusRows);
        QFETCH(double, bonusExpected);
        const ref::LotteryShape s = *ref::LotteryShape::parse(shape);
        ref::DrawList draws(2, s.bonuses());
        for (int i = 0; i < 6; ++i) {
            const qint32 values[] = {1, 2 + i, 1, 3};
            draws.appendDraw(QString::number(i + 1), values);
        }
        const DrawStatistics stats = DrawStatistics::of(s, draws, 0, 5);
        QCOMPARE(stats.numbers[0].count, 6); // basic 1 alone, its bonus twin apart
        QCOMPARE(stats.bonusNumbers.size(), size_t(bonusRows));
        QCOMPARE(stats.bonusExpected, bonusExpected);
        StatisticsModel model;
        model.setStatistics(stats);
        QCOMPARE(model.rowCount(), 12 + bonusRows);
        if (bonusRows == 0)
            return;
        QCOMPARE(stats.bonusNumbers[0].count, 6);
        QCOMPARE(stats.bonusNumbers[1].count, 0);
        QCOMPARE(stats.bonusNumbers[1].sinceLast, -1);
        const QList<QByteArray> csv = model.toCsv().split('\n');
        QCOMPARE(csv[13], QByteArray("bonus 1,6,0,0,hot\r"));
        QCOMPARE(model.index(12, StatisticsModel::Mark).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("6 draws against %1 expected").arg(bonusExpected, 0, 'f', 1));
        QCOMPARE(csv[15],
                 QByteArray(s.bonusCount == 2 ? "bonus 3,6,0,0,hot\r" : "bonus 3,0,never,6,\r"));
    }
};

QTEST_GUILESS_MAIN(tst_Statistics)
#include "tst_statistics.moc"
