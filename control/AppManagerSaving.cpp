#include "AppManager_p.h"
#include "FlexGridCells.h"
#include "IssueListModel_p.h"
#include "RuleDigits.h"
#include "frmInfo.h"
#include "modPublic.h"
#include <qrt/CommonDialog.h>
#include <qrt/FlexGrid.h>
#include <qrt/HostContract.h>
#include <qrt/MsgBox.h>
#include <qrt/RuntimeError.h>
#include <qrt/Settings.h>
#include <qrt/ShellExecute.h>

#include <QComboBox>
#include <QListView>

#include <algorithm>
#include <memory>

namespace qrt
{

namespace
{

QVariantList recordAddress(const char *key, const QVariant &third, const QVariant &sixth)
{
    return {int16(0), QString::fromLatin1(key), third, int16(0), int16(0), sixth};
}

// Releases a draw object the control created when the save leaves its scope, by whatever way.
class CreatedObject
{
public:
    ~CreatedObject() { AppManagerPrivate::releaseCreated(m_obj); }
    void replace(QObject *obj)
    {
        AppManagerPrivate::releaseCreated(m_obj);
        m_obj = obj;
    }
    QObject *get() const { return m_obj; }

private:
    QPointer<QObject> m_obj;
};

} // namespace

// A cell's number as toInt32 reads its text, when it is plain digits (nearly every cell) and
// the grid keeps it as bytes: @p bytes and @p size as FlexGridCells::rowLatin1 gives them.
std::optional<qint32> AppManagerPrivate::plainNumber(const char *bytes, qsizetype size)
{
    if (size > 9 || !digitsOnly(bytes, size))
        return std::nullopt;
    return valueOf(bytes, size);
}

bool AppManagerPrivate::btnSave_Click()
{
    using namespace members;
    if (!ValidateData())
        return false;
    auto info = std::make_unique<frmInfo>();
    info->setInfo(LoadMessage(30));
    info->show();
    if (msfData->Rows() < 3) {
        msgBox(LoadMessage(27), MsgBoxStop, LoadMessage(17));
        return false;
    }
    info->setInfo(LoadMessage(29), true);

    QObject *lottery = mobjLottery;
    QObject *store = mobjStore;
    releaseCreated(mobjLotterys);
    mobjLotterys = createObject(QString::fromLatin1(host::kLotterysClass));
    CreatedObject draw;
    const int lastDataRow = msfData->Rows() - 2;
    const QString drawClass = QString::fromLatin1(host::kLotteryClass);
    QString cell;
    const int cols = msfData->Cols();
    std::vector<const char *> rowBytes(static_cast<size_t>(cols));
    std::vector<qsizetype> rowSizes(static_cast<size_t>(cols));
    // The row's numbers, read before any host call of the row, so that nothing the host does
    // can leave a pointer into the grid behind; a cell that is no plain number is read at
    // its turn, as text.
    std::vector<std::optional<qint32>> numbers(static_cast<size_t>(cols));
    std::optional<qint32> bonusCount;
    ProgressReport saving(q, LoadMessage(29), lastDataRow);
    for (int i = 1; i <= lastDataRow; ++i) {
        saving.step(i - 1);
        const bool asBytes =
            FlexGridCells::rowLatin1(*msfData, i, cols, rowBytes.data(), rowSizes.data());
        for (int c = 0; c < cols; ++c)
            numbers[size_t(c)] =
                asBytes ? plainNumber(rowBytes[size_t(c)], rowSizes[size_t(c)]) : std::nullopt;
        draw.replace(nullptr);
        draw.replace(createObject(drawClass));
        SetIssue.send(draw.get(), GetCell(msfData, i, 0));
        const qint32 total = TotalNumber.int32(lottery);
        for (qint32 j = 1; j <= total; ++j) {
            std::optional<qint32> number = j < cols ? numbers[size_t(j)] : std::nullopt;
            if (!number) {
                GetCellInto(msfData, i, j, cell);
                number = toInt32(cell);
            }
            SetNumber.send(draw.get(), j, *number);
        }
        OrderNumbers(draw.get());
        if (HasSpecial.isTrue(lottery)) {
            // Asked once, on the first row with a bonus, so that a host without the member
            // sees the same calls as ever.
            if (!bonusCount)
                bonusCount = readSpecialCount(lottery);
            const int first = msfData->Cols() - *bonusCount;
            GetCellInto(msfData, i, first, cell);
            SetSpecial.send(draw.get(), toInt32(cell));
            if (*bonusCount == 2) {
                GetCellInto(msfData, i, first + 1, cell);
                SetSpecialAt.send(draw.get(), qint32(2), toInt32(cell));
            }
        }
        AddItem.send(mobjLotterys.data(), draw.get());
    }
    saving.finish();

    QueryRecord.call(store, recordAddress(host::kRecordCaption, int16(0), int16(0)));
    const QString appName = toText(GetRSContent(store));
    const QString path = getSetting(appName, QStringLiteral("Path"), QStringLiteral("Path")) +
                         QStringLiteral("User.ltk");
    PathExists(path, false, false, true);
    toInt32(SaveData(mobjLotterys, {path}));

    const QVariantList lastRead =
        recordAddress(host::kRecordLastReadFile, QStringLiteral("0"), int16(0));
    QueryRecord.call(store, lastRead);
    if (toInt32(GetRSSize(store)) != 0) {
        PathExists(toText(GetRSContent(store)), false, false, true);
        SaveData(mobjLotterys, {GetRSContent(store), true});
    }

    info->setInfo(LoadMessage(31), true);
    toInt32(ReadData(lottery, {path}));
    releaseCreated(mobjLotterys);
    draw.replace(nullptr);
    FillIssueLists();

    // The cells are refilled as the host hands the values over. A cell whose text changes has
    // its old text noted first, so that a host failing half way is undone and leaves the
    // user's rows exactly as they were. A save changes few texts (order, padding), so the
    // notes stay small, where gathering every new text first took over 100 MB for a million
    // draws.
    struct Undo {
        int row;
        qint32 col;
        QString text;
    };
    std::vector<Undo> undo;
    PaddedText value;
    QString old;
    auto refill = [&](int row, qint32 col) {
        // Most cells already read as the host gives them back; those are compared where the
        // grid keeps them.
        const char *bytes = nullptr;
        qsizetype size = 0;
        if (FlexGridCells::cellLatin1(*msfData, row, col, bytes, size) && value.sameAs(bytes, size))
            return;
        GetCellInto(msfData, row, col, old);
        if (old == value.view())
            return;
        undo.push_back({row, col, old});
        SetCell(msfData, row, col, value.view());
    };
    {
        // One repaint for the whole refill instead of one per cell.
        EditorBatch batch(this);
        ProgressReport updating(q, LoadMessage(31), lastDataRow);
        try {
            for (int i = 1; i <= lastDataRow; ++i) {
                updating.step(i - 1);
                QObject *drawn = Item.object(lottery, i);
                value.whole = false;
                value.other = GetIssue.text(drawn);
                refill(i, 0);
                const qint32 total = TotalNumber.int32(lottery);
                for (qint32 j = 1; j <= total; ++j) {
                    padGetter(value, GetNumber, drawn, j);
                    refill(i, j);
                }
                if (HasSpecial.isTrue(lottery)) {
                    padGetter(value, GetSpecial, drawn);
                    refill(i, total + 1);
                    if (!bonusCount)
                        bonusCount = readSpecialCount(lottery);
                    if (*bonusCount == 2) {
                        padGetter(value, GetSpecialAt, drawn, 2);
                        refill(i, total + 2);
                    }
                }
            }
            updating.finish();
        } catch (...) {
            for (auto it = undo.rbegin(); it != undo.rend(); ++it)
                SetCell(msfData, it->row, it->col, it->text);
            throw;
        }
    }
    marksChanged();
    resetUndo();
    setModified(false);
    ShowEditor();
    return true;
}

namespace
{
// The list stays an ordinary QComboBox to the host; only its model is ours, and it takes the
// host's own items as a standard model would. Its width follows the longest issue's length
// instead of measuring every item, and its popup takes all rows as one height. The model
// belongs to the list, so a list that outlives the control keeps it.
void showIssues(QComboBox *box, IssueListModel *model, int current)
{
    model->setParent(box);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(model->longest() + 1);
    if (auto *view = qobject_cast<QListView *>(box->view()))
        view->setUniformItemSizes(true);
    box->setModel(model); // deletes the list's previous model when the list owned it
    box->setCurrentIndex(current);
    // A longer text the host puts in widens the list as it would a standard one.
    QObject::connect(model, &QAbstractItemModel::dataChanged, box, [box, model] {
        if (box->model() == model)
            box->setMinimumContentsLength(
                std::max(box->minimumContentsLength(), model->longest() + 1));
    });
}
} // namespace

void AppManagerPrivate::FillIssueLists()
{
    using namespace members;
    QObject *lottery = mobjLottery;
    if (!(toInt32(Count(lottery)) > 0))
        return;
    const qint32 n = toInt32(Count(lottery));
    // The host is asked for every issue twice, once per list. Each list gets a model of its
    // own, so that what the host does to one never shows in the other, but the two share
    // their texts while the host gives the same ones, which it nearly always does.
    auto starts = std::make_unique<IssueListModel>();
    std::unique_ptr<IssueListModel> ends;
    starts->reserve(n, 10);
    for (qint32 i = 1; i <= n; ++i) {
        const QString start = GetIssue.text(Item.object(lottery, i));
        const QString end = GetIssue.text(Item.object(lottery, i));
        starts->append(start);
        if (!ends && end != start)
            ends.reset(starts->firstOnes(i - 1));
        if (ends)
            ends->append(end);
    }
    if (!ends)
        ends.reset(starts->firstOnes(n));
    // A host without range lists simply has none refilled.
    if (mcblEnd)
        showIssues(mcblEnd, ends.release(), n - 1);
    if (mcblStart)
        showIssues(mcblStart, starts.release(), 0);
    if (toInt32(Count(lottery)) > 0) {
        StartItem.set(lottery, int16(1));
        EndItem.set(lottery, Count(lottery));
    }
}

QString AppManagerPrivate::GetFolderPath(const QString &strFile)
{
    for (qsizetype i = strFile.size() - 1; i >= 0; --i) {
        if (strFile[i] == u'\\' || strFile[i] == u'/')
            return strFile.left(i);
    }
    throw RuntimeError(5);
}

void AppManagerPrivate::btnOpenFile_Click()
{
    using namespace members;
    try {
        QObject *lottery = mobjLottery;
        QObject *store = mobjStore;
        QString title = LoadMessage(12) + u'(' + toText(MaxNumber(lottery)) + LoadMessage(13) +
                        toText(TotalNumber(lottery));
        if (equalsTrue(HasSpecial(lottery))) {
            title += LoadMessage(14);
            // A second drum is named by its largest number and its count, as the basic one.
            const BonusDrum drum = readBonusDrum(lottery);
            if (drum.own)
                title += u' ' + (drum.maxi ? QString::number(*drum.maxi) : QString()) +
                         LoadMessage(13) + QString::number(drum.count);
            else if (drum.count == 2)
                title += QStringLiteral(" 2");
        }
        title += u')';
        dlgOpenSave->setDialogTitle(title);
        dlgOpenSave->setFilter(LoadMessage(11));

        const QVariantList query =
            recordAddress(host::kRecordLastDataPath, QStringLiteral("0"), int16(0));
        QueryRecord.call(store, query);
        if (toInt32(GetRSSize(store)) == 1)
            dlgOpenSave->setInitDir(toText(GetRSContent(store)));
        dlgOpenSave->ShowOpen();
        const QString file = dlgOpenSave->FileName();

        QueryRecord.call(store, query);
        const qint32 size = toInt32(GetRSSize(store));
        if (size == 0)
            AddRecord.call(store, recordAddress(host::kRecordLastDataPath, QStringLiteral("0"),
                                                GetFolderPath(file)));
        else if (size == 1)
            EditRecord.call(store, recordAddress(host::kRecordLastDataPath, QStringLiteral("0"),
                                                 GetFolderPath(file)));
        shellExecute(QStringLiteral("Open"), file);
    } catch (const std::exception &) {
        // The command ends silently on any failure, keeping what it had done.
    }
}

} // namespace qrt
