#include "TestSupport.h"
#include <qrt/FlexGrid.h>
#include <qrt/RuntimeError.h>

#include <QAbstractItemModelTester>
#include <QImage>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

using namespace qrt;

class tst_FlexGrid : public QObject
{
    Q_OBJECT

    std::unique_ptr<FlexGrid> grid;
    QTableView *view = nullptr;
    QStringList events; // the grid's signals since init, in order

    // The centre of a cell in the viewport, from the grid's own geometry in twips; the cell
    // becomes the current one.
    QPoint cellCentre(int row, int col)
    {
        grid->setRow(row);
        grid->setCol(col);
        const QPoint inGrid(int((grid->CellLeft() + grid->CellWidth() / 2) / 15),
                            int((grid->CellTop() + grid->CellHeight() / 2) / 15));
        return view->viewport()->mapFrom(grid.get(), inGrid);
    }

    // The percentage of a cell's pixels inside its grid lines that have the colour.
    int share(const QImage &image, int row, int col, QRgb colour)
    {
        const QRect r = view->visualRect(view->model()->index(row - 1, col)).adjusted(1, 1, -2, -2);
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += image.pixel(x, y) == colour;
        return n * 100 / (r.width() * r.height());
    }

private Q_SLOTS:
    void init()
    {
        grid = std::make_unique<FlexGrid>();
        view = grid->findChild<QTableView *>();
        new QAbstractItemModelTester(
            view->model(), QAbstractItemModelTester::FailureReportingMode::QtTest, grid.get());
        grid->resize(400, 300);
        grid->setCols(5);
        grid->setRows(30);
        grid->setFormatString(QStringLiteral("<        Date|<  B1|<  B2|<  B3|<Bonus"));
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
        events.clear();
        connect(grid.get(), &FlexGrid::RowColChange, this, [&] { events << "RowColChange"; });
        connect(grid.get(), &FlexGrid::Scroll, this, [&] { events << "Scroll"; });
        connect(grid.get(), &FlexGrid::LayoutChanged, this, [&] { events << "LayoutChanged"; });
        connect(grid.get(), &FlexGrid::Click, this, [&] { events << "Click"; });
        connect(grid.get(), &FlexGrid::MouseUp, this, [&](int button, int, float, float) {
            events << QStringLiteral("MouseUp %1").arg(button);
        });
    }
    void cleanup() { grid.reset(); }

    void linearIndex()
    {
        grid->setTextArray(2 * 5 + 3, QStringLiteral("x"));
        grid->setRow(2);
        grid->setCol(3);
        QCOMPARE(grid->Text(), QStringLiteral("x"));
        QCOMPARE(grid->TextArray(0), QStringLiteral("        Date"));
        QCOMPARE(grid->TextArray(4), QStringLiteral("Bonus"));
        QCOMPARE(test::errorOf([&] { grid->TextArray(-1); }), 381);
        QCOMPARE(test::errorOf([&] { grid->TextArray(30 * 5); }), 381);
        QCOMPARE(test::errorOf([&] { grid->setTextArray(30 * 5, QString()); }), 381);
        QCOMPARE(test::errorOf([&] { grid->setRow(30); }), 381);
        QCOMPARE(test::errorOf([&] { grid->setCol(-1); }), 381);
        QCOMPARE(test::errorOf([&] { grid->RemoveItem(30); }), 381);
        QCOMPARE(test::errorOf([&] { grid->AddItem({}, 31); }), 381);
        QCOMPARE(test::errorOf([&] { grid->setRows(-1); }), 380);
    }

    void formatStringSizesColumns()
    {
        grid->setCol(0);
        const float date = grid->CellWidth();
        grid->setCol(1);
        const float b1 = grid->CellWidth();
        QVERIFY2(date > b1, "the blanks in front of Date make its column wider");
        grid->setFormatString(QStringLiteral("<a|<b|<c"));
        QCOMPARE(grid->Cols(), 3);
        QCOMPARE(grid->TextArray(2), QStringLiteral("c"));
    }

    // Texts, empty cells, a text too wide for its column and a selection, read back from the
    // pixels: the cells are painted without the style's item path where that is safe.
    void paintsTextsAndSelection()
    {
        grid->setTextArray(1 * 5 + 1, QStringLiteral("07"));
        grid->setTextArray(3 * 5 + 1, QString(40, u'8'));
        grid->setTextArray(6 * 5 + 2, QStringLiteral("13"));
        grid->setRow(5);
        grid->setCol(1);
        grid->setRowSel(6);
        grid->setColSel(2);
        const QPalette pal = view->palette();
        const QRgb base = pal.color(QPalette::Active, QPalette::Base).rgb();
        const QRgb highlight = pal.color(QPalette::Active, QPalette::Highlight).rgb();
        const QImage image =
            view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);

        const int text = share(image, 1, 1, base); // something drawn on a plain background
        QVERIFY(text > 50 && text < 100);
        QCOMPARE(share(image, 2, 1, base), 100); // empty
        // The wide text is cut at its cell: the next cell stays empty.
        QVERIFY(share(image, 3, 1, base) < 100);
        QCOMPARE(share(image, 3, 2, base), 100);
        // Selected cells are filled with the highlight, text or not.
        const int selectedText = share(image, 6, 2, highlight);
        QVERIFY(selectedText > 50 && selectedText < 100);
        QCOMPARE(share(image, 6, 1, highlight), 100);
        QCOMPARE(share(image, 4, 1, base), 100);
    }

    void currentCellEvents()
    {
        grid->setRow(3);
        grid->setRow(3);
        grid->setCol(2);
        QCOMPARE(events, QStringList({"RowColChange", "RowColChange"}));
        grid->setRowSel(5);
        QCOMPARE(grid->RowSel(), 5);
        grid->setRow(4); // writing the current cell collapses the selection
        QCOMPARE(grid->RowSel(), 4);
        QCOMPARE(grid->ColSel(), 2);
    }

    void rowInsertionKeepsRowNumber()
    {
        grid->setTextArray(3 * 5, QStringLiteral("row3"));
        grid->setRow(3);
        events.clear();
        grid->AddItem(QString(), 3);
        QCOMPARE(grid->Rows(), 31);
        QCOMPARE(grid->Row(), 3);
        QCOMPARE(grid->Text(), QString());
        QCOMPARE(grid->TextArray(4 * 5), QStringLiteral("row3"));
        grid->AddItem(QStringLiteral("a\tb"));
        QCOMPARE(grid->TextArray(31 * 5 + 1), QStringLiteral("b"));
        grid->RemoveItem(3);
        QCOMPARE(grid->TextArray(3 * 5), QStringLiteral("row3"));
        QVERIFY(events.isEmpty());
        grid->setRow(grid->Rows() - 1);
        grid->RemoveItem(grid->Rows() - 1);
        QCOMPARE(grid->Row(), grid->Rows() - 1);
        QCOMPARE(events, QStringList({"Scroll", "RowColChange", "RowColChange"}));
    }

    void cellGeometryFollowsScrolling()
    {
        grid->setRow(1);
        grid->setCol(1);
        const float top = grid->CellTop();
        const float left = grid->CellLeft();
        QVERIFY(grid->CellHeight() > 0);
        grid->setRow(2);
        QCOMPARE(grid->CellTop(), top + grid->CellHeight());
        events.clear();
        grid->setTopRow(5);
        QCOMPARE(grid->TopRow(), 5);
        QCOMPARE(events, QStringList({"Scroll"}));
        QCOMPARE(grid->CellLeft(), left);
        QCOMPARE(grid->CellTop(), top + (2 - 5) * grid->CellHeight());
        // Making a row current scrolls it into view.
        grid->setRow(29);
        QVERIFY(grid->CellTop() + grid->CellHeight() <= grid->height() * 15);
        QVERIFY(grid->TopRow() > 5);
    }

    // The scroll bar, clicked or dragged, is the user's scroll: Scroll and a new TopRow, with
    // the current cell left where it was.
    void userScrollsWithTheScrollBar()
    {
        grid->setRow(2);
        QScrollBar *bar = view->verticalScrollBar();
        events.clear();
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(grid->TopRow(), 2);
        bar->setSliderDown(true);
        bar->setSliderPosition(bar->value() + 9 * bar->singleStep());
        bar->setSliderDown(false);
        QCOMPARE(grid->TopRow(), 11);
        QCOMPARE(events, QStringList({"Scroll", "Scroll"}));
        QCOMPARE(grid->Row(), 2);
    }

    // Removing rows never leaves the grid without a row below its fixed ones.
    void removingRowsKeepsANonFixedRow()
    {
        grid->setRows(3);
        grid->setTextArray(5, QStringLiteral("a"));
        grid->setTextArray(10, QStringLiteral("b"));
        grid->RemoveItem(0); // the header goes and the first row takes its place
        QCOMPARE(grid->Rows(), 2);
        QCOMPARE(grid->FixedRows(), 1);
        QCOMPARE(grid->TextArray(0), QStringLiteral("a"));
        QCOMPARE(test::errorOf([&] { grid->RemoveItem(0); }), 5);
        QCOMPARE(test::errorOf([&] { grid->RemoveItem(1); }), 5);
        QCOMPARE(grid->Rows(), 2);
        QCOMPARE(grid->TextArray(5), QStringLiteral("b"));
    }

    // (A right click, which moves nothing, is seen through the control by tst_editing.)
    void mouse()
    {
        const QPoint target = cellCentre(3, 2);
        const QPoint extend = cellCentre(6, 0);
        events.clear();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, target);
        QCOMPARE(grid->Row(), 3);
        QCOMPARE(grid->Col(), 2);
        QCOMPARE(events, QStringList({"RowColChange", "MouseUp 1", "Click"}));
        // Shift+click extends the selection without moving the current cell.
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, extend);
        QCOMPARE(grid->Row(), 3);
        QCOMPARE(grid->RowSel(), 6);
        QCOMPARE(grid->ColSel(), 0);
    }
};

QTEST_MAIN(tst_FlexGrid)
#include "tst_flexgrid.moc"
