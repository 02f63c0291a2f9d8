#include "AppManagerProbe_p.h"
#include "CallLog.h"
#include "RecordingLottery.h"
#include "TestSupport.h"
#include <qrt/AppManager.h>
#include <qrt/FlexGrid.h>
#include <qrt/RuntimeError.h>

#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

using namespace qrt;
using namespace qrt::doubles;

class tst_Editing : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppManager> control;
    std::unique_ptr<RecordingLottery> lottery;
    std::unique_ptr<QWidget> host; // a window the control is embedded in, when a test needs one
    QPushButton *hostButton = nullptr;
    FlexGrid *grid = nullptr;
    QLineEdit *editor = nullptr;

    void load(int total, bool bonus, const QStringList &draws)
    {
        lottery.reset(RecordingLottery::make(total, 1, 49, bonus, draws));
        control->InitData(lottery.get());
        QWidget *window = host ? host.get() : control.get();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    // Puts the control in a window with a button after it.
    void embed()
    {
        host = std::make_unique<QWidget>();
        host->resize(900, 700);
        control->setParent(host.get());
        hostButton = new QPushButton(QStringLiteral("after"), host.get());
        hostButton->move(0, 650);
    }

    // Lets the synthesised keys arrive.
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    static void key(Qt::Key k, Qt::KeyboardModifiers m = {})
    {
        QTest::keyClick(QApplication::focusWidget(), k, m);
        settle();
    }

    static void type(const QString &text)
    {
        for (QChar c : text) {
            if (c == u'\n')
                key(Qt::Key_Return);
            else
                QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
        }
        settle();
    }

    QString cell(int r, int c) const { return grid->TextArray(r * grid->Cols() + c); }
    QString row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < grid->Cols(); ++c)
            cells << cell(r, c);
        return cells.join(u'|');
    }
    // Rows from..to (to -1: the last), as row() gives them.
    QStringList rows(int from = 1, int to = -1) const
    {
        QStringList out;
        for (int r = from; r <= (to < 0 ? grid->Rows() - 1 : to); ++r)
            out << row(r);
        return out;
    }
    static QStringList manyDraws()
    {
        QStringList draws;
        for (int i = 1; i <= 200; ++i)
            draws << QStringLiteral("%1 1 2").arg(i);
        return draws;
    }

    // The editor stands over the current cell, shows its text wholly selected and has the focus.
    void verifyEditorOnCurrentCell()
    {
        QVERIFY(editor->isVisible());
        QCOMPARE(QApplication::focusWidget(), editor);
        QCOMPARE(editor->text(), cell(grid->Row(), grid->Col()));
        QCOMPARE(editor->selectionLength(), int(editor->text().size()));
        const QPoint cellInFrame = grid->mapToParent(
            QPoint(int(grid->CellLeft() / 15 + 0.5f), int(grid->CellTop() / 15 + 0.5f)));
        QVERIFY(qAbs(editor->x() - cellInFrame.x()) <= 2);
        QVERIFY(qAbs(editor->y() - cellInFrame.y()) <= 2);
    }

    void click(const char *button)
    {
        control->findChild<QPushButton *>(QLatin1String(button))->click();
    }

private Q_SLOTS:
    void init()
    {
        CallLog::instance().clear();
        control = std::make_unique<AppManager>();
        control->resize(800, 600);
        grid = control->findChild<FlexGrid *>(QStringLiteral("msfData"));
        editor = control->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
    }
    void cleanup()
    {
        if (host)
            control->setParent(nullptr);
        host.reset();
        control.reset();
        lottery.reset();
        QCOMPARE(test::topLevelCount(), 0);
    }

    // Only the user's own changes count as unsaved work; a new load forgets them.
    void modifiedTracksTheUsersChanges()
    {
        load(2, false, {QStringLiteral("1 12 18"), QStringLiteral("2 22 28")});
        QSignalSpy changes(control.get(), &AppManager::modifiedChanged);
        grid->setRow(1);
        grid->setCol(1);
        control->AddItem(QStringLiteral("1|13|18"), 0); // the host's writing is not the user's
        QVERIFY(!control->isModified());
        type(QStringLiteral("14"));
        QVERIFY(control->isModified());
        type(QStringLiteral("5"));
        QCOMPARE(changes.count(), 1);
        for (const char *button : {"btnInsert", "btnDel"}) {
            std::unique_ptr<RecordingLottery> again(
                RecordingLottery::make(2, 1, 49, false, {QStringLiteral("1 12 18")}));
            control = std::make_unique<AppManager>();
            grid = control->findChild<FlexGrid *>(QStringLiteral("msfData"));
            editor = control->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
            control->InitData(again.get());
            QVERIFY(!control->isModified());
            grid->setRow(1);
            test::MsgBoxRecorder boxes; // Delete asks first
            click(button);
            QVERIFY2(control->isModified(), button);
        }
    }

    // A block copied from a spreadsheet spreads over the grid from the current cell, each cell
    // written as typing writes it; one undo takes the whole block back.
    // Issues are found by halving, and by reading through when they do not rise; a missing
    // one moves nothing.
    void goToIssue_data()
    {
        QTest::addColumn<QStringList>("draws");
        QTest::addColumn<QString>("issue");
        QTest::addColumn<int>("row"); // -1: not found
        const QStringList rising{"2026001 1 2", "2026002 3 4", "2026003 5 6", "2026004 7 8"};
        QTest::newRow("first") << rising << "2026001" << 1;
        QTest::newRow("middle") << rising << "2026003" << 3;
        QTest::newRow("last") << rising << "2026004" << 4;
        QTest::newRow("missing") << rising << "2026005" << -1;
        QTest::newRow("the entry row's empty issue") << rising << "" << -1;
        QTest::newRow("out of order") << QStringList{"9 1 2", "3 3 4", "5 5 6"} << "3" << 2;
    }
    void goToIssue()
    {
        QFETCH(QStringList, draws);
        QFETCH(QString, issue);
        QFETCH(int, row);
        load(2, false, draws);
        QCOMPARE(control->currentIssue(), QString());
        QSignalSpy told(control.get(), &AppManager::currentIssueChanged);
        QCOMPARE(control->goToIssue(issue), row > 0);
        QCOMPARE(grid->Row(), row > 0 ? row : grid->Rows() - 1);
        QCOMPARE(grid->Col(), 0);
        QCOMPARE(control->currentIssue(), row > 0 ? issue : QString());
        QCOMPARE(told.count(), row > 0 ? 1 : 0);
        if (row > 0) {
            QCOMPARE(told.at(0).at(0).toString(), issue);
            verifyEditorOnCurrentCell();
        }
    }

    // The current issue follows moves, typing into the issue cell and the entry row.
    void currentIssueChanges()
    {
        load(2, false, {QStringLiteral("1 12 18"), QStringLiteral("2 22 28")});
        QSignalSpy told(control.get(), &AppManager::currentIssueChanged);
        grid->setRow(1);
        grid->setCol(1);
        QCOMPARE(control->currentIssue(), QStringLiteral("1"));
        grid->setCol(0);
        type(QStringLiteral("7"));
        QCOMPARE(control->currentIssue(), QStringLiteral("7"));
        grid->setRow(grid->Rows() - 1);
        QStringList seen;
        for (const QList<QVariant> &args : std::as_const(told))
            seen << args.at(0).toString();
        QCOMPARE(seen, QStringList({"1", "7", ""}));
    }

    void importAndExportOnlyTell()
    {
        load(2, false, {QStringLiteral("1 12 18")});
        QSignalSpy imports(control.get(), &AppManager::importClicked);
        QSignalSpy exports(control.get(), &AppManager::exportClicked);
        const QString before = row(1);
        click("btnInput");
        QCOMPARE(imports.count(), 1);
        QCOMPARE(exports.count(), 0);
        click("btnOutput");
        QCOMPARE(exports.count(), 1);
        QCOMPARE(row(1), before);
        QVERIFY(!control->isModified());
    }

    void blockPaste_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("block");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("sheetKeys");
        QTest::newRow("spreadsheet into the entry row")
            << 3 << 0 << "3\t31\t32\r\n4\t41\t42\r\n"
            << QStringList{"1|11|12", "2|21|22", "3|31|32", "4|41|42", "||"} << false;
        QTest::newRow("draw lines into the middle")
            << 2 << 1 << "5 6\n7,8\n"
            << QStringList{"1|11|12", "2|5|6", "|7|8", "||"} << false;
        QTest::newRow("wider than the grid") << 1 << 1 << "91\t92\t93\t94\n"
                                             << QStringList{"1|91|92", "2|21|22", "||"} << false;
        QTest::newRow("empty lines skipped")
            << 3 << 0 << "\n3\t31\t32\n\n\n4\t41\t42"
            << QStringList{"1|11|12", "2|21|22", "3|31|32", "4|41|42", "||"} << false;
        QTest::newRow("a draw file's plus is a cell")
            << 3 << 0 << "3 31 + 32\n"
            << QStringList{"1|11|12", "2|21|22", "3|31|+", "||"} << false;
        QTest::newRow("a draw file's plus skipped")
            << 3 << 0 << "3 31 + 32\n"
            << QStringList{"1|11|12", "2|21|22", "3|31|32", "||"} << true;
    }
    void blockPaste()
    {
        QFETCH(int, row);
        QFETCH(int, col);
        QFETCH(QString, block);
        QFETCH(QStringList, rows);
        QFETCH(bool, sheetKeys);
        control->setSpreadsheetKeys(sheetKeys);
        load(2, false, {QStringLiteral("1 11 12"), QStringLiteral("2 21 22")});
        const QStringList before = this->rows();
        grid->setRow(row);
        grid->setCol(col);
        QApplication::clipboard()->setText(block);
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(this->rows(), rows);
        QVERIFY(control->isModified());
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(this->rows(), before);
        QVERIFY(!control->isModified());
        key(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(this->rows(), rows);
        // A paste without tabs or line breaks stays the editor's own.
        QApplication::clipboard()->setText(QStringLiteral("7"));
        grid->setRow(1);
        grid->setCol(1);
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(cell(1, 1), QStringLiteral("7"));
    }

    // Typing, Insert and Delete are undone and redone in order, with the keys and with the
    // slots a host's Edit menu calls; back at the load the grid holds no unsaved work.
    void undoAndRedo()
    {
        load(2, false,
             {QStringLiteral("1 11 12"), QStringLiteral("2 21 22"), QStringLiteral("3 31 32")});
        QSignalSpy state(control.get(), &AppManager::undoStateChanged);
        QVERIFY(!control->canUndo());
        grid->setRow(1);
        grid->setCol(1);
        type(QStringLiteral("45"));
        QVERIFY(control->canUndo());
        QVERIFY(state.count() >= 1);
        grid->setRow(2);
        click("btnInsert");
        grid->setRow(3);
        grid->setRowSel(4);
        test::MsgBoxRecorder boxes;
        click("btnDel");
        QCOMPARE(rows(), QStringList({"1|45|12", "||", "||"}));
        control->undo(); // the deletion
        QCOMPARE(rows(), QStringList({"1|45|12", "||", "2|21|22", "3|31|32", "||"}));
        key(Qt::Key_Z, Qt::ControlModifier); // the insertion
        QCOMPARE(row(2), QStringLiteral("2|21|22"));
        key(Qt::Key_Z, Qt::ControlModifier); // the typing, as one
        QCOMPARE(row(1), QStringLiteral("1|11|12"));
        QCOMPARE(grid->Row(), 1);
        QCOMPARE(editor->text(), QStringLiteral("11"));
        QVERIFY(!control->canUndo());
        QVERIFY(!control->isModified());
        key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(row(1), QStringLiteral("1|45|12"));
        control->redo();
        control->redo();
        QCOMPARE(rows(), QStringList({"1|45|12", "||", "||"}));
        QVERIFY(!control->canRedo());
        // A new load forgets what could be undone.
        control = std::make_unique<AppManager>();
        lottery.reset(RecordingLottery::make(2, 1, 49, false, {QStringLiteral("1 11 12")}));
        control->InitData(lottery.get());
        QVERIFY(!control->canUndo());
    }

    void showEditorDoesNotWrite()
    {
        load(2, true, {QStringLiteral("1 7 8 +9")});
        grid->setRow(1);
        grid->setCol(1);
        verifyEditorOnCurrentCell();
        QCOMPARE(editor->text(), QStringLiteral("07"));
        QCOMPARE(grid->Rows(), 3);
        QVERIFY(!probe(control.get()).settingText);
    }

    void spaceRule()
    {
        load(2, false, {QStringLiteral("1 12 18")});
        grid->setRow(1);
        grid->setCol(1);
        key(Qt::Key_Space);
        QCOMPARE(editor->text(), QStringLiteral("12"));
        QCOMPARE(editor->cursorPosition(), 2);
        QVERIFY(!editor->hasSelectedText());
        QVERIFY(!probe(control.get()).skipKeyPress);
        key(Qt::Key_Space);
        QCOMPARE(cell(1, 1), QStringLiteral("12 "));
        // On an empty cell a space is typed at once.
        grid->setRow(2);
        grid->setCol(2);
        key(Qt::Key_Space);
        QCOMPARE(cell(2, 2), QStringLiteral(" "));
    }

    void rightClickSwallowsOneShowEditor()
    {
        load(2, false, {QStringLiteral("1 12 18"), QStringLiteral("2 22 28")});
        QWidget *viewport = grid->findChild<QTableView *>()->viewport();
        const QPoint somewhere(20, 10);
        QTest::mouseClick(viewport, Qt::RightButton, {}, somewhere);
        QVERIFY(!editor->isVisible());
        QVERIFY(probe(control.get()).rightClick);
        grid->setRow(1); // the next ShowEditor only clears the flag
        QVERIFY(!editor->isVisible());
        QVERIFY(!probe(control.get()).rightClick);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, somewhere);
        QVERIFY(editor->isVisible());
        verifyEditorOnCurrentCell();
    }

    void pageDownBringsTheEditorBack()
    {
        load(2, false, manyDraws());
        grid->setTopRow(1);
        grid->setRow(1);
        verifyEditorOnCurrentCell();
        key(Qt::Key_PageDown);
        QVERIFY(grid->Row() > 1);
        QCOMPARE(grid->TopRow(), grid->Row());
        verifyEditorOnCurrentCell();
        // Page Up in the first rows changes nothing: the editor stays, the focus is the grid's.
        grid->setRow(1);
        key(Qt::Key_PageUp);
        QCOMPARE(grid->Row(), 1);
        QVERIFY(editor->isVisible());
        QCOMPARE(QApplication::focusWidget(), grid->findChild<QTableView *>());
    }

    void insert()
    {
        load(2, false, {"1 11 12", "2 21 22", "3 31 32", "4 41 42"});
        grid->setRow(3);
        grid->setCol(2);
        click("btnInsert");
        QCOMPARE(rows(3), QStringList({"||", "3|31|32", "4|41|42", "||"}));
        QCOMPARE(grid->Row(), 3);
        QCOMPARE(grid->Col(), 0);
        verifyEditorOnCurrentCell();
        QVERIFY(!probe(control.get()).inserting);
        // On the entry row the grid ends with two empty rows.
        grid->setRow(6);
        click("btnInsert");
        QCOMPARE(rows(6), QStringList({"||", "||"}));
        // On the header row nothing happens.
        grid->setRow(0);
        click("btnInsert");
        QCOMPARE(grid->Rows(), 8);
    }

    void deleteSelection_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QStringList>("left");
        QTest::addColumn<int>("rowAfter");
        const QStringList all = {"1|11|12", "2|21|22", "3|31|32", "||"};
        QTest::newRow("downwards")
            << 2 << 4 << int(MsgBoxYes) << "3" << QStringList({"1|11|12", "||"}) << 2;
        QTest::newRow("upwards") << 4 << 2 << int(MsgBoxYes) << "3"
                                 << QStringList({"1|11|12", "||"}) << 2;
        QTest::newRow("one row") << 2 << 2 << int(MsgBoxYes) << "1"
                                 << QStringList({"1|11|12", "3|31|32", "||"}) << 2;
        QTest::newRow("entry row only") << 4 << 4 << int(MsgBoxYes) << "1" << all << 4;
        QTest::newRow("no") << 1 << 3 << int(MsgBoxNo) << "3" << all << 1;
    }
    void deleteSelection()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(QStringList, left);
        QFETCH(int, rowAfter);
        load(2, false, {"1 11 12", "2 21 22", "3 31 32"});
        test::MsgBoxRecorder boxes;
        boxes.answers.push_back(answer);
        grid->setRow(from);
        grid->setCol(1);
        grid->setRowSel(to);
        grid->setColSel(2);
        click("btnDel");
        QCOMPARE(boxes.shown,
                 QStringList(QStringLiteral("36|Data Manager|Are you sure of deleting %1 lines?")
                                 .arg(question)));
        QCOMPARE(rows(), left);
        QCOMPARE(grid->Row(), rowAfter);
        QCOMPARE(grid->Col(), 1);
        if (answer == MsgBoxNo) {
            QCOMPARE(grid->RowSel(), to);
        } else {
            QCOMPARE(grid->RowSel(), grid->Row());
            verifyEditorOnCurrentCell();
        }
    }

    // Each key with spreadsheet keys off (the classic key rules) and on. Draws in rows 1 to 3,
    // the entry row 4; columns 0 to 2. caret -1 leaves the editor's text wholly selected.
    void sheetKeys_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QPoint>("from"); // (row, col)
        QTest::addColumn<int>("caret");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<QPoint>("to");
        QTest::addColumn<QPoint>("selected"); // the selection's other corner
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, none = 0;
        auto row = [](const char *name, bool on, QPoint from, int caret, int key, int mods,
                      QPoint to, QPoint selected) {
            QTest::newRow(name) << on << from << caret << key << mods << to << selected;
        };
        const QPoint a(1, 0), b(1, 1), c(1, 2), d(2, 0), e(2, 1), f(2, 2), g(3, 1), entry(4, 0);
        row("Tab off", false, a, -1, Qt::Key_Tab, none, a, a);
        row("Enter off", false, a, -1, Qt::Key_Return, none, b, b);
        row("Enter wraps off", false, c, -1, Qt::Key_Return, none, d, d);
        row("Enter in the last cell off", false, {4, 2}, -1, Qt::Key_Return, none, {4, 2}, {4, 2});
        row("Right at the end wraps off", false, c, 2, Qt::Key_Right, shift, d, d);
        row("Left in the text off", false, {3, 0}, 1, Qt::Key_Left, none, {3, 0}, {3, 0});
        row("Left at the start wraps off", false, {3, 0}, 0, Qt::Key_Left, none, {2, 2}, {2, 2});
        row("Left in the first cell off", false, a, 0, Qt::Key_Left, none, a, a);
        row("Up in the first row off", false, b, -1, Qt::Key_Up, none, b, b);
        row("Down in the entry row off", false, {4, 1}, -1, Qt::Key_Down, none, {4, 1}, {4, 1});
        row("Tab", true, a, -1, Qt::Key_Tab, none, b, b);
        row("Tab wraps", true, c, -1, Qt::Key_Tab, none, d, d);
        row("Tab in the last cell", true, {4, 2}, -1, Qt::Key_Tab, none, {4, 2}, {4, 2});
        row("Shift+Tab wraps", true, d, -1, Qt::Key_Backtab, shift, c, c);
        row("Shift+Tab in the first cell", true, a, -1, Qt::Key_Backtab, shift, a, a);
        row("Ctrl+Home off", false, f, -1, Qt::Key_Home, ctrl, f, f);
        row("Ctrl+Home", true, f, -1, Qt::Key_Home, ctrl, a, a);
        row("Ctrl+End", true, b, -1, Qt::Key_End, ctrl, entry, entry);
        row("Home off", false, f, -1, Qt::Key_Home, none, f, f);
        row("Home", true, f, -1, Qt::Key_Home, none, d, d);
        row("Home in the text", true, f, 1, Qt::Key_Home, none, f, f);
        row("End", true, d, -1, Qt::Key_End, none, f, f);
        row("Ctrl+Up off", false, g, -1, Qt::Key_Up, ctrl, e, e);
        row("Ctrl+Up", true, g, -1, Qt::Key_Up, ctrl, b, b);
        row("Ctrl+Down off", false, b, -1, Qt::Key_Down, ctrl, e, e);
        row("Ctrl+Down", true, b, -1, Qt::Key_Down, ctrl, {4, 1}, {4, 1});
        row("Shift+Down off", false, b, -1, Qt::Key_Down, shift, e, e);
        row("Shift+Down", true, b, -1, Qt::Key_Down, shift, b, e);
        row("Shift+Right off", false, a, -1, Qt::Key_Right, shift, b, b);
        row("Shift+Right", true, a, -1, Qt::Key_Right, shift, a, b);
        row("Shift+Left", true, e, -1, Qt::Key_Left, shift, e, d);
        row("Shift+Left in the text", true, e, 1, Qt::Key_Left, shift, e, e);
    }
    void sheetKeys()
    {
        QFETCH(bool, on);
        QFETCH(QPoint, from);
        QFETCH(int, caret);
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(QPoint, to);
        QFETCH(QPoint, selected);
        control->setSpreadsheetKeys(on);
        load(2, false, {"1 11 12", "2 21 22", "3 31 32"});
        grid->setRow(from.x());
        grid->setCol(from.y());
        if (caret >= 0)
            editor->setCursorPosition(caret);
        const QStringList before = rows();
        this->key(Qt::Key(key), Qt::KeyboardModifiers(mods));
        QCOMPARE(QPoint(grid->Row(), grid->Col()), to);
        QCOMPARE(QPoint(grid->RowSel(), grid->ColSel()), selected);
        QCOMPARE(rows(), before);
        if (caret < 0 ? key != Qt::Key_Tab : to != from)
            verifyEditorOnCurrentCell();
    }

    // Ctrl+Tab leaves the grid for the host's next widget.
    void ctrlTabLeaves()
    {
        embed();
        control->setSpreadsheetKeys(true);
        load(2, false, {"1 11 12"});
        grid->setRow(1);
        QCOMPARE(QApplication::focusWidget(), editor);
        key(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), hostButton);
    }

    // A block of cells is copied as a spreadsheet pastes it, pasted back, cleared in one
    // undo step and cut; with one cell selected the keys stay the editor's.
    void selectionCopyClearCut()
    {
        control->setSpreadsheetKeys(true);
        load(2, false, {"1 11 12", "2 21 22", "3 31 32"});
        grid->setRow(1);
        grid->setCol(1);
        key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("11"));
        key(Qt::Key_Down, Qt::ShiftModifier);
        key(Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), editor);
        key(Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1\t11\n2\t21\n"));
        // The selection is painted.
        QCOMPARE(grid->findChild<QTableView *>()->selectionModel()->selectedIndexes().size(), 4);
        grid->setRow(4);
        grid->setCol(0);
        key(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(rows(4), QStringList({"1|11|", "2|21|", "||"}));
        grid->setRow(2);
        grid->setCol(1);
        key(Qt::Key_Up, Qt::ShiftModifier);
        key(Qt::Key_Right, Qt::ShiftModifier);
        key(Qt::Key_Delete);
        QCOMPARE(rows(1, 2), QStringList({"1||", "2||"}));
        QCOMPARE(editor->text(), QString());
        key(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(rows(1, 2), QStringList({"1|11|12", "2|21|22"}));
        grid->setRow(3);
        grid->setCol(0);
        key(Qt::Key_Right, Qt::ShiftModifier);
        key(Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("3\t31\n"));
        QCOMPARE(row(3), QStringLiteral("||32"));
        // One cell: Delete is the editor's, on its selected text.
        grid->setRow(2);
        grid->setCol(2);
        key(Qt::Key_Delete);
        QCOMPARE(cell(2, 2), QString());
    }

    // A character typed while the grid holds the focus reaches the editor over the current
    // cell, scrolled into view; with spreadsheet keys off the grid takes no text.
    void printableKeyWithGridFocus_data()
    {
        QTest::addColumn<bool>("on");
        // 0 the grid, 1 the scroll bar dragged, 2 a host's button, 3 a button of the control
        QTest::addColumn<int>("focus");
        QTest::newRow("off") << false << 0;
        QTest::newRow("off, a host's button") << false << 2;
        QTest::newRow("grid focused") << true << 0;
        QTest::newRow("after a scroll") << true << 1;
        QTest::newRow("a host's button") << true << 2;
        QTest::newRow("a button of the control") << true << 3;
    }
    void printableKeyWithGridFocus()
    {
        QFETCH(bool, on);
        QFETCH(int, focus);
        if (focus == 2)
            embed();
        control->setSpreadsheetKeys(on);
        load(2, false, manyDraws());
        grid->setRow(5);
        grid->setCol(1);
        if (focus == 1) {
            grid->findChild<QTableView *>()->verticalScrollBar()->triggerAction(
                QAbstractSlider::SliderToMaximum);
            settle();
            QVERIFY(!editor->isVisible());
            QVERIFY(grid->TopRow() > 5);
        } else if (focus >= 2) {
            (focus == 2 ? hostButton : control->findChild<QPushButton *>("btnInsert"))->setFocus();
        } else {
            grid->setFocus();
        }
        QVERIFY(QApplication::focusWidget() != editor);
        type(QStringLiteral("7"));
        QCOMPARE(cell(5, 1), on ? QStringLiteral("7") : QStringLiteral("01"));
        if (on) {
            QCOMPARE(QApplication::focusWidget(), editor);
            QVERIFY(editor->isVisible());
            QVERIFY(grid->TopRow() <= 5);
            type(QStringLiteral("3"));
            QCOMPARE(cell(5, 1), QStringLiteral("73"));
        }
    }

    // A cell breaking a rule is marked as it is typed, with the message Check gives for it,
    // and Check still shows that message and stops on that cell. Draws: "1 11 12 +13" and
    // "2 21 22 +23"; columns issue, two numbers and, with a bonus, the bonus.
    void markRuleBreaks_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<bool>("bonus");
        QTest::addColumn<QPoint>("cell");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("mark"); // "" for none
        QTest::newRow("off") << false << true << QPoint(1, 1) << "50"
                             << "";
        QTest::newRow("out of range") << true << true << QPoint(1, 1) << "50"
                                      << "Basic number is out of range!";
        QTest::newRow("not digits") << true << true << QPoint(2, 2) << "2x"
                                    << "Basic numbers should be digits";
        QTest::newRow("repeat in a draw") << true << true << QPoint(1, 2) << "11"
                                          << "Existed numbers,please type another!";
        QTest::newRow("no repeats without a bonus") << true << false << QPoint(1, 2) << "11"
                                                    << "";
        QTest::newRow("issue repeats") << true << true << QPoint(2, 0) << "1"
                                       << "Could not repeat the date!";
        QTest::newRow("issue not digits") << true << true << QPoint(1, 0) << "1a"
                                          << "The dates should be digits!";
        QTest::newRow("fine") << true << true << QPoint(1, 1) << "49"
                              << "";
    }
    void markRuleBreaks()
    {
        QFETCH(bool, on);
        QFETCH(bool, bonus);
        QFETCH(QPoint, cell);
        QFETCH(QString, text);
        QFETCH(QString, mark);
        control->setMarkRuleBreaks(on);
        load(2, bonus, {"1 11 12 +13", "2 21 22 +23"});
        test::MsgBoxRecorder boxes;
        grid->setRow(cell.x());
        grid->setCol(cell.y());
        type(text);
        QCOMPARE(editor->toolTip(), mark);
        key(cell.x() == 1 ? Qt::Key_Down : Qt::Key_Up); // the editor off the cell
        auto *view = grid->findChild<QTableView *>();
        const QModelIndex index = view->model()->index(cell.x() - 1, cell.y());
        QCOMPARE(index.data(Qt::ToolTipRole).toString(), mark);
        QVERIFY(boxes.shown.isEmpty());
        // Painted: a corner of the cell shows the mark's colour.
        const QImage shot = view->viewport()->grab().toImage();
        const QRect rect = view->visualRect(index);
        const QColor corner = shot.pixelColor(rect.left() + 2, rect.bottom() - 2);
        QCOMPARE(corner == QColor(255, 205, 205), !mark.isEmpty());
        // The other cells of the row are clean.
        for (int c = 0; c < grid->Cols(); ++c)
            if (c != cell.y())
                QCOMPARE(view->model()->index(cell.x() - 1, c).data(Qt::ToolTipRole).toString(),
                         QString());
        click("btnDataValidate");
        if (mark.isEmpty()) {
            QCOMPARE(boxes.shown.size(), 1); // no errors
        } else {
            QCOMPARE(boxes.shown, QStringList(QStringLiteral("16|Data Errors|") + mark));
            QCOMPARE(QPoint(grid->Row(), control->currentColumn()), cell);
        }
    }

    // Long jobs tell their progress a bounded number of times; short ones not at all.
    void progressOfLongJobs_data()
    {
        QTest::addColumn<int>("draws");
        QTest::newRow("short") << 500;
        QTest::newRow("long") << 12000;
    }
    void progressOfLongJobs()
    {
        QFETCH(int, draws);
        QStringList lines;
        for (int i = 1; i <= draws; ++i)
            lines << QStringLiteral("%1 %2 %3").arg(i).arg(i % 40 + 1).arg(i % 40 + 2);
        QSignalSpy told(control.get(), &AppManager::progress);
        load(2, false, lines);
        test::MsgBoxRecorder boxes;
        click("btnDataValidate");
        QCOMPARE(boxes.shown.size(), 1);
        const bool long_ = draws >= 10000;
        for (const char *what : {"Loading...", "Checking..."}) {
            QList<int> done;
            for (const QList<QVariant> &args : std::as_const(told)) {
                if (args.at(0).toString() != QLatin1String(what))
                    continue;
                QCOMPARE(args.at(2).toInt(), draws);
                done << args.at(1).toInt();
            }
            QVERIFY2(long_ ? done.size() >= 3 && done.size() <= 101 : done.isEmpty(),
                     qPrintable(QStringLiteral("%1 %2").arg(what).arg(done.size())));
            if (long_) {
                QCOMPARE(done.first(), 0);
                QCOMPARE(done.last(), draws);
                QVERIFY(std::is_sorted(done.begin(), done.end()));
            }
        }
    }

    // A whole table typed from the keyboard alone: issue, Enter, numbers, Enter, ...
    void typeFiftyDraws()
    {
        load(6, true, {});
        // With no draw loaded the current cell never changed, so the user clicks into it first.
        QTest::mouseClick(grid->findChild<QTableView *>()->viewport(), Qt::LeftButton, {},
                          QPoint(10, 5));
        QCOMPARE(QApplication::focusWidget(), editor);
        QStringList expected;
        for (int d = 1; d <= 50; ++d) {
            QStringList fields = {QString::number(2026000 + d)};
            for (int k = 0; k < 7; ++k)
                fields << QStringLiteral("%1").arg((d * 7 + k * 5) % 49 + 1, 2, 10,
                                                   QLatin1Char('0'));
            expected << fields.join(u'|');
            type(fields.join(u'\n') + u'\n');
            QCOMPARE(grid->Col(), 0);
            QCOMPARE(grid->Row(), d + 1);
            QCOMPARE(QApplication::focusWidget(), editor);
        }
        QCOMPARE(rows(), expected << QStringLiteral("|||||||"));
    }

    // A failure inside a click handler is emitted, not thrown through the event loop; with
    // nothing connected it is shown in a stop box.
    void handlerErrorsReachTheContainer()
    {
        load(2, false, {"1 11 12"});
        QSignalSpy errors(control.get(), &AppManager::errorOccurred);
        {
            test::MsgBoxRecorder failing;
            failing.onShow = [] { throw RuntimeError(5); };
            click("btnDel");
        }
        QCOMPARE(errors.count(), 1);
        QCOMPARE(errors.at(0).at(0).toInt(), 5);
        QCOMPARE(grid->Rows(), 3);

        AppManager unconnected;
        unconnected.findChild<FlexGrid *>(QStringLiteral("msfData"))->setRow(0);
        test::MsgBoxRecorder boxes; // the question fails, the stop box tells it
        boxes.onShow = [&] {
            if (boxes.shown.size() == 1)
                throw RuntimeError(381);
        };
        unconnected.findChild<QPushButton *>(QStringLiteral("btnDel"))->click();
        QCOMPARE(boxes.shown.size(), 2);
        QCOMPARE(boxes.shown.at(1), QStringLiteral("16|Data Manager|Invalid property array index"));
    }
};

QTEST_MAIN(tst_Editing)
#include "tst_editing.moc"
