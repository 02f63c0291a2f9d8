// Cells that break a rule, marked as they are typed, for hosts that switch markRuleBreaks on.
#include "AppManager_p.h"
#include "modPublic.h"
#include <qrt/FlexGrid.h>

#include <QLineEdit>

namespace qrt
{

namespace
{

// One row of the grid as the rules read a table of one draw.
class GridRowTable : public DrawTable
{
public:
    GridRowTable(const FlexGrid &grid, int row) : m_grid(grid), m_row(row) {}
    int rowCount() const override { return 1; }
    int colCount() const override { return m_grid.Cols(); }
    void cell(int, int col, QString &out) const override { m_grid.cellText(m_row, col, out); }

private:
    const FlexGrid &m_grid;
    int m_row;
};

// Below this many draws an issue is looked for above its row by reading every row; above, by
// halving, which finds it wherever the issues rise.
constexpr int kReadThroughRows = 20000;

// Enough for several screens; more judged rows are forgotten at once.
constexpr size_t kMaxJudgedRows = 4096;

const QString kEditorStyle = QStringLiteral("QLineEdit { border: 1px solid palette(highlight); }");
const QString kMarkedEditorStyle = QStringLiteral(
    "QLineEdit { border: 1px solid palette(highlight); background: rgb(255, 205, 205); }");

} // namespace

bool AppManager::markRuleBreaks() const
{
    return d->markBreaks;
}

void AppManager::setMarkRuleBreaks(bool on)
{
    if (on == d->markBreaks)
        return;
    d->markBreaks = on;
    if (on) {
        d->msfData->setCellMarks([dd = d.get()](int row, int col) {
            const int message = dd->ruleBreakAt(row, col);
            return message ? LoadMessage(message) : QString();
        });
    } else {
        d->msfData->setCellMarks({});
    }
    d->marksChanged();
    d->markEditor();
}

void AppManagerPrivate::marksChanged(int row, int col)
{
    // A number typed changes the marks of its own row only; an issue (a repeat is marked
    // further down), rows in or out, or a load may change any row's.
    if (row > 0 && col > 0) {
        judgedRows.erase(row);
    } else {
        judgedRows.clear();
        markLimits.reset();
        markLimitsFailed = false;
    }
    if (markBreaks)
        msfData->repaintCells();
}

int AppManagerPrivate::ruleBreakAt(int row, int col)
{
    if (!markBreaks || !mblnLoaded || !mobjLottery || row < 1 || row >= msfData->Rows() - 1)
        return 0;
    auto it = judgedRows.find(row);
    if (it == judgedRows.end()) {
        std::vector<quint8> marks(size_t(msfData->Cols()), 0);
        try {
            if (!markLimits && !markLimitsFailed) {
                markLimitsFailed = true;
                markLimits = readLimits();
                markLimitsFailed = false;
            }
            if (markLimits) {
                for (const RuleBreak &b :
                     checkDraws(GridRowTable(*msfData, row), *markLimits, false)) {
                    if (b.col >= 0 && size_t(b.col) < marks.size() && marks[size_t(b.col)] == 0)
                        marks[size_t(b.col)] = quint8(b.message);
                }
                // The repeat of an issue is the one further down, as Check reports it.
                if (!marks.empty() && marks[0] == 0) {
                    QString issue;
                    msfData->cellText(row, 0, issue);
                    const int first =
                        rowOfIssue(issue, row - 1, msfData->Rows() - 2 <= kReadThroughRows);
                    if (first > 0)
                        marks[0] = 21;
                }
            }
        } catch (const std::exception &) {
            // A host that cannot answer gets no marks; Check will tell.
        }
        if (judgedRows.size() >= kMaxJudgedRows)
            judgedRows.clear();
        it = judgedRows.emplace(row, std::move(marks)).first;
    }
    const int mark = size_t(col) < it->second.size() ? it->second[size_t(col)] : 0;
    // The cells of the row being typed that are still empty are not yet a fault: they are
    // marked once the user leaves the row, and Check names them as before.
    if (mark && row == msfData->Row()) {
        QString text;
        msfData->cellText(row, col, text);
        if (text.isEmpty())
            return 0;
    }
    return mark;
}

void AppManagerPrivate::markEditor()
{
    const int mark = ruleBreakAt(msfData->Row(), msfData->Col());
    if (mark == editorMark)
        return;
    editorMark = mark;
    txtEdit->setToolTip(mark ? LoadMessage(mark) : QString());
    txtEdit->setStyleSheet(mark ? kMarkedEditorStyle : kEditorStyle);
}

} // namespace qrt
