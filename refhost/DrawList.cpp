#include <qrt/refhost/DrawList.h>

#include "PodBuffer.h"

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace qrt::ref
{

// Grown with realloc: a collection filled one draw at a time by a save does not copy itself at
// every doubling.
class DrawList::Storage
{
public:
    PodBuffer<uint32_t> issueEnd;
    PodBuffer<char16_t> issueChars;
    // The numbers, DrawList::m_width bytes each.
    PodBuffer<unsigned char> values;
};

namespace
{
int widthFor(qint32 v)
{
    return v >= 0 && v <= 0xff ? 1 : v >= 0 && v <= 0xffff ? 2 : 4;
}

template <typename T> void put(PodBuffer<unsigned char> &to, const qint32 *values, size_t n)
{
    T *at = reinterpret_cast<T *>(to.extend(n * sizeof(T)));
    for (size_t k = 0; k < n; ++k)
        at[k] = T(values[k]);
}

void putAs(int width, PodBuffer<unsigned char> &to, const qint32 *values, size_t n)
{
    if (width == 1)
        put<quint8>(to, values, n);
    else if (width == 2)
        put<quint16>(to, values, n);
    else
        put<qint32>(to, values, n);
}
} // namespace

DrawList::DrawList() = default;
DrawList::DrawList(int total, int bonuses) : m_total(total), m_bonuses(bonuses) {}

DrawList::DrawList(const DrawList &other)
    : m_total(other.m_total), m_bonuses(other.m_bonuses),
      d(other.d ? std::make_unique<Storage>(*other.d) : nullptr), m_width(other.m_width)
{
    refresh();
}

DrawList::DrawList(DrawList &&other) noexcept
    : m_total(other.m_total), m_bonuses(other.m_bonuses), d(std::move(other.d)),
      m_size(std::exchange(other.m_size, 0)), m_width(std::exchange(other.m_width, 1)),
      m_values(std::exchange(other.m_values, nullptr))
{
}

DrawList &DrawList::operator=(const DrawList &other)
{
    if (this != &other)
        *this = DrawList(other);
    return *this;
}

DrawList &DrawList::operator=(DrawList &&other) noexcept
{
    if (this != &other) {
        m_total = other.m_total;
        m_bonuses = other.m_bonuses;
        d = std::move(other.d);
        m_size = std::exchange(other.m_size, 0);
        m_width = std::exchange(other.m_width, 1);
        m_values = std::exchange(other.m_values, nullptr);
    }
    return *this;
}

DrawList::~DrawList() = default;

DrawList::Storage &DrawList::storage()
{
    if (!d)
        d = std::make_unique<Storage>();
    return *d;
}

void DrawList::refresh()
{
    m_size = d ? int(d->issueEnd.size()) : 0;
    m_values = d ? d->values.data() : nullptr;
}

QStringView DrawList::issueView(int i) const
{
    Q_ASSERT(i >= 0 && i < size());
    const uint32_t begin = i == 0 ? 0 : d->issueEnd[size_t(i) - 1];
    const uint32_t end = d->issueEnd[size_t(i)];
    return QStringView(d->issueChars.data() + begin, qsizetype(end - begin));
}

void DrawList::append(QStringView issue, const qint32 *numbers, qint32 bonus)
{
    Storage &s = storage();
    s.issueChars.append(issue.utf16(), size_t(issue.size()));
    s.issueEnd.push_back(uint32_t(s.issueChars.size()));
    appendValues(numbers, bonus, true);
}

void DrawList::appendDraw(QStringView issue, const qint32 *values)
{
    Storage &s = storage();
    s.issueChars.append(issue.utf16(), size_t(issue.size()));
    s.issueEnd.push_back(uint32_t(s.issueChars.size()));
    appendValues(values, 0, false);
}

// The basic numbers from @p values, then either the bonus numbers from there too or @p bonus
// and zeros; a number too wide for the numbers held so far widens them all, once.
void DrawList::appendValues(const qint32 *values, qint32 bonus, bool oneBonus)
{
    const size_t given = oneBonus ? size_t(m_total) : stride();
    int width = m_width;
    for (size_t k = 0; k < given; ++k)
        width = std::max(width, widthFor(values[k]));
    if (oneBonus && m_bonuses > 0)
        width = std::max(width, widthFor(bonus));
    Storage &s = *d;
    if (width > m_width) {
        PodBuffer<unsigned char> wider;
        const size_t count = s.values.size() / size_t(m_width);
        wider.reserve(std::max(s.values.capacity() / size_t(m_width), count + stride()) *
                      size_t(width));
        std::vector<qint32> old(count);
        for (size_t k = 0; k < count; ++k)
            old[k] = value(k);
        putAs(width, wider, old.data(), count);
        s.values.swap(wider);
        m_width = width;
    }
    putAs(m_width, s.values, values, given);
    if (oneBonus) {
        for (int k = 0; k < m_bonuses; ++k) {
            const qint32 b = k == 0 ? bonus : 0;
            putAs(m_width, s.values, &b, 1);
        }
    }
    refresh();
}

void DrawList::reserve(int draws, int issueChars)
{
    Storage &s = storage();
    s.issueEnd.reserve(size_t(draws));
    s.issueChars.reserve(size_t(draws) * size_t(issueChars));
    s.values.reserve(size_t(draws) * stride() * size_t(m_width));
    refresh();
}

void DrawList::clear()
{
    if (!d)
        return;
    d->issueEnd.clear();
    d->issueChars.clear();
    d->values.clear();
    m_width = 1;
    refresh();
}

size_t DrawList::memoryBytes() const
{
    if (!d)
        return 0;
    return d->issueEnd.capacity() * sizeof(uint32_t) + d->issueChars.capacity() * sizeof(char16_t) +
           d->values.capacity();
}

bool DrawList::operator==(const DrawList &o) const
{
    if (m_total != o.m_total || m_bonuses != o.m_bonuses || size() != o.size())
        return false;
    if (size() == 0)
        return true;
    // The width follows from the numbers held, so lists of other widths hold other numbers.
    return m_width == o.m_width && d->issueEnd == o.d->issueEnd &&
           d->issueChars == o.d->issueChars && d->values == o.d->values;
}

} // namespace qrt::ref
