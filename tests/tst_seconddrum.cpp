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
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace qrt;
using namespace qrt::doubles;

// The control with lotteries whose bonus numbers come from a drum of their own, or two of them
// from the basic drum, beside the lottery that has none of those members.
class tst_SecondDrum : public QObject
{
    Q_OBJECT

    QTemporaryDir settingsDir;
    QTemporaryDir dataDir;
    std::unique_ptr<AppManager> control;
    std::unique_ptr<RecordingLottery> lottery;
    std::unique_ptr<RecordingStore> store;
    FlexGrid *grid = nullptr;

    // "plain": no second-drum members; "own1", "own2": one or two bonus numbers from 1 to 12;
    // "same2": two bonus numbers from the basic drum; "own1 no bounds": an own drum whose
    // bounds the host cannot give.
    RecordingLottery *make(const QString &kind, const QStringList &draws)
    {
        if (kind == u"plain")
            return RecordingLottery::make(2, 1, 49, true, draws);
        const int count = kind.startsWith(u"own2") || kind == u"same2" ? 2 : 1;
        const bool own = kind.startsWith(u"own");
        auto *l = RecordingDrumLottery::make(2, 1, 49, count, own ? QVariant(1) : QVariant(),
                                             own ? QVariant(12) : QVariant(), draws);
        if (kind.endsWith(u"no bounds"))
            failOn(QStringLiteral("Lottery"), QStringLiteral("SpecialMaxNumber"));
        return l;
    }
    void load(const QString &kind, const QStringList &draws)
    {
        lottery.reset(make(kind, draws));
        control->SetSystemStore(store.get());
        control->InitData(lottery.get());
        control->show();
        QVERIFY(QTest::qWaitForWindowActive(control.get()));
        CallLog::instance().clear();
    }
    QString row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < grid->Cols(); ++c)
            cells << grid->TextArray(r * grid->Cols() + c);
        return cells.join(u'|');
    }
    // Keys as the user types them, into the editor over the current cell.
    void type(const QString &text)
    {
        auto *editor = control->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
        for (QChar c : text) {
            if (c == u'\n')
                QTest::keyClick(editor, Qt::Key_Return);
            else
                QTest::keyClick(editor, c.toLatin1());
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
        }
    }
    void click(const char *name)
    {
        control->findChild<QPushButton *>(QLatin1String(name))->click();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
        saveSetting(QStringLiteral("QRTDrum"), QStringLiteral("Path"), QStringLiteral("Path"),
                    dataDir.path() + u'/');
        registerRecordingClasses(true);
    }
    void init()
    {
        CallLog::instance().clear();
        clearFailures();
        QFile::remove(dataDir.filePath(QStringLiteral("User.ltk")));
        store = std::make_unique<RecordingStore>();
        store->records.insert(QStringLiteral("QRTManagerCaption"), QStringLiteral("QRTDrum"));
        control = std::make_unique<AppManager>();
        control->resize(800, 600);
        grid = control->findChild<FlexGrid *>(QStringLiteral("msfData"));
    }
    void cleanup()
    {
        control.reset();
        lottery.reset();
        store.reset();
        clearFailures();
        CommonDialog::setShowOpenHandler({});
        setShellExecuteHandler({});
    }

    void loadedColumns_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("header");
        QTest::addColumn<QString>("first");
        QTest::newRow("plain") << "plain"
                               << "        Date|  B1|  B2|Bonus"
                               << "1|03|07|05";
        QTest::newRow("own drum, one") << "own1"
                                       << "        Date|  B1|  B2|Bonus"
                                       << "1|03|07|05";
        QTest::newRow("own drum, two") << "own2"
                                       << "        Date|  B1|  B2|Bonus|Bonus 2"
                                       << "1|03|07|05|09";
        QTest::newRow("same drum, two") << "same2"
                                        << "        Date|  B1|  B2|Bonus|Bonus 2"
                                        << "1|03|07|05|09";
    }
    void loadedColumns()
    {
        QFETCH(QString, kind);
        QFETCH(QString, header);
        QFETCH(QString, first);
        load(kind, {kind.endsWith(u'1') || kind == u"plain" ? QStringLiteral("1 3 7 + 5")
                                                            : QStringLiteral("1 3 7 + 5 9")});
        QCOMPARE(row(0), header);
        QCOMPARE(row(1), first);
    }

    // The first broken rule of the draws, as the message box and the cell it leaves current.
    void validation_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("draws");
        QTest::addColumn<QString>("found");
        QTest::newRow("bonus equals a basic number, plain")
            << "plain" << QStringList{"1 05 07 + 05"} << "Existed numbers,please type another! 1,3";
        QTest::newRow("bonus equals a basic number, own drum")
            << "own1" << QStringList{"1 05 07 + 05"} << "ok";
        QTest::newRow("bonus above its own drum")
            << "own1" << QStringList{"1 05 07 + 13"} << "The bonus is out of range! 1,3";
        QTest::newRow("bonus 13, basic drum") << "plain" << QStringList{"1 05 07 + 13"} << "ok";
        QTest::newRow("own drum the host cannot bound")
            << "own1 no bounds" << QStringList{"1 05 07 + 05"} << "The bonus is out of range! 1,3";
        QTest::newRow("second bonus repeats the first")
            << "own2" << QStringList{"1 05 07 + 03 03"}
            << "Existed numbers,please type another! 1,4";
        QTest::newRow("second bonus equals a basic number")
            << "own2" << QStringList{"1 05 07 + 03 05"} << "ok";
        QTest::newRow("second bonus equals a basic number, same drum")
            << "same2" << QStringList{"1 05 07 + 03 05"}
            << "Existed numbers,please type another! 1,4";
        QTest::newRow("second bonus no number")
            << "own2" << QStringList{"1 05 07 + 03 x"} << "The bonus should be digits! 1,4";
        QTest::newRow("bonus columns checked left to right")
            << "own2" << QStringList{"1 05 07 + 03 x", "2 05 07 + 13 04"}
            << "The bonus is out of range! 2,3";
        QTest::newRow("ranges before repeats")
            << "own2" << QStringList{"1 05 05 + 03 04", "2 05 07 + 03 13"}
            << "The bonus is out of range! 2,4";
        QTest::newRow("basic repeats before bonus repeats")
            << "own2" << QStringList{"1 05 05 + 03 03"}
            << "Existed numbers,please type another! 1,2";
        QTest::newRow("second bonus above the basic drum")
            << "same2" << QStringList{"1 05 07 + 03 50"} << "The bonus is out of range! 1,4";
    }
    void validation()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, draws);
        QFETCH(QString, found);
        control->setMarkRuleBreaks(true);
        load(kind, draws);
        // Painting the marks asked the host once already; Check meets the same failing host.
        if (kind.endsWith(u"no bounds"))
            failOn(QStringLiteral("Lottery"), QStringLiteral("SpecialMaxNumber"));
        test::MsgBoxRecorder boxes;
        click("btnDataValidate");
        QCOMPARE(boxes.shown.size(), 1);
        const QString message = boxes.shown.front().section(u'|', 2);
        const bool ok = message == u"Curren data have no errors!";
        QCOMPARE(ok ? QStringLiteral("ok")
                    : QStringLiteral("%1 %2,%3").arg(message).arg(grid->Row()).arg(grid->Col()),
                 found);
        // The marks agree: the cell Check stopped on carries its message, and a table Check
        // passes has no mark at all.
        const QAbstractItemModel *cells = grid->findChild<QTableView *>()->model();
        auto mark = [&](int r, int c) {
            return cells->index(r - 1, c).data(Qt::ToolTipRole).toString();
        };
        if (!ok)
            QCOMPARE(mark(grid->Row(), grid->Col()), message);
        for (int r = 1; ok && r < grid->Rows() - 1; ++r)
            for (int c = 0; c < grid->Cols(); ++c)
                QCOMPARE(mark(r, c), QString());
    }

    // The calls a save makes for a draw: the first bonus as specified, the second after it.
    void saveCalls_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QStringList>("bonusCalls");
        QTest::newRow("plain") << "plain" << QStringList{"Draw.SetSpecial(i32 3)"};
        QTest::newRow("own drum, one") << "own1" << QStringList{"Draw.SetSpecial(i32 3)"};
        QTest::newRow("own drum, two")
            << "own2" << QStringList{"Draw.SetSpecial(i32 3)", "Draw.SetSpecialAt(i32 2, i32 8)"};
        QTest::newRow("same drum, two")
            << "same2" << QStringList{"Draw.SetSpecial(i32 3)", "Draw.SetSpecialAt(i32 2, i32 8)"};
    }
    void saveCalls()
    {
        QFETCH(QString, kind);
        QFETCH(QStringList, bonusCalls);
        load(kind, {kind.endsWith(u'2') ? QStringLiteral("2026 9 7 + 3 8")
                                        : QStringLiteral("2026 9 7 + 3")});
        test::MsgBoxRecorder boxes;
        click("btnSave");
        QVERIFY(boxes.shown.isEmpty());
        const QStringList draw = CallLog::instance().filtered(QStringLiteral("Draw."));
        QCOMPARE(draw, QStringList({"Draw.SetIssue(str \"2026\")", "Draw.SetNumber(i32 1, i32 9)",
                                    "Draw.SetNumber(i32 2, i32 7)", "Draw.OrderNumbers()"}) +
                           bonusCalls);
        // The refill asks for the second bonus exactly when there is one.
        QCOMPARE(CallLog::instance().filtered(QStringLiteral("Item.GetSpecialAt")).size(),
                 bonusCalls.size() - 1);
    }

    // Typed, saved, read back by the host and refilled: the second bonus comes back padded.
    void twoBonusesSavedAndRefilled()
    {
        load(QStringLiteral("own2"), {"1 05 07 + 03 05"});
        grid->setRow(2);
        grid->setCol(0);
        type(QStringLiteral("2\n9\n1\n4\n"));
        QCOMPARE(row(2), QStringLiteral("2|9|1|4|"));
        test::MsgBoxRecorder boxes;
        click("btnDataValidate");
        QCOMPARE(boxes.shown.back().section(u'|', 2),
                 QStringLiteral("The bonus should be digits!"));
        QCOMPARE(grid->Col(), 4);
        type(QStringLiteral("4"));
        click("btnDataValidate");
        QCOMPARE(boxes.shown.back().section(u'|', 2),
                 QStringLiteral("Existed numbers,please type another!"));
        QCOMPARE(std::make_pair(grid->Row(), grid->Col()), std::make_pair(2, 4));
        type(QStringLiteral("11"));
        QCOMPARE(row(2), QStringLiteral("2|9|1|4|11"));
        boxes.shown.clear();
        click("btnSave");
        QVERIFY(boxes.shown.isEmpty());
        QCOMPARE(lottery->draws.size(), size_t(2));
        QCOMPARE(lottery->draws[1].special2.toInt(), 11);
        QCOMPARE(row(2), QStringLiteral("2|01|09|04|11"));
        QCOMPARE(row(1), QStringLiteral("1|05|07|03|05"));
        // Undo works on the extra column as on any other before the save: now there is none.
        QVERIFY(!control->canUndo());
    }

    // Paste, undo, Insert and Delete reach the second bonus column like any other.
    void editingTheSecondBonus()
    {
        load(QStringLiteral("own2"), {"1 05 07 + 03 05", "2 01 02 + 03 04"});
        grid->setRow(1);
        grid->setCol(3);
        QApplication::clipboard()->setText(QStringLiteral("10\t11\n12\t1\n"));
        QTest::keyClick(control->findChild<QLineEdit *>(QStringLiteral("txtEdit")), Qt::Key_V,
                        Qt::ControlModifier);
        QCOMPARE(row(1) + u' ' + row(2), QStringLiteral("1|05|07|10|11 2|01|02|12|1"));
        control->undo();
        QCOMPARE(row(1) + u' ' + row(2), QStringLiteral("1|05|07|03|05 2|01|02|03|04"));
        grid->setRow(2);
        click("btnInsert");
        QCOMPARE(row(2), QStringLiteral("||||"));
        test::MsgBoxRecorder boxes;
        grid->setRow(1);
        click("btnDel");
        QCOMPARE(row(1) + u' ' + row(2), QStringLiteral("|||| 2|01|02|03|04"));
        control->undo();
        control->undo();
        QCOMPARE(row(1) + u' ' + row(2), QStringLiteral("1|05|07|03|05 2|01|02|03|04"));
        QVERIFY(!control->isModified());
    }

    void editTextFileTitle_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("plain") << "plain"
                               << "Edit Text File(49/2 +)";
        QTest::newRow("own drum, one") << "own1"
                                       << "Edit Text File(49/2 + 12/1)";
        QTest::newRow("own drum, two") << "own2"
                                       << "Edit Text File(49/2 + 12/2)";
        QTest::newRow("same drum, two") << "same2"
                                        << "Edit Text File(49/2 + 2)";
    }
    void editTextFileTitle()
    {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        load(kind, {});
        QString shown;
        CommonDialog::setShowOpenHandler([&](CommonDialog &d) { shown = d.DialogTitle(); });
        click("btnOpenFile");
        QCOMPARE(shown, title);
    }
};

QTEST_MAIN(tst_SecondDrum)
#include "tst_seconddrum.moc"
