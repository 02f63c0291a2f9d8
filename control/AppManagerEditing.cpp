#include "AppManager_p.h"
#include "KeySynthesis.h"
#include "Twips.h"
#include "modPublic.h"
#include <qrt/FlexGrid.h>
#include <qrt/MsgBox.h>
#include <qrt/RuntimeError.h>

#include <QKeyEvent>
#include <QLineEdit>

namespace qrt
{

namespace
{

// Sets a flag for the length of a scope, and clears it however the scope is left, so that a
// failing grid call cannot leave the editor deaf to typing.
class FlagScope
{
public:
    explicit FlagScope(bool &flag) : m_flag(flag) { m_flag = true; }
    ~FlagScope() { m_flag = false; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
};

enum VirtualKey {
    VkReturn = 13,
    VkSpace = 32,
    VkPageUp = 33,
    VkPageDown = 34,
    VkLeft = 37,
    VkUp = 38,
    VkRight = 39,
    VkDown = 40,
};

} // namespace

// The grid's signals are blocked for the length of the batch; nothing else can reach the grid
// meanwhile, and the current cell changes it counted are answered once at the end.
EditorBatch::EditorBatch(AppManagerPrivate *dd)
    : d(dd), m_changesBefore(dd->msfData->currentCellChanges()),
      m_redrawBefore(dd->msfData->Redraw())
{
    d->msfData->setRedraw(false);
    m_blockedBefore = d->msfData->blockSignals(true);
}

EditorBatch::~EditorBatch()
{
    d->msfData->blockSignals(m_blockedBefore);
    d->msfData->setRedraw(m_redrawBefore);
    auto shows = qint64(d->msfData->currentCellChanges() - m_changesBefore);
    // The first of several ShowEditor calls may only have cleared a right click's flag.
    if (shows > 0 && d->mblnRightClick) {
        d->mblnRightClick = false;
        --shows;
    }
    if (shows > 0)
        d->handle([this] { d->ShowEditor(); });
}

void AppManagerPrivate::rowColChange()
{
    // The row left shows the marks its empty cells held back while it was typed.
    if (markBreaks && msfData->Row() != markedRow) {
        markedRow = msfData->Row();
        msfData->repaintCells();
    }
    handle([this] { ShowEditor(); });
}

void AppManagerPrivate::noteCurrentIssue()
{
    const QString issue = q->currentIssue();
    if (issue == toldIssue)
        return;
    toldIssue = issue;
    Q_EMIT q->currentIssueChanged(issue);
}

int AppManagerPrivate::rowOfIssue(const QString &issue, int last, bool readThrough) const
{
    const int cols = msfData->Cols();
    if (last < 0)
        last = msfData->Rows() - 2; // above the entry row
    QString text;
    auto issueAt = [&](int row) -> const QString & {
        msfData->cellText(row, 0, text);
        return text;
    };
    // Issues rise in a history, so the row is searched for by halving; a grid whose issues do
    // not rise (typed out of order) is read through after that.
    auto before = [](const QString &a, const QString &b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    };
    int low = 1, high = last;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (before(issueAt(mid), issue))
            low = mid + 1;
        else
            high = mid;
    }
    if (low <= last && cols > 0 && issueAt(low) == issue)
        return low;
    for (int r = 1; readThrough && r <= last && cols > 0; ++r)
        if (issueAt(r) == issue)
            return r;
    return -1;
}

QString AppManager::currentIssue() const
{
    const FlexGrid *grid = d->msfData;
    const int row = grid->Row();
    if (row < 1 || row >= grid->Rows() - 1 || grid->Cols() < 1)
        return QString();
    QString issue;
    grid->cellText(row, 0, issue);
    return issue;
}

bool AppManager::goToIssue(const QString &issue)
{
    bool found = false;
    d->handle([&] {
        const int row = d->rowOfIssue(issue);
        if (row < 0)
            return;
        found = true;
        FlexGrid *grid = d->msfData;
        // Moving to the cell already current draws no RowColChange to show the editor.
        const bool there = grid->Row() == row && grid->Col() == 0;
        grid->setTopRow(row);
        grid->setRow(row);
        grid->setCol(0);
        if (there)
            d->ShowEditor();
    });
    return found;
}

bool AppManager::save()
{
    bool saved = false;
    d->handle([&] { saved = d->btnSave_Click(); });
    return saved;
}

int AppManagerPrivate::selStart() const
{
    return txtEdit->hasSelectedText() ? txtEdit->selectionStart() : txtEdit->cursorPosition();
}

int AppManagerPrivate::selLength() const
{
    return txtEdit->selectionLength();
}

void AppManagerPrivate::ShowEditor()
{
    // Every move of the current cell and every change of the rows ends here.
    noteCurrentIssue();
    if (mblnRightClick) {
        mblnRightClick = false;
        return;
    }
    txtEdit->setVisible(true);
    placeEditor();
    txtEdit->raise();
    txtEdit->setFocus();
    {
        FlagScope settingText(mblnSettingText);
        txtEdit->setText(GetCell(msfData, msfData->Row(), msfData->Col()));
    }
    txtEdit->setSelection(0, int(txtEdit->text().size()));
    markEditor();
}

// The editor sits 15 twips left of and 20 above the cell, covering the cell's grid lines.
void AppManagerPrivate::placeEditor()
{
    const TwipsRect r{msfData->CellLeft() + 65, msfData->CellTop() + 180, msfData->CellWidth(),
                      msfData->CellHeight()};
    txtEdit->setGeometry(twipsToPixelsX(r.left, txtEdit), twipsToPixelsY(r.top, txtEdit),
                         twipsToPixelsX(r.width, txtEdit), twipsToPixelsY(r.height, txtEdit));
}

void AppManagerPrivate::MoveCell(qint32 rowStep, qint32 colStep)
{
    qint32 r = checkedAdd(msfData->Row(), rowStep);
    qint32 c = checkedAdd(msfData->Col(), colStep);
    if (r < 1)
        r = 1;
    if (r > msfData->Rows() - 1)
        r = msfData->Rows() - 1;
    if (c < 0)
        c = 0;
    if (c > msfData->Cols() - 1)
        c = msfData->Cols() - 1;
    msfData->setRow(r);
    msfData->setCol(c);
}

void AppManagerPrivate::txtEdit_Change()
{
    if (mblnSettingText)
        return;
    const QString before = msfData->Text();
    const QString after = txtEdit->text();
    msfData->setText(after);
    setModified(true);
    if (msfData->Col() == 0)
        noteCurrentIssue();
    const bool appended = msfData->Row() == msfData->Rows() - 1;
    if (appended)
        msfData->AddItem(QString());
    recordCell(msfData->Row(), msfData->Col(), before, after, appended);
    markEditor();
}

void AppManagerPrivate::txtEdit_KeyDown(int &keyCode)
{
    const int length = int(txtEdit->text().size());
    const bool wholeSelected = selLength() == length;
    switch (keyCode) {
    case VkSpace:
        if (selLength() > 0 && wholeSelected) {
            keyCode = 0;
            mblnSkipKeyPress = true;
            txtEdit->setCursorPosition(length);
            txtEdit->deselect();
        }
        break;
    case VkPageUp:
    case VkPageDown: {
        const int key = keyCode;
        keyCode = 0;
        msfData->setFocus();
        synthesizeKey(key);
        break;
    }
    case VkLeft:
        if (selStart() == 0 || wholeSelected) {
            if (msfData->Col() > 0) {
                keyCode = 0;
                MoveCell(0, -1);
                ShowEditor();
            } else if (msfData->Row() > 1) {
                keyCode = 0;
                MoveCell(-1, msfData->Cols() - 1);
                ShowEditor();
            }
        }
        break;
    case VkUp:
        keyCode = 0;
        MoveCell(-1, 0);
        ShowEditor();
        break;
    case VkRight:
        if (selStart() == length || wholeSelected) {
            if (msfData->Col() < msfData->Cols() - 1) {
                keyCode = 0;
                MoveCell(0, 1);
                ShowEditor();
            } else if (msfData->Row() < msfData->Rows() - 1) {
                keyCode = 0;
                MoveCell(1, 1 - msfData->Cols());
                ShowEditor();
            }
        }
        break;
    case VkDown:
        keyCode = 0;
        MoveCell(1, 0);
        ShowEditor();
        break;
    default:
        break;
    }
}

void AppManagerPrivate::txtEdit_KeyPress(int &keyAscii)
{
    if (mblnSkipKeyPress) {
        keyAscii = 0;
        mblnSkipKeyPress = false;
        return;
    }
    if (keyAscii == VkReturn) {
        keyAscii = 0;
        txtEdit->setSelection(0, int(txtEdit->text().size()));
        synthesizeKey(VkRight);
    }
}

// Qt delivers one key event where the editor's logic expects a key-down followed, for keys
// that produce a character, by a key press; both halves run here in that order.
bool AppManagerPrivate::txtEditKeyEvent(QKeyEvent *event)
{
    const int original = virtualKeyForQtKey(event->key());
    int keyCode = original;
    if (keyCode != 0)
        txtEdit_KeyDown(keyCode);
    const bool keyHandled = original != 0 && keyCode == 0;
    const QString text = event->text();
    if (text.isEmpty())
        return keyHandled;
    int keyAscii = text.at(0).unicode();
    txtEdit_KeyPress(keyAscii);
    if (keyAscii == 0)
        return true;
    if (keyHandled) {
        // The key-down was taken over but its character was not discarded: type it.
        txtEdit->insert(text);
        return true;
    }
    return false;
}

void AppManagerPrivate::msfData_MouseUp(int button)
{
    if (button == 2) {
        mblnRightClick = true;
        keepFocusInGrid();
        txtEdit->setVisible(false);
    }
}

void AppManagerPrivate::msfData_Scroll()
{
    // Insert scrolls the grid on its way to showing the editor on the new row.
    if (!mblnInserting) {
        keepFocusInGrid();
        txtEdit->setVisible(false);
    }
}

void AppManagerPrivate::btnInsert_Click()
{
    if (!(msfData->Row() > 0))
        return;
    FlagScope inserting(mblnInserting);
    msfData->AddItem(QString(), msfData->Row());
    recordInsert(msfData->Row());
    setModified(true);
    msfData->setCol(0);
    ShowEditor();
}

void AppManagerPrivate::btnDel_Click()
{
    int savedRow = msfData->Row();
    const int savedCol = msfData->Col();
    int first = 0;
    int last = 0;
    if (msfData->Row() > msfData->RowSel()) {
        first = msfData->RowSel();
        last = msfData->Row();
        savedRow = msfData->RowSel();
    } else {
        first = msfData->Row();
        last = msfData->RowSel();
    }
    const int count = last - first + 1;
    const QString prompt = LoadMessage(15) + QString::number(count) + LoadMessage(16);
    if (msgBox(prompt, MsgBoxQuestionYesNo, LoadMessage(17)) == MsgBoxNo)
        return;
    // Removing at one index count times, never the last row, is one block removal.
    const int removable = std::min(count, msfData->Rows() - 1 - first);
    if (removable > 0) {
        QUndoCommand *undo = deletion(first, removable);
        msfData->removeRows(first, removable);
        undoStack.push(undo);
        setModified(true);
        marksChanged();
    }
    msfData->setRowSel(msfData->Row());
    msfData->setColSel(msfData->Col());
    msfData->setRow(savedRow);
    msfData->setCol(savedCol);
    ShowEditor();
}

} // namespace qrt
