#include "AppManagerProbe_p.h"
#include "CallLog.h"
#include "RecordingLottery.h"
#include "TestSupport.h"
#include <qrt/AppManager.h>
#include <qrt/FlexGrid.h>
#include <qrt/RuntimeError.h>

#include <QClipboard>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include <optional>

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

    // Runs steps separated by "; " on the draws 1 11 12, 2 21 22 and 3 31 32, message boxes
    // answered Yes unless a step says "answer no". Steps that act: "at r,c" (the current cell),
    // "sel r,c" (the selection's other corner), "type text", "key Ctrl+Z" (named as
    // QKeySequence names keys), "clip text" (onto the clipboard), "click button", "host text"
    // (written by AddItem, as a host writes), "mouse left|right" (a click in the first rows),
    // "undo", "redo", "fresh" (a new control given the same draws). Steps that check: "rows
    // a/b" (every row from 1, cells joined by |), "rowsAt n a/b" (rows from n), "cell r,c text",
    // "cur r,c", "rowSel r", "editor" (over the current cell), "focused" (the editor), "shown b"
    // (the editor), "text t" (the editor's), "caret n" (nothing selected), "clipboard text",
    // "box a/b" (the boxes so far), "painted n" (selected cells), "modified b", "changes n"
    // (modifiedChanged so far), "canUndo b", "canRedo b", "told i,e" (Import and Export
    // clicks), "issue i" (the current one), "issues a/b/" (as told).
    void scripts_data()
    {
        QTest::addColumn<bool>("sheetKeys");
        QTest::addColumn<QString>("script");
        auto add = [](const char *name, bool on, const char *script) {
            QTest::newRow(name) << on << QString::fromUtf8(script);
        };
        // Only the user's own changes count as unsaved work.
        add("typing is a change, the host's writing is not", false,
            "at 1,1; host 1|13|18; modified 0; type 14; modified 1; type 5; changes 1");
        // The current issue follows moves, typing into the issue cell and the entry row.
        add("current issue", false,
            "issue ; at 1,1; issue 1; at 1,0; type 7; issue 7; at 4,0; issue ; issues 1/7//");
        add("Import and Export only tell", false,
            "click btnInput; told 1,0; click btnOutput; told 1,1; modified 0; "
            "rows 1|11|12/2|21|22/3|31|32/||");
        // A right click is not the user's choice of a cell: the editor does not follow it,
        // nor the move made next, but the click after.
        add("right click", false, "mouse right; shown 0; at 1,0; shown 0; mouse left; editor");
        add("Insert is a change", false, "at 1,0; click btnInsert; modified 1");
        add("Delete is a change", false, "at 1,0; click btnDel; modified 1");
        // A block copied from a spreadsheet spreads over the grid from the current cell, each
        // cell written as typing writes it; one undo takes the whole block back.
        add("paste a spreadsheet into the entry row", false,
            "at 4,0; clip 4\t41\t42\r\n5\t51\t52\r\n; key Ctrl+V; rowsAt 4 4|41|42/5|51|52/||; "
            "modified 1; key Ctrl+Z; rows 1|11|12/2|21|22/3|31|32/||; modified 0; key Ctrl+Y; "
            "rowsAt 4 4|41|42/5|51|52/||");
        add("paste draw lines into the middle", false,
            "at 2,1; clip 5 6\n7,8\n; key Ctrl+V; rows 1|11|12/2|5|6/3|7|8/||");
        add("paste wider than the grid", false,
            "at 1,1; clip 91\t92\t93\t94\n; key Ctrl+V; rows 1|91|92/2|21|22/3|31|32/||");
        add("paste skips empty lines", false,
            "at 4,0; clip \n4\t41\t42\n\n\n5\t51\t52; key Ctrl+V; rowsAt 4 4|41|42/5|51|52/||");
        add("paste: a draw file's plus is a cell", false,
            "at 4,0; clip 4 41 + 42\n; key Ctrl+V; rowsAt 4 4|41|+/||");
        add("paste: a draw file's plus skipped", true,
            "at 4,0; clip 4 41 + 42\n; key Ctrl+V; rowsAt 4 4|41|42/||");
        add("paste without tabs or breaks is the editor's", false,
            "at 1,1; clip 7; key Ctrl+V; cell 1,1 7");
        // Typing, Insert and Delete are undone and redone in order, with the keys and with the
        // slots a host's Edit menu calls; back at the load the grid holds no unsaved work, and a
        // new load forgets what could be undone.
        add("undo and redo", false,
            "canUndo 0; at 1,1; type 45; canUndo 1; at 2,1; click btnInsert; at 3,1; sel 4,1; "
            "click btnDel; rows 1|45|12/||/||; undo; rows 1|45|12/||/2|21|22/3|31|32/||; "
            "key Ctrl+Z; rows 1|45|12/2|21|22/3|31|32/||; key Ctrl+Z; cur 1,1; editor; "
            "text 11; canUndo 0; modified 0; key Ctrl+Shift+Z; cell 1,1 45; redo; redo; "
            "rows 1|45|12/||/||; canRedo 0; fresh; canUndo 0");
        add("Insert", false,
            "at 3,2; click btnInsert; rows 1|11|12/2|21|22/||/3|31|32/||; cur 3,0; editor; "
            "at 5,0; click btnInsert; rowsAt 4 3|31|32/||/||; at 0,0; click btnInsert; "
            "rowsAt 4 3|31|32/||/||");
        const char *ask = "box 36|Data Manager|Are you sure of deleting ";
        auto del = [&](const char *name, const char *script) {
            add(name, false, qPrintable(QString::fromUtf8(script).replace(u'#', ask)));
        };
        del("Delete downwards",
            "at 2,1; sel 4,2; click btnDel; #3 lines?; rows 1|11|12/||; cur 2,1; rowSel 2; editor");
        del("Delete upwards",
            "at 4,1; sel 2,2; click btnDel; #3 lines?; rows 1|11|12/||; cur 2,1; rowSel 2; editor");
        del("Delete one row", "at 2,1; sel 2,2; click btnDel; #1 lines?; "
                              "rows 1|11|12/3|31|32/||; cur 2,1; rowSel 2; editor");
        del("Delete the entry row only", "at 4,1; sel 4,2; click btnDel; #1 lines?; rows "
                                         "1|11|12/2|21|22/3|31|32/||; cur 4,1; rowSel 4; editor");
        del("Delete answered no", "answer no; at 1,1; sel 3,2; click btnDel; #3 lines?; rows "
                                  "1|11|12/2|21|22/3|31|32/||; cur 1,1; rowSel 3");
        // Space on a cell's selected text only ends the selection; the next one is typed. On
        // an empty cell a space is typed at once.
        add("Space", false,
            "at 1,1; key Space; text 11; caret 2; key Space; cell 1,1 11 ; at 4,2; key Space; "
            "cell 4,2  ");
        // A block of cells is copied as a spreadsheet pastes it, pasted back, cleared in one
        // undo step and cut; with one cell selected the keys stay the editor's.
        add("selection copied, pasted, cleared and cut", true,
            "at 1,1; key Ctrl+C; clipboard 11; key Shift+Down; key Shift+Left; focused; "
            "key Ctrl+C; clipboard 1\t11\n2\t21\n; painted 4; at 4,0; key Ctrl+V; "
            "rowsAt 4 1|11|/2|21|/||; at 2,1; key Shift+Up; key Shift+Right; key Del; "
            "rowsAt 1 1||/2||; text ; key Ctrl+Z; rowsAt 1 1|11|12/2|21|22; at 3,0; "
            "key Shift+Right; key Ctrl+X; clipboard 3\t31\n; rowsAt 3 ||32; at 2,2; key Del; "
            "cell 2,2 ");
    }
    void scripts()
    {
        QFETCH(bool, sheetKeys);
        QFETCH(QString, script);
        control->setSpreadsheetKeys(sheetKeys);
        load(2, false, {"1 11 12", "2 21 22", "3 31 32"});
        test::MsgBoxRecorder boxes;
        QSignalSpy changes(control.get(), &AppManager::modifiedChanged);
        QSignalSpy issues(control.get(), &AppManager::currentIssueChanged);
        QSignalSpy imports(control.get(), &AppManager::importClicked);
        QSignalSpy exports(control.get(), &AppManager::exportClicked);
        auto flag = [](bool b) { return QString::number(int(b)); };
        auto told = [&] {
            QString out;
            for (const QList<QVariant> &args : std::as_const(issues))
                out += args.at(0).toString() + u'/';
            return out;
        };
        for (const QString &step : script.split(QStringLiteral("; "))) {
            const QString op = step.section(u' ', 0, 0), arg = step.section(u' ', 1);
            const QString first = arg.section(u' ', 0, 0), rest = arg.section(u' ', 1);
            const QPoint at(first.section(u',', 0, 0).toInt(), first.section(u',', 1, 1).toInt());
            const QKeyCombination k = QKeySequence::fromString(arg)[0];
            std::optional<QString> got; // set by the checks
            QString want = arg;
            if (op == u"at")
                grid->setRow(at.x()), grid->setCol(at.y());
            else if (op == u"sel")
                grid->setRowSel(at.x()), grid->setColSel(at.y());
            else if (op == u"type")
                type(arg);
            else if (op == u"key")
                key(k.key(), k.keyboardModifiers());
            else if (op == u"click")
                click(qPrintable(arg));
            else if (op == u"clip")
                QApplication::clipboard()->setText(arg);
            else if (op == u"host")
                control->AddItem(arg, 0);
            else if (op == u"mouse")
                QTest::mouseClick(grid->findChild<QTableView *>()->viewport(),
                                  arg == u"right" ? Qt::RightButton : Qt::LeftButton, {},
                                  QPoint(20, 10));
            else if (op == u"undo")
                control->undo();
            else if (op == u"redo")
                control->redo();
            else if (op == u"answer")
                boxes.answers.push_back(MsgBoxNo);
            else if (op == u"fresh") {
                control = std::make_unique<AppManager>();
                control->InitData(lottery.get());
                grid = control->findChild<FlexGrid *>(QStringLiteral("msfData"));
                editor = control->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
            } else if (op == u"editor")
                verifyEditorOnCurrentCell();
            else if (op == u"rows")
                got = rows().join(u'/');
            else if (op == u"rowsAt")
                got = rows(at.x(), at.x() + int(rest.count(u'/'))).join(u'/'), want = rest;
            else if (op == u"cell")
                got = cell(at.x(), at.y()), want = rest;
            else if (op == u"cur")
                got = QStringLiteral("%1,%2").arg(grid->Row()).arg(grid->Col());
            else if (op == u"rowSel")
                got = QString::number(grid->RowSel());
            else if (op == u"focused")
                got = flag(QApplication::focusWidget() == editor), want = flag(true);
            else if (op == u"text")
                got = editor->text();
            else if (op == u"caret")
                got = QString::number(editor->hasSelectedText() ? -1 : editor->cursorPosition());
            else if (op == u"clipboard")
                got = QApplication::clipboard()->text();
            else if (op == u"box")
                got = boxes.shown.join(u'/');
            else if (op == u"painted")
                got = QString::number(
                    grid->findChild<QTableView *>()->selectionModel()->selectedIndexes().size());
            else if (op == u"modified")
                got = flag(control->isModified());
            else if (op == u"changes")
                got = QString::number(changes.count());
            else if (op == u"canUndo")
                got = flag(control->canUndo());
            else if (op == u"canRedo")
                got = flag(control->canRedo());
            else if (op == u"shown")
                got = flag(editor->isVisible());
            else if (op == u"told")
                got = QStringLiteral("%1,%2").arg(imports.count()).arg(exports.count());
            else if (op == u"issue")
                got = control->currentIssue();
            else if (op == u"issues")
                got = told();
            else
                QFAIL(qPrintable(QStringLiteral("unknown step: ") + step));
            QVERIFY2(!QTest::currentTestFailed(), qPrintable(step));
            QVERIFY2(!got || *got == want,
                     qPrintable(step + QStringLiteral(" -- got: ") + got.value_or(QString())));
        }
    }

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
        row("Down off", false, b, -1, Qt::Key_Down, none, e, e);
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
        // A move shows the editor anew; so do the keys that stay at an edge.
        const bool edge = key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Return;
        if (to != from || (caret < 0 && (on || edge)))
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
        auto add = [](const char *name, bool on, bool bonus, QPoint cell, const char *text,
                      const char *mark) {
            QTest::newRow(name) << on << bonus << cell << QString::fromUtf8(text)
                                << QString::fromUtf8(mark);
        };
        add("off", false, true, {1, 1}, "50", "");
        add("out of range", true, true, {1, 1}, "50", "Basic number is out of range!");
        add("not digits", true, true, {2, 2}, "2x", "Basic numbers should be digits");
        add("repeat in a draw", true, true, {1, 2}, "11", "Existed numbers,please type another!");
        add("no repeats without a bonus", true, false, {1, 2}, "11", "");
        add("issue repeats", true, true, {2, 0}, "1", "Could not repeat the date!");
        add("issue not digits", true, true, {1, 0}, "1a", "The dates should be digits!");
        add("fine", true, true, {1, 1}, "49", "");
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

    // An emptied cell of the row being typed waits to be marked until the user leaves the row.
    void emptyCellMarkedOnceTheRowIsLeft()
    {
        control->setMarkRuleBreaks(true);
        load(2, true, {"1 11 12 +13", "2 21 22 +23"});
        grid->setRow(1);
        grid->setCol(2);
        key(Qt::Key_Backspace);
        const QModelIndex index = grid->findChild<QTableView *>()->model()->index(0, 2);
        QCOMPARE(index.data(Qt::ToolTipRole).toString(), QString());
        QCOMPARE(editor->toolTip(), QString());
        key(Qt::Key_Down);
        QCOMPARE(index.data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Basic numbers should be digits"));
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
