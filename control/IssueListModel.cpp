#include "IssueListModel_p.h"

#include <algorithm>

namespace qrt
{

void IssueListModel::reserve(int issues, int chars)
{
    m_ends.reserve(size_t(issues));
    m_pool.reserve(qsizetype(issues) * chars);
}

// Only while the model is being filled, before any view sees it.
void IssueListModel::append(QStringView issue)
{
    m_pool.append(issue);
    m_ends.push_back(m_pool.size());
    m_longest = std::max(m_longest, int(issue.size()));
}

IssueListModel *IssueListModel::firstOnes(int count) const
{
    auto *copy = new IssueListModel;
    copy->m_ends.assign(m_ends.begin(), m_ends.begin() + count);
    copy->m_pool = m_pool.left(count > 0 ? m_ends[size_t(count) - 1] : 0);
    for (int i = 0; i < count; ++i)
        copy->m_longest =
            std::max(copy->m_longest, int(m_ends[size_t(i)] - (i > 0 ? m_ends[size_t(i) - 1] : 0)));
    return copy;
}

int IssueListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_ends.size());
}

QVariant IssueListModel::data(const QModelIndex &index, int role) const
{
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || index.parent().isValid() ||
        index.row() < 0 || size_t(index.row()) >= m_ends.size())
        return {};
    const size_t row = size_t(index.row());
    const qsizetype begin = row > 0 ? m_ends[row - 1] : 0;
    return m_pool.mid(begin, m_ends[row] - begin);
}

} // namespace qrt
