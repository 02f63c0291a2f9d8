#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qrt
{

/// A growable byte array for the cell pool. Unlike std::vector it grows with realloc, which
/// for a large block moves pages instead of copying them (and touching every page anew), and
/// it leaves appended room uninitialised for the caller to fill.
class ByteBuffer
{
public:
    ByteBuffer() = default;
    ~ByteBuffer();
    ByteBuffer(const ByteBuffer &) = delete;
    ByteBuffer &operator=(const ByteBuffer &) = delete;

    uint8_t *data() { return m_data; }
    const uint8_t *data() const { return m_data; }
    size_t size() const { return m_size; }
    size_t capacity() const { return m_capacity; }

    void push_back(uint8_t byte)
    {
        if (m_size == m_capacity)
            grow(m_size + 1);
        m_data[m_size++] = byte;
    }
    /// Adds @p n bytes for the caller to write and returns where they start. Earlier
    /// pointers into the buffer are invalid afterwards.
    uint8_t *extend(size_t n)
    {
        if (m_size + n > m_capacity)
            grow(m_size + n);
        uint8_t *at = m_data + m_size;
        m_size += n;
        return at;
    }
    /// @p bytes must not point into this buffer.
    void append(const uint8_t *bytes, size_t n)
    {
        if (n > 0)
            std::memcpy(extend(n), bytes, n);
    }
    /// Drops bytes from the end.
    void truncate(size_t size) { m_size = size; }
    void reserve(size_t capacity)
    {
        if (capacity > m_capacity)
            grow(capacity);
    }
    void swap(ByteBuffer &other) noexcept;

private:
    void grow(size_t atLeast);

    uint8_t *m_data = nullptr;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

} // namespace qrt
