#include "AppManager_p.h"
#include "DrawRules.h"
#include "modPublic.h"
#include <qrt/AppManager.h>
#include <qrt/FlexGrid.h>
#include <qrt/MsgBox.h>
#include <qrt/RuntimeError.h>

#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>

#include <algorithm>
#include <limits>
#include <vector>

namespace qrt
{

namespace
{

// A loaded row's text, "issue|n|n|...", in a plain buffer: a million-draw load appends its
// characters tens of millions of times. The separators are counted as they come, host texts
// included, so a row of exactly one part per column is known without a second look.
class RowText
{
public:
    void clear()
    {
        m_size = 0;
        m_bars = 0;
    }
    void addText(QStringView text)
    {
        char16_t *p = room(text.size());
        for (const QChar c : text) {
            *p++ = c.unicode();
            m_bars += c == u'|' ? 1 : 0;
        }
        m_size += text.size();
    }
    void addSeparator()
    {
        *room(1) = u'|';
        ++m_size;
        ++m_bars;
    }
    /// The number of parts the separators divide the text into; none when it is empty.
    qsizetype parts() const { return m_size == 0 ? 0 : m_bars + 1; }
    QStringView view() const { return QStringView(m_buffer.data(), m_size); }

private:
    char16_t *room(qsizetype n)
    {
        if (m_size + n > qsizetype(m_buffer.size()))
            m_buffer.resize(std::max(m_buffer.size() * 2, size_t(m_size + n)));
        return m_buffer.data() + m_size;
    }

    std::vector<char16_t> m_buffer;
    qsizetype m_size = 0;
    qsizetype m_bars = 0;
};

qint32 checkedMul(qint32 a, qint32 b)
{
    qint32 r = 0;
    if (__builtin_mul_overflow(a, b, &r))
        throw RuntimeError(6);
    return r;
}

} // namespace

namespace
{
// A member the host does not have is told apart from one that fails: only the first means
// the lottery is the one-drum lottery.
std::optional<QVariant> optionalRead(const Member &member, QObject *lottery)
{
    try {
        return member(lottery);
    } catch (const RuntimeError &e) {
        if (e.number() == 438)
            return std::nullopt;
        throw;
    }
}

std::optional<qint32> optionalBound(const Member &member, QObject *lottery, bool &present)
{
    try {
        const std::optional<QVariant> v = optionalRead(member, lottery);
        if (!v)
            return std::nullopt;
        present = true;
        return toInt32(*v);
    } catch (const RuntimeError &) {
        // Present, but without a value: every range test of the bonus fails.
        present = true;
        return std::nullopt;
    }
}
} // namespace

qint32 readSpecialCount(QObject *lottery)
{
    const std::optional<QVariant> v = optionalRead(members::SpecialCount, lottery);
    if (!v)
        return 1;
    const qint32 count = toInt32(*v);
    if (count != 1 && count != 2)
        throw RuntimeError(380);
    return count;
}

BonusDrum readBonusDrum(QObject *lottery)
{
    BonusDrum drum;
    drum.count = readSpecialCount(lottery);
    drum.mini = optionalBound(members::SpecialMiniNumber, lottery, drum.own);
    drum.maxi = optionalBound(members::SpecialMaxNumber, lottery, drum.own);
    return drum;
}

ProgressReport::ProgressReport(AppManager *q, QString what, int total)
    : m_q(q), m_what(std::move(what)), m_total(total),
      m_next(total >= kProgressRows ? 0 : std::numeric_limits<int>::max())
{
    step(0);
}

void ProgressReport::tell(int done)
{
    m_ended = done >= m_total;
    Q_EMIT m_q->progress(m_what, done, m_total);
    // The next hundredth after this one; the end is told by finish().
    const qint64 hundredth = qint64(done) * 100 / m_total + 1;
    m_next =
        hundredth >= 100 ? std::numeric_limits<int>::max() : int((hundredth * m_total + 99) / 100);
}

void ProgressReport::finish()
{
    if (m_ended || m_total < kProgressRows)
        return;
    m_ended = true;
    Q_EMIT m_q->progress(m_what, m_total, m_total);
}

AppManagerPrivate::AppManagerPrivate(AppManager *qq) : q(qq)
{
    // Undone back to where it was loaded or saved, the grid holds no unsaved work.
    connect(&undoStack, &QUndoStack::cleanChanged, this,
            [this](bool clean) { setModified(!clean); });
    connect(&undoStack, &QUndoStack::canUndoChanged, q, &AppManager::undoStateChanged);
    connect(&undoStack, &QUndoStack::canRedoChanged, q, &AppManager::undoStateChanged);
}

AppManagerPrivate::~AppManagerPrivate()
{
    releaseCreated(mobjLotterys);
}

void AppManagerPrivate::releaseCreated(QPointer<QObject> &field)
{
    QObject *obj = field.data();
    field = nullptr;
    if (obj && !obj->parent())
        delete obj;
}

void AppManagerPrivate::setModified(bool on)
{
    if (modified == on)
        return;
    modified = on;
    Q_EMIT q->modifiedChanged(on);
}

bool AppManager::isModified() const
{
    return d->modified;
}

void AppManager::setModified(bool modified)
{
    d->setModified(modified);
}

void AppManagerPrivate::report(int number, const QString &description)
{
    static const QMetaMethod signal = QMetaMethod::fromSignal(&AppManager::errorOccurred);
    if (q->isSignalConnected(signal)) {
        Q_EMIT q->errorOccurred(number, description);
        return;
    }
    msgBox(description, MsgBoxStop, LoadMessage(17));
}

QString AppManagerPrivate::GetCell(FlexGrid *grid, qint32 row, qint32 column) const
{
    return grid->TextArray(checkedAdd(checkedMul(row, grid->Cols()), column));
}

void AppManagerPrivate::SetCell(FlexGrid *grid, qint32 row, qint32 column, QStringView text)
{
    grid->setTextArray(checkedAdd(checkedMul(row, grid->Cols()), column), text);
}

// PadString(text, "0", 2, True) of a host value's text, appended; whole numbers are written
// straight into @p out.
void AppManagerPrivate::appendPadded(QString &out, const QVariant &value)
{
    const int id = value.metaType().id();
    qint32 whole = 0;
    if (id == QMetaType::Int)
        whole = *static_cast<const int *>(value.constData());
    else if (id == QMetaType::Short)
        whole = *static_cast<const qint16 *>(value.constData());
    else {
        out += PadString(toText(value), QStringLiteral("0"), 2, true);
        return;
    }
    char16_t digits[12];
    const char16_t *end = writeTwoDigits(digits, whole);
    out.append(reinterpret_cast<const QChar *>(digits), end - digits);
}

bool AppManagerPrivate::PaddedText::sameAs(const char *bytes, qsizetype length) const
{
    if (!whole)
        return QLatin1StringView(bytes, length) == other;
    if (length != size)
        return false;
    for (qsizetype k = 0; k < size; ++k)
        if (char16_t(uchar(bytes[k])) != digits[k])
            return false;
    return true;
}

void AppManagerPrivate::padGetter(PaddedText &out, const Member &getter, QObject *obj,
                                  std::optional<qint32> arg)
{
    qint32 value = 0;
    out.whole =
        arg ? getter.int32Or(obj, *arg, value, out.boxed) : getter.int32Or(obj, value, out.boxed);
    if (out.whole) {
        out.size = writeTwoDigits(out.digits, value) - out.digits;
        return;
    }
    out.other.resize(0);
    appendPadded(out.other, out.boxed);
}

void AppManagerPrivate::GetCellInto(FlexGrid *grid, qint32 row, qint32 column, QString &out) const
{
    const qint32 cols = grid->Cols();
    const qint32 index = checkedAdd(checkedMul(row, cols), column);
    if (index < 0)
        throw RuntimeError(381);
    grid->cellText(index / cols, index % cols, out);
}

bool AppManagerPrivate::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtEdit && event->type() == QEvent::KeyPress) {
        bool consumed = false;
        handle([&] {
            auto *key = static_cast<QKeyEvent *>(event);
            consumed =
                editorShortcut(key) || (sheetKeys && sheetKey(key, true)) || txtEditKeyEvent(key);
        });
        return consumed;
    }
    if (watched == msfData->focusProxy() && event->type() == QEvent::KeyPress && sheetKeys) {
        bool consumed = false;
        handle([&] { consumed = gridKey(static_cast<QKeyEvent *>(event)); });
        return consumed;
    }
    if (watched == q && (event->type() == QEvent::ParentChange || event->type() == QEvent::Show))
        watchWindow();
    // A key arrives at the window only when every widget on its way ignored it.
    if (watched == watchedWindow && event->type() == QEvent::KeyPress && sheetKeys) {
        bool consumed = false;
        handle([&] { consumed = strayKey(static_cast<QKeyEvent *>(event)); });
        return consumed;
    }
    return false;
}

AppManager::AppManager(QWidget *parent)
    : QWidget(parent), d(std::make_unique<AppManagerPrivate>(this))
{
    d->createChildren();
}

AppManager::~AppManager() = default;

void AppManager::InitData(QObject *objCom)
{
    using namespace members;
    if (d->mblnLoaded)
        return;
    d->mobjLottery = objCom;
    QObject *lottery = objCom;
    FlexGrid *grid = d->msfData;
    EditorBatch batch(d.get());

    grid->setFixedRows(0);
    grid->setRows(2);
    grid->setCols(1);
    const qint32 flag = equalsTrue(HasSpecial(lottery)) ? readSpecialCount(lottery) : 0;
    grid->setCols(checkedAdd(checkedAdd(toInt32(TotalNumber(lottery)), 1), flag));

    QString format = QStringLiteral("<") + LoadMessage(1);
    const qint32 columns = toInt32(TotalNumber(lottery));
    for (qint32 j = 1; j <= columns; ++j)
        format += QStringLiteral("|<") + LoadMessage(2) + QString::number(j);
    for (qint32 k = 1; k <= flag; ++k)
        format += QStringLiteral("|<") + LoadMessage(3) +
                  (k > 1 ? QStringLiteral(" %1").arg(k) : QString());
    grid->setFixedRows(1);
    grid->setFormatString(format);

    grid->setRow(1);
    grid->setCol(0);
    const qint32 n = toInt32(Count(lottery));
    RowText row;
    AppManagerPrivate::PaddedText value;
    ProgressReport progress(this, QStringLiteral("Loading..."), n);
    for (qint32 i = 1; i <= n; ++i) {
        progress.step(i - 1);
        grid->setRow(i);
        // Every value is fetched through a fresh "Item" call, as hosts expect.
        row.clear();
        row.addText(GetIssue.text(Item.object(lottery, i)));
        const qint32 total = TotalNumber.int32(lottery);
        for (qint32 j = 1; j <= total; ++j) {
            row.addSeparator();
            AppManagerPrivate::padGetter(value, GetNumber, Item.object(lottery, i), j);
            row.addText(value.view());
        }
        if (flag >= 1) {
            row.addSeparator();
            AppManagerPrivate::padGetter(value, GetSpecial, Item.object(lottery, i));
            row.addText(value.view());
        }
        if (flag == 2) {
            row.addSeparator();
            AppManagerPrivate::padGetter(value, GetSpecialAt, Item.object(lottery, i), 2);
            row.addText(value.view());
        }
        // A row of exactly one part per column is written in one go, ending on the last
        // column as AddItem does; any other goes through AddItem and its errors.
        const int cols = grid->Cols();
        if (row.parts() == cols) {
            grid->setRowTexts(i, row.view(), u'|');
            grid->setCol(cols - 1);
        } else {
            AddItem(row.view().toString(), i);
        }
        grid->setRows(checkedAdd(grid->Rows(), 1));
    }
    grid->setRow(grid->Rows() - 1);
    grid->setCol(0);
    grid->setTopRow(grid->Row());
    progress.finish();
    d->mblnLoaded = true;
    d->marksChanged();
    d->resetUndo();
    d->setModified(false);
}

QVariant AppManager::AddItem(const QString &strItem, qint32 lngCol)
{
    Q_UNUSED(lngCol)
    FlexGrid *grid = d->msfData;
    const int cols = grid->Cols();
    // The parts are walked in place: an empty text has none, "a|" has two.
    bool more = !strItem.isEmpty();
    qsizetype pos = 0;
    for (int c = 0; c < cols; ++c) {
        grid->setCol(c);
        if (!more)
            throw RuntimeError(9);
        const qsizetype end = strItem.indexOf(u'|', pos);
        grid->setText(QStringView(strItem).mid(pos, end < 0 ? -1 : end - pos));
        more = end >= 0;
        pos = end + 1;
    }
    if (d->mblnLoaded)
        d->marksChanged();
    return QVariant();
}

void AppManager::ChangeLocale(std::optional<qint32> lngLoc)
{
    Q_UNUSED(lngLoc)
    d->btnInput->setText(LoadMessage(4));
    d->btnOutput->setText(LoadMessage(5));
    d->btnSave->setText(LoadMessage(6));
    d->btnInsert->setText(LoadMessage(7));
    d->btnDel->setText(LoadMessage(8));
    d->btnOpenFile->setText(LoadMessage(9));
    d->btnDataValidate->setText(LoadMessage(10));
}

void AppManager::EraseALl()
{
    d->mobjLottery = nullptr;
    AppManagerPrivate::releaseCreated(d->mobjLotterys);
    d->mobjStore = nullptr;
    d->mcblStart = nullptr;
    d->mcblEnd = nullptr;
}

void AppManager::SetSystemStore(QObject *objCom)
{
    d->mobjStore = objCom;
}

void AppManager::SetIssueControl(QObject *objStart, QObject *objEnd)
{
    auto *start = qobject_cast<QComboBox *>(objStart);
    if (objStart && !start)
        throw RuntimeError(13);
    d->mcblStart = start;
    auto *end = qobject_cast<QComboBox *>(objEnd);
    if (objEnd && !end)
        throw RuntimeError(13);
    d->mcblEnd = end;
}

void AppManager::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    d->UserControl_Resize();
}

} // namespace qrt
