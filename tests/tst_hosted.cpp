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

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace qrt;
using namespace qrt::doubles;

// The control against a recording host: Load, Save, Check and Edit Text File, with lotteries
// of one bonus number, none, or bonus numbers from a second drum.
class tst_Hosted : public QObject
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

    // A lottery of two basic numbers from 1 to 49 and a bonus, unless @p kind says
    // otherwise: "no bonus"; "own1", "own2": one or two bonus numbers from a drum of 1 to 12;
    // "same2": two from the basic drum.
    RecordingLottery *host(const QStringList &draws, const QString &kind = {})
    {
        lottery.reset(RecordingLottery::make(2, 1, 49, kind != u"no bonus", draws));
        if (kind.startsWith(u"own") || kind.startsWith(u"same"))
            lottery->specialCount = kind.contains(u'2') ? 2 : 1;
        if (kind.startsWith(u"own")) {
            lottery->specialMini = 1;
            lottery->specialMax = 12;
        }
        return lottery.get();
    }
    // Loads the draws into a shown control with the store and the range lists set.
    void load(const QStringList &draws, const QString &kind = {})
    {
        host(draws, kind);
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
    QString row(int r) const { return test::gridRows(*grid, r, r).value(0); }
    // The data rows, blank separated.
    QString rows() const { return test::gridRows(*grid).join(u' '); }
    static QStringList items(const QComboBox &box)
    {
        QStringList out;
        for (int i = 0; i < box.count(); ++i)
            out << box.itemText(i);
        return out;
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
        QFile::remove(userFile());
        topLevelsBefore = test::topLevelCount();
        store = std::make_unique<RecordingStore>();
        store->records.insert(QStringLiteral("QRTManagerCaption"), QStringLiteral("QRTTest"));
        start = std::make_unique<QComboBox>();
        end = std::make_unique<QComboBox>();
        control = std::make_unique<AppManager>();
        control->resize(800, 600);
        grid = control->findChild<FlexGrid *>(QStringLiteral("msfData"));
    }
    void cleanup()
    {
        control.reset();
        lottery.reset();
        store.reset();
        start.reset();
        end.reset();
        QCOMPARE(createdAlive(), QObjectList());
        QCOMPARE(test::topLevelCount(), topLevelsBefore);
        CommonDialog::setShowOpenHandler({});
        setShellExecuteHandler({});
    }

    // A load shows every draw, each value fetched through a fresh "Item" call, leaves the entry
    // row current and the grid's repaints and signals as the host had them; only a true
    // HasSpecial gives a bonus column (true and false themselves: the save's rows). What the host
    // hands over is converted as any host value is (the conversions have their own suite), or fails
    // the load with its error, the grid left as far as it got and the control not loaded; a text
    // holding the separator splits as AddItem splits it, the parts past the last column dropped. A
    // host call failing part way fails once: a later load starts again.
    void hostLoads_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("shown"); // the error, the header and the data rows
        auto add = [](const char *name, const char *member, const QVariant &value,
                      const QString &shown) { QTest::newRow(name) << member << value << shown; };
        const QString header = QStringLiteral("        Date|  B1|  B2|Bonus/");
        const QString bonus = QStringLiteral("0/") + header + "7|01|49|05 0101|08|100|00";
        const QString plain = QStringLiteral("0/        Date|  B1|  B2/7|01|49 0101|08|100");
        add("bonus as -1", "hasSpecial", QVariant::fromValue<qint16>(-1), bonus);
        add("1 is no bonus", "hasSpecial", 1, plain);
        add("empty", "count", 0, "0/" + header);
        add("total as text", "total", QStringLiteral(" 2 "), bonus);
        add("number as bool", "number", true, "0/" + header + "7|True|49|05 0101|08|100|00");
        add("issue holding the separator", "issue", QStringLiteral("20|26"),
            "0/" + header + "20|26|01|49 0101|08|100|00");
        add("count not a number", "count", QStringLiteral("many"), "13/" + header);
        add("total overflows", "total", 2147483647, "6//");
        add("total negative", "total", -5, "380//");
        // The second number of the second draw.
        add("fails in the middle", "fail", 3, "440/" + header + "7|01|49|05");
    }
    void hostLoads()
    {
        QFETCH(QString, member);
        QFETCH(QVariant, value);
        RecordingLottery *l = host({"7 1 49 +5", "0101 8 100 +"});
        const QHash<QString, QVariant *> members{{"hasSpecial", &l->hasSpecial},
                                                 {"count", &l->countOverride},
                                                 {"total", &l->totalNumber},
                                                 {"issue", &l->draws[0].issue},
                                                 {"number", &l->draws[0].numbers[0]}};
        if (member == u"fail")
            failOn(QStringLiteral("Item.GetNumber"), value.toInt());
        else
            *members[member] = value;
        grid->setRedraw(false);
        grid->blockSignals(true);
        const int error = test::errorOf([&] { control->InitData(l); });
        QVERIFY(!grid->Redraw());
        QVERIFY(grid->signalsBlocked());
        grid->blockSignals(false);
        grid->setRedraw(true);
        const int last = grid->Rows() - 1;
        QTEST(QStringLiteral("%1/%2/%3").arg(error).arg(row(0), rows()), "shown");
        QCOMPARE(row(last), QString(grid->Cols() - 1, u'|'));
        QCOMPARE(probe(control.get()).loaded, error == 0);
        if (member == u"fail") {
            QCOMPARE(probe(control.get()).lottery, l);
            control->InitData(l);
            QCOMPARE(rows(), QStringLiteral("7|01|49|05 0101|08|100|00"));
        }
        if (error)
            return;
        QCOMPARE(grid->FixedRows(), 1);
        QCOMPARE(QPoint(grid->Row(), grid->Col()), QPoint(last, 0));
        const QStringList items = CallLog::instance().filtered(QStringLiteral("Lottery.Item("));
        QCOMPARE(items.size(), (last - 1) * grid->Cols());
        QVERIFY(items.isEmpty() || items[0] == u"Lottery.Item(i32 1)");
        QCOMPARE(CallLog::instance().filtered(QStringLiteral("Item.GetSpecial")).size(),
                 grid->Cols() == 4 ? last - 1 : 0);
    }

    // The children hosts reach by name, the grid before a load, and the captions a change of
    // language gives each button. The range lists must be lists. AddItem writes the current row
    // from its first cell as a load does, the parts past the last column dropped; a text that
    // runs out of parts fails after writing them. A control loads once: later loads are
    // ignored, and EraseALl lets go of every host object, never deleting one; one destroyed early
    // reads as not set.
    void hostObjects()
    {
        for (int i = 0; i < 4; ++i)
            QVERIFY(control->findChild<QWidget *>(QStringLiteral("picContainer_%1").arg(i)));
        QVERIFY(control->findChild<QLineEdit *>(QStringLiteral("txtEdit")));
        QVERIFY(control->findChild<QObject *>(QStringLiteral("dlgOpenSave")));
        QCOMPARE(QList<int>({grid->Rows(), grid->Cols(), grid->FixedRows()}),
                 QList<int>({2, 1, 0}));
        const QString changed = QStringLiteral("btnInput=&Import,btnOutput=Exp&ort,btnSave=&Save,"
                                               "btnInsert=Ins&ert,btnDel=&Delete,btnOpenFile=Edit "
                                               "&Text File,btnDataValidate=Check &Validity");
        for (const std::optional<qint32> language :
             {std::optional<qint32>(2052), std::optional<qint32>()}) {
            control->ChangeLocale(language);
            QStringList buttons;
            for (const QPushButton *b : control->findChildren<QPushButton *>())
                buttons << b->objectName() + u'=' + b->text();
            QCOMPARE(buttons.join(u','), changed);
        }
        QObject notACombo;
        QCOMPARE(test::errorOf([&] { control->SetIssueControl(start.get(), &notACombo); }), 13);
        QCOMPARE(probe(control.get()).startList, start.get());
        QVERIFY(!probe(control.get()).endList);
        QCOMPARE(test::errorOf([&] { control->SetIssueControl(&notACombo, end.get()); }), 13);
        control->SetIssueControl(start.get(), end.get());
        QCOMPARE(probe(control.get()).endList, end.get());
        control->SetSystemStore(store.get());
        QPointer<RecordingLottery> first(host({"1 1 2"}, QStringLiteral("no bonus")));
        control->InitData(first);
        grid->setRow(1);
        QVERIFY(!control->AddItem(QStringLiteral("a|b|c|d"), 99).isValid());
        QCOMPARE(rows(), QStringLiteral("a|b|c"));
        QCOMPARE(grid->Col(), 2);
        QCOMPARE(test::errorOf([&] { control->AddItem(QStringLiteral("x|"), 1); }), 9);
        QCOMPARE(rows(), QStringLiteral("x||c"));
        QCOMPARE(test::errorOf([&] { control->AddItem(QString(), 1); }), 9);
        QCOMPARE(grid->Col(), 0);
        QObject second; // any call on it would fail
        control->InitData(&second);
        control->EraseALl();
        control->EraseALl();
        control->InitData(&second);
        QCOMPARE(rows(), QStringLiteral("x||c"));
        const AppManagerProbe erased = probe(control.get());
        QVERIFY(!erased.lottery && !erased.store && !erased.startList && !erased.endList);
        control.reset();
        QVERIFY(first);

        control = std::make_unique<AppManager>();
        QPointer<QObject> gone(new QObject);
        control->SetSystemStore(gone);
        delete gone.data();
        QVERIFY(!probe(control.get()).store);
        QCOMPARE(test::errorOf([&] { control->InitData(nullptr); }), 91);
    }

    // save() answers what a click on Save did. A save hands each draw over in these calls (the
    // whole sequence where the lottery has one drum, the draw's part of it otherwise: the first
    // bonus as a plain lottery gives it, the second after it), has the host write the user file,
    // replacing a read-only one, and read it back, and refills the grid from it: ordered, padded,
    // asking for the second bonus exactly when there is one. A table it refuses is told in a box
    // with no progress window up, before any draw is handed over or the store is asked; a failing
    // host, a missing store and a missing lottery (which Check meets the same way) come back
    // through errorOccurred. A failing host stops the save where it fails and leaves the draws in
    // the grid as they were: handing them over, or refilling them after the draw's texts changed
    // (sorted), which are put back. The draw object goes with the save; the collection stays
    // until the next save replaces it. After a save, the Edit Text File dialog's title names the
    // kind of lottery, and Paste, undo and Delete reach every bonus column like any other.
    void save_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("fault");  // also "last-read" for a last-read file to update
        QTest::addColumn<QString>("answer"); // the error, the box, or the dialog's title
        auto add = [](const char *name, const char *kind, const char *fault, const char *answer) {
            QTest::newRow(name) << kind << fault << answer;
        };
        add("bonus", "", "", "Edit Text File(49/2 +)");
        add("no bonus", "no bonus", "", "Edit Text File(49/2)");
        add("bonus, last-read file", "", "last-read", "Edit Text File(49/2 +)");
        add("own drum, one", "own1", "", "Edit Text File(49/2 + 12/1)");
        add("own drum, two", "own2", "", "Edit Text File(49/2 + 12/2)");
        add("same drum, two", "same2", "", "Edit Text File(49/2 + 2)");
        add("invalid", "", "repeated", "16|Data Errors|Could not repeat the date!");
        add("nothing to save", "", "no draws", "16|Data Manager|Find no line to be saved!");
        add("host fails handing over", "", "Draws.SaveData", "440");
        add("host fails in the refill", "", "Item.GetSpecial", "440");
        add("no store", "", "no store", "91");
        add("no lottery", "", "no lottery", "91");
    }
    void save()
    {
        QFETCH(QString, kind);
        QFETCH(QString, fault);
        QFETCH(QString, answer);
        const bool bonus = kind != u"no bonus", two = kind.endsWith(u'2');
        const int error = answer.toInt();
        const QString box = answer.contains(u'|') ? answer : QString();
        const bool saved = !error && box.isEmpty();
        const QString lastFile = dataDir.filePath(QStringLiteral("last.txt"));
        QFile::remove(lastFile);
        if (fault == u"last-read")
            store->records.insert(QStringLiteral("LastReadFile"), lastFile);
        QVERIFY(QFile::setPermissions(test::writeBytes(userFile(), {}), QFileDevice::ReadOwner));
        const QString bonuses = QString::fromUtf8(bonus ? " +3" : "") + (two ? " 8" : "");
        const QString padded = QString::fromUtf8(bonus ? "|03" : "") + (two ? "|08" : "");
        const int count = fault == u"no draws" ? 0 : fault == u"repeated" ? 2 : 1;
        load(QStringList(count, QStringLiteral("2026 9 7") + bonuses), kind);
        const QString loaded = QStringList(count, QStringLiteral("2026|09|07") + padded).join(u' ');
        QCOMPARE(row(0), QStringLiteral("        Date|  B1|  B2") + (bonus ? "|Bonus" : "") +
                             (two ? "|Bonus 2" : ""));
        QCOMPARE(rows(), loaded);
        if (fault == u"no store")
            control->SetSystemStore(nullptr);
        else if (fault == u"no lottery")
            control->EraseALl();
        else if (fault.contains(u'.'))
            failOn(fault);
        test::MsgBoxRecorder boxes;
        QStringList windows;
        boxes.onShow = [&] { windows << test::progressWindow(); };
        QSignalSpy errors(control.get(), &AppManager::errorOccurred);
        QCOMPARE(control->save(), saved);
        QCOMPARE(errors.isEmpty() ? 0 : errors.at(0).at(0).toInt(), error);
        // A refused save leaves the old file; a failed hand-over, none.
        QCOMPARE(test::fileBytes(userFile()),
                 saved || fault.startsWith(u"Item")
                     ? (QStringLiteral("2026 7 9") + bonuses + u'\n').toUtf8()
                     : QByteArray(error == 440 ? "<missing>" : ""));
        QCOMPARE(control->isModified(), false);
        QCOMPARE(boxes.shown, box.isEmpty() ? QStringList() : QStringList(box));
        if (count) // an invalid table is told with no progress window up
            QCOMPARE(windows, box.isEmpty() ? QStringList() : QStringList(QStringLiteral("none")));
        if (!box.isEmpty())
            QCOMPARE(CallLog::instance().filtered(QStringLiteral("Draw")) +
                         CallLog::instance().filtered(QStringLiteral("Store")),
                     QStringList());
        const QString refilled = QStringLiteral("2026|07|09") + padded;
        if (error == 440) {
            QCOMPARE(rows(), loaded);
            QPointer<QObject> kept = probe(control.get()).lotterys;
            QCOMPARE(bool(kept), fault == u"Draws.SaveData");
            QCOMPARE(createdAlive(), kept ? QObjectList{kept.data()} : QObjectList());
            CallLog::instance().clear();
            QVERIFY(control->save());
            QVERIFY(!kept);
        }
        if (!saved && error != 440)
            return;

        const QStringList draw{"Draw.SetIssue(str \"2026\")",  "Draw.SetNumber(i32 1, i32 9)",
                               "Draw.SetNumber(i32 2, i32 7)", "Draw.OrderNumbers()",
                               "Draw.SetSpecial(i32 3)",       "Draw.SetSpecialAt(i32 2, i32 8)"};
        QCOMPARE(CallLog::instance().filtered(QStringLiteral("Draw.")),
                 draw.mid(0, 4 + bonus + two));
        QCOMPARE(CallLog::instance().filtered(QStringLiteral("Item.GetSpecialAt")).size(),
                 int(two));
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
                     fault == u"last-read"
                         ? QStringLiteral("Store.GetRSContent(); Store.GetRSContent(); "
                                          "Draws.SaveData(str \"%1\", bool true); ")
                               .arg(lastFile)
                         : QString(),
                     QString::fromUtf8(bonus ? "; Item.GetSpecial()" : ""))
                .arg(userFile());
        if (kind.isEmpty() || !bonus)
            QCOMPARE(CallLog::instance().entries(), calls.split(QStringLiteral("; ")));

        // The grid shows the draws as the lottery read them back: ordered, two digits.
        QCOMPARE(rows(), refilled);
        QCOMPARE(test::fileBytes(lastFile),
                 fault == u"last-read" ? test::fileBytes(userFile()) : QByteArray("<missing>"));
        QVERIFY(!probe(control.get()).lotterys);
        QCOMPARE(grid->Row(), 2);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("txtEdit"));
        if (error)
            return;
        QString shown;
        CommonDialog::setShowOpenHandler([&](CommonDialog &d) { shown = d.DialogTitle(); });
        click("btnOpenFile");
        QCOMPARE(shown, answer);
        grid->setRow(1);
        grid->setCol(grid->Cols() - 2);
        QApplication::clipboard()->setText(QStringLiteral("10\t11\n"));
        QTest::keyClick(control->findChild<QLineEdit *>(QStringLiteral("txtEdit")), Qt::Key_V,
                        Qt::ControlModifier);
        QCOMPARE(rows(), refilled.section(u'|', 0, -3) + QStringLiteral("|10|11"));
        control->undo();
        QCOMPARE(rows(), refilled);
        click("btnDel");
        QCOMPARE(rows(), QString());
        control->undo();
        QCOMPARE(rows(), refilled);
        QVERIFY(!control->isModified());
    }

    // A long save tells how far its checking, its handing over and its refill have come, a
    // bounded number of times, and from the handing over on its window names the step.
    void progress()
    {
        QStringList draws;
        for (int i = 1; i <= 10000; ++i)
            draws << QStringLiteral("%1 1 2 +3").arg(i);
        load(draws);
        QStringList steps;
        int told = 0;
        connect(
            control.get(), &AppManager::progress, this, [&](const QString &what, int, int total) {
                ++told;
                if (steps.isEmpty() || !steps.last().startsWith(what))
                    steps << what + u'/' + test::progressWindow() + u'/' + QString::number(total);
            });
        click("btnSave");
        QCOMPARE(steps,
                 QStringList({"Checking.../none/10000", "Saving .../visible:Saving .../10000",
                              "Updating.../visible:Updating.../10000"}));
        QVERIFY2(told >= 9 && told <= 303, qPrintable(QString::number(told)));
        QCOMPARE(test::progressWindow(), QStringLiteral("none"));
    }

    // The range lists take the issues read back, as texts, the first and the last current,
    // and the lottery's range is all of them. Filled lists stay the host's: its own items go
    // in and out of each list alone, an empty lottery leaves them alone, and a list that
    // outlives the control serves the next one (whose host saves to the current folder).
    void issueLists()
    {
        start->addItems({"old"});
        end->addItems({"old"});
        load({"7 1 2 +3", "0008 1 2 +3", "9 1 2 +3"});
        click("btnSave");
        QCOMPARE(items(*start) + items(*end), QStringList({"7", "0008", "9", "7", "0008", "9"}));
        QCOMPARE(QPoint(start->currentIndex(), end->currentIndex()), QPoint(0, 2));
        QCOMPARE(lottery->startItem(), QVariant::fromValue<qint16>(1));
        QCOMPARE(lottery->endItem(), QVariant(qint32(3)));

        start->addItem(QStringLiteral("extra"), 42);
        QCOMPARE(start->itemData(3), QVariant(42));
        end->insertItems(0, {QStringLiteral("a"), QStringLiteral("b")});
        end->setItemText(3, QStringLiteral("8"));
        end->removeItem(1);
        QCOMPARE(items(*end), QStringList({"a", "7", "8", "9"}));
        QCOMPARE(end->findText(QStringLiteral("9")), 3);
        lottery->countOverride = 0;
        CallLog::instance().clear();
        click("btnSave");
        QCOMPARE(items(*start), QStringList({"7", "0008", "9", "extra"}));
        QVERIFY(CallLog::instance().filtered(QStringLiteral("Lottery.StartItem")).isEmpty());

        control = std::make_unique<AppManager>();
        grid = control->findChild<FlexGrid *>(QStringLiteral("msfData"));
        start->clear();
        start->addItems({QStringLiteral("x")});
        QCOMPARE(items(*start), QStringList({"x"}));
        // This host's name has no folder setting: it saves to the current folder.
        QTemporaryDir here;
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(here.path()));
        store->records.insert(QStringLiteral("QRTManagerCaption"), QStringLiteral("Unknown"));
        load({"9 1 2 +3"});
        const bool saved = control->save();
        QDir::setCurrent(previous);
        QVERIFY(saved);
        QCOMPARE(test::fileBytes(here.filePath(QStringLiteral("User.ltk"))), "9 1 2 +3\n");
        QCOMPARE(items(*start) + items(*end), QStringList({"9", "9"}));
    }

    // Check's answer for a table, clicked twice: "ok", or the first broken rule's message and
    // the cell it leaves current, the editor over it with its text selected, the progress
    // window still up under the box (the marks agreeing are the editing suite's). The entry row
    // is never looked at; a bound the host fails to give counts as broken, and the next click
    // asks again. The bonus rows show how each kind of bonus is read from the host; the rules
    // themselves are kept in full by the rules' own suite, and a break in a later row met by
    // Check in the editing suite.
    void check_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("draws");
        QTest::addColumn<QString>("fail"); // calls failing once, before the first click
        QTest::addColumn<QString>("found");
        QTest::addColumn<QString>("again"); // the second click's answer, when not the same
        const QString range = QStringLiteral("Basic number is out of range! ");
        const QString repeat = QStringLiteral("Existed numbers,please type another! ");
        const QString bonus = QStringLiteral("The bonus is out of range! ");
        auto add = [](const char *name, const char *kind, const QStringList &draws,
                      const char *fail, const QString &found, const QString &again) {
            QTest::newRow(name) << kind << draws << fail << found << again;
        };
        add("no draws", "", {}, "", "ok", "");
        add("bound read fresh", "", {"1 01 02 +03"}, "Lottery.MiniNumber", range + "1,1", "ok");
        add("bonus equals a basic number, one drum", "", {"1 05 07 +05"}, "", repeat + "1,3", "");
        add("bonus equals a basic number, own drum", "own1", {"1 05 07 +05"}, "", "ok", "");
        add("bonus above its own drum", "own1", {"1 05 07 +13"}, "", bonus + "1,3", "");
        add("own drum the host cannot bound", "own1", {"1 05 07 +05"},
            "Lottery.SpecialMiniNumber Lottery.SpecialMaxNumber", bonus + "1,3", "ok");
        add("second bonus repeats the first", "own2", {"1 05 07 +03 03"}, "", repeat + "1,4", "");
        add("second bonus equals a basic number, same drum", "same2", {"1 05 07 +03 05"}, "",
            repeat + "1,4", "");
    }
    void check()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, draws);
        QFETCH(QString, fail);
        QFETCH(QString, found);
        QFETCH(QString, again);
        control->setMarkRuleBreaks(true);
        load(draws, kind);
        grid->setTextArray((grid->Rows() - 1) * grid->Cols(), QStringLiteral("not a date"));
        grid->setRow(1);
        grid->setCol(0);
        for (const QString &call : fail.split(u' ', Qt::SkipEmptyParts))
            failOn(call);
        test::MsgBoxRecorder shown;
        QStringList windows;
        shown.onShow = [&] { windows << test::progressWindow(); };
        auto *editor = control->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
        for (const QString &expected : {found, again.isEmpty() ? found : again}) {
            const QPoint before(grid->Row(), grid->Col());
            click("btnDataValidate");
            const QString message = shown.shown.last().section(u'|', 2);
            const bool ok = message == u"Curren data have no errors!";
            const QPoint cell(grid->Row(), grid->Col());
            QCOMPARE(ok ? QStringLiteral("ok")
                        : QStringLiteral("%1 %2,%3").arg(message).arg(cell.x()).arg(cell.y()),
                     expected);
            QCOMPARE(windows.last(),
                     ok ? QStringLiteral("none") : QStringLiteral("visible:Checking..."));
            QCOMPARE(test::progressWindow(), QStringLiteral("none"));
            if (ok) {
                QCOMPARE(cell, before);
                continue;
            }
            QVERIFY(editor->isVisible());
            QCOMPARE(editor->selectedText(), grid->TextArray(cell.x() * grid->Cols() + cell.y()));
            QCOMPARE(QApplication::focusWidget(), editor);
        }
    }

    // The dialog's "description|pattern" pairs become Qt's filters; a description that names
    // its patterns in parentheses gets the real ones instead.
    void dialogFilters()
    {
        QCOMPARE(CommonDialog::toQtFilter(QStringLiteral("Text File(*.txt)|*.txt")),
                 QStringLiteral("Text File (*.txt)"));
        QCOMPARE(CommonDialog::toQtFilter(QStringLiteral("Draws|*.txt;*.ltk|All files|*.*|Odd")),
                 QStringLiteral("Draws (*.txt *.ltk);;All files (*.*)"));
        QCOMPARE(CommonDialog::toQtFilter(QString()), QString());
    }

    // The folder of the file chosen is remembered (added
    // the first time, edited after) and offered next time; the file is opened by the shell.
    void editTextFile_data()
    {
        QTest::addColumn<QVariant>("size");
        QTest::addColumn<QString>("remembered");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("record");
        auto add = [](const char *name, QVariant size, const char *remembered, const char *chosen,
                      const char *record) {
            QTest::newRow(name) << size << QString::fromUtf8(remembered)
                                << QString::fromUtf8(chosen) << QString::fromUtf8(record);
        };
        add("first use", {}, "", "/data/draws/week.txt", "AddRecord:/data/draws");
        add("backslashes", {}, "", "C:\\file.txt", "AddRecord:C:");
        add("again", {}, "/srv/lotto", "/srv/lotto/2.txt", "EditRecord:/srv/lotto");
        add("size 2", 2, "", "/data/x.txt", "");
        // A file without a folder is not opened, nor one that was not chosen.
        add("cancelled", {}, "", "", "");
        add("no folder", {}, "", "week.txt", "");
    }
    void editTextFile()
    {
        QFETCH(QVariant, size);
        QFETCH(QString, remembered);
        QFETCH(QString, chosen);
        QFETCH(QString, record);
        const QString opened = chosen.contains(u'/') || chosen.contains(u'\\') ? chosen : QString();
        if (!remembered.isEmpty())
            store->records.insert(QStringLiteral("LastDataPath"), remembered);
        load({QStringLiteral("7 1 2")});
        store->sizeOverride = size;
        QStringList dialog;
        CommonDialog::setShowOpenHandler([&](CommonDialog &d) {
            dialog << d.Filter() << d.InitDir();
            d.setFileName(chosen);
        });
        QStringList shell;
        setShellExecuteHandler(
            [&](const QString &op, const QString &file) { shell << op + u':' + file; });
        click("btnOpenFile");
        QCOMPARE(dialog, QStringList({"Text File(*.txt)|*.txt", remembered}));
        const QStringList writes = CallLog::instance().filtered(QStringLiteral("Store.AddRecord")) +
                                   CallLog::instance().filtered(QStringLiteral("Store.EditRecord"));
        QCOMPARE(writes,
                 record.isEmpty()
                     ? QStringList()
                     : QStringList(QStringLiteral("Store.%1(i16 0, str \"LastDataPath\", str "
                                                  "\"0\", i16 0, i16 0, str \"%2\")")
                                       .arg(record.section(u':', 0, 0), record.section(u':', 1))));
        QCOMPARE(shell,
                 opened.isEmpty() ? QStringList() : QStringList(QStringLiteral("Open:") + opened));
    }
};

QTEST_MAIN(tst_Hosted)
#include "tst_hosted.moc"
