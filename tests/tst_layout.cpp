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
    // The steps the layout completes and where it leaves the frame and the grid: every step at
    // the designed size, and up to the first negative size else, what earlier steps set staying.
    // The button row never moves, and the same size again gives the same layout.
    void arrange_data()
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
        add("as designed", 8000, 6000, 20, "0,595 8000x5405", "80,200 7840x5125");
        add("lower than 595", 8000, 500, 14, "1,595 8000x4", "5,6 7x8");
        add("between 595 and 875", 8000, 700, 19, "0,595 8000x105", "80,200 7840x8");
        add("exactly 875", 8000, 875, 20, "0,595 8000x280", "80,200 7840x0");
        add("narrower than 160", 100, 6000, 17, "0,595 100x5405", "80,6 7x8");
        add("narrower than the buttons", 3000, 6000, 20, "0,595 3000x5405", "80,200 2840x5125");
    }
    void arrange()
    {
        QFETCH(float, width);
        QFETCH(float, height);
        LayoutBoxes b;
        b.frame = {1, 2, 3, 4};
        b.grid = {5, 6, 7, 8};
        QTEST(arrangeLayout(b, width, height), "steps");
        QTEST(describe(b.frame), "frame");
        QTEST(describe(b.grid), "grid");
        QStringList buttons;
        for (const TwipsRect &r :
             {b.pic[0], b.pic[1], b.pic[2], b.pic[3], b.btnOpenFile, b.btnDataValidate})
            buttons << describe(r);
        QCOMPARE(buttons.join(u' '), QStringLiteral("0,0 1755x495 1855,0 915x495 2870,0 915x495 "
                                                    "3885,0 915x495 4900,0 1635x495 "
                                                    "6635,0 1635x495"));
        arrangeLayout(b, width, height);
        QTEST(describe(b.grid), "grid");
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
    }
};

QTEST_MAIN(tst_Layout)
#include "tst_layout.moc"
