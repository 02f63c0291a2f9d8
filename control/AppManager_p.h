#pragma once

#include "DrawRules.h"
#include "LayoutSteps.h"
#include <qrt/AppManager.h>
#include <qrt/Automation.h>
#include <qrt/RuntimeError.h>

#include <QComboBox>
#include <QPointer>
#include <QUndoStack>

#include <limits>
#include <unordered_map>
#include <vector>

class QFrame;
class QLineEdit;
class QPushButton;
class QKeyEvent;

namespace qrt
{

class CommonDialog;
class FlexGrid;

// Host members, looked up once per class.
namespace members
{
inline const Member TotalNumber("TotalNumber");
inline const Member HasSpecial("HasSpecial");
inline const Member MiniNumber("MiniNumber");
inline const Member MaxNumber("MaxNumber");
inline const Member Count("Count");
inline const Member Item("Item");
inline const Member GetIssue("GetIssue");
inline const Member GetNumber("GetNumber");
inline const Member GetSpecial("GetSpecial");
inline const Member ReadData("ReadData");
inline const Member StartItem("StartItem");
inline const Member EndItem("EndItem");
inline const Member AddItem("AddItem");
inline const Member SaveData("SaveData");
inline const Member SetIssue("SetIssue");
inline const Member SetNumber("SetNumber");
inline const Member OrderNumbers("OrderNumbers");
inline const Member SetSpecial("SetSpecial");
inline const Member QueryRecord("QueryRecord");
inline const Member GetRSSize("GetRSSize");
inline const Member GetRSContent("GetRSContent");
inline const Member AddRecord("AddRecord");
inline const Member EditRecord("EditRecord");
// A second drum, optional: a host without these members has the one-drum lottery.
inline const Member SpecialCount("SpecialCount");
inline const Member SpecialMiniNumber("SpecialMiniNumber");
inline const Member SpecialMaxNumber("SpecialMaxNumber");
inline const Member GetSpecialAt("GetSpecialAt");
inline const Member SetSpecialAt("SetSpecialAt");
} // namespace members

/// The bonus drum as a lottery whose "HasSpecial" equals True declares it.
struct BonusDrum {
    qint32 count = 1;
    /// The bonus numbers have bounds of their own; a bound the host cannot give stays empty.
    bool own = false;
    std::optional<qint32> mini;
    std::optional<qint32> maxi;
};
/// "SpecialCount", 1 when the host has no such member; RuntimeError 380 for anything but 1
/// or 2.
qint32 readSpecialCount(QObject *lottery);
/// The count, "SpecialMiniNumber" and "SpecialMaxNumber".
BonusDrum readBonusDrum(QObject *lottery);

class AppManagerPrivate;

/// Tells a host how far a long job has come through AppManager::progress: nothing for a job
/// of fewer than kProgressRows rows, else at the start, at each further hundredth and at the
/// end.
class ProgressReport
{
public:
    static constexpr int kProgressRows = 10000;
    ProgressReport(AppManager *q, QString what, int total);
    ProgressReport(const ProgressReport &) = delete;
    ProgressReport &operator=(const ProgressReport &) = delete;
    void step(int done)
    {
        if (done >= m_next)
            tell(done);
    }
    /// Reports the end, once; a job cut short by an error reports no end.
    void finish();

private:
    void tell(int done);
    AppManager *m_q;
    QString m_what;
    int m_total;
    int m_next;
    bool m_ended = false;
};

/// 32-bit addition that fails with an overflow error (6) instead of wrapping.
inline qint32 checkedAdd(qint32 a, qint32 b)
{
    qint32 r = 0;
    if (__builtin_add_overflow(a, b, &r))
        throw RuntimeError(6);
    return r;
}

/// Turns the grid's repaints off and collects the editor placements of a bulk change (the
/// load of a lottery), then repaints once and places the editor as the collected RowColChange
/// events would have left it.
class EditorBatch
{
public:
    explicit EditorBatch(AppManagerPrivate *d);
    ~EditorBatch();
    EditorBatch(const EditorBatch &) = delete;
    EditorBatch &operator=(const EditorBatch &) = delete;

private:
    AppManagerPrivate *d;
    quint64 m_changesBefore;
    bool m_redrawBefore;
    bool m_blockedBefore;
};

class AppManagerPrivate : public QObject
{
public:
    explicit AppManagerPrivate(AppManager *q);
    ~AppManagerPrivate() override;

    static AppManagerPrivate *get(AppManager *q) { return q->d.get(); }
    static const AppManagerPrivate *get(const AppManager *q) { return q->d.get(); }

    // Building and layout (AppManagerLayout.cpp).
    void createChildren();
    void UserControl_Resize();
    void applyBoxes();
    float scaleWidth() const;
    float scaleHeight() const;

    // Cell access.
    QString GetCell(FlexGrid *grid, qint32 row, qint32 column) const;
    void SetCell(FlexGrid *grid, qint32 row, qint32 column, QStringView text);
    /// GetCell into a reused buffer, for loops over many cells.
    void GetCellInto(FlexGrid *grid, qint32 row, qint32 column, QString &out) const;
    /// Appends PadString(text of @p value, "0", 2, True), writing whole numbers directly.
    static void appendPadded(QString &out, const QVariant &value);
    /// The padded text of a number getter's result: a whole number lands in a small buffer,
    /// without a QVariant or a string; anything else in a string.
    struct PaddedText {
        char16_t digits[12];
        qsizetype size = 0; // of digits, when the result was a whole number
        QString other;
        QVariant boxed; // kept, so that a whole number costs no QVariant made and destroyed
        bool whole = false;
        QStringView view() const { return whole ? QStringView(digits, size) : QStringView(other); }
        /// Whether a cell kept as single bytes already reads so.
        bool sameAs(const char *bytes, qsizetype length) const;
    };
    /// Calls @p getter, with @p arg when there is one, into @p out.
    static void padGetter(PaddedText &out, const Member &getter, QObject *obj,
                          std::optional<qint32> arg = std::nullopt);

    // Editing (AppManagerEditing.cpp).
    void ShowEditor();
    void placeEditor();
    void MoveCell(qint32 rowStep, qint32 colStep);
    void txtEdit_Change();
    void txtEdit_KeyDown(int &keyCode);
    void txtEdit_KeyPress(int &keyAscii);
    bool txtEditKeyEvent(QKeyEvent *event);
    void msfData_MouseUp(int button);
    void msfData_Scroll();
    void btnInsert_Click();
    void btnDel_Click();
    int selStart() const;
    int selLength() const;

    // Validation (AppManagerValidation.cpp).
    /// What the rules need of the lottery as it is now; throws when the host cannot say.
    DrawLimits readLimits() const;
    bool ValidateData();
    void btnDataValidate_Click();

    // Saving and files (AppManagerSaving.cpp).
    /// False when validation stopped it or there was nothing to save.
    bool btnSave_Click();
    void FillIssueLists();
    static std::optional<qint32> plainNumber(const char *bytes, qsizetype size);
    void btnOpenFile_Click();
    static QString GetFolderPath(const QString &strFile);

    // Runs an input handler; a failure goes to errorOccurred (or a message box) instead of
    // through the event loop.
    template <typename F> void handle(F &&f)
    {
        try {
            f();
        } catch (const RuntimeError &e) {
            report(e.number(), e.description());
        } catch (const std::exception &e) {
            report(440, QString::fromUtf8(e.what()));
        }
    }
    void report(int number, const QString &description);
    void setModified(bool modified);

    // Undo, redo and block paste (AppManagerUndo.cpp). Every change is recorded after it is
    // made.
    void recordCell(int row, int col, const QString &before, const QString &after, bool appended);
    void recordInsert(int row);
    /// Keeps the texts of the rows about to be deleted; push it once they are.
    QUndoCommand *deletion(int first, int count);
    void afterUndoRedo(int row, int col);
    void resetUndo();
    // Narrows the untouched rows: a change of grid rows @p first to @p last, as they stand now.
    void touchRows(int first, int last);
    bool pasteBlock(const QString &text);
    bool editorShortcut(QKeyEvent *event);

    bool eventFilter(QObject *watched, QEvent *event) override;

    // Spreadsheet keys (AppManagerSheet.cpp), taken only while spreadsheetKeys is on.
    /// A key for the editor (@p inEditor) or for the grid; true when it was taken.
    bool sheetKey(QKeyEvent *event, bool inEditor);
    /// A key that reached the grid's view rather than the editor.
    bool gridKey(QKeyEvent *event);
    /// A key that no widget of the control's window took (a button had the focus, or the
    /// menu bar after a menu was closed by Escape); true when it was typed into the editor.
    bool strayKey(QKeyEvent *event);
    /// Opens the editor over the current cell and types a printable key there; false for
    /// other keys.
    bool typeIntoEditor(QKeyEvent *event);
    /// Follows the window the control is in, whose unhandled keys are looked at.
    void watchWindow();
    void goToCell(int row, int col);
    void stepCell(int step);
    void extendSelection(int rowStep, int colStep);
    bool severalCellsSelected() const;
    void copySelection();
    void clearSelection();
    void leaveControl(bool forward);
    /// The editor lost the grid's cell under it to a scroll: the grid takes the focus, so that
    /// typing still reaches the control.
    void keepFocusInGrid();

    // Marks of broken rules (AppManagerMarks.cpp), kept only while markRuleBreaks is on.
    /// The message number the cell breaks, 0 for none; rows are judged when first asked for.
    int ruleBreakAt(int row, int col);
    /// Forgets the judged rows a change may have touched (cell @p col of @p row, or with no
    /// cell given every row) and repaints the cells in view.
    void marksChanged(int row = 0, int col = -1);
    void markEditor();

    // Releases an object that the control created: deleted unless a host took it over by
    // parenting it.
    static void releaseCreated(QPointer<QObject> &field);

    AppManager *q;

    QPointer<QObject> mobjLottery;
    QPointer<QObject> mobjLotterys;
    bool mblnSettingText = false;
    bool mblnSkipKeyPress = false;
    bool mblnRightClick = false;
    bool mblnInserting = false;
    QPointer<QObject> mobjStore;
    bool mblnLoaded = false;
    bool modified = false;
    QUndoStack undoStack;
    // Draw rows above and below every change since the last load or save.
    int untouchedAbove = std::numeric_limits<int>::max();
    int untouchedBelow = std::numeric_limits<int>::max();
    QPointer<QComboBox> mcblStart;
    QPointer<QComboBox> mcblEnd;

    QWidget *picContainer[4] = {};
    QPushButton *btnInput = nullptr;
    QPushButton *btnOutput = nullptr;
    QPushButton *btnSave = nullptr;
    QPushButton *btnInsert = nullptr;
    QPushButton *btnDel = nullptr;
    QPushButton *btnOpenFile = nullptr;
    QPushButton *btnDataValidate = nullptr;
    QFrame *frameContainer = nullptr;
    FlexGrid *msfData = nullptr;
    QLineEdit *txtEdit = nullptr;
    CommonDialog *dlgOpenSave = nullptr;

    void rowColChange();
    /// Emits currentIssueChanged when the current row's issue is no longer the one last told.
    void noteCurrentIssue();
    /// The first row holding @p issue from row 1 to @p last (-1: the row above the entry row),
    /// or -1. Found by halving where the issues rise; @p readThrough reads every row when
    /// halving finds none.
    int rowOfIssue(const QString &issue, int last = -1, bool readThrough = true) const;
    QString toldIssue;

    bool sheetKeys = false;
    QPointer<QWidget> watchedWindow;
    bool markBreaks = false;
    int markedRow = -1;                   // the current row when the marks were last painted
    std::optional<DrawLimits> markLimits; // read with the first row judged after a change
    bool markLimitsFailed = false;
    std::unordered_map<int, std::vector<quint8>> judgedRows;
    int editorMark = 0; // the message shown on the editor, 0 for none

    LayoutBoxes boxes;
    int layoutSteps = 0; // steps completed by the last layout, for tests
};

} // namespace qrt
