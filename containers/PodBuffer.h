#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <type_traits>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace qrt
{

/// A growable array of plain values. On Linux a large one lives in its own mapping and grows
/// with mremap, which moves page tables instead of copying the values into fresh memory: for
/// a million draws that saves copying tens of megabytes and touching every page twice at each
/// doubling. Room added with extend() is left for the caller to fill.
template <typename T> class PodBuffer
{
    static_assert(std::is_trivially_copyable_v<T>);

public:
    PodBuffer() = default;
    /// Copies the values.
    PodBuffer(const PodBuffer &other) { append(other.data(), other.size()); }
    /// Takes the values over, leaving @p other empty.
    PodBuffer(PodBuffer &&other) noexcept { swap(other); }
    /// Copies or takes over @p other's values.
    PodBuffer &operator=(PodBuffer other) noexcept
    {
        swap(other);
        return *this;
    }
    ~PodBuffer() { release(); }

    /// The values, size() of them, in a block of capacity() places.
    ///@{
    T *data() { return m_data; }
    const T *data() const { return m_data; }
    const T *begin() const { return m_data; }
    const T *end() const { return m_data + m_size; }
    size_t size() const { return m_size; }
    size_t capacity() const { return m_capacity; }
    T &operator[](size_t i) { return m_data[i]; }
    const T &operator[](size_t i) const { return m_data[i]; }

    /// Adds @p value at the end.
    void push_back(T value)
    {
        if (m_size == m_capacity)
            grow(m_size + 1);
        m_data[m_size++] = value;
    }
    ///@}
    /// Adds @p n values for the caller to write and returns where they start. Earlier
    /// pointers into the buffer are invalid afterwards.
    T *extend(size_t n)
    {
        if (n > m_capacity - m_size)
            grow(m_size + n);
        T *at = m_data + m_size;
        m_size += n;
        return at;
    }
    /// @p values must not point into this buffer.
    void append(const T *values, size_t n)
    {
        Q_ASSERT(n == 0 || values + n <= m_data || values >= m_data + m_capacity);
        if (n > 0)
            std::memcpy(extend(n), values, n * sizeof(T));
    }
    /// Drops values from the end.
    void truncate(size_t size) { m_size = std::min(size, m_size); }
    /// Drops every value, keeping the room.
    void clear() { m_size = 0; }
    /// Makes room for @p capacity values in all.
    void reserve(size_t capacity)
    {
        if (capacity > m_capacity)
            grow(capacity);
    }
    /// Exchanges the values of the two buffers.
    void swap(PodBuffer &other) noexcept
    {
        std::swap(m_data, other.m_data);
        std::swap(m_size, other.m_size);
        std::swap(m_capacity, other.m_capacity);
        std::swap(m_mapped, other.m_mapped);
    }

    /// Whether both hold the same values.
    friend bool operator==(const PodBuffer &a, const PodBuffer &b)
    {
        return a.m_size == b.m_size &&
               (a.m_size == 0 || std::memcmp(a.m_data, b.m_data, a.m_size * sizeof(T)) == 0);
    }

private:
    static constexpr size_t kMapFrom = size_t(1) << 20; // bytes

    void grow(size_t atLeast)
    {
        size_t capacity = std::max({atLeast, m_capacity * 2, 64 / sizeof(T) + 1});
        if (capacity > std::numeric_limits<size_t>::max() / sizeof(T) / 2)
            throw std::bad_alloc();
#ifdef __linux__
        if (capacity * sizeof(T) >= kMapFrom) {
            const size_t page = size_t(sysconf(_SC_PAGESIZE));
            const size_t bytes = (capacity * sizeof(T) + page - 1) / page * page;
            void *grown = m_mapped ? mremap(m_data, m_capacity * sizeof(T), bytes, MREMAP_MAYMOVE)
                                   : mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            if (grown == MAP_FAILED)
                throw std::bad_alloc();
            if (!m_mapped) {
                if (m_size > 0)
                    std::memcpy(grown, m_data, m_size * sizeof(T));
                std::free(m_data);
                m_mapped = true;
            }
            m_data = static_cast<T *>(grown);
            m_capacity = bytes / sizeof(T);
            return;
        }
#endif
        void *grown = std::realloc(m_data, capacity * sizeof(T));
        if (!grown)
            throw std::bad_alloc();
        m_data = static_cast<T *>(grown);
        m_capacity = capacity;
    }

    void release()
    {
#ifdef __linux__
        if (m_mapped) {
            munmap(m_data, m_capacity * sizeof(T));
            return;
        }
#endif
        std::free(m_data);
    }

    T *m_data = nullptr;
    size_t m_size = 0;
    size_t m_capacity = 0;
    bool m_mapped = false;
};

} // namespace qrt
