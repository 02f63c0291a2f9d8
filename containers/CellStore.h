#pragma once

#include "PodBuffer.h"
#include "RowIndex.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace qrt
{

/// The texts of a grid, kept compactly: every row is one blob in a shared byte pool, Latin-1
/// when it can be and UTF-16 otherwise, so a million draws cost a few dozen bytes each instead
/// of a heap string per cell. Rows are addressed through a vector of offsets, which keeps row
/// insertion and removal to a move of four bytes per row on the shorter side.
class QRT_EXPORT CellStore
{
public:
    /// The pool is compacted once at least @p compactAt bytes of it are garbage and the
    /// garbage is at least half of it; tests lower the threshold to reach the compaction.
    explicit CellStore(size_t compactAt = size_t(1) << 20);

    int rows() const { return int(m_ref.size()); }
    int cols() const { return m_cols; }

    /// Appends empty rows or drops rows from the end.
    void setRows(int rows);
    /// Cells beyond a narrower column count are dropped, so widening again shows them empty.
    void setCols(int cols);

    QString text(int row, int col) const;
    /// The same into @p out, reusing its buffer.
    void textInto(int row, int col, QString &out) const;
    /// The cell's Latin-1 bytes where they lie, when its row is kept in Latin-1.
    bool latin1(int row, int col, const char *&data, qsizetype &size) const;
    /// The Latin-1 bytes of the first @p count cells of a row at once, cells past the row's
    /// end empty; false, with nothing written, when the row is kept in UTF-16.
    bool rowLatin1(int row, int count, const char **data, qsizetype *sizes) const;
    void setText(int row, int col, QStringView text);
    /// Replaces the texts of a whole row at once; missing cells become empty.
    void setRow(int row, const std::vector<QString> &cells);
    /// The same from one text whose parts, split at @p separator, are the cells in order.
    void setRowParts(int row, QStringView parts, QChar separator);

    void insertRow(int at);
    void insertRows(int at, int count);
    void removeRow(int at);
    void removeRows(int at, int count);

    /// Bytes held by the store, for measurements.
    size_t memoryBytes() const;
    /// How often the pool was compacted.
    int compactions() const { return m_compactions; }

private:
    std::vector<QString> decodeRow(uint32_t offset) const;
    uint32_t appendRow(const std::vector<QString> &cells);
    /// With @p wideKnown 0 or 1 the caller has found whether a cell needs UTF-16.
    template <typename CellText>
    uint32_t appendBlob(uint32_t count, CellText &&cellAt, int wideKnown = -1);
    bool needsWideSpans(const char16_t *text, uint32_t count) const;
    size_t blobSize(uint32_t offset) const;
    void release(uint32_t offset);
    void release(uint32_t offset, size_t size);
    void compactIfWasteful();
    bool overwriteInPlace(uint32_t offset, int col, QStringView text);
    bool appendAtPoolEnd(uint32_t offset, int col, QStringView text);

    struct Located {
        const uint8_t *chars = nullptr;
        uint32_t len = 0;
        bool wide = false;
    };
    Located locateForReading(uint32_t offset, int col) const;

    struct Span {
        uint32_t pos; // of the cell's characters in m_pool
        uint32_t len; // in characters
    };
    std::vector<Span> m_spans;      // scratch of setText
    std::vector<uint8_t> m_scratch; // scratch of setText
    RowIndex m_ref;                 // per row, offset of its blob in m_pool; 0 means all empty
    PodBuffer<uint8_t> m_pool;
    struct Cursor {
        uint64_t generation = ~uint64_t(0);
        uint32_t offset = 0;
        int col = -1;
        uint32_t count = 0;
        uint32_t pos = 0; // where the cell's length starts in m_pool
    };
    mutable Cursor m_cursor;   // where the next cell of the row read last starts
    uint64_t m_generation = 0; // of changes, which move cells
    size_t m_garbage = 0;
    size_t m_compactAt;
    int m_compactions = 0;
    int m_cols = 0;
};

} // namespace qrt
