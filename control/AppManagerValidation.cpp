#include "AppManager_p.h"
#include "DrawRules.h"
#include "FlexGridCells.h"
#include "frmInfo.h"
#include "modPublic.h"
#include <qrt/FlexGrid.h>
#include <qrt/MsgBox.h>
#include <qrt/RuntimeError.h>

namespace qrt
{

namespace
{

// The data rows of the grid: grid row r + 1 is table row r; the header row and the entry row
// are left out.
class GridDrawTable : public DrawTable
{
public:
    explicit GridDrawTable(const FlexGrid &grid)
        : m_grid(grid), m_bytes(size_t(grid.Cols())), m_sizes(size_t(grid.Cols()))
    {
    }
    int rowCount() const override { return std::max(0, m_grid.Rows() - 2); }
    int colCount() const override { return m_grid.Cols(); }
    void cell(int row, int col, QString &out) const override { m_grid.cellText(row + 1, col, out); }
    // The rules read row by row: each row is fetched whole, once.
    bool cellBytes(int row, int col, const char *&data, qsizetype &size) const override
    {
        if (row != m_row) {
            m_rowIsBytes = FlexGridCells::rowLatin1(m_grid, row + 1, int(m_bytes.size()),
                                                    m_bytes.data(), m_sizes.data());
            m_row = row;
        }
        if (!m_rowIsBytes)
            return false;
        data = m_bytes[size_t(col)];
        size = m_sizes[size_t(col)];
        return true;
    }

private:
    const FlexGrid &m_grid;
    mutable int m_row = -1;
    mutable bool m_rowIsBytes = false;
    mutable std::vector<const char *> m_bytes;
    mutable std::vector<qsizetype> m_sizes;
};

std::optional<qint32> readBound(const Member &member, QObject *lottery)
{
    // A bound the host cannot give makes every range test fail, as a fault in a rule does.
    try {
        return toInt32(member(lottery));
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
}

} // namespace

DrawLimits AppManagerPrivate::readLimits() const
{
    using namespace members;
    QObject *lottery = mobjLottery;
    DrawLimits limits;
    limits.totalNumber = toInt32(TotalNumber(lottery));
    const QVariant hasSpecial = HasSpecial(lottery);
    limits.checkBonus = !equalsFalse(hasSpecial);
    if (equalsTrue(hasSpecial)) {
        const BonusDrum drum = readBonusDrum(lottery);
        limits.bonusCount = drum.count;
        limits.ownDrum = drum.own;
        limits.bonusMini = drum.mini;
        limits.bonusMax = drum.maxi;
    }
    limits.miniNumber = readBound(MiniNumber, lottery);
    limits.maxNumber = readBound(MaxNumber, lottery);
    return limits;
}

bool AppManagerPrivate::ValidateData()
{
    DrawLimits limits;
    try {
        limits = readLimits();
    } catch (const RuntimeError &e) {
        // Without the lottery's shape no rule can be judged; nothing may be saved.
        report(e.number(), e.description());
        return false;
    }

    const GridDrawTable table(*msfData);
    ProgressReport progress(q, LoadMessage(30), table.rowCount());
    const std::vector<RuleBreak> breaks =
        checkDraws(table, limits, true, [&](int done) { progress.step(done); });
    progress.finish();
    if (breaks.empty())
        return true;
    const RuleBreak &b = breaks.front();
    msgBox(LoadMessage(b.message), MsgBoxStop, LoadMessage(18));
    handle([&] {
        msfData->setRow(b.row + 1);
        msfData->setCol(b.col);
        ShowEditor();
    });
    return false;
}

void AppManagerPrivate::btnDataValidate_Click()
{
    auto info = std::make_unique<frmInfo>();
    info->setInfo(LoadMessage(30));
    info->show();
    const bool valid = ValidateData();
    info.reset();
    if (valid)
        msgBox(LoadMessage(20), MsgBoxInformation, LoadMessage(17));
}

} // namespace qrt
