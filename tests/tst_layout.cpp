#include "AppManagerProbe_p.h"
#include "LayoutSteps.h"
#include <qrt/AppManager.h>
#include <qrt/FlexGrid.h>

#include <QFrame>
#include <QPushButton>
#include <QTest>

using namespace qrt;

namespace
{
QString describe(const TwipsRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.left).arg(r.top).arg(r.width).arg(r.height);
}
} // namespace

class tst_Layout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void designedSizes()
    {
        LayoutBoxes b;
        QCOMPARE(arrangeLayout(b, 8000, 6000), 20);
        const float lefts[] = {0, 1855, 2870, 3885};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(QPointF(b.pic[i].left, b.pic[i].top), QPointF(lefts[i], 0));
        QCOMPARE(describe(b.btnOpenFile), QStringLiteral("4900,0 1635x495"));
        QCOMPARE(describe(b.btnDataValidate), QStringLiteral("6635,0 1635x495"));
        QCOMPARE(describe(b.frame), QStringLiteral("0,595 8000x5405"));
        QCOMPARE(describe(b.grid), QStringLiteral("80,200 7840x5125"));
        // The same size again gives the same layout.
        const LayoutBoxes again = b;
        arrangeLayout(b, 8000, 6000);
        QCOMPARE(describe(b.grid), describe(again.grid));
    }

    void negativeSizeStopsTheLayout_data()
    {
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QString>("frame");
        QTest::addColumn<QString>("grid");
        // Old values are 1,2 3x4 for the frame and 5,6 7x8 for the grid.
        auto add = [](const char *name, float w, float h, int steps, const char *frame,
                      const char *grid) {
            QTest::newRow(name) << w << h << steps << QString(frame) << QString(grid);
        };
        add("lower than 595", 8000, 500, 14, "1,595 8000x4", "5,6 7x8");
        add("between 595 and 875", 8000, 700, 19, "0,595 8000x105", "80,200 7840x8");
        add("exactly 875", 8000, 875, 20, "0,595 8000x280", "80,200 7840x0");
        add("narrower than 160", 100, 6000, 17, "0,595 100x5405", "80,6 7x8");
        add("narrower than the buttons", 3000, 6000, 20, "0,595 3000x5405", "80,200 2840x5125");
    }
    void negativeSizeStopsTheLayout()
    {
        QFETCH(float, width);
        QFETCH(float, height);
        QFETCH(int, steps);
        QFETCH(QString, frame);
        QFETCH(QString, grid);
        LayoutBoxes b;
        b.frame = {1, 2, 3, 4};
        b.grid = {5, 6, 7, 8};
        QCOMPARE(arrangeLayout(b, width, height), steps);
        QCOMPARE(describe(b.frame), frame);
        QCOMPARE(describe(b.grid), grid);
        QCOMPARE(b.btnDataValidate.left, 6635.f); // the button row never moves
    }

    // The widgets take the twips rounded to pixels (15 twips each on the offscreen screen).
    void controlAppliesLayout()
    {
        AppManager control;
        control.resize(800, 600);
        control.show();
        QVERIFY(QTest::qWaitForWindowExposed(&control));
        QCOMPARE(probe(&control).layoutSteps, 20);
        auto *frame = control.findChild<QFrame *>(QStringLiteral("frameContainer"));
        auto *grid = control.findChild<FlexGrid *>(QStringLiteral("msfData"));
        QCOMPARE(frame->geometry(), QRect(0, 40, 800, 560)); // 595 twips is 39.67 px
        QCOMPARE(grid->geometry(), QRect(5, 13, 789, 542));  // 80, 200, 11840, 8125 twips
        QCOMPARE(control.findChild<QPushButton *>(QStringLiteral("btnDataValidate"))->geometry(),
                 QRect(442, 0, 109, 33));
        QCOMPARE(control.findChild<QWidget *>(QStringLiteral("picContainer_3"))->geometry(),
                 QRect(259, 0, 61, 33));
        // Too low a control keeps the grid's old height.
        control.resize(800, 50);
        QCOMPARE(probe(&control).layoutSteps, 19);
        QCOMPARE(grid->height(), 542);
    }
};

QTEST_MAIN(tst_Layout)
#include "tst_layout.moc"
