#include "Checker.h"
#include "CsvFiles.h"
#include "FaultyFileSystem.h"
#include "FrequencyChart.h"
#include "HeadlessSession.h"
#include "ImportPreview.h"
#include "MainWindow.h"
#include "SampleHistory.h"
#include "TestSupport.h"
#include <qrt/AppManager.h>
#include <qrt/CommonDialog.h>
#include <qrt/FlexGrid.h>
#include <qrt/RuntimeError.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/Lottery.h>
#include <qrt/refhost/SqliteStore.h>

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>
#include <QTimer>

#include <cmath>
#include <numeric>

using namespace qrt;
using namespace qrt::app;

namespace
{
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

int sum(const std::vector<int> &v)
{
    return std::accumulate(v.begin(), v.end(), 0);
}

// A saved history of @p count draws in the folder of @p shapeKey, as an earlier run left it.
void seedHistory(const QString &dataDir, const QString &shapeKey, int count = 60)
{
    const ref::LotteryShape shape = *ref::LotteryShape::parse(shapeKey);
    const ref::DrawList made = domain::sampleHistory(shape, count);
    ref::DrawList draws(shape.total, shape.bonus);
    std::vector<qint32> numbers(size_t(shape.total));
    for (int i = 0; i < made.size(); ++i) {
        for (int j = 0; j < shape.total; ++j)
            numbers[size_t(j)] = made.number(i, j);
        draws.append(QString::number(2025001 + i), numbers.data(), made.bonus(i));
    }
    QString folder = shape.key();
    folder.replace(u':', u'_').replace(u'+', QStringLiteral("_bonus"));
    QVERIFY(QDir().mkpath(dataDir + u'/' + folder));
    writeFile(dataDir + u'/' + folder + QStringLiteral("/User.ltk"),
              ref::formatUserData(shape, draws));
}
} // namespace

class tst_App : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> data;

    static FlexGrid *grid(MainWindow &w)
    {
        return w.control()->findChild<FlexGrid *>(QStringLiteral("msfData"));
    }
    static QString row(MainWindow &w, int r)
    {
        FlexGrid *g = grid(w);
        QStringList cells;
        for (int c = 0; c < g->Cols(); ++c)
            cells << g->TextArray(r * g->Cols() + c);
        return cells.join(u' ');
    }
    static void type(const QString &text)
    {
        for (QChar c : text) {
            if (c == u'\n')
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            else
                QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
            QCoreApplication::processEvents();
        }
    }
    static void show(MainWindow &w)
    {
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }
    // The progress window of a save takes the activation with it when it closes; a window
    // manager gives it back, the offscreen platform does not.
    static void refocus(MainWindow &w)
    {
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.control()->findChild<QLineEdit *>(QStringLiteral("txtEdit"))->setFocus();
    }

private Q_SLOTS:
    void init() { data = std::make_unique<QTemporaryDir>(); }
    void cleanup()
    {
        data.reset();
        CommonDialog::setShowOpenHandler({});
    }

    // A first start holds no draws and says how to get them; typed and saved draws are there
    // on the next start, in the range lists and in the chart.
    void typeSaveRestart()
    {
        test::MsgBoxRecorder boxes;
        {
            MainWindow w(data->path());
            show(w);
            const int sample = 0;
            QCOMPARE(w.lottery()->Count(), 0);
            QCOMPARE(grid(w)->Rows(), 2);
            QVERIFY(w.findChild<QLabel *>(QStringLiteral("lotteryName"))
                        ->text()
                        .contains(QStringLiteral("no draws yet")));
            QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtEdit"));
            type(QStringLiteral(
                "2027001\n1\n2\n3\n4\n5\n6\n7\n2027002\n8\n9\n10\n11\n12\n13\n14\n"));
            w.control()->findChild<QPushButton *>(QStringLiteral("btnSave"))->click();
            QVERIFY2(boxes.shown.isEmpty(), qPrintable(boxes.shown.join(u'\n')));
            QCOMPARE(w.lottery()->Count(), sample + 2);
            QCOMPARE(w.endList()->count(), sample + 2);
            QCOMPARE(w.endList()->currentText(), QStringLiteral("2027002"));
            QCOMPARE(sum(w.chart()->basicCounts()), (sample + 2) * 6);
        }
        MainWindow again(data->path());
        show(again);
        const int rows = grid(again)->Rows();
        QCOMPARE(row(again, rows - 3), QStringLiteral("2027001 01 02 03 04 05 06 07"));
        QCOMPARE(row(again, rows - 2), QStringLiteral("2027002 08 09 10 11 12 13 14"));
        QCOMPARE(again.startList()->itemText(0), again.lottery()->draws().issue(0));
        QCOMPARE(again.endList()->currentText(), QStringLiteral("2027002"));
        // The chart follows the range.
        again.startList()->setCurrentIndex(again.startList()->count() - 2);
        QCOMPARE(sum(again.chart()->basicCounts()), 12);
        QCOMPARE(again.chart()->basicCounts()[0], 1); // number 1, once
        QCOMPARE(sum(again.chart()->bonusCounts()), 2);
        QVERIFY(again.chart()->title().contains(QStringLiteral("2 draws")));
        QVERIFY(boxes.shown.isEmpty());
    }

    void lotteriesKeepTheirOwnDraws()
    {
        seedHistory(data->path(), QStringLiteral("6of49"));
        {
            MainWindow w(data->path());
            const QString firstIssue = w.lottery()->draws().issue(0);
            w.switchLottery(*ref::LotteryShape::parse(QStringLiteral("keno")));
            QCOMPARE(grid(w)->Cols(), 21);
            // Eighty bars: every fifth number is labelled, under its own bar.
            const auto axes = w.chart()->findChild<QChartView *>()->chart()->axes(Qt::Horizontal);
            auto *x = qobject_cast<QCategoryAxis *>(axes.value(0));
            QVERIFY(x);
            QCOMPARE(x->categoriesLabels().size(), 17);
            QCOMPARE(x->categoriesLabels().first(), QStringLiteral("1"));
            QCOMPARE(x->endValue(QStringLiteral("80")), 79.0);
            QCOMPARE(w.lottery()->Count(), 0);
            w.switchLottery(*ref::LotteryShape::parse(QStringLiteral("4:1-20")));
            QCOMPARE(grid(w)->Cols(), 5);
            w.switchLottery(*ref::LotteryShape::parse(QStringLiteral("6of49")));
            QCOMPARE(grid(w)->Cols(), 8);
            QCOMPARE(w.lottery()->draws().issue(0), firstIssue);
            w.switchLottery(*ref::LotteryShape::parse(QStringLiteral("daily3")));
            // One program at a time writes into a data folder.
            QCOMPARE(test::errorOf([&] { MainWindow second(data->path()); }), 70);
        }
        // The choice survives a restart, unless another lottery is asked for.
        QCOMPARE(MainWindow(data->path()).lottery()->shape().key(), QStringLiteral("daily3"));
        QCOMPARE(MainWindow(data->path(), ref::LotteryShape::parse(QStringLiteral("keno")))
                     .lottery()
                     ->shape()
                     .key(),
                 QStringLiteral("keno"));
        QCOMPARE(MainWindow(data->path()).lottery()->shape().key(), QStringLiteral("keno"));
    }

    void openDrawFile()
    {
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path());
        show(w);
        const QString bad = data->filePath(QStringLiteral("bad.txt"));
        writeFile(bad, "1 01 02 03 04 05 06 + 07\n2 01 02 03 04 05 + 07\n");
        QVERIFY(!w.openDrawFile(bad));
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY2(boxes.shown[0].contains(
                     bad + QStringLiteral(":2: expected 6 numbers after the issue, found 5")),
                 qPrintable(boxes.shown[0]));
        QVERIFY(boxes.shown[0].startsWith(QStringLiteral("16|Draw file errors|")));

        // Given relative, it is recorded absolute: saves may run from another folder.
        const QString good = data->filePath(QStringLiteral("good.txt"));
        const QByteArray own = "# mine\n1 1,2,3,4,5,6 +7\n\n2 08 09 10 11 12 13 + 14\n";
        writeFile(good, own);
        QVERIFY(w.openDrawFile(QDir::current().relativeFilePath(good)));
        // Done, it says what it did and the busy cursor is gone.
        QVERIFY2(w.statusBar()->currentMessage().startsWith(QStringLiteral("Read 2 draws from")),
                 qPrintable(w.statusBar()->currentMessage()));
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(grid(w)->Rows(), 4);
        QCOMPARE(ref::SqliteStore(data->filePath(QStringLiteral("store.db")))
                     .record(QStringLiteral("LastReadFile")),
                 std::optional<QString>(good));
        // Saving writes the draws back to the file read, as well as to the user data file.
        grid(w)->setTextArray(1 * 8 + 1, QStringLiteral("49"));
        w.control()->findChild<QPushButton *>(QStringLiteral("btnSave"))->click();
        QFile f(good);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("1 02 03 04 05 06 49 + 07\n2 08 09 10 11 12 13 + 14\n"));
        // The file's own layout and comments are kept beside it.
        QFile kept(good + QStringLiteral(".bak"));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), own);
    }

    // Opening a file over a history asks first: add its new draws, replace the history, or
    // nothing. Either change marks the window and comes back whole with Edit > Undo.
    void openOverAHistory_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("held");
        QTest::newRow("add") << int(MsgBoxYes) << 4;
        QTest::newRow("replace") << int(MsgBoxNo) << 2;
        QTest::newRow("cancel") << int(MsgBoxCancel) << 3;
    }
    void openOverAHistory()
    {
        QFETCH(int, answer);
        QFETCH(int, held);
        seedHistory(data->path(), QStringLiteral("6of49"), 3);
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path());
        const QByteArray before = ref::formatUserData(w.lottery()->shape(), w.lottery()->draws());
        // The last held draw as it is held, and a new one.
        const QString file = data->filePath(QStringLiteral("new.txt"));
        writeFile(file, ref::formatTextDraws(w.lottery()->draws()).split('\n').value(2) +
                            "\n2027001 11 12 13 14 15 16 + 17\n");
        boxes.answers = {answer};
        QCOMPARE(w.openDrawFile(file), answer != MsgBoxCancel);
        QVERIFY2(boxes.shown.value(0).contains(QStringLiteral("holds 3 draws already")),
                 qPrintable(boxes.shown.join(u'\n')));
        QCOMPARE(w.lottery()->Count(), held);
        QCOMPARE(w.isWindowModified(), answer != MsgBoxCancel);
        if (answer == MsgBoxYes)
            QCOMPARE(w.lottery()->draws().issue(3), QStringLiteral("2027001"));
        QAction *undo = nullptr;
        for (QAction *a : w.findChildren<QAction *>())
            if (a->text() == QLatin1String("&Undo"))
                undo = a;
        QCOMPARE(undo->isEnabled(), answer != MsgBoxCancel);
        undo->trigger();
        QCOMPARE(ref::formatUserData(w.lottery()->shape(), w.lottery()->draws()), before);
        QVERIFY(!w.isWindowModified());
        QVERIFY(!undo->isEnabled());
    }

    // The preview shows how a result file is read and what an import would do; a role the
    // user changes is counted at once, used, and remembered for the next file of the layout.
    void importResultsWithPreview()
    {
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path(), ref::LotteryShape::parse(QStringLiteral("6:1-49")));
        const QByteArray layout = "Draw,Draw Date,N1,N2,N3,N4,N5,N6,Jackpot\n";
        const QString first = data->filePath(QStringLiteral("first.csv"));
        writeFile(first, layout + "7,2026-01-03,1,2,3,4,5,6,1000\n8,2026-01-10,7,8,9,10,11,12,9\n");
        QStringList seen;
        // What the preview showed: the counts, the second row's date, the counts after a change.
        const auto choose = [&](bool dropDrawNumber) {
            QTimer::singleShot(0, [&, dropDrawNumber] {
                auto *preview = qobject_cast<ImportPreview *>(QApplication::activeModalWidget());
                if (!preview)
                    return;
                const auto *counts = preview->findChild<QLabel *>(QStringLiteral("importCounts"));
                auto *table = preview->findChild<QTableWidget *>(QStringLiteral("previewTable"));
                seen << counts->text() << table->item(1, 1)->text();
                if (dropDrawNumber) // the date becomes the issue
                    qobject_cast<QComboBox *>(table->cellWidget(0, 0))->setCurrentIndex(4);
                seen << counts->text();
                preview->accept();
            });
        };
        choose(false);
        QVERIFY(w.importResults(first));
        const QString twoNew = QStringLiteral("2 new, 0 already held, 0 conflicting, 0 bad");
        QCOMPARE(seen, QStringList({twoNew, QStringLiteral("2026-01-03"), twoNew}));
        QCOMPARE(w.lottery()->draws().issue(1), QStringLiteral("8"));
        QVERIFY(w.isWindowModified());
        seen.clear();
        choose(true);
        const QString second = data->filePath(QStringLiteral("second.csv"));
        writeFile(second, layout + "9,2026-01-17,13,14,15,16,17,18,5\n");
        QVERIFY(w.importResults(second));
        QCOMPARE(w.lottery()->draws().issue(2), QStringLiteral("20260117"));
        // The same layout again: the role chosen last is used at once.
        const QString third = data->filePath(QStringLiteral("third.csv"));
        writeFile(third, layout + "10,2026-01-24,19,20,21,22,23,24,5\n");
        seen.clear();
        choose(false);
        QVERIFY(w.importResults(third));
        QCOMPARE(w.lottery()->draws().issue(3), QStringLiteral("20260124"));
    }

    // Edit > Find Missing Draws lists the holes, and goes to the draw held after one.
    void missingDraws()
    {
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path());
        show(w);
        const QString file = data->filePath(QStringLiteral("holes.txt"));
        writeFile(file, "1 01 02 03 04 05 06 + 07\n2 01 02 03 04 05 06 + 07\n"
                        "5 01 02 03 04 05 06 + 07\n");
        QVERIFY(w.openDrawFile(file));
        w.showGaps();
        auto *list = w.findChild<QListWidget *>(QStringLiteral("gapList"));
        QVERIFY(list);
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->item(0)->text(), QStringLiteral("3"));
        emit list->itemDoubleClicked(list->item(0));
        QCOMPARE(w.control()->currentIssue(), QStringLiteral("5"));
        list->window()->close();
    }

    // The control's Import button opens a result file for the import preview.
    void importButtonImports()
    {
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path());
        QString asked;
        CommonDialog::setShowOpenHandler([&](CommonDialog &d) { asked = d.DialogTitle(); });
        w.control()->findChild<QPushButton *>(QStringLiteral("btnInput"))->click();
        QCOMPARE(asked, QStringLiteral("Import Results"));
    }

    // A damaged user data file is moved aside and the draws read before it come back.
    void damagedUserFile()
    {
        const QString userFile = data->filePath(QStringLiteral("6of49/User.ltk"));
        seedHistory(data->path(), QStringLiteral("6of49"));
        {
            MainWindow w(data->path()); // keeps the copy a damaged file falls back on
            QCOMPARE(w.lottery()->Count(), 60);
        }
        QFile f(userFile);
        QVERIFY(f.open(QIODevice::ReadWrite));
        const QByteArray bytes = f.readAll();
        f.resize(bytes.size() / 2);
        f.close();
        test::MsgBoxRecorder boxes;
        // The load says what it is doing while it runs.
        bool busy = false;
        boxes.onShow = [&] { busy = QGuiApplication::overrideCursor() != nullptr; };
        MainWindow w(data->path());
        QVERIFY(busy);
        QVERIFY(!QGuiApplication::overrideCursor());
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY2(boxes.shown[0].contains(QStringLiteral("User.ltk:5: checksum mismatch")),
                 qPrintable(boxes.shown[0]));
        QVERIFY(boxes.shown[0].contains(QStringLiteral("were loaded instead")));
        QVERIFY(QFile::exists(userFile + QStringLiteral(".damaged")));
        QVERIFY(w.lottery()->Count() > 0);
    }

    // The Edit menu's Undo and Redo follow the control shown.
    void editMenuUndo()
    {
        MainWindow w(data->path());
        show(w);
        QAction *undo = nullptr;
        for (QAction *a : w.findChildren<QAction *>())
            if (a->text() == QLatin1String("&Undo"))
                undo = a;
        QVERIFY(undo);
        QVERIFY(!undo->isEnabled());
        const int rows = grid(w)->Rows();
        type(QStringLiteral("2027001\n"));
        QCOMPARE(grid(w)->Rows(), rows + 1);
        QVERIFY(undo->isEnabled());
        undo->trigger();
        QCOMPARE(grid(w)->Rows(), rows);
        QVERIFY(!undo->isEnabled());
        QVERIFY(!w.isWindowModified());
    }

    // The file written back, missing at a start: put back from the draws saved last when a
    // save was cut short after deleting it, left alone when somebody else removed it.
    void fileWrittenBackIsPutBack_data()
    {
        QTest::addColumn<bool>("cutShort");
        QTest::newRow("save cut short") << true;
        QTest::newRow("removed by the user") << false;
    }
    void fileWrittenBackIsPutBack()
    {
        QFETCH(bool, cutShort);
        const QString mine = data->filePath(QStringLiteral("mine.txt"));
        writeFile(mine, "1 01 02 03 04 05 06 + 07\n");
        QByteArray saved;
        {
            test::MsgBoxRecorder boxes;
            MainWindow w(data->path());
            QVERIFY(w.openDrawFile(mine));
            QVERIFY(w.save());
            QFile f(mine);
            QVERIFY(f.open(QIODevice::ReadOnly));
            saved = f.readAll();
            grid(w)->setTextArray(8 + 1, QStringLiteral("09")); // never saved
        }
        QVERIFY(QFile::remove(mine));
        if (cutShort) // as a save killed between deleting and writing the file leaves it
            ref::SqliteStore(data->filePath(QStringLiteral("store.db")))
                .setRecord(QStringLiteral("SaveUnderWay/6of49"), QStringLiteral("1"));
        test::MsgBoxRecorder boxes;
        MainWindow again(data->path());
        QCOMPARE(boxes.shown.size(), cutShort ? 1 : 0);
        QCOMPARE(QFile::exists(mine), cutShort);
        if (!cutShort) {
            QVERIFY(again.save());
            QVERIFY(!QFile::exists(mine));
            return;
        }
        QVERIFY2(boxes.shown[0].contains(QStringLiteral("was missing after an unfinished save")),
                 qPrintable(boxes.shown[0]));
        QFile f(mine);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), saved);
    }

    // Another program appended draws to the opened file: a save leaves the file as it is now,
    // says so, and no longer writes back to it; the draws typed here are saved all the same.
    void writeBackOnlyOverWhatWasRead()
    {
        const QString mine = data->filePath(QStringLiteral("mine.txt"));
        writeFile(mine, "1 01 02 03 04 05 06 + 07\n");
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path());
        QVERIFY(w.openDrawFile(mine));
        const QByteArray appended = "1 01 02 03 04 05 06 + 07\n2 08 09 10 11 12 13 + 14\n";
        writeFile(mine, appended);
        grid(w)->setTextArray(8 + 1, QStringLiteral("09"));
        QVERIFY(w.save());
        QFile f(mine);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), appended);
        QVERIFY2(boxes.shown.join(u'\n').contains(QStringLiteral("was changed by another program")),
                 qPrintable(boxes.shown.join(u'\n')));
        QCOMPARE(ref::SqliteStore(data->filePath(QStringLiteral("store.db")))
                     .record(QStringLiteral("LastReadFile")),
                 std::nullopt);
        QCOMPARE(ref::readUserDataFile(data->filePath(QStringLiteral("6of49/User.ltk")))
                     .draws.number(0, 0),
                 2);
    }

    // Records the program did not write itself never aim a save or a clean-up elsewhere: a
    // last-file record naming another file, and a "Path" setting emptied or made unwritable.
    void savesStayInTheirFolder()
    {
        const QString victim = data->filePath(QStringLiteral("passwd"));
        writeFile(victim, "root:x:0:0\n");
        writeFile(victim + QStringLiteral(".tmp-abcdef"), "not ours");
        {
            ref::SqliteStore store(data->filePath(QStringLiteral("store.db")));
            store.setRecord(QStringLiteral("LastReadFile"), victim);
            store.setRecord(QStringLiteral("Opened/6of49"),
                            QStringLiteral("1 2 3 4 00000000|") + victim);
        }
        const QString elsewhere = data->filePath(QStringLiteral("cwd"));
        QVERIFY(QDir().mkpath(elsewhere));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere));
        test::MsgBoxRecorder boxes;
        {
            MainWindow w(data->path());
            show(w);
            QVERIFY(QFile::exists(victim + QStringLiteral(".tmp-abcdef")));
            const QString ini = data->filePath(QStringLiteral("settings/QRTDataManager/"
                                                              "QRTDataManager.ini"));
            writeFile(ini, "[Path]\nPath=\n");
            type(QStringLiteral("2027001\n1\n2\n3\n4\n5\n6\n7\n"));
            boxes.answers = {MsgBoxOk, MsgBoxNo}; // told of the changed file; not imported
            QVERIFY(w.save());
            QVERIFY(boxes.answers.empty());
            QCOMPARE(w.lottery()->Count(), 1);
            // Made unwritable, the setting stops the save before anything is deleted.
            const QString settings = data->filePath(QStringLiteral("settings"));
            QVERIFY(QDir(settings).removeRecursively());
            writeFile(settings, "in the way");
            refocus(w);
            type(QStringLiteral("2027002\n1\n2\n3\n4\n5\n6\n7\n"));
            boxes.shown.clear();
            QVERIFY(!w.save());
            QVERIFY(w.control()->isModified());
            QVERIFY2(boxes.shown.join(u'\n').contains(QStringLiteral("Nothing was changed")),
                     qPrintable(boxes.shown.join(u'\n')));
            QCOMPARE(ref::readUserDataFile(data->filePath(QStringLiteral("6of49/User.ltk")))
                         .draws.size(),
                     1);
            QVERIFY(QFile::remove(settings));
            boxes.answers = {MsgBoxNo};
        }
        QVERIFY(QDir::setCurrent(before));
        QVERIFY(QDir(elsewhere).isEmpty());
        QFile f(victim);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("root:x:0:0\n"));
        QVERIFY(QFile::exists(victim + QStringLiteral(".tmp-abcdef")));
    }

    // A window whose lock on the data folder was taken away refuses to save before anything
    // is deleted, says why, and keeps what was typed.
    void lostLockRefusesTheSave()
    {
        seedHistory(data->path(), QStringLiteral("6of49"), 3);
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path());
        show(w);
        type(QStringLiteral("2027001\n1\n2\n3\n4\n5\n6\n7\n"));
        QVERIFY(QFile::remove(data->filePath(QStringLiteral("lock"))));
        QVERIFY(!w.save());
        QVERIFY(w.control()->isModified());
        QVERIFY2(boxes.shown.join(u'\n').contains(QStringLiteral("lock on the data folder")),
                 qPrintable(boxes.shown.join(u'\n')));
        QCOMPARE(
            ref::readUserDataFile(data->filePath(QStringLiteral("6of49/User.ltk"))).draws.size(),
            3);
        boxes.answers = {MsgBoxNo};
    }

    // Made-up draws that an earlier version showed, marked as such or not, never count as
    // history: they go aside whole and the lottery starts empty.
    void sampleDrawsSetAside_data()
    {
        QTest::addColumn<bool>("marked");
        QTest::newRow("marked as sample") << true;
        QTest::newRow("mark lost") << false;
    }
    void sampleDrawsSetAside()
    {
        QFETCH(bool, marked);
        const ref::LotteryShape shape = *ref::LotteryShape::parse(QStringLiteral("6of49"));
        const QString user = data->filePath(QStringLiteral("6of49/User.ltk"));
        QVERIFY(QDir().mkpath(data->filePath(QStringLiteral("6of49"))));
        writeFile(user, ref::formatUserData(shape, domain::sampleHistory(shape)));
        if (marked)
            ref::SqliteStore(data->filePath(QStringLiteral("store.db")))
                .setRecord(QStringLiteral("SampleData/6of49"), QStringLiteral("1"));
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path());
        QCOMPARE(w.lottery()->Count(), 0);
        QVERIFY(QFile::exists(user + QStringLiteral(".sample")));
        QVERIFY(!QFile::exists(user));
        QCOMPARE(boxes.shown.size(), 1);
    }

    // Every save keeps the state it replaces; one of them comes back as an unsaved change,
    // and saving it keeps the state it replaced in turn.
    void earlierVersions()
    {
        seedHistory(data->path(), QStringLiteral("6of49"), 5);
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path());
        show(w);
        for (const char *draw :
             {"2027001\n1\n2\n3\n4\n5\n6\n7\n", "2027002\n1\n2\n3\n4\n5\n6\n7\n"}) {
            refocus(w);
            type(QString::fromLatin1(draw));
            QVERIFY(w.save());
        }
        QString listed;
        QTextStream out(&listed);
        w.commands().listVersions(out);
        const QStringList lines = listed.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].trimmed().startsWith(u'1') &&
                     lines[0].endsWith(QStringLiteral(" 5 draws")),
                 qPrintable(listed));
        QVERIFY(lines[1].endsWith(QStringLiteral(" 6 draws")));
        QVERIFY(!w.restoreVersion(9));
        QVERIFY(w.restoreVersion(1));
        QCOMPARE(w.lottery()->Count(), 5);
        QVERIFY(w.control()->isModified());
        QVERIFY(w.save());
        listed.clear();
        w.commands().listVersions(out);
        QVERIFY2(
            listed.split(u'\n', Qt::SkipEmptyParts).last().endsWith(QStringLiteral(" 7 draws")),
            qPrintable(listed));
        QCOMPARE(
            ref::readUserDataFile(data->filePath(QStringLiteral("6of49/User.ltk"))).draws.size(),
            5);
    }

    // Changed draws outlive a program that ends without saving: the next start offers the grid
    // back as it was; a refusal drops the changes for good. The journal holds only the rows
    // between the saved draws left untouched above and below the changes.
    void changesSurviveACrash_data()
    {
        QTest::addColumn<QString>("where"); // the issue whose row is changed; "" for the end
        QTest::addColumn<QString>("change");
        QTest::addColumn<int>("journalRows");
        QTest::newRow("typed at the end") << ""
                                          << "2027001\n1\n2\n3\n4\n5\n6\n7\n2027002\n8\n"
                                          << 2;
        QTest::newRow("a saved draw retyped") << "2025002"
                                              << "2025009" << 1;
        QTest::newRow("a row inserted") << "2025002"
                                        << "insert" << 1;
        QTest::newRow("a row deleted") << "2025002"
                                       << "delete" << 0;
    }
    void changesSurviveACrash()
    {
        QFETCH(QString, where);
        QFETCH(QString, change);
        QFETCH(int, journalRows);
        seedHistory(data->path(), QStringLiteral("6of49"), 4);
        test::MsgBoxRecorder boxes;
        const QString journal = data->filePath(QStringLiteral("6of49/User.ltk.journal"));
        QStringList before;
        {
            MainWindow w(data->path());
            show(w);
            if (!where.isEmpty())
                QVERIFY(w.control()->goToIssue(where));
            if (change == QLatin1String("insert") || change == QLatin1String("delete"))
                w.control()
                    ->findChild<QPushButton *>(change == QLatin1String("insert")
                                                   ? QStringLiteral("btnInsert")
                                                   : QStringLiteral("btnDel"))
                    ->click();
            else
                type(change);
            QTRY_VERIFY(QFile::exists(journal));
            for (int r = 1; r < grid(w)->Rows() - 1; ++r)
                before << row(w, r);
            QFile f(journal);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QList<QByteArray> lines = f.readAll().split('\n');
            // The magic, the base line and the saved file's five header lines, keep, tail.
            QCOMPARE(lines.size() - 1 - 9, journalRows);
        } // no close, no question: as a crash leaves it
        for (const bool accept : {true, false}) {
            boxes.answers = {accept ? MsgBoxYes : MsgBoxNo};
            MainWindow again(data->path());
            show(again);
            QTRY_VERIFY(boxes.answers.empty());
            QCOMPARE(again.control()->isModified(), accept);
            QStringList after;
            for (int r = 1; r < grid(again)->Rows() - 1; ++r)
                after << row(again, r);
            if (accept)
                QCOMPARE(after, before);
            else
                QVERIFY(!QFile::exists(journal) && after.size() == 4);
        }
    }

    // A click queued while a long step held the window is not acted on when it ends; one made
    // a moment later is.
    void inputQueuedDuringALongStepIsDropped()
    {
        seedHistory(data->path(), QStringLiteral("6of49"), 3);
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path());
        show(w);
        const int rows = grid(w)->Rows();
        auto *insert = w.control()->findChild<QPushButton *>(QStringLiteral("btnInsert"));
        const QPoint at = insert->rect().center();
        w.showProgress(QStringLiteral("a long step"), 0, 10);
        QTest::qSleep(600);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(
                insert,
                new QMouseEvent(type, at, insert->mapToGlobal(at), Qt::LeftButton,
                                type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                Qt::NoModifier));
        w.showProgress(QStringLiteral("a long step"), 10, 10);
        QCoreApplication::processEvents();
        QCOMPARE(grid(w)->Rows(), rows);
        QTest::qWait(300);
        QTest::mouseClick(insert, Qt::LeftButton);
        QTRY_COMPARE(grid(w)->Rows(), rows + 1);
    }

    // A failure at each file-system call of a start and an import, in turn: the history the
    // next start shows is the old one or the new one, whole, and the exit code and message say
    // which. A folder that is not synced still holds the new draws, and says so.
    void failureAtEveryCall_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("error");
        QTest::newRow("any call, disk full") << int(test::FaultyFileSystem::Any) << ENOSPC;
        QTest::newRow("a lost sync") << int(test::FaultyFileSystem::Fsync) << EIO;
    }
    void failureAtEveryCall()
    {
        QFETCH(int, kind);
        QFETCH(int, error);
        const QString drawFile = data->filePath(QStringLiteral("new.txt"));
        writeFile(drawFile, "2027001 01 02 03 04 05 06 + 07\n");
        QSet<int> codes;
        for (int n = 1;; ++n) {
            QTemporaryDir folder;
            seedHistory(folder.path(), QStringLiteral("6of49"), 3);
            test::MsgBoxRecorder boxes;
            test::FaultyFileSystem fs;
            fs.failKind = test::FaultyFileSystem::Kind(kind);
            fs.failAt = n;
            fs.failErrno = error;
            QString out, err;
            int code = -1;
            ref::setFileSystem(&fs);
            const ref::LotteryShape shape = *ref::LotteryShape::parse(QStringLiteral("6of49"));
            try {
                domain::HeadlessSession session(folder.path(), shape);
                QTextStream o(&out), e(&err);
                code = session.commands().importFile(drawFile, o, e, false, session.save());
            } catch (const RuntimeError &) {
            }
            ref::setFileSystem(nullptr);
            domain::HeadlessSession after(folder.path(), shape);
            const int held = after.lottery().Count();
            const QString said = out + err + boxes.shown.join(u'\n');
            QVERIFY2(code == 0 || code == 3 || code == 4 || code == -1, qPrintable(said));
            QVERIFY2(held == (code == 0 || code == 4 ? 4
                              : code == 3            ? 3
                                                     : held),
                     qPrintable(QStringLiteral("call %1, exit %2: %3").arg(n).arg(code).arg(said)));
            QVERIFY2(held == 3 || held == 4, qPrintable(said));
            if (code == 3)
                QVERIFY2(err.contains(QStringLiteral("not saved")), qPrintable(said));
            if (code == 4)
                QVERIFY2(said.contains(QStringLiteral("saved")), qPrintable(said));
            codes << code;
            if (!fs.failed)
                break;
        }
        QVERIFY(codes.contains(0));
        QVERIFY(codes.contains(kind == test::FaultyFileSystem::Fsync ? 4 : 3));
    }

    // Typed draws are never dropped without a question: Cancel keeps everything, Discard drops
    // them, Save keeps them, and a save that fails keeps the window and the edits.
    void unsavedWorkIsAskedFor()
    {
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path());
        show(w);
        const int sample = w.lottery()->Count();
        QVERIFY(!w.isWindowModified());
        type(QStringLiteral("2027001\n"));
        QVERIFY(w.control()->isModified());
        QVERIFY(w.isWindowModified());

        boxes.answers = {MsgBoxCancel};
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY2(boxes.shown[0].startsWith(QStringLiteral("35|Data Manager|The draws of 6 of 49 "
                                                          "with a bonus number were changed.")),
                 qPrintable(boxes.shown[0]));
        w.switchLottery(*ref::LotteryShape::parse(QStringLiteral("keno")));
        QCOMPARE(boxes.shown.size(), 1); // a direct switch is the caller's decision

        // Back on 6 of 49, typed again; its folder turned into a file makes the save fail.
        w.switchLottery(*ref::LotteryShape::parse(QStringLiteral("6of49")));
        type(QStringLiteral("2027001\n1\n2\n3\n4\n5\n6\n7\n"));
        const QString folder = data->filePath(QStringLiteral("6of49"));
        QVERIFY(QDir(folder).removeRecursively());
        writeFile(folder, "in the way");
        boxes.shown.clear();
        boxes.answers = {MsgBoxYes};
        QVERIFY(!w.close());
        QVERIFY(w.control()->isModified());
        QVERIFY2(boxes.shown.size() >= 2 && boxes.shown[1].contains(QStringLiteral("not saved")),
                 qPrintable(boxes.shown.join(u'\n')));

        QVERIFY(QFile::remove(folder) && QDir().mkpath(folder));
        boxes.answers = {MsgBoxYes};
        QVERIFY(w.close());
        QVERIFY(!w.control()->isModified());
        QCOMPARE(w.lottery()->Count(), sample + 1);

        // Discard drops what was typed since.
        show(w);
        type(QStringLiteral("2027002\n"));
        QVERIFY(w.control()->isModified());
        boxes.answers = {MsgBoxNo};
        QVERIFY(w.close());
        QCOMPARE(w.lottery()->Count(), sample + 1);
    }

    // The real history goes out to CSV and comes back unchanged, byte for byte both ways.
    void csvRoundTrip()
    {
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path(), ref::LotteryShape::parse(QStringLiteral("6:1-49")));
        QVERIFY(w.openDrawFile(QStringLiteral(QRT_TEST_DATA "/de-6of49-1955-2026.txt")));
        const QString csv = data->filePath(QStringLiteral("history.csv"));
        QVERIFY(w.exportCsv(csv));
        QFile exported(csv);
        QVERIFY(exported.open(QIODevice::ReadOnly));
        const QByteArray bytes = exported.readAll();
        QVERIFY(bytes.startsWith("issue,n1,n2,n3,n4,n5,n6\r\n19551009,03,12,13,16,23,41\r\n"));
        QVERIFY(w.importCsv(csv));
        QVERIFY(boxes.shown.isEmpty());
        QFile original(QStringLiteral(QRT_TEST_DATA "/de-6of49-1955-2026.txt"));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(ref::formatTextDraws(w.lottery()->draws()), original.readAll());
        QCOMPARE(formatCsv(w.lottery()->draws()), bytes);
    }

    // A spreadsheet's CSV reads too; bad records are named by their line in the file, and
    // nothing is replaced.
    void csvFromASpreadsheet()
    {
        const ref::LotteryShape shape = *ref::LotteryShape::parse(QStringLiteral("6of49"));
        const ref::ReadResult good = readCsv("Issue,N1,N2,N3,N4,N5,N6,Bonus\n\"2026001\", "
                                             "3,12,13,16,23,41,7\n\n2026002,5,6,31,39,44,49,1",
                                             shape);
        QVERIFY(good.ok());
        QCOMPARE(ref::formatTextDraws(good.draws),
                 QByteArray("2026001 03 12 13 16 23 41 + 07\n2026002 05 06 31 39 44 49 + 01\n"));
        const ref::ReadResult bad = readCsv(
            "issue,n1\r\n2026001,1,2,3,4,5,6,7\r\n\"x\ny\",1\r\n2026001,1,2,3,4,5,6\r\n", shape);
        QCOMPARE(bad.draws.size(), 0);
        QStringList lines;
        for (const ref::ReadError &e : bad.errors)
            lines << QString::number(e.line);
        QCOMPARE(lines, QStringList({"3", "5"})); // the quoted line break counts as a line

        test::MsgBoxRecorder boxes;
        MainWindow w(data->path());
        const int held = w.lottery()->Count();
        const QString file = data->filePath(QStringLiteral("bad.csv"));
        writeFile(file, "issue,n1\n1,2\n");
        QVERIFY(!w.importCsv(file));
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY2(boxes.shown[0].contains(QStringLiteral("bad.csv:2: ")),
                 qPrintable(boxes.shown[0]));
        QCOMPARE(w.lottery()->Count(), held);
    }

    // Go to issue: the row is made current with the editor on it; an unknown issue moves
    // nothing.
    void goToIssue()
    {
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path(), ref::LotteryShape::parse(QStringLiteral("6:1-49")));
        show(w);
        QVERIFY(w.openDrawFile(QStringLiteral(QRT_TEST_DATA "/de-6of49-1955-2026.txt")));
        FlexGrid *g = grid(w);
        QVERIFY(w.goToIssue(QStringLiteral(" 19900113 ")));
        QCOMPARE(g->TextArray(g->Row() * g->Cols()), QStringLiteral("19900113"));
        QCOMPARE(g->Row(), 1788);
        QCOMPARE(g->Col(), 0);
        auto *editor = w.control()->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
        QCOMPARE(editor->text(), QStringLiteral("19900113"));
        // The status bar names the cell, by draw and column.
        g->setCol(2);
        QCOMPARE(w.findChild<QLabel *>(QStringLiteral("cellPosition"))->text(),
                 QStringLiteral("Issue 19900113, ") + g->TextArray(2).trimmed());
        const int row = g->Row();
        QVERIFY(!w.goToIssue(QStringLiteral("19900114")));
        QCOMPARE(g->Row(), row);
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY(boxes.shown[0].contains(QStringLiteral("Issue 19900114 is not in the draws")));
        // Out of order, typed by hand, it is still found.
        g->setTextArray(2 * g->Cols(), QStringLiteral("30000101"));
        QVERIFY(w.goToIssue(QStringLiteral("30000101")));
        QCOMPARE(g->Row(), 2);
    }

    // A screen reader can name every part of the window, and a custom lottery stays in the
    // menu once made.
    void namesAndCustomLotteries()
    {
        {
            MainWindow w(data->path());
            QCOMPARE(w.startList()->accessibleName(), QStringLiteral("Draws from"));
            QCOMPARE(w.endList()->accessibleName(), QStringLiteral("to"));
            QVERIFY(!w.chart()->accessibleName().isEmpty());
            QCOMPARE(grid(w)->accessibleName(),
                     QStringLiteral("Draws of 6 of 49 with a bonus number"));
            QVERIFY(!w.control()
                         ->findChild<QLineEdit *>(QStringLiteral("txtEdit"))
                         ->accessibleDescription()
                         .isEmpty());
        }
        {
            MainWindow w(data->path());
            test::MsgBoxRecorder boxes;
            // The dialog is answered the way a user fills it in.
            QTimer::singleShot(0, [] {
                auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                const auto spins = dialog->findChildren<QSpinBox *>();
                spins[0]->setValue(4);
                spins[1]->setValue(1);
                spins[2]->setValue(20);
                dialog->findChild<QCheckBox *>()->setChecked(false);
                dialog->findChild<QLineEdit *>(QStringLiteral("customName"))
                    ->setText(QStringLiteral(" Club  Four "));
                dialog->accept();
            });
            for (QAction *a : w.findChildren<QAction *>())
                if (a->text() == QLatin1String("&Custom..."))
                    a->trigger();
            QCOMPARE(w.lottery()->shape().key(), QStringLiteral("4:1-20"));
            QCOMPARE(w.lottery()->shape().name, QStringLiteral("Club Four"));
        }
        const auto menu = [](MainWindow &w) {
            QStringList names;
            for (QAction *a : w.findChildren<QAction *>())
                names << a->text();
            return names.join(u',');
        };
        test::MsgBoxRecorder boxes;
        {
            MainWindow again(data->path());
            QCOMPARE(again.lottery()->shape().name, QStringLiteral("Club Four"));
            QVERIFY2(menu(again).contains(QStringLiteral("Club Four")), qPrintable(menu(again)));
            // Built-in lotteries stay; a custom one goes from the menu after a question.
            QVERIFY(!again.removeCustomLottery(QStringLiteral("6of49")));
            boxes.answers = {MsgBoxNo};
            QVERIFY(!again.removeCustomLottery(QStringLiteral("4:1-20")));
            QVERIFY(again.removeCustomLottery(QStringLiteral("4:1-20")));
            QCOMPARE(boxes.shown.size(), 2);
            QCOMPARE(again.lottery()->shape().key(), QStringLiteral("6of49"));
            QVERIFY(!menu(again).contains(QStringLiteral("Club Four")));
        }
        MainWindow third(data->path());
        QVERIFY(!menu(third).contains(QStringLiteral("Club Four")));
        // Its draws are kept where they were.
        QVERIFY(QFileInfo::exists(data->filePath(QStringLiteral("4_1-20"))));
    }

    // The window opens inside its screen, its title names the lottery (the window system adds
    // the program's name), every button fits at its smallest width, and Tab visits each part.
    void windowFitsItsScreen()
    {
        seedHistory(data->path(), QStringLiteral("6of49"));
        QGuiApplication::setApplicationDisplayName(QStringLiteral("QRT Data Manager"));
        // As the program starts: shown before the draws are read.
        MainWindow w(data->path(), std::nullopt, nullptr, MainWindow::ShownAtOnce);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QCOMPARE(w.lottery()->Count(), 60);
        QVERIFY2(!w.windowTitle().contains(QStringLiteral("Data Manager")),
                 qPrintable(w.windowTitle()));
        QVERIFY(w.minimumWidth() <= 1280 && w.minimumHeight() <= 720);
        QVERIFY(w.screen()->availableGeometry().contains(w.frameGeometry()));
        w.resize(w.minimumSize());
        QTRY_COMPARE(w.size(), w.minimumSize());
        // Nothing is cut off sideways: the content needs no horizontal scroll bar.
        auto *content = w.findChild<QScrollArea *>(QStringLiteral("content"));
        QTest::qWait(50);
        QVERIFY(!content->horizontalScrollBar()->isVisible());
        QStringList stops;
        for (int i = 0; i < 24; ++i) {
            // Tab moves between the grid's cells; Ctrl+Tab leaves the grid.
            QWidget *at = QApplication::focusWidget();
            QTest::keyClick(at, Qt::Key_Tab,
                            at->objectName() == QLatin1String("txtEdit") ? Qt::ControlModifier
                                                                         : Qt::NoModifier);
            stops << QApplication::focusWidget()->objectName();
        }
        for (const char *name : {"btnInput", "btnOutput", "btnSave", "btnInsert", "btnDel",
                                 "btnOpenFile", "btnDataValidate", "rangeStart", "rangeEnd"})
            QVERIFY2(stops.contains(QLatin1String(name)), qPrintable(stops.join(u' ')));
        const qsizetype table = stops.indexOf(QStringLiteral("statistics"));
        QVERIFY2(table >= 0 && stops.value(table + 1) != stops[table],
                 qPrintable(stops.join(u' ')));
        // Departures from the expected count balance out.
        w.chart()->setDeparture(true);
        const QList<double> bars = w.chart()->basicBars();
        QCOMPARE(bars.size(), 49);
        QVERIFY(std::abs(std::accumulate(bars.begin(), bars.end(), 0.0)) < 1e-6);
    }

    // The value axis of the chart is labelled with whole counts, each label another.
    void wholeTicks_data()
    {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::newRow("no draws") << 0.0 << 0.0;
        QTest::newRow("two draws") << 0.0 << 2.0;
        QTest::newRow("a few") << 0.0 << 7.0;
        QTest::newRow("hundreds") << 0.0 << 437.0;
        QTest::newRow("departures") << -1234.5 << 1502.25;
    }
    void wholeTicks()
    {
        QFETCH(double, low);
        QFETCH(double, high);
        const FrequencyChart::Ticks t = FrequencyChart::wholeTicks(low, high);
        QVERIFY(t.low <= low && t.high >= high && t.high > t.low);
        QVERIFY(t.count >= 2 && t.count <= 8);
        const double step = (t.high - t.low) / (t.count - 1);
        QVERIFY(step >= 1);
        QCOMPARE(step, std::round(step));
        QCOMPARE(t.low, std::round(t.low));
    }

    // A CSV export goes to a name with its ending.
    void csvFileName_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::newRow("bare") << "/d/draws"
                              << "/d/draws.csv";
        QTest::newRow("dotted folder") << "/d.x/draws"
                                       << "/d.x/draws.csv";
        QTest::newRow("csv") << "/d/draws.csv"
                             << "/d/draws.csv";
        QTest::newRow("other ending") << "/d/draws.txt"
                                      << "/d/draws.txt";
        QTest::newRow("cancelled") << ""
                                   << "";
    }
    void csvFileName()
    {
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QCOMPARE(app::csvFileName(typed), written);
    }

    // A game with two bonus numbers from their own drum: typed, saved, shown after a restart,
    // counted apart in the chart, and through CSV and back.
    void twoBonusDrum()
    {
        test::MsgBoxRecorder boxes;
        const auto euro = ref::LotteryShape::parse(QStringLiteral("euromillions"));
        {
            MainWindow w(data->path(), euro);
            show(w);
            QCOMPARE(grid(w)->Cols(), 8);
            type(QStringLiteral("2027001\n1\n2\n3\n4\n5\n3\n9\n"));
            w.control()->findChild<QPushButton *>(QStringLiteral("btnSave"))->click();
            QVERIFY2(boxes.shown.isEmpty(), qPrintable(boxes.shown.join(u'\n')));
            QCOMPARE(w.lottery()->Count(), 1);
        }
        MainWindow again(data->path(), euro);
        show(again);
        QCOMPARE(row(again, 0),
                 QStringLiteral("        Date   B1   B2   B3   B4   B5 Bonus Bonus 2"));
        QCOMPARE(row(again, 1), QStringLiteral("2027001 01 02 03 04 05 03 09"));
        QCOMPARE(sum(again.chart()->basicCounts()), 5);
        QCOMPARE(again.chart()->bonusCounts()[2], 1); // bonus 3 in its drum, beside basic 3
        QCOMPARE(again.chart()->basicCounts()[2], 1);
        const QString csv = data->filePath(QStringLiteral("euro.csv"));
        QVERIFY(again.exportCsv(csv));
        QFile exported(csv);
        QVERIFY(exported.open(QIODevice::ReadOnly));
        QCOMPARE(
            exported.readAll(),
            QByteArray("issue,n1,n2,n3,n4,n5,bonus,bonus2\r\n2027001,01,02,03,04,05,03,09\r\n"));
        QCOMPARE(ref::formatTextDraws(readCsv("issue,n1,n2,n3,n4,n5,bonus,bonus2\n"
                                              "2027002,1,2,3,4,5,12,1\n",
                                              *euro)
                                          .draws),
                 QByteArray("2027002 01 02 03 04 05 + 12 01\n"));
        QVERIFY(boxes.shown.isEmpty());
    }

    // The custom lottery's second drum: its count and range make the shape.
    void customLotteryWithASecondDrum_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("largest");
        QTest::addColumn<QString>("key");
        QTest::newRow("one of 26") << 1 << 26 << "powerball";
        QTest::newRow("two of 11") << 2 << 11 << "5:1-69+2:1-11";
    }
    void customLotteryWithASecondDrum()
    {
        QFETCH(int, count);
        QFETCH(int, largest);
        QFETCH(QString, key);
        MainWindow w(data->path());
        test::MsgBoxRecorder boxes;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const auto spins = dialog->findChildren<QSpinBox *>();
            spins[0]->setValue(5);
            spins[2]->setValue(69);
            dialog->findChild<QCheckBox *>(QStringLiteral("secondDrum"))->setChecked(true);
            dialog->findChild<QSpinBox *>(QStringLiteral("drumCount"))->setValue(count);
            dialog->findChild<QSpinBox *>(QStringLiteral("drumMini"))->setValue(1);
            dialog->findChild<QSpinBox *>(QStringLiteral("drumMaxi"))->setValue(largest);
            dialog->accept();
        });
        for (QAction *a : w.findChildren<QAction *>())
            if (a->text() == QLatin1String("&Custom..."))
                a->trigger();
        QVERIFY2(boxes.shown.isEmpty(), qPrintable(boxes.shown.join(u'\n')));
        QCOMPARE(w.lottery()->shape().key(), key);
        QCOMPARE(grid(w)->Cols(), 1 + 5 + count);
    }

    // Every broken rule, by line, in the order of the file (the exit codes: tst_program).
    void checker()
    {
        const QString file = data->filePath(QStringLiteral("draws.txt"));
        writeFile(
            file,
            "# weekly draws\n1 01 02 03 + 04\n2 01 02 + 04\n3 01 02 03 + 03\n1 09 10 11 + 12\n");
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        QCOMPARE(checkDrawFile(file, QStringLiteral("3:1-49+"), out, err), 1);
        QCOMPARE(
            outText.split(u'\n', Qt::SkipEmptyParts),
            QStringList({file + ": read as a text draw file; UTF-8; LF line ends; oldest first",
                         file + ":2: issue 1 is also on line 5 with other numbers",
                         file + ":3: expected 3 numbers after the issue, found 2",
                         file + ":4: number 3 is drawn twice",
                         file + ":5: issue 1 is also on line 2 with other numbers",
                         file + ": 4 broken rules"}));
    }

    // Draws from before a game's ranges changed: named, and the shape that holds them all.
    void checkerSuggestsAShape()
    {
        const QString file = data->filePath(QStringLiteral("mega.txt"));
        writeFile(file, "1 01 02 03 04 75 + 15\n2 01 02 03 04 70 + 25\n3 01 02 03 04 05 + 24\n");
        QString outText, errText;
        QTextStream out(&outText), err(&errText);
        QCOMPARE(checkDrawFile(file, QStringLiteral("megamillions"), out, err), 1);
        QCOMPARE(
            outText.split(u'\n', Qt::SkipEmptyParts),
            QStringList({file + ": read as a text draw file; UTF-8; LF line ends; oldest first",
                         file + ":1: number 75 is out of range 1 to 70",
                         file + ":2: bonus 25 is out of range 1 to 24", file + ": 2 broken rules",
                         file + ": the draws outside Mega Millions (5 of 70 + 1 of 24) "
                                "(5:1-70+1:1-24) are listed above; the smallest lottery "
                                "that holds the whole file is 5:1-75+1:1-25: use --lottery "
                                "5:1-75+1:1-25"}));
        test::MsgBoxRecorder boxes;
        MainWindow w(data->path(), ref::LotteryShape::parse(QStringLiteral("megamillions")));
        QVERIFY(!w.openDrawFile(file));
        QCOMPARE(boxes.shown.size(), 1);
        QVERIFY2(boxes.shown[0].contains(
                     QStringLiteral("mega.txt:1: number 75 is out of range 1 to 70")) &&
                     boxes.shown[0].contains(QStringLiteral(
                         "the whole file is 5:1-75+1:1-25; choose it under Lottery > Custom")),
                 qPrintable(boxes.shown[0]));
    }
};

QTEST_MAIN(tst_App)
#include "tst_app.moc"
