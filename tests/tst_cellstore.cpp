#include "CellStore.h"

#include <QRandomGenerator>
#include <QTest>

using namespace qrt;

class tst_CellStore : public QObject
{
    Q_OBJECT

    using Reference = std::vector<std::vector<QString>>;

    static void compare(const CellStore &store, const Reference &ref, int cols)
    {
        QCOMPARE(store.rows(), int(ref.size()));
        QCOMPARE(store.cols(), cols);
        QString buffer = QStringLiteral("left over");
        std::vector<const char *> bytes(size_t(cols) + 1);
        std::vector<qsizetype> sizes(size_t(cols) + 1);
        for (int r = 0; r < store.rows(); ++r) {
            for (int c = 0; c < cols; ++c) {
                QCOMPARE(store.text(r, c), ref[size_t(r)][size_t(c)]);
                store.textInto(r, c, buffer);
                QCOMPARE(buffer, ref[size_t(r)][size_t(c)]);
            }
            // The whole row at once, as Latin-1 where the cells read one by one are.
            const bool asBytes = store.rowLatin1(r, cols, bytes.data(), sizes.data());
            const char *first = nullptr;
            qsizetype firstSize = 0;
            QCOMPARE(asBytes, store.latin1(r, 0, first, firstSize));
            if (!asBytes)
                continue;
            for (int c = 0; c < cols; ++c)
                QCOMPARE(QString::fromLatin1(bytes[size_t(c)], sizes[size_t(c)]),
                         ref[size_t(r)][size_t(c)]);
        }
    }

private Q_SLOTS:
    // Random edits against a plain table of strings, with texts that need UTF-16 mixed in, rows
    // filled left to right as a load fills them, whole rows written from lists and joined
    // texts, rows longer than one byte of cell count, and a low compaction threshold so that
    // the pool is compacted many times in between.
    void matchesPlainTable()
    {
        QRandomGenerator rng(7);
        CellStore store(512);
        Reference ref;
        int cols = 4;
        store.setCols(cols);
        const QStringList samples = QStringLiteral("|07|42|20261205|Grüße|抽奖| a b |").split(u'|')
                                    << QString(200, u'x');
        auto sample = [&] { return samples[rng.bounded(int(samples.size()))]; };
        for (int step = 0; step < 40000; ++step) {
            const int op = int(rng.bounded(100));
            const int rows = int(ref.size());
            if (op < 50 && rows > 0) {
                const int r = int(rng.bounded(rows));
                const int c = int(rng.bounded(cols));
                ref[size_t(r)][size_t(c)] = sample();
                store.setText(r, c, ref[size_t(r)][size_t(c)]);
            } else if (op < 65) {
                const int at = int(rng.bounded(rows + 1));
                const int n = 1 + int(rng.bounded(3));
                n == 1 ? store.insertRow(at) : store.insertRows(at, n);
                ref.insert(ref.begin() + at, size_t(n), std::vector<QString>(size_t(cols)));
                for (int c = 0; c < cols && op < 60; ++c) {
                    ref[size_t(at)][size_t(c)] = sample();
                    store.setText(at, c, ref[size_t(at)][size_t(c)]);
                }
            } else if (op < 80 && rows > 0) {
                const int at = int(rng.bounded(rows));
                const int n = 1 + int(rng.bounded(std::min(3, rows - at)));
                n == 1 ? store.removeRow(at) : store.removeRows(at, n);
                ref.erase(ref.begin() + at, ref.begin() + at + n);
            } else if (op < 90 && rows > 0) {
                const int r = int(rng.bounded(rows));
                std::vector<QString> parts(rng.bounded(cols + 2));
                for (QString &p : parts)
                    p = rng.bounded(4) == 0 ? QString() : sample();
                if (op < 85)
                    store.setRow(r, parts);
                else
                    store.setRowParts(r, QStringList(parts.begin(), parts.end()).join(u'|'), u'|');
                parts.resize(size_t(cols));
                ref[size_t(r)] = parts;
            } else if (op < 95) {
                const int n = int(rng.bounded(60));
                store.setRows(n);
                ref.resize(size_t(n), std::vector<QString>(size_t(cols)));
            } else {
                cols = rng.bounded(4) == 0 ? 126 + int(rng.bounded(5)) : 1 + int(rng.bounded(6));
                store.setCols(cols);
                for (auto &row : ref)
                    row.resize(size_t(cols));
            }
            // Two neighbouring cells read after each change: the second is found from where
            // the first ended, which no change may leave stale.
            if (!ref.empty()) {
                const int r = int(rng.bounded(int(ref.size())));
                const int c = int(rng.bounded(cols));
                QCOMPARE(store.text(r, c), ref[size_t(r)][size_t(c)]);
                if (c + 1 < cols)
                    QCOMPARE(store.text(r, c + 1), ref[size_t(r)][size_t(c + 1)]);
            }
            if (step % 1000 == 999)
                compare(store, ref, cols);
        }
        QVERIFY2(store.compactions() > 10, qPrintable(QString::number(store.compactions())));
    }

    // The pool is compacted once the bytes a change left behind reach the threshold: a cell
    // of 100 Latin-1 characters shrunk to 1 in place leaves 99; a removed row of such a cell
    // leaves its 100 and 3 bytes of encoding and lengths. Too few counted never compacts; too many
    // compacts a pool that holds little garbage.
    void compactsAtTheGarbageLeft_data()
    {
        QTest::addColumn<bool>("remove");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<int>("compactions");
        QTest::newRow("shrunk, at the threshold") << false << 99 << 1;
        QTest::newRow("shrunk, below it") << false << 100 << 0;
        QTest::newRow("removed, at the threshold") << true << 103 << 1;
        QTest::newRow("removed, below it") << true << 104 << 0;
    }
    void compactsAtTheGarbageLeft()
    {
        QFETCH(bool, remove);
        QFETCH(int, threshold);
        QFETCH(int, compactions);
        CellStore store{size_t(threshold)};
        store.setCols(1);
        store.setRows(2);
        store.setText(0, 0, QString(100, u'a'));
        store.setText(1, 0, QStringLiteral("b")); // so that row 0 is not at the pool's end
        if (remove)
            store.removeRow(0);
        else
            store.setText(0, 0, QStringLiteral("a"));
        QCOMPARE(store.compactions(), compactions);
        QCOMPARE(store.text(remove ? 0 : 1, 0), QStringLiteral("b"));
    }

    // A draw of an eight-digit issue and seven two-digit numbers must stay near its text size
    // (36 bytes), give or take the pool's spare capacity after its last doubling; a string
    // per cell would cost several hundred. Such a pool lives in a mapping of its own, grown in
    // place, and must keep what it held before and survive copies, moves and swaps.
    void compactForDraws()
    {
        CellStore store;
        store.setCols(8);
        const int n = 100000;
        store.setRows(n);
        for (int r = 0; r < n; ++r) // as a load fills them
            store.setRowParts(r, QStringLiteral("%1|08|15|22|29|36|43|01").arg(20000000 + r), u'|');
        const double perRow = double(store.memoryBytes()) / n;
        QVERIFY2(perRow < 80, qPrintable(QString::number(perRow)));
        CellStore copy = store;
        copy.setText(n - 1, 7, QStringLiteral("02"));
        std::swap(store, copy);
        QCOMPARE(store.text(0, 0) + store.text(n - 1, 0) + store.text(n - 1, 7) +
                     copy.text(n - 1, 7),
                 QStringLiteral("20000000200999990201"));
    }
};

QTEST_GUILESS_MAIN(tst_CellStore)
#include "tst_cellstore.moc"
