#pragma once

#include <qrt/qrt_export.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qrt
{

/// The per-row offsets of a CellStore: an array with room kept at both ends, so that a row
/// inserted or removed moves whichever side of it is shorter. Inserting at the top of a
/// million-row history, or at its end, moves nothing; the worst case, the middle, moves half.
class QRT_EXPORT RowIndex
{
public:
    size_t size() const { return m_size; }
    uint32_t &operator[](size_t i) { return m_buf[m_front + i]; }
    uint32_t operator[](size_t i) const { return m_buf[m_front + i]; }
    uint32_t *begin() { return m_buf.data() + m_front; }
    uint32_t *end() { return begin() + m_size; }

    /// New rows at the end are 0.
    void resize(size_t n);
    /// One row of 0 before row @p at.
    void insert(size_t at);
    /// @p count rows of 0 before row @p at, moving the shorter side once.
    void insert(size_t at, size_t count);
    void erase(size_t at, size_t count);
    size_t capacityBytes() const { return m_buf.capacity() * sizeof(uint32_t); }

private:
    void regrow(size_t rows);

    std::vector<uint32_t> m_buf;
    size_t m_front = 0; // unused slots before the first row
    size_t m_size = 0;
};

} // namespace qrt
