#pragma once

#include <qrt/qrt_export.h>

#include <QString>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace qrt
{

/// Read-only access to the draw rows being checked: row 0 is the first draw, column 0 the
/// issue, columns 1 to TotalNumber the basic numbers, and the last columns the bonus numbers
/// when the lottery has them.
class QRT_EXPORT DrawTable
{
public:
    virtual ~DrawTable();
    virtual int rowCount() const = 0;
    virtual int colCount() const = 0;
    /// Puts the raw text of a cell into @p out, reusing its buffer.
    virtual void cell(int row, int col, QString &out) const = 0;
    /// The cell's characters as single bytes the table keeps, without a copy: Latin-1, or
    /// UTF-8 (the rules look for ASCII digits only, which both spell alike). False when the
    /// table keeps this cell otherwise; cell() is used then.
    virtual bool cellBytes(int row, int col, const char *&data, qsizetype &size) const
    {
        Q_UNUSED(row)
        Q_UNUSED(col)
        Q_UNUSED(data)
        Q_UNUSED(size)
        return false;
    }
};

/// What the rules need to know of the lottery. A bound that could not be obtained is empty
/// and makes every range test fail.
struct DrawLimits {
    qint32 totalNumber = 0;
    std::optional<qint32> miniNumber;
    std::optional<qint32> maxNumber;
    /// False only when the lottery's "HasSpecial" equals False: then the bonus checks and the
    /// check for repeated numbers within a draw are skipped.
    bool checkBonus = true;
    /// How many bonus columns end the table (1 or 2), when the bonus is checked.
    int bonusCount = 1;
    /// The bonus numbers come from a drum of their own: each is checked against these bounds
    /// (empty: the range test fails) and may equal a basic number; repeats are looked for
    /// among the basic numbers and among the bonus numbers, each on their own.
    bool ownDrum = false;
    std::optional<qint32> bonusMini;
    std::optional<qint32> bonusMax;
};

/// The bounds of every number column of a table of @p cols columns as [low, high]; a bound
/// that could not be obtained gives an empty range. Column 0, the issue, has none.
QRT_EXPORT std::vector<std::pair<qint32, qint32>> columnBounds(const DrawLimits &limits, int cols);

/// One broken rule: the catalogue message that names it and the cell it was found in.
struct RuleBreak {
    int message;
    int row;
    int col;
    bool operator==(const RuleBreak &) const = default;
};

/// Checks the draws, in this order: every issue made of digits (19); no issue twice, compared
/// as text (21); then for each basic-number column, left to right, every cell made of digits
/// (22) before every cell within the bounds (23); unless the lottery has no bonus number, each
/// bonus column, left to right, made of digits (24) and within its drum's bounds (25); then no
/// value twice in a draw (26): over the whole draw when the bonus numbers share the basic
/// drum, else among the basic numbers and among the bonus numbers.
///
/// With @p stopAtFirst the result holds at most the first broken rule. Otherwise every broken
/// rule is listed, each step over all rows, and later steps still run; a cell that breaks an
/// earlier step is not reported again by a later step that needs its value.
///
/// @p rowsRead, when given, is told now and then how many rows have been read, the last time
/// with every row; nearly all the work is the reading.
QRT_EXPORT std::vector<RuleBreak> checkDraws(const DrawTable &table, const DrawLimits &limits,
                                             bool stopAtFirst,
                                             const std::function<void(int rows)> &rowsRead = {});

/// Non-empty and made of the characters 0 to 9 only.
QRT_EXPORT bool isDigits(QStringView text);

} // namespace qrt
