#include "CellStore.h"
#include "PodBuffer.h"

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
            bool wide = false;
            for (const QString &t : ref[size_t(r)])
                for (QChar ch : t)
                    wide = wide || ch.unicode() > 0xFF;
            const bool asBytes = store.rowLatin1(r, cols, bytes.data(), sizes.data());
            const char *first = nullptr;
            qsizetype firstSize = 0;
            QCOMPARE(asBytes, store.latin1(r, 0, first, firstSize));
            QVERIFY(!wide || !asBytes);
            if (!asBytes)
                continue;
            for (int c = 0; c < cols; ++c)
                QCOMPARE(QString::fromLatin1(bytes[size_t(c)], sizes[size_t(c)]),
                         ref[size_t(r)][size_t(c)]);
        }
    }

private Q_SLOTS:
    // Random edits against a plain table of strings, with texts that need UTF-16 mixed in, and
    // a low compaction threshold so that the pool is compacted many times in between.
    void matchesPlainTable()
    {
        QRandomGenerator rng(7);
        CellStore store(512);
        Reference ref;
        int cols = 4;
        store.setCols(cols);
        const QStringList samples = QStringLiteral("|07|42|20261205|Grüße|抽奖| a b |").split(u'|')
                                    << QString(200, u'x');
        for (int step = 0; step < 40000; ++step) {
            const int op = int(rng.bounded(100));
            const int rows = int(ref.size());
            if (op < 55 && rows > 0) {
                const int r = int(rng.bounded(rows));
                const int c = int(rng.bounded(cols));
                const QString &t = samples[rng.bounded(int(samples.size()))];
                store.setText(r, c, t);
                ref[size_t(r)][size_t(c)] = t;
            } else if (op < 75) {
                const int at = int(rng.bounded(rows + 1));
                store.insertRow(at);
                ref.insert(ref.begin() + at, std::vector<QString>(size_t(cols)));
            } else if (op < 90 && rows > 0) {
                const int at = int(rng.bounded(rows));
                store.removeRow(at);
                ref.erase(ref.begin() + at);
            } else if (op < 95) {
                const int n = int(rng.bounded(60));
                store.setRows(n);
                ref.resize(size_t(n), std::vector<QString>(size_t(cols)));
            } else {
                cols = 1 + int(rng.bounded(6));
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

    // Rows filled left to right, as a load fills them, with a wide text turning up mid-row,
    // an empty cell, and rows longer than one byte of cell count.
    void rowsFilledLeftToRight_data()
    {
        QTest::addColumn<int>("cols");
        for (int cols : {1, 8, 127, 128, 130})
            QTest::addRow("%d columns", cols) << cols;
    }

    void rowsFilledLeftToRight()
    {
        QFETCH(int, cols);
        CellStore store;
        store.setCols(cols);
        Reference ref;
        for (int r = 0; r < 40; ++r) {
            store.insertRow(r);
            ref.emplace_back(size_t(cols));
            for (int c = 0; c < cols; ++c) {
                QString t = QString::number(r * 1000 + c);
                if (r % 5 == 1 && c == cols / 2)
                    t = QStringLiteral("抽") + t;
                if (r % 7 == 2 && c == 1)
                    t.clear();
                store.setText(r, c, t);
                ref[size_t(r)][size_t(c)] = t;
            }
        }
        // Retyping a finished row must not disturb the row filled after it.
        store.setText(3, 0, QStringLiteral("x"));
        ref[3][0] = QStringLiteral("x");
        compare(store, ref, cols);
    }

    // Rows added and dropped at both ends far past the room kept there, then in the middle.
    void rowsAtBothEnds()
    {
        CellStore store;
        store.setCols(1);
        Reference ref;
        auto insert = [&](int at, const QString &t) {
            store.insertRow(at);
            store.setText(at, 0, t);
            ref.insert(ref.begin() + at, std::vector<QString>{t});
        };
        for (int k = 0; k < 3000; ++k) {
            insert(0, QStringLiteral("top %1").arg(k));
            insert(store.rows(), QStringLiteral("end %1").arg(k));
        }
        for (int k = 0; k < 500; ++k) {
            insert(store.rows() / 2, QStringLiteral("mid %1").arg(k));
            store.removeRows(0, 3);
            ref.erase(ref.begin(), ref.begin() + 3);
            store.removeRows(store.rows() - 2, 2);
            ref.erase(ref.end() - 2, ref.end());
            store.removeRow(store.rows() / 3);
            ref.erase(ref.begin() + std::ptrdiff_t(ref.size() / 3));
        }
        compare(store, ref, 1);
    }

    // A row written from one joined text, or from a list of its parts, must equal the same
    // parts written cell by cell.
    void rowFromParts_data()
    {
        QTest::addColumn<int>("cols");
        QTest::addColumn<QString>("parts");
        QTest::newRow("exact") << 3 << QStringLiteral("20261205|07|42");
        QTest::newRow("more parts than columns") << 2 << QStringLiteral("a|b|c");
        QTest::newRow("fewer parts") << 4 << QStringLiteral("a|b");
        QTest::newRow("trailing empty") << 3 << QStringLiteral("a||");
        QTest::newRow("leading empty") << 3 << QStringLiteral("|x|");
        QTest::newRow("empty") << 3 << QString();
        QTest::newRow("wide") << 3 << QStringLiteral("抽|1|Grüße");
        QStringList many;
        for (int c = 0; c < 130; ++c)
            many << QString::number(c);
        QTest::newRow("130 columns") << 130 << many.join(u'|');
    }

    void rowFromParts()
    {
        QFETCH(int, cols);
        QFETCH(QString, parts);
        CellStore joined, listed, single;
        for (CellStore *s : {&joined, &listed, &single}) {
            s->setCols(cols);
            s->setRows(3);
            s->setText(1, 0, QStringLiteral("old"));
            s->setText(2, 0, QStringLiteral("next"));
        }
        joined.setRowParts(1, parts, u'|');
        const QStringList split = parts.split(u'|');
        listed.setRow(1, {split.begin(), split.end()});
        for (int c = 0; c < cols; ++c)
            single.setText(1, c, c < split.size() ? split[c] : QString());
        Reference ref(3, std::vector<QString>(size_t(cols)));
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < cols; ++c)
                ref[size_t(r)][size_t(c)] = single.text(r, c);
        compare(joined, ref, cols);
        compare(listed, ref, cols);
        QCOMPARE(joined.text(2, 0), QStringLiteral("next"));
    }

    // Growth from a few values to several megabytes (past the point where the buffer gets a
    // mapping of its own), then copies, comparison and swapping.
    void podBufferKeepsValues()
    {
        PodBuffer<qint32> a;
        for (qint32 i = 0; i < 3'000'000; ++i) {
            if (i % 3 == 0)
                a.push_back(i);
            else
                a.append(&i, 1);
        }
        QCOMPARE(a.size(), size_t(3'000'000));
        for (size_t i = 0; i < a.size(); i += 4999)
            QCOMPARE(a[i], qint32(i));
        QCOMPARE(a[a.size() - 1], 2'999'999);
        PodBuffer<qint32> b = a;
        QVERIFY(b == a);
        b[17] = -1;
        QVERIFY(!(b == a));
        PodBuffer<qint32> small;
        small.push_back(5);
        small.swap(b);
        QCOMPARE(b.size(), size_t(1));
        QCOMPARE(small[17], -1);
        small.truncate(2);
        QCOMPARE(small.size(), size_t(2));
        b = std::move(a);
        QCOMPARE(b[2'000'000], 2'000'000);
    }

    // The pool is compacted once the bytes a change left behind reach the threshold: a cell
    // of 100 Latin-1 characters shrunk to 1 in place leaves 99; a removed row of such a cell
    // leaves its 100 and a few bytes of lengths. Too few counted never compacts; too many
    // compacts a pool that holds little garbage.
    void compactsAtTheGarbageLeft_data()
    {
        QTest::addColumn<bool>("remove");
        QTest::addColumn<int>("threshold");
        QTest::addColumn<int>("compactions");
        QTest::newRow("shrunk, at the threshold") << false << 99 << 1;
        QTest::newRow("shrunk, below it") << false << 100 << 0;
        QTest::newRow("removed, at the threshold") << true << 100 << 1;
        QTest::newRow("removed, below it") << true << 110 << 0;
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
    // per cell would cost several hundred.
    void compactForDraws()
    {
        CellStore store;
        store.setCols(8);
        const int n = 100000;
        store.setRows(n);
        for (int r = 0; r < n; ++r) {
            store.setText(r, 0, QString::number(20000000 + r));
            for (int c = 1; c < 8; ++c)
                store.setText(r, c,
                              QStringLiteral("%1").arg(c * 7 % 49 + 1, 2, 10, QLatin1Char('0')));
        }
        QCOMPARE(store.text(n - 1, 0), QString::number(20000000 + n - 1));
        const double perRow = double(store.memoryBytes()) / n;
        qInfo("%.1f bytes per row", perRow);
        QVERIFY2(perRow < 80, qPrintable(QString::number(perRow)));
    }
};

QTEST_GUILESS_MAIN(tst_CellStore)
#include "tst_cellstore.moc"
