#include "CellStore.h"
#include "FlexGridCells.h"
#include "FlexGridDelegate_p.h"
#include "Twips.h"
#include <qrt/FlexGrid.h>
#include <qrt/RuntimeError.h>

#include <QAbstractTableModel>
#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <climits>

namespace qrt
{

namespace
{

// The view shows the rows below the fixed ones; the fixed row 0 is the horizontal header.
// Row and column counts are snapshots taken when the view was last told, so that bulk
// changes with Redraw off never show the view a count it has not been told about.
class FlexGridModel : public QAbstractTableModel
{
public:
    FlexGridModel(const CellStore &store, const std::vector<Qt::Alignment> &align)
        : m_store(store), m_align(align)
    {
    }

    std::function<QString(int, int)> mark;

    int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_rows;
    }
    int columnCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : m_cols;
    }

    QVariant data(const QModelIndex &index, int role) const override
    {
        const int row = index.row() + m_fixed;
        const int col = index.column();
        if (row >= m_store.rows() || col >= m_store.cols())
            return {};
        if (role == Qt::DisplayRole)
            return m_store.text(row, col);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(alignment(col));
        if ((role == Qt::BackgroundRole || role == Qt::ToolTipRole) && mark) {
            QString fault = mark(row, col);
            if (fault.isEmpty())
                return {};
            if (role == Qt::ToolTipRole)
                return fault;
            return QBrush(QColor(255, 205, 205));
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || m_fixed == 0 || section >= m_store.cols())
            return {};
        if (role == Qt::DisplayRole)
            return m_store.text(0, section);
        if (role == Qt::TextAlignmentRole)
            return QVariant::fromValue(alignment(section));
        return {};
    }

    Qt::ItemFlags flags(const QModelIndex &index) const override
    {
        if (!index.isValid())
            return Qt::NoItemFlags;
        return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    }

    Qt::Alignment alignment(int col) const
    {
        const Qt::Alignment h = size_t(col) < m_align.size() ? m_align[size_t(col)] : Qt::AlignLeft;
        return h | Qt::AlignVCenter;
    }

    void reset(int fixed)
    {
        beginResetModel();
        snapshot(fixed);
        endResetModel();
    }
    void snapshot(int fixed)
    {
        m_fixed = fixed;
        m_rows = std::max(0, m_store.rows() - fixed);
        m_cols = m_store.cols();
    }
    // Rows inserted or removed anywhere are announced as rows added or dropped at the end and
    // a change of every row from the place on: a view then moves nothing, where a real
    // insertion makes Qt's header shift one entry per following row, a million of them in a
    // long history. The store changes while the view's row count covers both the old and the
    // new rows (rows it does not hold read as empty), so every text a view could have read
    // changes under a dataChanged. The grid keeps its current cell and selection itself and
    // gives them to the view after each change.
    template <typename F> void insertRows(int first, int count, F &&change)
    {
        beginInsertRows({}, m_rows, m_rows + count - 1);
        m_rows += count;
        endInsertRows();
        change();
        rowsChanged(first, m_rows - 1);
    }
    template <typename F> void removeRows(int first, int count, F &&change)
    {
        change();
        rowsChanged(first, m_rows - 1);
        beginRemoveRows({}, m_rows - count, m_rows - 1);
        m_rows -= count;
        endRemoveRows();
    }
    template <typename F> void changeCols(int cols, F &&change)
    {
        if (cols > m_cols) {
            beginInsertColumns({}, m_cols, cols - 1);
            change();
            m_cols = cols;
            endInsertColumns();
        } else if (cols < m_cols) {
            beginRemoveColumns({}, cols, m_cols - 1);
            change();
            m_cols = cols;
            endRemoveColumns();
        } else {
            change();
        }
    }
    void rowsChanged(int first, int last)
    {
        if (first <= last && m_cols > 0)
            Q_EMIT dataChanged(index(first, 0), index(last, m_cols - 1));
    }
    void cellChanged(int viewRow, int col)
    {
        Q_EMIT dataChanged(index(viewRow, col), index(viewRow, col));
    }
    void headerChanged(int col) { Q_EMIT headerDataChanged(Qt::Horizontal, col, col); }

private:
    const CellStore &m_store;
    const std::vector<Qt::Alignment> &m_align;
    int m_fixed = 0;
    int m_rows = 0;
    int m_cols = 0;
};

class FlexGridView : public QTableView
{
public:
    using QTableView::QTableView;
    // Item views lay out lazily; a scroll position set right after rows were added must not
    // be clamped to the old range.
    void flushLayout()
    {
        executeDelayedItemsLayout();
        updateGeometries();
    }
};

constexpr int kDefaultColWidthPx = 64;

} // namespace

class FlexGridPrivate : public QObject
{
public:
    explicit FlexGridPrivate(FlexGrid *q);

    bool eventFilter(QObject *watched, QEvent *event) override;

    void checkRow(int row) const
    {
        if (row < 0 || row >= store.rows())
            throw RuntimeError(381);
    }
    void checkCol(int col) const
    {
        if (col < 0 || col >= store.cols())
            throw RuntimeError(381);
    }
    static void checkSize(long long rows, long long cols)
    {
        if (rows * cols > INT_MAX)
            throw RuntimeError(380);
    }

    int viewRow(int row) const { return row - fixedRows; }
    int visibleRows() const;
    void notifyCell(int row, int col);
    void syncSelection();
    void ensureVisible();
    // Moves the current cell, collapses the selection and reports one change.
    void setCurrent(int row, int col);
    void clampCurrent();
    void applyColumnWidths();
    int rowHeightPx() const { return m_rowHeight; }
    QPoint cellTopLeftPx(int row, int col) const;
    void pageBy(int direction);
    void handleKey(QKeyEvent *e);
    void cellAt(const QPoint &pos, int &row, int &col) const;

    FlexGrid *q;
    CellStore store;
    std::vector<Qt::Alignment> align;
    std::vector<int> widths; // px, from the format string
    QString format;
    FlexGridModel model;
    FlexGridView *view;
    QWidget *viewportWidget; // kept to compare with while the view is being destroyed
    int fixedRows = 0;
    int row = 0, col = 0, rowSel = 0, colSel = 0;
    bool redraw = true;
    quint64 cellChanges = 0;
    int pendingTopRow = -1; // TopRow written while Redraw was off
    QPoint savedScroll;     // scroll bar values when Redraw went off
    bool dragging = false;
    int m_rowHeight = 20;
    // Scroll reports scrolling that the user asked for, by the scroll bars or the wheel, or that
    // the grid does itself; a relayout that clamps the position (the first show) is none.
    bool ownScroll = false;
    bool userScroll = false;
    void setScrollValue(QScrollBar *bar, int value)
    {
        ownScroll = true;
        bar->setValue(value);
        ownScroll = false;
    }
};

FlexGridPrivate::FlexGridPrivate(FlexGrid *qq)
    : q(qq), model(store, align), view(new FlexGridView(qq))
{
    auto *layout = new QVBoxLayout(q);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    view->setObjectName(QStringLiteral("msfDataView"));
    view->setModel(&model);
    view->setItemDelegate(new FlexGridDelegate(view));
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    // Per pixel, so that a row's place is its index times the row height minus the scroll
    // value, at every moment; per item, Qt aligns the last page to the bottom on its own.
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setWordWrap(false);
    view->setCornerButtonEnabled(false);
    view->verticalHeader()->hide();
    // Uniform rows: positions are computed, never summed over the rows.
    m_rowHeight = std::max(q->fontMetrics().height() + 6, 18);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setMinimumSectionSize(1);
    view->verticalHeader()->setDefaultSectionSize(m_rowHeight);
    view->verticalScrollBar()->setSingleStep(m_rowHeight);
    QHeaderView *header = view->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setDefaultSectionSize(kDefaultColWidthPx);
    viewportWidget = view->viewport();
    viewportWidget->installEventFilter(this);
    view->installEventFilter(this);
    q->setFocusProxy(view);
    for (QScrollBar *bar : {view->verticalScrollBar(), view->horizontalScrollBar()}) {
        QObject::connect(bar, &QScrollBar::actionTriggered, this, [this] {
            userScroll = true;
            QTimer::singleShot(0, this, [this] { userScroll = false; });
        });
        QObject::connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (ownScroll || userScroll)
                Q_EMIT q->Scroll();
            else
                Q_EMIT q->LayoutChanged();
        });
    }
}

int FlexGridPrivate::visibleRows() const
{
    return std::max(1, view->viewport()->height() / m_rowHeight);
}

void FlexGridPrivate::notifyCell(int r, int c)
{
    if (!redraw)
        return;
    if (r < fixedRows)
        model.headerChanged(c);
    else
        model.cellChanged(viewRow(r), c);
}

void FlexGridPrivate::syncSelection()
{
    if (!redraw)
        return;
    QItemSelectionModel *sel = view->selectionModel();
    if (row < fixedRows || rowSel < fixedRows) {
        sel->clear();
        return;
    }
    const QModelIndex current = model.index(viewRow(row), col);
    const QModelIndex other = model.index(viewRow(rowSel), colSel);
    sel->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    if (current == other)
        sel->clearSelection();
    else
        sel->select(QItemSelection(current, other), QItemSelectionModel::ClearAndSelect);
}

void FlexGridPrivate::ensureVisible()
{
    if (!redraw || row < fixedRows)
        return;
    QScrollBar *vbar = view->verticalScrollBar();
    const int v = viewRow(row);
    const int top = v * m_rowHeight - vbar->value();
    const int height = view->viewport()->height();
    if (top < 0) {
        setScrollValue(vbar, v * m_rowHeight);
    } else if (top + m_rowHeight > height) {
        const int target = (v + 1) * m_rowHeight - height;
        if (target > vbar->maximum())
            view->flushLayout();
        setScrollValue(vbar, target);
    }
    QHeaderView *header = view->horizontalHeader();
    if (col < header->count()) {
        QScrollBar *hbar = view->horizontalScrollBar();
        const int x = header->sectionPosition(col);
        const int w = header->sectionSize(col);
        const int width = view->viewport()->width();
        if (x < hbar->value())
            setScrollValue(hbar, x);
        else if (x + w > hbar->value() + width)
            setScrollValue(hbar, std::min(x, x + w - width));
    }
}

void FlexGridPrivate::setCurrent(int r, int c)
{
    const bool changed = r != row || c != col;
    row = r;
    col = c;
    rowSel = r;
    colSel = c;
    ensureVisible();
    syncSelection();
    if (changed) {
        ++cellChanges;
        Q_EMIT q->RowColChange();
    }
}

void FlexGridPrivate::clampCurrent()
{
    const int r = std::clamp(row, 0, std::max(0, store.rows() - 1));
    const int c = std::clamp(col, 0, std::max(0, store.cols() - 1));
    rowSel = std::clamp(rowSel, 0, std::max(0, store.rows() - 1));
    colSel = std::clamp(colSel, 0, std::max(0, store.cols() - 1));
    if (r != row || c != col) {
        row = r;
        col = c;
        syncSelection();
        ++cellChanges;
        Q_EMIT q->RowColChange();
    } else {
        syncSelection();
    }
}

void FlexGridPrivate::applyColumnWidths()
{
    if (!redraw)
        return;
    QHeaderView *header = view->horizontalHeader();
    for (int c = 0; c < header->count(); ++c)
        header->resizeSection(c,
                              size_t(c) < widths.size() ? widths[size_t(c)] : kDefaultColWidthPx);
}

QPoint FlexGridPrivate::cellTopLeftPx(int r, int c) const
{
    const QPoint origin = view->viewport()->mapTo(q, QPoint(0, 0));
    const int x = origin.x() + view->horizontalHeader()->sectionViewportPosition(c);
    int y;
    if (r < fixedRows)
        y = origin.y() - view->horizontalHeader()->height() * (fixedRows - r);
    else
        y = origin.y() + viewRow(r) * m_rowHeight - view->verticalScrollBar()->value();
    return {x, y};
}

void FlexGridPrivate::cellAt(const QPoint &pos, int &r, int &c) const
{
    const int v = (pos.y() + view->verticalScrollBar()->value()) / m_rowHeight;
    r = std::clamp(v + fixedRows, fixedRows, std::max(fixedRows, store.rows() - 1));
    c = view->horizontalHeader()->logicalIndexAt(pos.x());
    if (c < 0)
        c = store.cols() - 1;
}

void FlexGridPrivate::pageBy(int direction)
{
    if (row < fixedRows)
        return;
    const int page = visibleRows();
    const int last = store.rows() - 1;
    QScrollBar *vbar = view->verticalScrollBar();
    view->flushLayout();
    setScrollValue(vbar, vbar->value() + direction * page * m_rowHeight);
    const int target = std::clamp(row + direction * page, fixedRows, last);
    setCurrent(target, col);
}

void FlexGridPrivate::handleKey(QKeyEvent *e)
{
    const bool extend = e->modifiers() & Qt::ShiftModifier;
    int r = extend ? rowSel : row;
    int c = extend ? colSel : col;
    const int first = std::min(fixedRows, store.rows() - 1);
    switch (e->key()) {
    case Qt::Key_PageDown:
        pageBy(1);
        return;
    case Qt::Key_PageUp:
        pageBy(-1);
        return;
    case Qt::Key_Up:
        r = std::max(first, r - 1);
        break;
    case Qt::Key_Down:
        r = std::min(store.rows() - 1, r + 1);
        break;
    case Qt::Key_Left:
        c = std::max(0, c - 1);
        break;
    case Qt::Key_Right:
        c = std::min(store.cols() - 1, c + 1);
        break;
    case Qt::Key_Home:
        c = 0;
        if (e->modifiers() & Qt::ControlModifier)
            r = first;
        break;
    case Qt::Key_End:
        c = store.cols() - 1;
        if (e->modifiers() & Qt::ControlModifier)
            r = store.rows() - 1;
        break;
    default:
        return;
    }
    if (extend) {
        rowSel = r;
        colSel = c;
        syncSelection();
    } else {
        setCurrent(r, c);
    }
}

bool FlexGridPrivate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == viewportWidget && event->type() == QEvent::Resize) {
        Q_EMIT q->LayoutChanged();
        return false;
    }
    if (watched == view) {
        if (event->type() == QEvent::KeyPress) {
            auto *e = static_cast<QKeyEvent *>(event);
            if (e->key() == Qt::Key_Tab || e->key() == Qt::Key_Backtab)
                return false;
            handleKey(e);
            return true; // the view must never move its own current index
        }
        return false;
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() != Qt::LeftButton || store.rows() <= fixedRows)
            return true;
        int r = 0, c = 0;
        cellAt(e->position().toPoint(), r, c);
        if (e->modifiers() & Qt::ShiftModifier) {
            rowSel = r;
            colSel = c;
            syncSelection();
        } else {
            setCurrent(r, c);
        }
        dragging = true;
        return true;
    }
    case QEvent::MouseMove: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (!dragging || !(e->buttons() & Qt::LeftButton))
            return true;
        int r = 0, c = 0;
        cellAt(e->position().toPoint(), r, c);
        if (r != rowSel || c != colSel) {
            rowSel = r;
            colSel = c;
            syncSelection();
        }
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *e = static_cast<QMouseEvent *>(event);
        dragging = false;
        const int button = e->button() == Qt::LeftButton     ? 1
                           : e->button() == Qt::RightButton  ? 2
                           : e->button() == Qt::MiddleButton ? 4
                                                             : 0;
        const Qt::KeyboardModifiers m = e->modifiers();
        const int shift = (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                          (m & Qt::AltModifier ? 4 : 0);
        const QPoint p = view->viewport()->mapTo(q, e->position().toPoint());
        Q_EMIT q->MouseUp(button, shift, float(p.x()) * twipsPerPixelX(q),
                          float(p.y()) * twipsPerPixelY(q));
        if (button == 1)
            Q_EMIT q->Click();
        return true;
    }
    default:
        return false;
    }
}

FlexGrid::FlexGrid(QWidget *parent) : QWidget(parent), d(std::make_unique<FlexGridPrivate>(this))
{
    d->store.setCols(2);
    d->store.setRows(2);
    d->fixedRows = 1;
    d->model.reset(1);
    d->applyColumnWidths();
    d->row = d->rowSel = 1;
    d->col = d->colSel = 0;
    d->syncSelection();
}

FlexGrid::~FlexGrid()
{
    // The view reads the model, which lives in d: it must go first, unobserved.
    d->view->viewport()->removeEventFilter(d.get());
    d->view->removeEventFilter(d.get());
    delete d->view;
}

int FlexGrid::Rows() const
{
    return d->store.rows();
}

void FlexGrid::setRows(int rows)
{
    if (rows < std::max(1, d->fixedRows + (d->fixedRows > 0 ? 1 : 0)))
        throw RuntimeError(380);
    FlexGridPrivate::checkSize(rows, d->store.cols());
    const int old = d->store.rows();
    if (rows == old)
        return;
    auto change = [&] { d->store.setRows(rows); };
    if (!d->redraw)
        change();
    else if (rows > old)
        d->model.insertRows(old - d->fixedRows, rows - old, change);
    else
        d->model.removeRows(rows - d->fixedRows, old - rows, change);
    d->clampCurrent();
}

int FlexGrid::Cols() const
{
    return d->store.cols();
}

void FlexGrid::setCols(int cols)
{
    if (cols < 1)
        throw RuntimeError(380);
    FlexGridPrivate::checkSize(d->store.rows(), cols);
    if (cols == d->store.cols())
        return;
    auto change = [&] { d->store.setCols(cols); };
    if (d->redraw) {
        d->model.changeCols(cols, change);
        d->applyColumnWidths();
    } else {
        change();
    }
    d->clampCurrent();
}

int FlexGrid::FixedRows() const
{
    return d->fixedRows;
}

void FlexGrid::setFixedRows(int rows)
{
    if (rows < 0 || (rows > 0 && rows >= d->store.rows()))
        throw RuntimeError(380);
    if (rows == d->fixedRows)
        return;
    d->fixedRows = rows;
    d->view->horizontalHeader()->setVisible(rows > 0);
    if (d->redraw) {
        d->model.reset(rows);
        d->applyColumnWidths();
    }
    d->syncSelection();
}

void FlexGrid::setFormatString(const QString &format)
{
    const QStringList segments = format.split(u'|');
    setCols(int(segments.size()));
    d->format = format;
    d->align.assign(segments.size(), Qt::AlignLeft);
    d->widths.assign(segments.size(), kDefaultColWidthPx);
    const QFontMetrics fm(d->view->horizontalHeader()->font());
    for (qsizetype c = 0; c < segments.size(); ++c) {
        QString text = segments[c];
        if (!text.isEmpty() && (text[0] == u'<' || text[0] == u'>' || text[0] == u'^')) {
            d->align[size_t(c)] = text[0] == u'<'   ? Qt::AlignLeft
                                  : text[0] == u'>' ? Qt::AlignRight
                                                    : Qt::AlignHCenter;
            text.remove(0, 1);
        }
        d->widths[size_t(c)] = fm.horizontalAdvance(text) + 12;
        d->store.setText(0, int(c), text);
        d->notifyCell(0, int(c));
    }
    d->applyColumnWidths();
}

QString FlexGrid::FormatString() const
{
    return d->format;
}

int FlexGrid::TopRow() const
{
    // The first row whose top is in view.
    const int value = d->view->verticalScrollBar()->value();
    return std::min(d->fixedRows + (value + d->rowHeightPx() - 1) / d->rowHeightPx(),
                    std::max(d->fixedRows, Rows() - 1));
}

void FlexGrid::setTopRow(int row)
{
    if (row < d->fixedRows || row >= d->store.rows())
        throw RuntimeError(381);
    if (!d->redraw) {
        d->pendingTopRow = row;
        return;
    }
    QScrollBar *vbar = d->view->verticalScrollBar();
    const int target = d->viewRow(row) * d->rowHeightPx();
    if (target > vbar->maximum())
        d->view->flushLayout();
    d->setScrollValue(vbar, target);
}

int FlexGrid::Row() const
{
    return d->row;
}

void FlexGrid::setRow(int row)
{
    d->checkRow(row);
    d->setCurrent(row, d->col);
}

int FlexGrid::Col() const
{
    return d->col;
}

void FlexGrid::setCol(int col)
{
    d->checkCol(col);
    d->setCurrent(d->row, col);
}

int FlexGrid::RowSel() const
{
    return d->rowSel;
}

void FlexGrid::setRowSel(int row)
{
    d->checkRow(row);
    d->rowSel = row;
    d->syncSelection();
}

int FlexGrid::ColSel() const
{
    return d->colSel;
}

void FlexGrid::setColSel(int col)
{
    d->checkCol(col);
    d->colSel = col;
    d->syncSelection();
}

QString FlexGrid::Text() const
{
    return d->store.text(d->row, d->col);
}

void FlexGrid::setText(const QString &text)
{
    setText(QStringView(text));
}

void FlexGrid::setText(QStringView text)
{
    d->store.setText(d->row, d->col, text);
    d->notifyCell(d->row, d->col);
}

QString FlexGrid::TextArray(int index) const
{
    const int cols = d->store.cols();
    if (index < 0 || index / cols >= d->store.rows())
        throw RuntimeError(381);
    return d->store.text(index / cols, index % cols);
}

void FlexGrid::setTextArray(int index, const QString &text)
{
    setTextArray(index, QStringView(text));
}

void FlexGrid::setTextArray(int index, QStringView text)
{
    const int cols = d->store.cols();
    if (index < 0 || index / cols >= d->store.rows())
        throw RuntimeError(381);
    d->store.setText(index / cols, index % cols, text);
    d->notifyCell(index / cols, index % cols);
}

float FlexGrid::CellLeft() const
{
    return float(d->cellTopLeftPx(d->row, d->col).x()) * twipsPerPixelX(this);
}

float FlexGrid::CellTop() const
{
    return float(d->cellTopLeftPx(d->row, d->col).y()) * twipsPerPixelY(this);
}

float FlexGrid::CellWidth() const
{
    return float(d->view->horizontalHeader()->sectionSize(d->col)) * twipsPerPixelX(this);
}

float FlexGrid::CellHeight() const
{
    return float(d->rowHeightPx()) * twipsPerPixelY(this);
}

void FlexGrid::AddItem(const QString &item, std::optional<int> index)
{
    const int at = index.value_or(d->store.rows());
    insertRows(at, 1);
    if (item.isEmpty())
        return;
    const QStringList parts = item.split(u'\t');
    d->store.setRow(at, std::vector<QString>(parts.begin(), parts.end()));
    for (int c = 0; c < d->store.cols(); ++c)
        d->notifyCell(at, c);
}

void FlexGrid::insertRows(int index, int count)
{
    const int rows = d->store.rows();
    if (index < 0 || index > rows || count < 0)
        throw RuntimeError(381);
    if (count == 0)
        return;
    FlexGridPrivate::checkSize(qint64(rows) + count, d->store.cols());
    auto change = [&] { d->store.insertRows(index, count); };
    if (d->redraw && index >= d->fixedRows) {
        d->model.insertRows(d->viewRow(index), count, change);
    } else {
        change();
        if (d->redraw)
            d->model.reset(d->fixedRows);
    }
    d->syncSelection();
}

void FlexGrid::RemoveItem(int index)
{
    removeRows(index, 1);
}

void FlexGrid::removeRows(int index, int count)
{
    if (count <= 0)
        return;
    d->checkRow(index);
    if (index + count > d->store.rows() || d->store.rows() - count <= d->fixedRows)
        throw RuntimeError(5, QStringLiteral("Cannot remove last non-fixed row"));
    auto change = [&] { d->store.removeRows(index, count); };
    if (d->redraw && index >= d->fixedRows) {
        d->model.removeRows(d->viewRow(index), count, change);
    } else {
        change();
        if (d->redraw)
            d->model.reset(d->fixedRows);
    }
    d->clampCurrent();
}

void FlexGrid::setRowTexts(int row, QStringView parts, QChar separator)
{
    d->checkRow(row);
    d->store.setRowParts(row, parts, separator);
    if (d->redraw) {
        for (int c = 0; c < d->store.cols(); ++c)
            d->notifyCell(row, c);
    }
}

bool FlexGridCells::cellLatin1(const FlexGrid &grid, int row, int col, const char *&data,
                               qsizetype &size)
{
    grid.d->checkRow(row);
    grid.d->checkCol(col);
    return grid.d->store.latin1(row, col, data, size);
}

bool FlexGridCells::rowLatin1(const FlexGrid &grid, int row, int count, const char **data,
                              qsizetype *sizes)
{
    Q_ASSERT(count >= 0 && (count == 0 || (data && sizes))); // count entries each
    grid.d->checkRow(row);
    if (count > 0)
        grid.d->checkCol(count - 1);
    return grid.d->store.rowLatin1(row, count, data, sizes);
}

void FlexGrid::cellText(int row, int col, QString &out) const
{
    d->checkRow(row);
    d->checkCol(col);
    d->store.textInto(row, col, out);
}

bool FlexGrid::Redraw() const
{
    return d->redraw;
}

void FlexGrid::setRedraw(bool on)
{
    if (on == d->redraw)
        return;
    d->redraw = on;
    QScrollBar *vbar = d->view->verticalScrollBar();
    QScrollBar *hbar = d->view->horizontalScrollBar();
    if (!on) {
        d->pendingTopRow = -1;
        d->savedScroll = {vbar->value(), hbar->value()};
        return;
    }
    d->model.reset(d->fixedRows);
    d->applyColumnWidths();
    d->syncSelection();
    // A reset view starts at the top; give back the place it had, then do what was asked.
    d->view->flushLayout();
    vbar->setValue(d->savedScroll.x());
    hbar->setValue(d->savedScroll.y());
    if (d->pendingTopRow >= 0 && d->pendingTopRow < d->store.rows())
        setTopRow(d->pendingTopRow);
    d->pendingTopRow = -1;
    d->ensureVisible();
}

quint64 FlexGrid::currentCellChanges() const
{
    return d->cellChanges;
}

void FlexGrid::setCellMarks(std::function<QString(int row, int col)> mark)
{
    d->model.mark = std::move(mark);
    repaintCells();
}

void FlexGrid::repaintCells()
{
    d->view->viewport()->update();
}

} // namespace qrt
