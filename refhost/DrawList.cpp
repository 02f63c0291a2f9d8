#include <qrt/refhost/DrawList.h>

namespace qrt::ref
{

QStringView DrawList::issueView(int i) const
{
    const uint32_t begin = i == 0 ? 0 : m_issueEnd[size_t(i) - 1];
    const uint32_t end = m_issueEnd[size_t(i)];
    return QStringView(m_issueChars.data() + begin, qsizetype(end - begin));
}

void DrawList::append(QStringView issue, const qint32 *numbers, qint32 bonus)
{
    m_issueChars.append(issue.utf16(), size_t(issue.size()));
    m_issueEnd.push_back(uint32_t(m_issueChars.size()));
    m_values.append(numbers, size_t(m_total));
    for (int k = 0; k < m_bonuses; ++k)
        m_values.push_back(k == 0 ? bonus : 0);
}

void DrawList::appendDraw(QStringView issue, const qint32 *values)
{
    m_issueChars.append(issue.utf16(), size_t(issue.size()));
    m_issueEnd.push_back(uint32_t(m_issueChars.size()));
    m_values.append(values, stride());
}

void DrawList::reserve(int draws, int issueChars)
{
    m_issueEnd.reserve(size_t(draws));
    m_issueChars.reserve(size_t(draws) * size_t(issueChars));
    m_values.reserve(size_t(draws) * stride());
}

void DrawList::clear()
{
    m_issueEnd.clear();
    m_issueChars.clear();
    m_values.clear();
}

size_t DrawList::memoryBytes() const
{
    return m_issueEnd.capacity() * sizeof(uint32_t) + m_issueChars.capacity() * sizeof(char16_t) +
           m_values.capacity() * sizeof(qint32);
}

} // namespace qrt::ref
