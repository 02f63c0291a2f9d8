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

    // Check's answer for a table, clicked twice: the box, the progress window while the box is
    // up ("none" for a quick answer, the window for an error it lies under), and on an error
    // the editor over the cell, its text selected. The entry row is never looked at; a bound
    // the host fails to give counts as broken, and the next click asks again.
    void check_data()
    {
        QTest::addColumn<QStringList>("draws");
        QTest::addColumn<bool>("failBound");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QPoint>("cell"); // where an error leaves the current cell
        const QString ok = QStringLiteral("64|Data Manager|Curren data have no errors!");
        const QString range = QStringLiteral("16|Data Errors|Basic number is out of range!");
        auto add = [](const char *name, const QStringList &draws, bool failBound,
                      const QStringList &boxes, const char *window, QPoint cell) {
            QTest::newRow(name) << draws << failBound << boxes << QString(window) << cell;
        };
        const QStringList out{"1 01 02 +03", "2 01 50 +03", "3 04 05 +06"};
        add("no draws", {}, false, {ok, ok}, "none", {1, 0});
        add("valid", {"1 01 02 +03", "2 04 05 +06"}, false, {ok, ok}, "none", {1, 0});
        add("out of range", out, false, {range, range}, "visible:Checking...", {2, 2});
        add("bound read fresh", {"1 01 02 +03"}, true, {range, ok}, "", {1, 1});
    }
    void check()
    {
        QFETCH(QStringList, draws);
        QFETCH(bool, failBound);
        QFETCH(QStringList, boxes);
        QFETCH(QString, window);
        QFETCH(QPoint, cell);
        load(draws);
        grid->setTextArray((grid->Rows() - 1) * grid->Cols(), QStringLiteral("not a date"));
        grid->setRow(1);
        grid->setCol(0);
        if (failBound)
            failOn(QStringLiteral("Lottery"), QStringLiteral("MiniNumber"));
        test::MsgBoxRecorder shown;
        QStringList windowWhileBox;
        shown.onShow = [&] { windowWhileBox << progressWindow(); };
        clickValidate();
        QCOMPARE(QPoint(grid->Row(), grid->Col()), cell);
        auto *editor = control->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
        if (boxes.first().startsWith(u'1')) {
            QVERIFY(editor->isVisible());
            QCOMPARE(editor->selectedText(), grid->TextArray(cell.x() * grid->Cols() + cell.y()));
            QCOMPARE(QApplication::focusWidget(), editor);
        }
        clickValidate();
        QCOMPARE(shown.shown, boxes);
        if (!window.isEmpty())
            QCOMPARE(windowWhileBox, QStringList({window, window}));
        QCOMPARE(progressWindow(), QStringLiteral("none"));
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
