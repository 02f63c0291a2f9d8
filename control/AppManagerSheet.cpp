// Keys as a spreadsheet has them, for hosts that switch spreadsheetKeys on.
#include "AppManager_p.h"
#include <qrt/FlexGrid.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>

namespace qrt
{

bool AppManager::spreadsheetKeys() const
{
    return d->sheetKeys;
}

void AppManager::setSpreadsheetKeys(bool on)
{
    d->sheetKeys = on;
    installEventFilter(d.get());
    d->watchWindow();
}

void AppManagerPrivate::watchWindow()
{
    QWidget *window = sheetKeys ? q->window() : nullptr;
    if (window == watchedWindow)
        return;
    // The control itself keeps the filter that follows its parent.
    if (watchedWindow && watchedWindow != q)
        watchedWindow->removeEventFilter(this);
    watchedWindow = window;
    if (window)
        window->installEventFilter(this);
}

int AppManager::currentColumn() const
{
    return d->msfData->Col();
}

void AppManagerPrivate::goToCell(int row, int col)
{
    row = std::clamp(row, 1, std::max(1, msfData->Rows() - 1));
    col = std::clamp(col, 0, msfData->Cols() - 1);
    // Moving to the current cell scrolls it into view and draws no RowColChange.
    msfData->setRow(row);
    msfData->setCol(col);
    ShowEditor();
}

// Through the cells row by row, as Right and Left leave a wholly selected cell: forward from
// a row's last cell to the next row's first, and nowhere from the grid's last cell.
void AppManagerPrivate::stepCell(int step)
{
    const int cols = msfData->Cols();
    const int index = msfData->Row() * cols + msfData->Col() + step;
    if (index < cols || index >= msfData->Rows() * cols)
        goToCell(msfData->Row(), msfData->Col());
    else
        goToCell(index / cols, index % cols);
}

void AppManagerPrivate::extendSelection(int rowStep, int colStep)
{
    msfData->setRowSel(std::clamp(msfData->RowSel() + rowStep, 1, msfData->Rows() - 1));
    msfData->setColSel(std::clamp(msfData->ColSel() + colStep, 0, msfData->Cols() - 1));
}

bool AppManagerPrivate::severalCellsSelected() const
{
    return msfData->Row() != msfData->RowSel() || msfData->Col() != msfData->ColSel();
}

void AppManagerPrivate::copySelection()
{
    const int top = std::min(msfData->Row(), msfData->RowSel());
    const int bottom = std::max(msfData->Row(), msfData->RowSel());
    const int left = std::min(msfData->Col(), msfData->ColSel());
    const int right = std::max(msfData->Col(), msfData->ColSel());
    QString text;
    QString cell;
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            msfData->cellText(r, c, cell);
            text += cell;
            text += c < right ? u'\t' : u'\n';
        }
    }
    QApplication::clipboard()->setText(text);
}

void AppManagerPrivate::clearSelection()
{
    const int top = std::min(msfData->Row(), msfData->RowSel());
    const int bottom = std::max(msfData->Row(), msfData->RowSel());
    const int left = std::min(msfData->Col(), msfData->ColSel());
    const int right = std::max(msfData->Col(), msfData->ColSel());
    QString cell;
    // Cells already empty, the entry row's among them, are left as they are; one undo step
    // brings back the others.
    std::vector<std::pair<int, int>> filled;
    for (int r = top; r <= bottom; ++r) {
        for (int c = left; c <= right; ++c) {
            msfData->cellText(r, c, cell);
            if (!cell.isEmpty())
                filled.emplace_back(r, c);
        }
    }
    if (!filled.empty()) {
        undoStack.beginMacro(QStringLiteral("Clear"));
        for (const auto &[r, c] : filled) {
            msfData->cellText(r, c, cell);
            SetCell(msfData, r, c, QString());
            recordCell(r, c, cell, QString(), false);
        }
        undoStack.endMacro();
        setModified(true);
    }
    ShowEditor();
}

void AppManagerPrivate::leaveControl(bool forward)
{
    QWidget *w = q;
    for (;;) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (w == q)
            return;
        if (!q->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() &&
            w->isEnabled())
            break;
    }
    w->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

void AppManagerPrivate::keepFocusInGrid()
{
    if (sheetKeys && txtEdit->hasFocus())
        msfData->setFocus();
}

bool AppManagerPrivate::sheetKey(QKeyEvent *event, bool inEditor)
{
    const Qt::KeyboardModifiers mods =
        event->modifiers() &
        (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const bool ctrl = mods == Qt::ControlModifier;
    const bool shift = mods == Qt::ShiftModifier;
    const int length = int(txtEdit->text().size());
    const bool whole = !inEditor || selLength() == length;
    // Where Left and Right would leave the cell (the classic key rules).
    const bool atStart = !inEditor || whole || selStart() == 0;
    const bool atEnd = !inEditor || whole || selStart() == length;
    switch (event->key()) {
    case Qt::Key_Tab:
        if (ctrl)
            leaveControl(true);
        else if (!mods)
            stepCell(1);
        else
            return false;
        return true;
    case Qt::Key_Backtab:
        if (mods == (Qt::ControlModifier | Qt::ShiftModifier))
            leaveControl(false);
        else if (shift)
            stepCell(-1);
        else
            return false;
        return true;
    case Qt::Key_Home:
    case Qt::Key_End: {
        const bool home = event->key() == Qt::Key_Home;
        if (ctrl)
            goToCell(home ? 1 : msfData->Rows() - 1, 0);
        else if (!mods && whole)
            goToCell(msfData->Row(), home ? 0 : msfData->Cols() - 1);
        else
            return false;
        return true;
    }
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int step = event->key() == Qt::Key_Up ? -1 : 1;
        if (ctrl)
            goToCell(step < 0 ? 1 : msfData->Rows() - 1, msfData->Col());
        else if (shift)
            extendSelection(step, 0);
        else
            return false;
        return true;
    }
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        if (!shift || !(step < 0 ? atStart : atEnd))
            return false;
        extendSelection(0, step);
        return true;
    }
    default:
        break;
    }
    if (!severalCellsSelected())
        return false;
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        return true;
    }
    if (event->matches(QKeySequence::Cut)) {
        copySelection();
        clearSelection();
        return true;
    }
    if (event->key() == Qt::Key_Delete && !mods) {
        clearSelection();
        return true;
    }
    // Anything typed over a selection starts afresh from its current cell.
    if (!event->text().isEmpty()) {
        msfData->setRowSel(msfData->Row());
        msfData->setColSel(msfData->Col());
    }
    return false;
}

bool AppManagerPrivate::gridKey(QKeyEvent *event)
{
    return sheetKey(event, false) || typeIntoEditor(event);
}

bool AppManagerPrivate::strayKey(QKeyEvent *event)
{
    // Not while a menu or a dialog is up: those keys are theirs, even when they ignore them.
    const QWidget *modal = QApplication::activeModalWidget();
    if (!q->isVisible() || !q->isEnabled() || QApplication::activePopupWidget() ||
        (modal && modal != q->window()))
        return false;
    return typeIntoEditor(event);
}

bool AppManagerPrivate::typeIntoEditor(QKeyEvent *event)
{
    const QString text = event->text();
    const Qt::KeyboardModifiers mods = event->modifiers();
    if (text.isEmpty() || !text.at(0).isPrint() ||
        (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
        return false;
    // Typing never goes nowhere: the editor is opened over the current cell and takes the key.
    mblnRightClick = false;
    goToCell(msfData->Row(), msfData->Col());
    QKeyEvent again(QEvent::KeyPress, event->key(), mods, text, event->isAutoRepeat());
    QApplication::sendEvent(txtEdit, &again);
    return true;
}

} // namespace qrt
