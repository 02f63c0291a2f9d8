#include "TestSupport.h"
#include <qrt/FlexGrid.h>
#include <qrt/RuntimeError.h>

#include <QAbstractItemModelTester>
#include <QHash>
#include <QImage>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace qrt;

class tst_FlexGrid : public QObject
{
    Q_OBJECT

    std::unique_ptr<FlexGrid> grid;

    QWidget *viewport() const { return grid->findChild<QTableView *>()->viewport(); }

    // The centre of a cell in the viewport, from the grid's own geometry in twips.
    QPoint cellCentre(int row, int col)
    {
        const int oldRow = grid->Row(), oldCol = grid->Col();
        QSignalSpy quiet(grid.get(), &FlexGrid::RowColChange);
        grid->setRow(row);
        grid->setCol(col);
        const QPoint inGrid(int((grid->CellLeft() + grid->CellWidth() / 2) / 15),
                            int((grid->CellTop() + grid->CellHeight() / 2) / 15));
        grid->setRow(oldRow);
        grid->setCol(oldCol);
        return viewport()->mapFrom(grid.get(), inGrid);
    }

    // What a cell shows: its pixels inside the grid lines, counted by colour.
    struct CellPixels {
        int total = 0;
        int of(QRgb c) const { return counts.value(c); }
        QHash<QRgb, int> counts;
    };
    CellPixels pixelsOf(const QImage &image, int row, int col)
    {
        auto *view = grid->findChild<QTableView *>();
        const QRect r = view->visualRect(view->model()->index(row - 1, col)).adjusted(1, 1, -2, -2);
        CellPixels p;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) {
                ++p.counts[image.pixel(x, y)];
                ++p.total;
            }
        return p;
    }

private Q_SLOTS:
    void init()
    {
        grid = std::make_unique<FlexGrid>();
        new QAbstractItemModelTester(grid->findChild<QTableView *>()->model(),
                                     QAbstractItemModelTester::FailureReportingMode::QtTest,
                                     grid.get());
        grid->resize(400, 300);
        grid->setCols(5);
        grid->setRows(30);
        grid->setFormatString(QStringLiteral("<        Date|<  B1|<  B2|<  B3|<Bonus"));
        grid->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
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
        QCOMPARE(grid->Cols(), 5);
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
        auto *view = grid->findChild<QTableView *>();
        const QPalette pal = view->palette();
        const QRgb base = pal.color(QPalette::Active, QPalette::Base).rgb();
        const QRgb highlight = pal.color(QPalette::Active, QPalette::Highlight).rgb();
        const QImage image = viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);

        const CellPixels text = pixelsOf(image, 1, 1);
        QVERIFY(text.of(base) < text.total);     // something is drawn
        QVERIFY(text.of(base) > text.total / 2); // on a plain background
        QCOMPARE(pixelsOf(image, 2, 1).of(base), pixelsOf(image, 2, 1).total); // empty
        // The wide text is cut at its cell: the next cell stays empty.
        QVERIFY(pixelsOf(image, 3, 1).of(base) < pixelsOf(image, 3, 1).total);
        QCOMPARE(pixelsOf(image, 3, 2).of(base), pixelsOf(image, 3, 2).total);
        // Selected cells are filled with the highlight, text or not.
        const CellPixels selectedText = pixelsOf(image, 6, 2);
        QVERIFY(selectedText.of(highlight) > selectedText.total / 2);
        QVERIFY(selectedText.of(highlight) < selectedText.total);
        QCOMPARE(pixelsOf(image, 6, 1).of(highlight), pixelsOf(image, 6, 1).total);
        QCOMPARE(pixelsOf(image, 4, 1).of(base), pixelsOf(image, 4, 1).total);
    }

    void currentCellEvents()
    {
        QSignalSpy changes(grid.get(), &FlexGrid::RowColChange);
        grid->setRow(3);
        grid->setRow(3);
        grid->setCol(2);
        QCOMPARE(changes.count(), 2);
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
        QSignalSpy changes(grid.get(), &FlexGrid::RowColChange);
        grid->AddItem(QString(), 3);
        QCOMPARE(grid->Rows(), 31);
        QCOMPARE(grid->Row(), 3);
        QCOMPARE(grid->Text(), QString());
        QCOMPARE(grid->TextArray(4 * 5), QStringLiteral("row3"));
        grid->AddItem(QStringLiteral("a\tb"));
        QCOMPARE(grid->TextArray(31 * 5 + 1), QStringLiteral("b"));
        grid->RemoveItem(3);
        QCOMPARE(grid->TextArray(3 * 5), QStringLiteral("row3"));
        QCOMPARE(changes.count(), 0);
        grid->setRow(grid->Rows() - 1);
        grid->RemoveItem(grid->Rows() - 1);
        QCOMPARE(grid->Row(), grid->Rows() - 1);
        QCOMPARE(changes.count(), 2);
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
        QSignalSpy scrolls(grid.get(), &FlexGrid::Scroll);
        grid->setTopRow(5);
        QCOMPARE(grid->TopRow(), 5);
        QCOMPARE(scrolls.count(), 1);
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
        QScrollBar *bar = grid->findChild<QTableView *>()->verticalScrollBar();
        QSignalSpy scrolls(grid.get(), &FlexGrid::Scroll);
        QSignalSpy layouts(grid.get(), &FlexGrid::LayoutChanged);
        QSignalSpy moves(grid.get(), &FlexGrid::RowColChange);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(grid->TopRow(), 2);
        bar->setSliderDown(true);
        bar->setSliderPosition(bar->value() + 9 * bar->singleStep());
        bar->setSliderDown(false);
        QCOMPARE(grid->TopRow(), 11);
        QCOMPARE(scrolls.count(), 2);
        QCOMPARE(layouts.count(), 0);
        QCOMPARE(moves.count(), 0);
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

    void pageDownMovesByVisiblePage()
    {
        grid->setRow(1);
        grid->setFocus();
        QStringList events;
        connect(grid.get(), &FlexGrid::Scroll, this, [&] { events << "Scroll"; });
        connect(grid.get(), &FlexGrid::RowColChange, this, [&] { events << "RowColChange"; });
        QTest::keyClick(grid->findChild<QTableView *>(), Qt::Key_PageDown);
        const int page = grid->Row() - 1;
        QVERIFY(page > 1);
        QCOMPARE(grid->TopRow(), 1 + page);
        QCOMPARE(events, QStringList({"Scroll", "RowColChange"}));
        events.clear();
        QTest::keyClick(grid->findChild<QTableView *>(), Qt::Key_PageUp);
        QCOMPARE(grid->Row(), 1);
        QTest::keyClick(grid->findChild<QTableView *>(), Qt::Key_PageUp);
        QCOMPARE(grid->Row(), 1);
        QCOMPARE(events.count(QStringLiteral("RowColChange")), 1);
    }

    void mouse()
    {
        const QPoint target = cellCentre(3, 2);
        const QPoint right = cellCentre(5, 1);
        const QPoint extend = cellCentre(6, 0);
        QStringList events;
        connect(grid.get(), &FlexGrid::RowColChange, this, [&] { events << "RowColChange"; });
        connect(grid.get(), &FlexGrid::Click, this, [&] { events << "Click"; });
        connect(grid.get(), &FlexGrid::MouseUp, this, [&](int button, int, float, float) {
            events << QStringLiteral("MouseUp %1").arg(button);
        });
        QTest::mouseClick(viewport(), Qt::LeftButton, {}, target);
        QCOMPARE(grid->Row(), 3);
        QCOMPARE(grid->Col(), 2);
        QCOMPARE(events, QStringList({"RowColChange", "MouseUp 1", "Click"}));
        events.clear();
        QTest::mouseClick(viewport(), Qt::RightButton, {}, right);
        QCOMPARE(events, QStringList({"MouseUp 2"}));
        QCOMPARE(grid->Row(), 3);
        // Shift+click extends the selection without moving the current cell.
        QTest::mouseClick(viewport(), Qt::LeftButton, Qt::ShiftModifier, extend);
        QCOMPARE(grid->Row(), 3);
        QCOMPARE(grid->RowSel(), 6);
        QCOMPARE(grid->ColSel(), 0);
    }

    void redrawOffBatchesChanges()
    {
        grid->setRedraw(false);
        for (int i = 0; i < 100; ++i)
            grid->AddItem(QStringLiteral("%1").arg(i));
        grid->setTextArray(5 * 5, QStringLiteral("five"));
        grid->setRedraw(true);
        auto *view = grid->findChild<QTableView *>();
        QCOMPARE(view->model()->rowCount(), grid->Rows() - 1);
        QCOMPARE(view->model()->index(4, 0).data().toString(), QStringLiteral("five"));
        QCOMPARE(view->model()->index(grid->Rows() - 2, 0).data().toString(), QStringLiteral("99"));
    }
};

QTEST_MAIN(tst_FlexGrid)
#include "tst_flexgrid.moc"
