#include <qrt/refhost/DrawList.h>

#include "PodBuffer.h"

#include <cstdint>
#include <utility>

namespace qrt::ref
{

// Grown with realloc: a collection filled one draw at a time by a save does not copy itself at
// every doubling.
class DrawList::Storage
{
public:
    PodBuffer<uint32_t> issueEnd;
    PodBuffer<char16_t> issueChars;
    PodBuffer<qint32> values;
};

DrawList::DrawList() = default;
DrawList::DrawList(int total, int bonuses) : m_total(total), m_bonuses(bonuses) {}

DrawList::DrawList(const DrawList &other)
    : m_total(other.m_total), m_bonuses(other.m_bonuses),
      d(other.d ? std::make_unique<Storage>(*other.d) : nullptr)
{
    refresh();
}

DrawList::DrawList(DrawList &&other) noexcept
    : m_total(other.m_total), m_bonuses(other.m_bonuses), d(std::move(other.d)),
      m_size(std::exchange(other.m_size, 0)), m_values(std::exchange(other.m_values, nullptr))
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
    s.values.append(numbers, size_t(m_total));
    for (int k = 0; k < m_bonuses; ++k)
        s.values.push_back(k == 0 ? bonus : 0);
    refresh();
}

void DrawList::appendDraw(QStringView issue, const qint32 *values)
{
    Storage &s = storage();
    s.issueChars.append(issue.utf16(), size_t(issue.size()));
    s.issueEnd.push_back(uint32_t(s.issueChars.size()));
    s.values.append(values, stride());
    refresh();
}

void DrawList::reserve(int draws, int issueChars)
{
    Storage &s = storage();
    s.issueEnd.reserve(size_t(draws));
    s.issueChars.reserve(size_t(draws) * size_t(issueChars));
    s.values.reserve(size_t(draws) * stride());
    refresh();
}

void DrawList::clear()
{
    if (!d)
        return;
    d->issueEnd.clear();
    d->issueChars.clear();
    d->values.clear();
    refresh();
}

size_t DrawList::memoryBytes() const
{
    if (!d)
        return 0;
    return d->issueEnd.capacity() * sizeof(uint32_t) + d->issueChars.capacity() * sizeof(char16_t) +
           d->values.capacity() * sizeof(qint32);
}

bool DrawList::operator==(const DrawList &o) const
{
    if (m_total != o.m_total || m_bonuses != o.m_bonuses || size() != o.size())
        return false;
    if (size() == 0)
        return true;
    return d->issueEnd == o.d->issueEnd && d->issueChars == o.d->issueChars &&
           d->values == o.d->values;
}

} // namespace qrt::ref
