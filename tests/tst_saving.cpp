#include "AppManagerProbe_p.h"
#include "CallLog.h"
#include "RecordingDraws.h"
#include "RecordingLottery.h"
#include "RecordingStore.h"
#include "TestSupport.h"
#include <qrt/AppManager.h>
#include <qrt/CommonDialog.h>
#include <qrt/FlexGrid.h>
#include <qrt/Settings.h>
#include <qrt/ShellExecute.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace qrt;
using namespace qrt::doubles;

class tst_Saving : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir dataDir;
    std::unique_ptr<AppManager> control;
    std::unique_ptr<RecordingLottery> lottery;
    std::unique_ptr<RecordingStore> store;
    std::unique_ptr<QComboBox> start;
    std::unique_ptr<QComboBox> end;
    FlexGrid *grid = nullptr;
    int topLevelsBefore = 0;

    QString userFile() const { return dataDir.filePath(QStringLiteral("User.ltk")); }

    void load(const QStringList &draws, bool bonus = true, int total = 2)
    {
        lottery.reset(RecordingLottery::make(total, 1, 49, bonus, draws));
        control->SetSystemStore(store.get());
        control->SetIssueControl(start.get(), end.get());
        control->InitData(lottery.get());
        control->show();
        QVERIFY(QTest::qWaitForWindowActive(control.get()));
        CallLog::instance().clear();
    }
    void click(const char *name)
    {
        control->findChild<QPushButton *>(QLatin1String(name))->click();
    }
    QString row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < grid->Cols(); ++c)
            cells << grid->TextArray(r * grid->Cols() + c);
        return cells.join(u'|');
    }
    static QStringList items(const QComboBox &box)
    {
        QStringList out;
        for (int i = 0; i < box.count(); ++i)
            out << box.itemText(i);
        return out;
    }
    static QString fileText(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll())
                                           : QStringLiteral("<missing>");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
        saveSetting(QStringLiteral("QRTTest"), QStringLiteral("Path"), QStringLiteral("Path"),
                    dataDir.path() + u'/');
        registerRecordingClasses();
    }
    void init()
    {
        CallLog::instance().clear();
        clearFailures();
        QFile::remove(userFile());
        topLevelsBefore = test::topLevelCount();
        store = std::make_unique<RecordingStore>();
        store->records.insert(QStringLiteral("QRTManagerCaption"), QStringLiteral("QRTTest"));
        start = std::make_unique<QComboBox>();
        end = std::make_unique<QComboBox>();
        control = std::make_unique<AppManager>();
        grid = control->findChild<FlexGrid *>(QStringLiteral("msfData"));
    }
    void cleanup()
    {
        control.reset();
        lottery.reset();
        store.reset();
        start.reset();
        end.reset();
        QCOMPARE(RecordingDraw::alive, 0);
        QCOMPARE(RecordingLotterys::alive, 0);
        QCOMPARE(test::topLevelCount(), topLevelsBefore);
        CommonDialog::setShowOpenHandler({});
        setShellExecuteHandler({});
    }

    void callSequence_data()
    {
        QTest::addColumn<bool>("bonus");
        QTest::addColumn<bool>("lastRead");
        QTest::newRow("bonus") << true << false;
        QTest::newRow("no bonus") << false << false;
        QTest::newRow("bonus, last-read file") << true << true;
        QTest::newRow("no bonus, last-read file") << false << true;
    }
    void callSequence()
    {
        QFETCH(bool, bonus);
        QFETCH(bool, lastRead);
        const QString lastFile = dataDir.filePath(QStringLiteral("last.txt"));
        if (lastRead)
            store->records.insert(QStringLiteral("LastReadFile"), lastFile);
        load({bonus ? QStringLiteral("2026 9 7 +3") : QStringLiteral("2026 9 7")}, bonus);
        test::MsgBoxRecorder boxes;
        click("btnSave");
        QVERIFY(boxes.shown.isEmpty());

        // The calls in order; %1 the bonus's, %2 those of the last-read file, %3 the refill's
        // bonus, %4 the user file.
        const QString calls =
            QStringLiteral(
                "Lottery.TotalNumber(); Lottery.HasSpecial(); Lottery.MiniNumber(); "
                "Lottery.MaxNumber(); Draw.SetIssue(str \"2026\"); Lottery.TotalNumber(); "
                "Draw.SetNumber(i32 1, i32 9); Draw.SetNumber(i32 2, i32 7); Draw.OrderNumbers(); "
                "Lottery.HasSpecial(); %1Draws.AddItem(obj); "
                "Store.QueryRecord(i16 0, str \"QRTManagerCaption\", i16 0, i16 0, i16 0, i16 0); "
                "Store.GetRSContent(); Draws.SaveData(str \"%4\"); "
                "Store.QueryRecord(i16 0, str \"LastReadFile\", str \"0\", i16 0, i16 0, i16 0); "
                "Store.GetRSSize(); %2Lottery.ReadData(str \"%4\"); Lottery.Count(); "
                "Lottery.Count(); Lottery.Item(i32 1); Item.GetIssue(); Lottery.Item(i32 1); "
                "Item.GetIssue(); Lottery.Count(); Lottery.StartItem=(i16 1); Lottery.Count(); "
                "Lottery.EndItem=(i32 1); Lottery.Item(i32 1); Item.GetIssue(); "
                "Lottery.TotalNumber(); Item.GetNumber(i32 1); Item.GetNumber(i32 2); "
                "Lottery.HasSpecial()%3")
                .arg(QString::fromUtf8(bonus ? "Draw.SetSpecial(i32 3); " : ""),
                     lastRead ? QStringLiteral("Store.GetRSContent(); Store.GetRSContent(); "
                                               "Draws.SaveData(str \"%1\", bool true); ")
                                    .arg(lastFile)
                              : QString(),
                     QString::fromUtf8(bonus ? "; Item.GetSpecial()" : ""))
                .arg(userFile());
        const QStringList expected = calls.split(QStringLiteral("; "));
        QCOMPARE(CallLog::instance().entries(), expected);

        // The grid shows the draws as the lottery read them back: ordered, two digits.
        QCOMPARE(row(1), bonus ? QStringLiteral("2026|07|09|03") : QStringLiteral("2026|07|09"));
        QCOMPARE(fileText(userFile()),
                 bonus ? QStringLiteral("2026;7,9;3\n") : QStringLiteral("2026;7,9;\n"));
        QCOMPARE(fileText(lastFile), lastRead ? fileText(userFile()) : QStringLiteral("<missing>"));
        QVERIFY(!probe(control.get()).lotterys);
        QCOMPARE(grid->Row(), 2);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtEdit"));
    }

    void progressTexts()
    {
        load({"1 1 2 +3"});
        QStringList seen;
        CallLog::instance().onAdd = [&](const QString &entry) {
            if (entry.startsWith(QLatin1String("Draws.AddItem")) ||
                entry.startsWith(QLatin1String("Lottery.ReadData")))
                seen << test::progressWindow();
        };
        click("btnSave");
        CallLog::instance().onAdd = nullptr;
        QCOMPARE(seen, QStringList({"visible:Saving ...", "visible:Updating..."}));
        QCOMPARE(test::progressWindow(), QStringLiteral("none"));
    }

    // A long save tells how far its checking, its handing over and its refill have come, each
    // a bounded number of times.
    void progressOfALongSave()
    {
        QStringList draws;
        for (int i = 1; i <= 10000; ++i)
            draws << QStringLiteral("%1 1 2 +3").arg(i);
        load(draws);
        QSignalSpy told(control.get(), &AppManager::progress);
        click("btnSave");
        QStringList order;
        QMap<QString, int> counts;
        for (const QList<QVariant> &args : std::as_const(told)) {
            const QString what = args.at(0).toString();
            if (order.isEmpty() || order.last() != what)
                order << what;
            ++counts[what];
            QCOMPARE(args.at(2).toInt(), 10000);
        }
        QCOMPARE(order, QStringList({"Checking...", "Saving ...", "Updating..."}));
        for (int n : std::as_const(counts))
            QVERIFY(n >= 3 && n <= 101);
    }

    void readOnlyUserFileReplaced()
    {
        QFile old(userFile());
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QVERIFY(old.setPermissions(QFileDevice::ReadOwner));
        load({"5 1 2 +3"});
        click("btnSave");
        QCOMPARE(fileText(userFile()), QStringLiteral("5;1,2;3\n"));
    }

    void missingSettingWritesToCurrentFolder()
    {
        QTemporaryDir here;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(here.path()));
        store->records.insert(QStringLiteral("QRTManagerCaption"),
                              QStringLiteral("NoSuchApplication"));
        load({"5 1 2 +3"});
        click("btnSave");
        QDir::setCurrent(previous);
        QCOMPARE(fileText(here.filePath(QStringLiteral("User.ltk"))), QStringLiteral("5;1,2;3\n"));
    }

    // A failing host stops the save where it fails; the typed draws stay in the grid.
    void hostFailureKeepsTheGrid()
    {
        load({"5 1 2 +3", "6 4 5 +6"});
        grid->setTextArray(2 * grid->Cols() + 1, QStringLiteral("9"));
        const QString before = row(1) + u'/' + row(2);
        QSignalSpy errors(control.get(), &AppManager::errorOccurred);
        failOn(QStringLiteral("Draws"), QStringLiteral("SaveData"));
        click("btnSave");
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).toInt(), 440);
        QCOMPARE(row(1) + u'/' + row(2), before);
        QCOMPARE(RecordingDraw::alive, 0); // the draw object went with the save
        QPointer<RecordingLotterys> kept = RecordingLotterys::last;
        QVERIFY(kept);
        QCOMPARE(probe(control.get()).lotterys, kept.data());
        // The next save replaces it.
        click("btnSave");
        QVERIFY(!kept);
        QVERIFY(!probe(control.get()).lotterys);
        QCOMPARE(row(2), QStringLiteral("6|05|09|06"));
    }

    // The first draw's texts change in the refill (sorted, padded) before the second draw's
    // bonus fails: they must be put back.
    void refillFailureKeepsTheGrid()
    {
        load({"5 1 2 +3", "6 4 5 +6"});
        grid->setTextArray(grid->Cols() + 1, QStringLiteral("2"));
        grid->setTextArray(grid->Cols() + 2, QStringLiteral("1"));
        const QString before = row(1) + u'/' + row(2);
        QCOMPARE(before, QStringLiteral("5|2|1|03/6|04|05|06"));
        failOn(QStringLiteral("Item"), QStringLiteral("GetSpecial"), 1); // the second draw's bonus
        QSignalSpy errors(control.get(), &AppManager::errorOccurred);
        click("btnSave");
        QCOMPARE(errors.count(), 1);
        QCOMPARE(row(1) + u'/' + row(2), before);
    }

    void issueLists()
    {
        start->addItems({"old"});
        end->addItems({"old"});
        load({"7 1 2 +3"});
        click("btnSave");
        QCOMPARE(items(*start), QStringList({"7"}));
        QCOMPARE(start->currentIndex(), 0);
        QCOMPARE(end->currentIndex(), 0);
        QCOMPARE(lottery->startItem(), QVariant::fromValue<qint16>(1));
        QCOMPARE(lottery->endItem(), QVariant(qint32(1)));

        grid->setRow(2);
        for (const char *issue : {"0008", "9"}) {
            grid->setTextArray(grid->Row() * grid->Cols(), QString::fromLatin1(issue));
            for (int c = 1; c < grid->Cols(); ++c)
                grid->setTextArray(grid->Row() * grid->Cols() + c, QString::number(c + 10));
            grid->AddItem(QString());
            grid->setRow(grid->Row() + 1);
        }
        click("btnSave");
        QCOMPARE(items(*start), QStringList({"7", "0008", "9"}));
        QCOMPARE(items(*end), QStringList({"7", "0008", "9"}));
        QCOMPARE(end->currentIndex(), 2);
        QCOMPARE(lottery->endItem(), QVariant(qint32(3)));

        lottery->countOverride = 0;
        CallLog::instance().clear();
        click("btnSave");
        QCOMPARE(items(*start), QStringList({"7", "0008", "9"}));
        QVERIFY(CallLog::instance().filtered(QStringLiteral("Lottery.StartItem")).isEmpty());
    }

    // save() answers what a click on Save did; a table it refuses is told in a box before any
    // draw is handed over or the store is asked; a failing host
    // and a missing store come back through errorOccurred.
    void saveAnswers_data()
    {
        QTest::addColumn<QStringList>("draws");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("box"); // "" for none
        const QStringList one{"5 1 2 +3"};
        QTest::newRow("saved") << one << "" << 0 << "";
        QTest::newRow("invalid") << QStringList{"5 1 2 +3", "5 1 2 +3"} << "" << 0
                                 << "16|Data Errors|Could not repeat the date!";
        QTest::newRow("nothing to save")
            << QStringList{} << "" << 0 << "16|Data Manager|Find no line to be saved!";
        QTest::newRow("host fails") << one << "host" << 440 << "";
        QTest::newRow("no store") << one << "store" << 91 << "";
    }
    void saveAnswers()
    {
        QFETCH(QStringList, draws);
        QFETCH(QString, fault);
        QFETCH(int, error);
        QFETCH(QString, box);
        load(draws);
        if (fault == QLatin1String("store"))
            control->SetSystemStore(nullptr);
        if (fault == QLatin1String("host"))
            failOn(QStringLiteral("Draws"), QStringLiteral("SaveData"));
        test::MsgBoxRecorder boxes;
        QStringList windows;
        boxes.onShow = [&] { windows << test::progressWindow(); };
        QSignalSpy errors(control.get(), &AppManager::errorOccurred);
        const bool saved = fault.isEmpty() && box.isEmpty();
        QCOMPARE(control->save(), saved);
        QCOMPARE(errors.isEmpty() ? 0 : errors.at(0).at(0).toInt(), error);
        QCOMPARE(QFile::exists(userFile()), saved);
        QCOMPARE(control->isModified(), false);
        QCOMPARE(boxes.shown, box.isEmpty() ? QStringList() : QStringList(box));
        if (!draws.isEmpty()) // an invalid table is told with no progress window up
            QCOMPARE(windows, box.isEmpty() ? QStringList() : QStringList(QStringLiteral("none")));
        if (!box.isEmpty())
            QCOMPARE(CallLog::instance().filtered(QStringLiteral("Draw")) +
                         CallLog::instance().filtered(QStringLiteral("Store")),
                     QStringList());
    }

    // Filled lists stay the host's: its own items go in and out of each list alone, and a
    // list that outlives the control serves the next one.
    void hostEditsFilledLists()
    {
        load({"7 1 2 +3", "8 4 5 +6"});
        QVERIFY(control->save());
        start->addItem(QStringLiteral("extra"), 42);
        QCOMPARE(items(*start), QStringList({"7", "8", "extra"}));
        QCOMPARE(start->itemData(2), QVariant(42));
        start->setCurrentIndex(2);
        QCOMPARE(start->currentText(), QStringLiteral("extra"));
        QCOMPARE(items(*end), QStringList({"7", "8"}));
        end->insertItems(0, {QStringLiteral("a"), QStringLiteral("b")});
        end->setItemText(3, QStringLiteral("9"));
        end->removeItem(1);
        QCOMPARE(items(*end), QStringList({"a", "7", "9"}));
        QCOMPARE(end->findText(QStringLiteral("9")), 2);

        control = std::make_unique<AppManager>();
        start->clear();
        QCOMPARE(start->count(), 0);
        start->addItems({QStringLiteral("x")});
        QCOMPARE(items(*start), QStringList({"x"}));
        grid = control->findChild<FlexGrid *>(QStringLiteral("msfData"));
        load({"9 1 2 +3"});
        QVERIFY(control->save());
        QCOMPARE(items(*start), QStringList({"9"}));
        QCOMPARE(items(*end), QStringList({"9"}));
    }

    // The dialog's "description|pattern" pairs become Qt's filters; a description that names
    // its patterns in parentheses gets the real ones instead.
    void dialogFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qt");
        auto add = [](const char *name, const char *filter, const char *qt) {
            QTest::newRow(name) << QString::fromUtf8(filter) << QString::fromUtf8(qt);
        };
        add("the control's", "Text File(*.txt)|*.txt", "Text File (*.txt)");
        add("two, several patterns", "Draws|*.txt;*.ltk|All files|*.*",
            "Draws (*.txt *.ltk);;All files (*.*)");
        add("dangling description", "Draws|*.txt|Odd", "Draws (*.txt)");
        add("empty", "", "");
    }
    void dialogFilters()
    {
        QFETCH(QString, filter);
        QFETCH(QString, qt);
        QCOMPARE(CommonDialog::toQtFilter(filter), qt);
    }

    // The dialog's title names the lottery; the folder of the file chosen is remembered (added
    // the first time, edited after) and offered next time; the file is opened by the shell.
    void editTextFile_data()
    {
        QTest::addColumn<QVariant>("size");
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("opened");
        auto add = [](const char *name, QVariant size, const char *remembered, const char *chosen,
                      const char *record, const char *opened) {
            QTest::newRow(name) << size << QString::fromUtf8(remembered)
                                << QString::fromUtf8(chosen) << QString::fromUtf8(record)
                                << QString::fromUtf8(opened);
        };
        add("first use", {}, "", "/data/draws/week.txt", "AddRecord:/data/draws",
            "/data/draws/week.txt");
        add("backslashes", {}, "", "C:\\file.txt", "AddRecord:C:", "C:\\file.txt");
        add("again", {}, "/srv/lotto", "/srv/lotto/2.txt", "EditRecord:/srv/lotto",
            "/srv/lotto/2.txt");
        add("size 2", 2, "", "/data/x.txt", "", "/data/x.txt");
        add("cancelled", {}, "", "", "", "");
        add("no folder", {}, "", "week.txt", "", "");
    }
    void editTextFile()
    {
        QFETCH(QVariant, size);
        QFETCH(QString, remembered);
        QFETCH(QString, chosen);
        QFETCH(QString, record);
        QFETCH(QString, opened);
        if (!remembered.isEmpty())
            store->records.insert(QStringLiteral("LastDataPath"), remembered);
        const bool bonus = remembered.isEmpty();
        load({bonus ? QStringLiteral("7 1 2 +3") : QStringLiteral("7 1 2")}, bonus, bonus ? 2 : 6);
        store->sizeOverride = size;
        QStringList dialog;
        CommonDialog::setShowOpenHandler([&](CommonDialog &d) {
            dialog << d.DialogTitle() << d.Filter() << d.InitDir();
            d.setFileName(chosen);
        });
        QStringList shell;
        setShellExecuteHandler(
            [&](const QString &op, const QString &file) { shell << op + u':' + file; });
        click("btnOpenFile");
        QCOMPARE(dialog, QStringList({bonus ? "Edit Text File(49/2 +)" : "Edit Text File(49/6)",
                                      "Text File(*.txt)|*.txt", remembered}));
        QStringList writes = CallLog::instance().filtered(QStringLiteral("Store.AddRecord")) +
                             CallLog::instance().filtered(QStringLiteral("Store.EditRecord"));
        QCOMPARE(writes.size(), record.isEmpty() ? 0 : 1);
        if (!record.isEmpty())
            QCOMPARE(
                writes.first(),
                QStringLiteral(
                    "Store.%1(i16 0, str \"LastDataPath\", str \"0\", i16 0, i16 0, str \"%2\")")
                    .arg(record.section(u':', 0, 0), record.section(u':', 1)));
        QCOMPARE(shell,
                 opened.isEmpty() ? QStringList() : QStringList(QStringLiteral("Open:") + opened));
    }
};

QTEST_MAIN(tst_Saving)
#include "tst_saving.moc"
