#include <qrt/refhost/DrawList.h>

#include "PodBuffer.h"

#include <cstdint>

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
}

DrawList::DrawList(DrawList &&other) noexcept = default;

DrawList &DrawList::operator=(const DrawList &other)
{
    if (this != &other)
        *this = DrawList(other);
    return *this;
}

DrawList &DrawList::operator=(DrawList &&other) noexcept = default;
DrawList::~DrawList() = default;

DrawList::Storage &DrawList::storage()
{
    if (!d)
        d = std::make_unique<Storage>();
    return *d;
}

int DrawList::size() const
{
    return d ? int(d->issueEnd.size()) : 0;
}

qint32 DrawList::number(int i, int j) const
{
    Q_ASSERT(i >= 0 && i < size() && j >= 0 && j < m_total);
    return d->values[size_t(i) * stride() + size_t(j)];
}

qint32 DrawList::bonus(int i, int k) const
{
    Q_ASSERT(i >= 0 && i < size() && k >= 0);
    return k < m_bonuses ? d->values[size_t(i) * stride() + size_t(m_total + k)] : 0;
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
}

void DrawList::appendDraw(QStringView issue, const qint32 *values)
{
    Storage &s = storage();
    s.issueChars.append(issue.utf16(), size_t(issue.size()));
    s.issueEnd.push_back(uint32_t(s.issueChars.size()));
    s.values.append(values, stride());
}

void DrawList::reserve(int draws, int issueChars)
{
    Storage &s = storage();
    s.issueEnd.reserve(size_t(draws));
    s.issueChars.reserve(size_t(draws) * size_t(issueChars));
    s.values.reserve(size_t(draws) * stride());
}

void DrawList::clear()
{
    if (!d)
        return;
    d->issueEnd.clear();
    d->issueChars.clear();
    d->values.clear();
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
