#include "CallLog.h"
#include "RecordingLottery.h"
#include "TestSupport.h"
#include <qrt/AppManager.h>
#include <qrt/FlexGrid.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace qrt;
using namespace qrt::doubles;

using test::progressWindow;

class tst_Validate : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppManager> control;
    std::unique_ptr<RecordingLottery> lottery;
    FlexGrid *grid = nullptr;
    int topLevelsBefore = 0;

    void load(const QStringList &draws, bool bonus = true)
    {
        lottery.reset(RecordingLottery::make(2, 1, 49, bonus, draws));
        control->InitData(lottery.get());
        control->show();
        QVERIFY(QTest::qWaitForWindowActive(control.get()));
    }
    void clickValidate()
    {
        control->findChild<QPushButton *>(QStringLiteral("btnDataValidate"))->click();
    }

private Q_SLOTS:
    void init()
    {
        CallLog::instance().clear();
        clearFailures();
        topLevelsBefore = test::topLevelCount();
        control = std::make_unique<AppManager>();
        grid = control->findChild<FlexGrid *>(QStringLiteral("msfData"));
    }
    void cleanup()
    {
        control.reset();
        lottery.reset();
        QCOMPARE(test::topLevelCount(), topLevelsBefore);
    }

    void noDataRows()
    {
        load({});
        test::MsgBoxRecorder boxes;
        QStringList windowWhileBox;
        boxes.onShow = [&] { windowWhileBox << progressWindow(); };
        clickValidate();
        QCOMPARE(boxes.shown,
                 QStringList(QStringLiteral("64|Data Manager|Curren data have no errors!")));
        QCOMPARE(windowWhileBox, QStringList(QStringLiteral("none")));
    }

    void errorShownUnderTheProgressWindow()
    {
        load({"1 01 02 +03", "2 01 50 +03", "3 04 05 +06"});
        grid->setRow(1);
        grid->setCol(0);
        test::MsgBoxRecorder boxes;
        QStringList windowWhileBox;
        boxes.onShow = [&] { windowWhileBox << progressWindow(); };
        clickValidate();
        QCOMPARE(boxes.shown,
                 QStringList(QStringLiteral("16|Data Errors|Basic number is out of range!")));
        QCOMPARE(windowWhileBox, QStringList(QStringLiteral("visible:Checking...")));
        QCOMPARE(progressWindow(), QStringLiteral("none"));
        QCOMPARE(grid->Row(), 2);
        QCOMPARE(grid->Col(), 2);
        auto *editor = control->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
        QVERIFY(editor->isVisible());
        QCOMPARE(editor->text(), QStringLiteral("50"));
        QCOMPARE(editor->selectedText(), QStringLiteral("50"));
        QCOMPARE(QApplication::focusWidget(), editor);
    }

    void validTableAndTwoClicks()
    {
        load({"1 01 02 +03", "2 04 05 +06"});
        // The entry row is never looked at.
        grid->setTextArray((grid->Rows() - 1) * grid->Cols(), QStringLiteral("not a date"));
        grid->setRow(1);
        test::MsgBoxRecorder boxes;
        clickValidate();
        clickValidate();
        QCOMPARE(boxes.shown, QStringList({"64|Data Manager|Curren data have no errors!",
                                           "64|Data Manager|Curren data have no errors!"}));
        QCOMPARE(grid->Row(), 1); // success leaves the current cell alone
        QCOMPARE(progressWindow(), QStringLiteral("none"));
    }

    void lotteryBoundsReadFresh()
    {
        load({"1 01 02 +03"});
        failOn(QStringLiteral("Lottery"), QStringLiteral("MiniNumber"));
        test::MsgBoxRecorder boxes;
        clickValidate();
        QCOMPARE(boxes.shown,
                 QStringList(QStringLiteral("16|Data Errors|Basic number is out of range!")));
        QCOMPARE(grid->Row(), 1);
        QCOMPARE(grid->Col(), 1);
    }

    void withoutALottery()
    {
        QSignalSpy errors(control.get(), &AppManager::errorOccurred);
        test::MsgBoxRecorder boxes;
        clickValidate();
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).toInt(), 91);
        QVERIFY(boxes.shown.isEmpty());
    }
};

QTEST_MAIN(tst_Validate)
#include "tst_validate.moc"
