#include "RowIndex.h"

#include <algorithm>
#include <cstring>

namespace qrt
{

void RowIndex::resize(size_t n)
{
    if (m_front + n > m_buf.size())
        regrow(n);
    if (n > m_size)
        std::fill(begin() + m_size, begin() + n, 0u);
    m_size = n;
}

// Room is made at both ends whenever the array moves: the back doubles, and the front gets
// half as much as the rows take, so that the first row inserted at the top of a long history
// does not copy the whole index.
void RowIndex::regrow(size_t rows)
{
    const size_t front = std::max<size_t>(16, std::max(rows, m_size) / 2);
    const size_t back = std::max(rows, m_size * 2);
    std::vector<uint32_t> grown(front + back);
    std::copy(begin(), end(), grown.begin() + std::ptrdiff_t(front));
    m_buf.swap(grown);
    m_front = front;
}

void RowIndex::insert(size_t at)
{
    if (at < m_size / 2) {
        if (m_front == 0)
            regrow(m_size + 1);
        --m_front;
        ++m_size;
        std::memmove(begin(), begin() + 1, at * sizeof(uint32_t));
    } else {
        resize(m_size + 1);
        std::memmove(begin() + at + 1, begin() + at, (m_size - 1 - at) * sizeof(uint32_t));
    }
    (*this)[at] = 0;
}

void RowIndex::insert(size_t at, size_t count)
{
    if (at < m_size / 2) {
        if (m_front < count)
            regrow(m_size + count);
        m_front -= count;
        m_size += count;
        std::memmove(begin(), begin() + count, at * sizeof(uint32_t));
    } else {
        resize(m_size + count);
        std::memmove(begin() + at + count, begin() + at, (m_size - count - at) * sizeof(uint32_t));
    }
    std::fill(begin() + at, begin() + at + count, 0u);
}

void RowIndex::erase(size_t at, size_t count)
{
    const size_t after = m_size - at - count;
    if (at < after) {
        std::memmove(begin() + count, begin(), at * sizeof(uint32_t));
        m_front += count;
    } else {
        std::memmove(begin() + at, begin() + at + count, after * sizeof(uint32_t));
    }
    m_size -= count;
}

} // namespace qrt
