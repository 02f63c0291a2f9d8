#pragma once

#include <QtGlobal>

namespace qrt
{

class FlexGrid;

/// The grid's cells as the control's load check and save scan them, without a copy: a cell's
/// text as the Latin-1 bytes the grid keeps it in. Kept out of the installed header, as the
/// bytes are valid only until the grid next changes.
class FlexGridCells
{
public:
    /// The bytes of cell (@p row, @p col); false when the cell's row is kept otherwise (then
    /// use FlexGrid::cellText).
    static bool cellLatin1(const FlexGrid &grid, int row, int col, const char *&data,
                           qsizetype &size);
    /// The same for the first @p count columns of row @p row at once (@p data and @p sizes
    /// hold @p count entries each); false, with nothing written, when the row is kept
    /// otherwise.
    static bool rowLatin1(const FlexGrid &grid, int row, int count, const char **data,
                          qsizetype *sizes);
};

} // namespace qrt
