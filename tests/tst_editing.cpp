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

using namespace qrt;
using namespace qrt::doubles;

class tst_Editing : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppManager> control;
    std::unique_ptr<RecordingLottery> lottery;
    std::unique_ptr<QWidget> host; // a window the control is embedded in, when a test needs one
    FlexGrid *grid = nullptr;
    QTableView *view = nullptr;
    QLineEdit *editor = nullptr;

    void fresh()
    {
        control = std::make_unique<AppManager>(host.get());
        control->resize(800, 600);
        grid = control->findChild<FlexGrid *>(QStringLiteral("msfData"));
        view = grid->findChild<QTableView *>();
        editor = control->findChild<QLineEdit *>(QStringLiteral("txtEdit"));
    }

    void load(int total, bool bonus, const QStringList &draws)
    {
        lottery.reset(RecordingLottery::make(total, 1, 49, bonus, draws));
        control->InitData(lottery.get());
        QWidget *window = host ? host.get() : control.get();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    // n draws of two numbers: 1 11 12, 2 21 22, 3 31 32, 4 41 42, 5 1 2, 6 11 12, ..., with a
    // bonus 1 11 12 +13, 2 21 22 +23, ...
    static QStringList draws(int n, bool bonus = false)
    {
        QStringList out;
        for (int i = 1; i <= n; ++i)
            out << QStringLiteral("%1 %2 %3").arg(i).arg(i % 5 * 10 + 1).arg(i % 5 * 10 + 2) +
                       (bonus ? QStringLiteral(" +%1").arg(i % 5 * 10 + 3) : QString());
        return out;
    }

    // Puts the control in a window with a button after it.
    void embed()
    {
        host = std::make_unique<QWidget>();
        host->resize(900, 700);
        control->setParent(host.get());
        auto *button = new QPushButton(QStringLiteral("after"), host.get());
        button->setObjectName(QStringLiteral("host"));
        button->move(0, 650);
    }

    // Lets the synthesised keys arrive.
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    // A key named as QKeySequence names it: "Ctrl+Z", "Shift+Backtab", "Down".
    static void key(const QString &name)
    {
        const QKeyCombination k = QKeySequence::fromString(name)[0];
        QTest::keyClick(QApplication::focusWidget(), k.key(), k.keyboardModifiers());
        settle();
    }

    // Types text, a line break as Enter and \b as Backspace.
    static void type(const QString &text)
    {
        for (QChar c : text)
            key(c == u'\n'   ? QStringLiteral("Return")
                : c == u'\b' ? QStringLiteral("Backspace")
                             : QString(c));
    }

    QString cell(int r, int c) const { return grid->TextArray(r * grid->Cols() + c); }
    // Rows from..to, the entry row included.
    QStringList rows(int from = 1, int to = -1) const { return test::gridRows(*grid, from, to); }

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
        fresh();
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
    // "sel r,c" (the selection's other corner), "caret n" (in the editor), "type text", "key
    // Ctrl+Z" (named as QKeySequence names keys), "clip text" (onto the clipboard), "click
    // button", "host text" (written by AddItem, as a host writes), "mouse left|right" (a click
    // in the first rows), "undo", "redo", "load
    // n" (a new control given n draws, as draws() makes them, without the checks' signals),
    // "embed" (a host window with a button "host" to load the control into), "focus w" (a
    // widget of the window by name), "scroll" (the scroll bar to its end), "editor" (verified
    // over the current cell). Steps that check what follows them: "rows a/b" (every row from
    // 1, cells joined by |), "rowsAt n a/b" (rows from n), "same" (the rows as loaded), "cell
    // r,c text", "cur r,c" (the current cell, "r,c~r,c" with the selection's other corner),
    // "top n" (the top row's distance to the current), "paged b" (the current row a visible
    // page below the first), "focused w" (by name), "shown b" (the editor), "text t" (the
    // editor's), "clipboard text", "box a/b" (the boxes so far), "painted n" (selected cells),
    // "modified b", "changes n" (modifiedChanged so far), "canUndo b", "canRedo b", "told i,e"
    // (Import and Export clicks), "issue i" (the current one), "issues a/b" (as told), "goto i
    // b" (goToIssue).
    void scripts_data()
    {
        QTest::addColumn<bool>("sheetKeys");
        QTest::addColumn<QString>("script");
        auto add = [](const char *name, bool on, const char *script) {
            QTest::newRow(name) << on << QString::fromUtf8(script);
        };
        // Only the user's own changes count as unsaved work; showing the editor writes nothing.
        add("typing is a change, the host's writing is not", false,
            "at 1,1; host 1|13|18; modified 0; type 14; modified 1; type 5; changes 1");
        // The current issue follows moves, typing into the issue cell and the entry row.
        add("current issue", false,
            "issue ; at 1,1; issue 1; at 1,0; type 7; issue 7; at 4,0; issue ; issues 1/7/");
        // Issues are found by halving, and by reading through when they do not rise; a missing
        // one moves nothing.
        add("go to an issue", false,
            "goto 5 0; goto  0; cur 4,0; issues ; goto 1 1; cur 1,0; editor; goto 3 1; cur 3,0; "
            "editor; goto 2 1; cur 2,0; issues 1/3/2; at 1,0; type 9; at 4,0; goto 2 1; cur 2,0");
        add("Import and Export only tell, Insert and Delete are changes", false,
            "click btnInput; told 1,0; click btnOutput; told 1,1; modified 0; "
            "rows 1|11|12/2|21|22/3|31|32/||; at 1,0; click btnInsert; modified 1; undo; "
            "modified 0; click btnDel; modified 1");
        // A right click is not the user's choice of a cell: the editor does not follow it,
        // nor the move made next, but the click after; the focus stays in the grid.
        add("right click", false,
            "mouse right; cur 4,0; shown 0; focused msfDataView; at 1,0; shown 0; mouse left; "
            "editor");
        // A whole table typed from the keyboard alone: issue, Enter, numbers, Enter, ... With
        // no draw loaded the current cell never changed, so the user clicks into it first.
        add("typed from the keyboard", false,
            "load 0; mouse left; focused txtEdit; type 4\n41\n42\n5\n51\n52\n; cur 3,0; "
            "focused txtEdit; rows 4|41|42/5|51|52/||");
        // A block copied from a spreadsheet spreads over the grid from the current cell, each
        // cell written as typing writes it, empty lines skipped; one undo takes the whole block
        // back.
        add("paste a spreadsheet into the entry row", false,
            "at 4,0; clip \n4\t41\t42\r\n\n\n5\t51\t52\r\n; key Ctrl+V; modified 1; "
            "rowsAt 4 4|41|42/5|51|52/||; key Ctrl+Z; rows 1|11|12/2|21|22/3|31|32/||; "
            "modified 0; key Ctrl+Y; rowsAt 4 4|41|42/5|51|52/||");
        add("paste draw lines wider than the grid, a plus, and a word", false,
            "at 2,1; clip 5 6 9\n7,8; key Ctrl+V; rows 1|11|12/2|5|6/3|7|8/||; at 4,0; "
            "clip 4 41 + 42\n; key Ctrl+V; rowsAt 4 4|41|+/||; at 1,1; clip 7; key Ctrl+V; "
            "cell 1,1 7");
        add("paste: a draw file's plus skipped", true,
            "at 4,0; clip 4 41 + 42\n; key Ctrl+V; rowsAt 4 4|41|42/||");
        // Typing, Insert and Delete are undone and redone in order, with the keys and with the
        // slots a host's Edit menu calls; back at the load the grid holds no unsaved work, and a
        // new load forgets what could be undone.
        add("undo and redo", false,
            "canUndo 0; at 1,1; type 45; canUndo 1; at 2,1; click btnInsert; at 3,1; sel 4,1; "
            "click btnDel; rows 1|45|12/||/||; undo; rows 1|45|12/||/2|21|22/3|31|32/||; "
            "key Ctrl+Z; rows 1|45|12/2|21|22/3|31|32/||; key Ctrl+Z; cur 1,1; editor; "
            "text 11; canUndo 0; modified 0; key Ctrl+Shift+Z; cell 1,1 45; redo; redo; "
            "rows 1|45|12/||/||; canRedo 0; load 3; canUndo 0");
        add("Insert", false,
            "at 3,2; click btnInsert; rows 1|11|12/2|21|22/||/3|31|32/||; cur 3,0; editor; "
            "at 5,0; click btnInsert; rowsAt 4 3|31|32/||/||; at 0,0; click btnInsert; "
            "rowsAt 4 3|31|32/||/||");
        const char *ask = "box 36|Data Manager|Are you sure of deleting ";
        auto del = [&](const char *name, const char *script) {
            add(name, false, qPrintable(QString::fromUtf8(script).replace(u'#', ask)));
        };
        del("Delete downwards",
            "at 2,1; sel 4,2; click btnDel; #3 lines?; rows 1|11|12/||; cur 2,1; editor");
        del("Delete upwards",
            "at 4,1; sel 2,2; click btnDel; #3 lines?; rows 1|11|12/||; cur 2,1; editor");
        del("Delete one row", "at 2,1; sel 2,2; click btnDel; #1 lines?; "
                              "rows 1|11|12/3|31|32/||; cur 2,1; editor");
        del("Delete the entry row only", "at 4,1; sel 4,2; click btnDel; #1 lines?; rows "
                                         "1|11|12/2|21|22/3|31|32/||; cur 4,1; editor");
        del("Delete answered no", "answer no; at 1,1; sel 3,2; click btnDel; #3 lines?; rows "
                                  "1|11|12/2|21|22/3|31|32/||; cur 1,1~3,2");
        // A failure inside a click handler with nothing connected to errorOccurred is shown in
        // a stop box (tst_hosted sees it emitted when a host listens).
        del("a failure without a listener",
            "at 0,0; fail; click btnDel; #1 lines?/16|Data Manager|Invalid property array index");
        // Space on a cell's selected text only ends the selection; the next one is typed. On
        // an empty cell a space is typed at once.
        add("Space", false,
            "at 1,1; key Space; text 11; key Space; cell 1,1 11 ; at 4,2; key Space; cell 4,2  ");
        // A block of cells is copied as a spreadsheet pastes it, pasted back, cleared in one
        // undo step and cut; with one cell selected the keys stay the editor's.
        add("selection copied, pasted, cleared and cut", true,
            "at 1,1; key Ctrl+C; clipboard 11; key Shift+Down; key Shift+Left; focused txtEdit; "
            "key Ctrl+C; clipboard 1\t11\n2\t21\n; painted 4; at 4,0; key Ctrl+V; "
            "rowsAt 4 1|11|/2|21|/||; at 2,1; key Shift+Up; key Shift+Right; key Del; "
            "rowsAt 1 1||/2||; text ; key Ctrl+Z; rowsAt 1 1|11|12/2|21|22; at 3,0; "
            "key Shift+Right; key Ctrl+X; clipboard 3\t31\n; rowsAt 3 ||32; at 2,2; key Del; "
            "cell 2,2 ");
        // Each key with spreadsheet keys off (the classic key rules) and on: where it leaves
        // the current cell and the selection, writing nothing; a move shows the editor anew,
        // and so do the keys that stay at an edge.
        add("Enter and Right, off", false,
            "at 1,0; key Return; cur 1,1; editor; key Shift+Right; cur 1,2; editor; key Return; "
            "cur 2,0; editor; at 1,2; caret 2; key Shift+Right; cur 2,0; editor; at 4,2; "
            "key Return; cur 4,2; same; editor");
        add("Left, off", false,
            "at 3,0; caret 1; key Left; cur 3,0; caret 0; key Left; cur 2,2; editor; at 1,0; "
            "caret 0; key Left; cur 1,0; same");
        add("Up and Down, off", false,
            "at 1,1; key Up; cur 1,1; editor; key Down; cur 2,1; editor; key Ctrl+Down; cur 3,1; "
            "editor; key Ctrl+Up; cur 2,1; editor; key Shift+Down; cur 3,1; editor; key Down; "
            "cur 4,1; key Down; cur 4,1; same; editor");
        add("Home and Tab, off", false,
            "at 2,2; key Ctrl+Home; cur 2,2; key Home; cur 2,2; at 1,0; key Tab; cur 1,0; same");
        add("Tab", true,
            "at 1,1; key Tab; cur 1,2; editor; key Tab; cur 2,0; editor; key Shift+Backtab; "
            "cur 1,2; editor; at 1,0; key Shift+Backtab; cur 1,0; editor; at 4,2; key Tab; "
            "cur 4,2; same; editor");
        add("Home and End", true,
            "at 3,2; caret 1; key Home; cur 3,2; at 2,2; key Home; cur 2,0; editor; key End; "
            "cur 2,2; editor; key Ctrl+Home; cur 1,0; editor; at 1,1; key Ctrl+End; cur 4,0; "
            "same; editor");
        add("Ctrl+Up and Ctrl+Down", true,
            "at 3,1; key Ctrl+Up; cur 1,1; editor; key Ctrl+Down; cur 4,1; same; editor");
        add("Shift", true,
            "at 2,1; caret 1; key Shift+Left; cur 2,1; at 1,1; key Shift+Down; cur 1,1~2,1; "
            "editor; at 1,0; key Shift+Right; cur 1,0~1,1; editor; at 2,1; key Shift+Left; "
            "cur 2,1~2,0; same; editor");
        // A cell breaking a rule is marked as it is typed (an emptied one once the user leaves
        // the row), with the message Check gives for it, painted, on that cell alone; Check
        // still shows that message and stops on that cell. Draws 1 11 12 +13 and 2 21 22 +23.
        auto mark = [&](const char *name, const char *script, const char *message) {
            QString steps = QStringLiteral("load 2+; marks; ") + QString::fromUtf8(script);
            steps.replace(QStringLiteral("check #"), QStringLiteral("check Data Errors|#"));
            add(name, false, qPrintable(steps.replace(u'#', QString::fromUtf8(message))));
        };
        mark("out of range", "at 1,1; type 50; tip #; key Down; marked 1 1=#; check #; cur 1,1",
             "Basic number is out of range!");
        mark("issue repeats", "at 2,0; type 1; tip #; key Up; marked 2 0=#; check #; cur 2,0",
             "Could not repeat the date!");
        mark("emptied", "at 1,2; type \b; tip ; marked 1; key Down; marked 1 2=#; check #; cur 1,2",
             "Basic numbers should be digits");
        const QString ok = QStringLiteral("check Data Manager|Curren data have no errors!");
        mark("fine", qPrintable("at 1,1; type 49; tip ; key Down; marked 1; " + ok), "");
        add("no repeats without a bonus", false,
            qPrintable("load 2; marks; at 1,2; type 11; tip ; key Down; marked 1; " + ok));
        add("marks off", false,
            "load 2+; at 1,1; type 50; tip ; key Down; marked 1; check "
            "Data Errors|Basic number is out of range!; cur 1,1");
        // Page Down and Page Up move by the visible page and bring the editor back on the new
        // current row, scrolled to the top; Page Up in the first rows changes nothing: the
        // editor stays, the focus is the grid's.
        add("Page Down and Page Up", false,
            "load 200; at 1,0; editor; key PgDown; paged 1; top 0; editor; key PgUp; cur 1,0; "
            "editor; key PgUp; cur 1,0; shown 1; focused msfDataView");
        // Ctrl+Tab leaves the grid for the host's next widget.
        add("Ctrl+Tab", true, "embed; load 1; at 1,0; focused txtEdit; key Ctrl+Tab; focused host");
        // A character typed while the grid, the control or its host holds the focus reaches
        // the editor over the current cell, scrolled into view; with spreadsheet keys off the
        // grid takes no text.
        add("a character to the grid or a host's button, off", false,
            "embed; load 200; at 5,1; focus host; type 7; cell 5,1 01; focus msfDataView; type 7; "
            "cell 5,1 01; focused msfDataView");
        add("a character to the grid, and after a scroll", true,
            "load 200; at 5,1; focus msfDataView; type 7; cell 5,1 7; focused txtEdit; shown 1; "
            "type 3; cell 5,1 73; at 6,1; scroll; shown 0; focused msfDataView; type 7; "
            "cell 6,1 7; focused txtEdit; shown 1; top 0; type 3; cell 6,1 73");
        add("a character to a host's button or a button of the control", true,
            "embed; load 200; at 5,1; focus host; type 7; cell 5,1 7; focused txtEdit; type 3; "
            "cell 5,1 73; at 6,1; focus btnInsert; type 7; cell 6,1 7; focused txtEdit; type 3; "
            "cell 6,1 73");
    }
    void scripts()
    {
        QFETCH(bool, sheetKeys);
        QFETCH(QString, script);
        control->setSpreadsheetKeys(sheetKeys);
        load(2, false, draws(3));
        test::MsgBoxRecorder boxes;
        QSignalSpy changes(control.get(), &AppManager::modifiedChanged);
        QStringList told; // the issues currentIssueChanged told
        connect(control.get(), &AppManager::currentIssueChanged,
                [&](const QString &i) { told << i; });
        QSignalSpy imports(control.get(), &AppManager::importClicked);
        QSignalSpy exports(control.get(), &AppManager::exportClicked);
        const QStringList loaded = rows();
        auto corner = [](int r, int c, int rs, int cs) {
            const QString at = QStringLiteral("%1,%2").arg(r).arg(c);
            return r == rs && c == cs ? at : at + QStringLiteral("~%1,%2").arg(rs).arg(cs);
        };
        QString arg, first; // the step's argument, and its first word
        QPoint at;          // the first word as r,c
        auto flag = [](bool b) { return QString::number(int(b)); };
        const QColor pinkMark(255, 205, 205);
        const QHash<QString, std::function<void()>> acts{
            {"at", [&] { grid->setRow(at.x()), grid->setCol(at.y()); }},
            {"sel", [&] { grid->setRowSel(at.x()), grid->setColSel(at.y()); }},
            {"type", [&] { type(arg); }},
            {"key", [&] { key(arg); }},
            {"click", [&] { click(qPrintable(arg)); }},
            {"clip", [&] { QApplication::clipboard()->setText(arg); }},
            {"host", [&] { control->AddItem(arg, 0); }},
            {"mouse",
             [&] {
                 QTest::mouseClick(view->viewport(),
                                   arg == u"right" ? Qt::RightButton : Qt::LeftButton, {},
                                   QPoint(20, 10));
             }},
            {"undo", [&] { control->undo(); }},
            {"redo", [&] { control->redo(); }},
            {"answer", [&] { boxes.answers.push_back(MsgBoxNo); }},
            {"fail",
             [&] {
                 boxes.onShow = [&] {
                     if (boxes.shown.size() == 1) // the first box fails
                         throw RuntimeError(381);
                 };
             }},
            {"load",
             [&] {
                 fresh();
                 control->setSpreadsheetKeys(sheetKeys);
                 load(2, arg.endsWith(u'+'),
                      draws(QString(first).remove(u'+').toInt(), arg.endsWith(u'+')));
             }},
            {"embed", [&] { embed(); }},
            {"focus", [&] { control->window()->findChild<QWidget *>(arg)->setFocus(); }},
            {"scroll",
             [&] {
                 view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
                 settle();
             }},
            {"editor", [&] { verifyEditorOnCurrentCell(); }},
            {"caret", [&] { editor->setCursorPosition(arg.toInt()); }},
            {"marks", [&] { control->setMarkRuleBreaks(true); }},
        };
        const QHash<QString, std::function<QString()>> checks{
            {"rows", [&] { return rows().join(u'/'); }},
            {"rowsAt",
             [&] {
                 const int last = at.x() + int(arg.count(u'/'));
                 return first + u' ' + rows(at.x(), last).join(u'/');
             }},
            {"cell", [&] { return first + u' ' + cell(at.x(), at.y()); }},
            {"cur",
             [&] { return corner(grid->Row(), grid->Col(), grid->RowSel(), grid->ColSel()); }},
            {"same", [&] { return rows() == loaded ? QString() : rows().join(u'/'); }},
            {"top", [&] { return QString::number(grid->TopRow() - grid->Row()); }},
            {"paged",
             [&] {
                 return flag(grid->Row() - 1 ==
                             view->viewport()->height() * 15 / int(grid->CellHeight()));
             }},
            {"focused", [&] { return QApplication::focusWidget()->objectName(); }},
            {"shown", [&] { return flag(editor->isVisible()); }},
            {"text", [&] { return editor->text(); }},
            {"clipboard", [&] { return QApplication::clipboard()->text(); }},
            {"box", [&] { return boxes.shown.join(u'/'); }},
            {"painted",
             [&] { return QString::number(view->selectionModel()->selectedIndexes().size()); }},
            {"modified", [&] { return flag(control->isModified()); }},
            {"changes", [&] { return QString::number(changes.count()); }},
            {"canUndo", [&] { return flag(control->canUndo()); }},
            {"canRedo", [&] { return flag(control->canRedo()); }},
            {"told",
             [&] { return QStringLiteral("%1,%2").arg(imports.count()).arg(exports.count()); }},
            {"issue", [&] { return control->currentIssue(); }},
            {"tip", [&] { return editor->toolTip(); }},
            {"marked",
             [&] {
                 const QImage shot = view->viewport()->grab().toImage();
                 QString out = first;
                 for (int c = 0; c < grid->Cols(); ++c) {
                     const QModelIndex i = view->model()->index(at.x() - 1, c);
                     const QRect r = view->visualRect(i);
                     const QString tip = i.data(Qt::ToolTipRole).toString();
                     const bool pink = shot.pixelColor(r.left() + 2, r.bottom() - 2) == pinkMark;
                     if (pink || !tip.isEmpty())
                         out +=
                             QStringLiteral(" %1=%2%3").arg(c).arg(tip, pink ? "" : " unpainted");
                 }
                 return out;
             }},
            {"check",
             [&] {
                 click("btnDataValidate");
                 return boxes.shown.last().section(u'|', 1);
             }},
            {"issues", [&] { return told.join(u'/'); }},
            {"goto", [&] { return first + u' ' + flag(control->goToIssue(first)); }},
        };
        for (const QString &step : script.split(QStringLiteral("; "))) {
            const QString op = step.section(u' ', 0, 0);
            arg = step.section(u' ', 1), first = arg.section(u' ', 0, 0);
            at = QPoint(first.section(u',', 0, 0).toInt(), first.section(u',', 1, 1).toInt());
            QVERIFY2(acts.contains(op) || checks.contains(op), qPrintable(step));
            const QString got = acts.contains(op) ? (acts[op](), arg) : checks[op]();
            QVERIFY2(!QTest::currentTestFailed(), qPrintable(step));
            QVERIFY2(got == arg, qPrintable(step + QStringLiteral(" -- got: ") + got));
        }
    }

    // Loading and checking tell how far they have come, from nothing to the whole, a bounded
    // number of times; short jobs tell nothing.
    void progressOfLongJobs()
    {
        for (int count : {500, 12000}) {
            fresh();
            QSignalSpy told(control.get(), &AppManager::progress);
            load(2, false, draws(count));
            test::MsgBoxRecorder boxes;
            click("btnDataValidate");
            QCOMPARE(boxes.shown.size(), 1);
            for (const char *what : {"Loading...", "Checking..."}) {
                QList<int> done;
                for (const QList<QVariant> &args : std::as_const(told))
                    if (args.at(0).toString() == QLatin1String(what))
                        done << (args.at(2).toInt() == count ? args.at(1).toInt() : -1);
                QVERIFY2(count < 10000
                             ? done.isEmpty()
                             : done.size() >= 3 && done.size() <= 101 && done.first() == 0 &&
                                   done.last() == count && std::is_sorted(done.begin(), done.end()),
                         qPrintable(QStringLiteral("%1 %2").arg(what).arg(done.size())));
            }
        }
    }
};

QTEST_MAIN(tst_Editing)
#include "tst_editing.moc"
