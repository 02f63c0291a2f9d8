#pragma once

#include <qrt/qrt_export.h>

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace qrt
{

class FlexGridPrivate;

/// A flex grid: a table of texts addressed by 0-based row and column, whose first FixedRows
/// rows form a header that does not scroll. It has one current cell (Row, Col) and a selection
/// from the current cell to (RowSel, ColSel). Positions and sizes are in twips.
///
/// A bad row, column or index throws RuntimeError 381; an impossible size throws 380.
/// Writing Row or Col raises RowColChange when the current cell changes and scrolls it into
/// view; a change of the visible rows or columns raises Scroll.
class QRT_EXPORT FlexGrid : public QWidget
{
    Q_OBJECT

public:
    /// An empty grid of two rows (one of them fixed) and two columns.
    explicit FlexGrid(QWidget *parent = nullptr);
    /// Frees the cell texts.
    ~FlexGrid() override;

    /// Rows including the header rows; a larger value appends empty rows, a smaller one drops
    /// rows from the end.
    ///@{
    int Rows() const;
    void setRows(int rows);
    ///@}
    /// Columns; a larger value adds empty columns on the right, a smaller one drops columns.
    ///@{
    int Cols() const;
    void setCols(int cols);
    ///@}
    /// Header rows at the top, which do not scroll and are not selected.
    ///@{
    int FixedRows() const;
    void setFixedRows(int rows);
    ///@}

    /// "|"-separated segments, one per column: an optional alignment mark ("<" left, "^"
    /// centre, ">" right) followed by the header text, which goes to row 0 and sizes the
    /// column. Sets Cols to the number of segments.
    ///@{
    void setFormatString(const QString &format);
    QString FormatString() const;
    ///@}

    /// First scrollable row shown.
    ///@{
    int TopRow() const;
    void setTopRow(int row);
    ///@}

    /// The current cell's row and column.
    ///@{
    int Row() const;
    void setRow(int row);
    int Col() const;
    void setCol(int col);
    ///@}
    /// The other corner of the selection, whose first corner is the current cell.
    ///@{
    int RowSel() const;
    void setRowSel(int row);
    int ColSel() const;
    void setColSel(int col);
    ///@}

    /// Text of the current cell.
    ///@{
    QString Text() const;
    void setText(const QString &text);
    void setText(QStringView text);
    ///@}

    /// Text of the cell at index = row × Cols + col.
    ///@{
    QString TextArray(int index) const;
    void setTextArray(int index, const QString &text);
    void setTextArray(int index, QStringView text);
    ///@}

    /// Current cell's position inside the grid and its size, in twips.
    ///@{
    float CellLeft() const;
    float CellTop() const;
    float CellWidth() const;
    float CellHeight() const;
    ///@}

    /// Inserts a row before @p index, or appends one without an index. Tab characters in
    /// @p item separate the new row's cell texts. The current row number stays as it was.
    void AddItem(const QString &item, std::optional<int> index = std::nullopt);
    /// Deletes row @p index; the rows below move up.
    void RemoveItem(int index);
    /// @p count empty rows before row @p index at once; RuntimeError 381 for a bad index.
    void insertRows(int index, int count);
    /// Deletes @p count rows from @p index on at once, as that many RemoveItem(index) calls
    /// would, with one notification.
    void removeRows(int index, int count);

    /// Replaces the texts of row @p row with the parts of @p parts split at @p separator,
    /// first part in column 0; parts beyond the columns are dropped, missing ones are empty.
    /// The current cell does not move.
    void setRowTexts(int row, QStringView parts, QChar separator);

    /// Text of cell (@p row, @p col) into @p out, reusing its buffer; for reading many cells.
    void cellText(int row, int col, QString &out) const;
    /// While false, changes are stored but not shown; turning it on again repaints once.
    /// Use it around bulk changes.
    ///@{
    bool Redraw() const;
    void setRedraw(bool on);
    ///@}

    /// How many times the current cell has changed since the grid was made; counts also the
    /// changes made while signals were blocked, so bulk work can react once afterwards.
    quint64 currentCellChanges() const;

    /// Marks cells as faulty: @p mark gives, for a cell (row, col) about to be painted or
    /// hovered, the text that names its fault, or an empty text. A marked cell is painted on
    /// light red and shows the text as its tool tip. An empty function marks nothing. Only
    /// cells in view are asked, each time they are painted.
    void setCellMarks(std::function<QString(int row, int col)> mark);
    /// Paints the cells in view again, asking for their marks anew.
    void repaintCells();

Q_SIGNALS:
    /// The current cell moved (Row or Col changed).
    void RowColChange();
    /// The visible rows or columns changed.
    void Scroll();
    /// A cell was clicked.
    void Click();
    /// @p button 1 left, 2 right, 4 middle; @p shift 1 Shift, 2 Ctrl, 4 Alt; x and y in twips.
    void MouseUp(int button, int shift, float x, float y);
    /// The cells moved on the screen without a scroll: the grid was resized or laid out.
    void LayoutChanged();

private:
    friend class FlexGridPrivate;
    friend class FlexGridCells;
    std::unique_ptr<FlexGridPrivate> const d;
};

} // namespace qrt
