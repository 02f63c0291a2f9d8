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

private Q_SLOTS:
    // Basic numbers from 1 to 12 and their pairs; bonus numbers from 1 to 4 of a drum of their
    // own counted apart, each against its own expected count, so that a bonus equal to a
    // basic number counts once in each drum.
    void matchesPlainCounts_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::newRow("all, two bonus numbers") << "5:1-12+2:1-4" << 0 << 299;
        QTest::newRow("middle") << "5:1-12+1:1-4" << 100 << 180;
        QTest::newRow("one draw") << "5:1-12" << 42 << 42;
        QTest::newRow("empty") << "5:1-12+1:1-4" << 50 << 49;
        QTest::newRow("bonus from the basic drum") << "5:1-12+" << 0 << 299;
    }
    void matchesPlainCounts()
    {
        QFETCH(QString, shape);
        QFETCH(int, first);
        QFETCH(int, last);
        const ref::LotteryShape s = *ref::LotteryShape::parse(shape);
        QRandomGenerator rng(9);
        ref::DrawList draws(s.total, s.bonuses());
        std::vector<qint32> basic(12), bonus(4);
        std::iota(basic.begin(), basic.end(), 1);
        std::iota(bonus.begin(), bonus.end(), 1);
        for (int i = 0; i < 300; ++i) {
            std::shuffle(basic.begin(), basic.end(), rng);
            std::shuffle(bonus.begin(), bonus.end(), rng);
            std::vector<qint32> values(basic.begin(), basic.begin() + s.total);
            values.insert(values.end(), bonus.begin(), bonus.begin() + s.bonuses());
            draws.appendDraw(QString::number(1000 + i), values.data());
        }
        const DrawStatistics stats = DrawStatistics::of(s, draws, first, last, 5);
        QCOMPARE(stats.draws, qint64(std::max(0, last - first + 1)));
        const auto recount = [&](const std::vector<DrawStatistics::Number> &numbers, int span,
                                 int perDraw, auto valueAt) {
            QCOMPARE(numbers.size(), size_t(span));
            for (qint32 v = 1; v <= span; ++v) {
                qint64 count = 0, since = -1, gap = 0, run = 0;
                for (int i = first; i <= last; ++i) {
                    bool has = false;
                    for (int j = 0; j < perDraw; ++j)
                        has = has || valueAt(i, j) == v;
                    count += has;
                    since = has ? last - i : since;
                    run = has ? 0 : run + 1;
                    gap = std::max(gap, run);
                }
                const DrawStatistics::Number &n = numbers[size_t(v - 1)];
                QCOMPARE(std::tuple(n.value, n.count, n.sinceLast, n.longestGap),
                         std::tuple(v, count, since, gap));
            }
        };
        recount(stats.numbers, 12, s.total, [&](int i, int j) { return draws.number(i, j); });
        const bool ownDrum = s.bonus && s.ownDrum;
        recount(stats.bonusNumbers, ownDrum ? 4 : 0, s.bonuses(),
                [&](int i, int k) { return draws.bonus(i, k); });
        QCOMPARE(stats.bonusExpected, ownDrum ? double(stats.draws) * s.bonusCount / 4 : 0.0);
        std::map<std::pair<qint32, qint32>, qint64> pairs;
        for (int i = first; i <= last; ++i)
            for (int a = 0; a < draws.total(); ++a)
                for (int b = 0; b < draws.total(); ++b)
                    if (draws.number(i, a) < draws.number(i, b))
                        ++pairs[{draws.number(i, a), draws.number(i, b)}];
        qint64 best = 0;
        for (const auto &[key, c] : pairs)
            best = std::max(best, c);
        QCOMPARE(stats.topPairs.size(), size_t(stats.draws ? 5 : 0));
        QCOMPARE(stats.draws ? stats.topPairs.front().count : 0, best);
        for (const DrawStatistics::Pair &p : stats.topPairs)
            QCOMPARE(p.count, (pairs[{p.a, p.b}]));
    }

    // The table sorts by value, not by text, "never" waits longest, and a drum of its own
    // follows the basic numbers, marked against its own expected count; it exports as shown.
    void modelSortsAndExports()
    {
        const ref::LotteryShape shape = *ref::LotteryShape::parse(QStringLiteral("2:1-12+1:1-5"));
        ref::DrawList draws(2, 1);
        const qint32 rows[][3] = {{1, 2, 4}, {1, 3, 4}, {1, 10, 4}};
        for (int i = 0; i < 3; ++i)
            draws.appendDraw(QString::number(i + 1), rows[i]);
        StatisticsModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setStatistics(DrawStatistics::of(shape, draws, 0, 2));
        QCOMPARE(model.rowCount(), 17);
        QSortFilterProxyModel sorted;
        sorted.setSourceModel(&model);
        sorted.setSortRole(Qt::UserRole);
        using M = StatisticsModel;
        for (const auto &[by, top] : {std::pair{M::SinceLast, "never"}, std::pair{M::Count, "1"},
                                      std::pair{M::Number, "bonus 5"}}) {
            sorted.sort(by, Qt::DescendingOrder);
            QCOMPARE(sorted.index(0, by == M::SinceLast ? by : M::Number).data().toString(),
                     QString::fromLatin1(top));
        }
        QCOMPARE(sorted.index(5, StatisticsModel::Number).data().toString(), QStringLiteral("12"));
        QCOMPARE(model.index(15, StatisticsModel::Mark).data(Qt::ToolTipRole).toString(),
                 QStringLiteral("3 draws against 0.6 expected"));
        const QList<QByteArray> csv = model.toCsv().split('\n');
        QCOMPARE(QList<QByteArray>({csv[0], csv[1], csv[3], csv[4], csv[13], csv[16]}),
                 QList<QByteArray>({"number,drawn,draws since,longest gap,mark\r", "1,3,0,0,hot\r",
                                    "3,1,1,1,\r", "4,0,never,3,\r", "bonus 1,0,never,3,\r",
                                    "bonus 4,3,0,0,hot\r"}));
    }
};

QTEST_GUILESS_MAIN(tst_Statistics)
#include "tst_statistics.moc"
