#include "ByteBuffer_p.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

namespace qrt
{

ByteBuffer::~ByteBuffer()
{
    std::free(m_data);
}

void ByteBuffer::grow(size_t atLeast)
{
    const size_t capacity = std::max({atLeast, m_capacity * 2, size_t(64)});
    void *grown = std::realloc(m_data, capacity);
    if (!grown)
        throw std::bad_alloc();
    m_data = static_cast<uint8_t *>(grown);
    m_capacity = capacity;
}

void ByteBuffer::swap(ByteBuffer &other) noexcept
{
    std::swap(m_data, other.m_data);
    std::swap(m_size, other.m_size);
    std::swap(m_capacity, other.m_capacity);
}

} // namespace qrt
