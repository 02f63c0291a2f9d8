// Undo and redo of the user's changes to the grid, and block paste, which is one such change.
#include "AppManager_p.h"
#include <qrt/FlexGrid.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QUndoCommand>

#include <algorithm>

namespace qrt
{

namespace
{

// Commands are pushed after their change is made, as the user made it: the first redo,
// which QUndoStack runs on a push, has nothing to do.
class GridCommand : public QUndoCommand
{
public:
    explicit GridCommand(AppManagerPrivate *d) : d(d) {}
    void redo() final
    {
        if (m_done) {
            m_done = false;
            return;
        }
        apply(true);
        // A command may span rows below its first: everything from there down counts.
        d->touchRows(row(), d->msfData->Rows() - 1);
        d->afterUndoRedo(row(), col());
    }
    void undo() final
    {
        apply(false);
        d->touchRows(row(), d->msfData->Rows() - 1);
        d->afterUndoRedo(row(), col());
    }

protected:
    virtual void apply(bool forward) = 0;
    virtual int row() const = 0;
    virtual int col() const { return 0; }
    FlexGrid *grid() const { return d->msfData; }
    AppManagerPrivate *d;

private:
    bool m_done = true;
};

// One cell, typed or pasted; typing on in the same cell adds to the same command. A cell
// written in the entry row appended a new entry row, which undo takes away again.
class CellCommand : public GridCommand
{
public:
    CellCommand(AppManagerPrivate *d, int row, int col, QString before, QString after,
                bool appended)
        : GridCommand(d), m_row(row), m_col(col), m_before(std::move(before)),
          m_after(std::move(after)), m_appended(appended)
    {
    }
    int id() const override { return 1; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *o = static_cast<const CellCommand *>(other);
        if (o->m_row != m_row || o->m_col != m_col)
            return false;
        m_after = o->m_after;
        m_appended = m_appended || o->m_appended;
        return true;
    }

private:
    void apply(bool forward) override
    {
        if (!forward && m_appended)
            grid()->RemoveItem(grid()->Rows() - 1);
        d->SetCell(grid(), m_row, m_col, forward ? m_after : m_before);
        if (forward && m_appended)
            grid()->AddItem(QString());
    }
    int row() const override { return m_row; }
    int col() const override { return m_col; }

    int m_row;
    int m_col;
    QString m_before;
    QString m_after;
    bool m_appended;
};

// Rows inserted empty, or deleted with their texts kept: both are undone as one block, so a
// thousand deleted rows come back in one step.
class RowsCommand : public GridCommand
{
public:
    RowsCommand(AppManagerPrivate *d, int first, QStringList deleted, int inserted)
        : GridCommand(d), m_first(first), m_deleted(std::move(deleted)), m_inserted(inserted)
    {
    }

private:
    void apply(bool forward) override
    {
        const bool insert = (m_inserted > 0) == forward;
        const int count = m_inserted > 0 ? m_inserted : int(m_deleted.size());
        if (!insert) {
            grid()->removeRows(m_first, count);
            return;
        }
        grid()->insertRows(m_first, count);
        for (int k = 0; k < int(m_deleted.size()); ++k)
            grid()->setRowTexts(m_first + k, m_deleted[k], u'\t');
    }
    int row() const override { return m_first; }

    int m_first;
    QStringList m_deleted; // a row's cells joined by tabs
    int m_inserted;
};

} // namespace

void AppManagerPrivate::recordCell(int row, int col, const QString &before, const QString &after,
                                   bool appended)
{
    undoStack.push(new CellCommand(this, row, col, before, after, appended));
    touchRows(row, row);
    marksChanged(row, col);
}

void AppManagerPrivate::recordInsert(int row)
{
    undoStack.push(new RowsCommand(this, row, {}, 1));
    touchRows(row, row);
    marksChanged();
}

QUndoCommand *AppManagerPrivate::deletion(int first, int count)
{
    // The rows after the deleted ones keep their texts: only the rows above stop counting.
    const int drawRowsAfter = msfData->Rows() - 2 - count;
    untouchedAbove = std::min(untouchedAbove, first - 1);
    untouchedBelow = std::min(untouchedBelow, std::max(0, drawRowsAfter - (first - 1)));
    QStringList rows;
    rows.reserve(count);
    const int cols = msfData->Cols();
    QString cell;
    for (int r = first; r < first + count; ++r) {
        QString row;
        for (int c = 0; c < cols; ++c) {
            msfData->cellText(r, c, cell);
            if (c > 0)
                row += u'\t';
            row += cell;
        }
        rows << row;
    }
    return new RowsCommand(this, first, std::move(rows), 0);
}

void AppManagerPrivate::afterUndoRedo(int row, int col)
{
    marksChanged();
    row = std::clamp(row, 1, msfData->Rows() - 1);
    col = std::clamp(col, 0, msfData->Cols() - 1);
    msfData->setRow(row);
    msfData->setCol(col);
    ShowEditor();
}

void AppManagerPrivate::resetUndo()
{
    undoStack.clear();
    undoStack.setClean();
    untouchedAbove = untouchedBelow = std::numeric_limits<int>::max();
}

void AppManagerPrivate::touchRows(int first, int last)
{
    const int drawRows = msfData->Rows() - 2;
    untouchedAbove = std::min(untouchedAbove, std::max(0, first - 1));
    untouchedBelow = std::min(untouchedBelow, std::max(0, drawRows - last));
}

std::pair<int, int> AppManager::untouchedDrawRows() const
{
    const int drawRows = d->msfData ? std::max(0, d->msfData->Rows() - 2) : 0;
    const int above = std::min(d->untouchedAbove, drawRows);
    return {above, std::min(d->untouchedBelow, drawRows - above)};
}

bool AppManagerPrivate::pasteBlock(const QString &text)
{
    if (!text.contains(u'\t') && !text.contains(u'\n') && !text.contains(u'\r'))
        return false;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    static const QRegularExpression blanksOrCommas(QStringLiteral("[\\s,]+"));
    const int cols = msfData->Cols();
    const int firstCol = msfData->Col();
    int row = msfData->Row();
    undoStack.beginMacro(QStringLiteral("Paste"));
    for (const QString &line : text.split(lineBreak)) {
        // Empty lines of the block are skipped, as a user means them.
        if (line.trimmed().isEmpty())
            continue;
        // A spreadsheet separates cells by tabs; a line of a draw file by blanks or commas.
        const bool tabbed = line.contains(u'\t');
        QStringList cells =
            tabbed ? line.split(u'\t') : line.trimmed().split(blanksOrCommas, Qt::SkipEmptyParts);
        // A draw file sets its bonus apart by a lone "+", which is no cell of the grid.
        if (sheetKeys && !tabbed)
            cells.removeAll(QStringLiteral("+"));
        for (int k = 0; k < cells.size() && firstCol + k < cols; ++k) {
            const QString value = cells[k].trimmed();
            const QString before = GetCell(msfData, row, firstCol + k);
            SetCell(msfData, row, firstCol + k, value);
            // As typing does: a cell written in the entry row makes a new entry row.
            const bool appended = row == msfData->Rows() - 1;
            if (appended)
                msfData->AddItem(QString());
            recordCell(row, firstCol + k, before, value, appended);
        }
        ++row;
    }
    undoStack.endMacro();
    setModified(true);
    afterUndoRedo(std::min(row, msfData->Rows() - 1), firstCol);
    return true;
}

// The editor's own undo, redo and paste keys are the grid's here; a plain paste stays the
// editor's.
bool AppManagerPrivate::editorShortcut(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Undo)) {
        undoStack.undo();
        return true;
    }
    if (event->matches(QKeySequence::Redo) ||
        (event->key() == Qt::Key_Y && event->modifiers() == Qt::ControlModifier)) {
        undoStack.redo();
        return true;
    }
    if (event->matches(QKeySequence::Paste))
        return pasteBlock(QApplication::clipboard()->text());
    return false;
}

bool AppManager::canUndo() const
{
    return d->undoStack.canUndo();
}

bool AppManager::canRedo() const
{
    return d->undoStack.canRedo();
}

void AppManager::undo()
{
    d->handle([this] { d->undoStack.undo(); });
}

void AppManager::redo()
{
    d->handle([this] { d->undoStack.redo(); });
}

} // namespace qrt
