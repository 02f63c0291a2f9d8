#include "DrawIssueModel.h"

#include <algorithm>

namespace qrt::app
{

DrawIssueModel::DrawIssueModel(const ref::DrawList &draws, QObject *parent)
    : QAbstractListModel(parent), m_draws(draws), m_rows(draws.size())
{
    for (int i = 0; i < m_rows; ++i)
        m_longest = std::max(m_longest, int(draws.issueView(i).size()));
}

int DrawIssueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

QVariant DrawIssueModel::data(const QModelIndex &index, int role) const
{
    // The list may have shrunk since: a row past its end reads as empty.
    if ((role != Qt::DisplayRole && role != Qt::EditRole) || index.row() < 0 ||
        index.row() >= std::min(m_rows, m_draws.size()))
        return {};
    return m_draws.issue(index.row());
}

} // namespace qrt::app
