#include "IssueListModel_p.h"

#include <algorithm>

namespace qrt
{

namespace
{
bool isText(int role)
{
    return role == Qt::DisplayRole || role == Qt::EditRole;
}
} // namespace

void IssueListModel::reserve(int issues, int chars)
{
    m_spans.reserve(issues);
    m_pool.reserve(qsizetype(issues) * chars);
}

void IssueListModel::append(QStringView issue)
{
    m_spans.append({quint32(m_pool.size()), quint32(issue.size())});
    m_pool.append(issue);
    m_longest = std::max(m_longest, int(issue.size()));
}

IssueListModel *IssueListModel::firstOnes(int count) const
{
    auto *copy = new IssueListModel;
    copy->m_pool = m_pool;
    // All of them, the usual case, shares the list too instead of copying it.
    if (count == m_spans.size()) {
        copy->m_spans = m_spans;
        copy->m_longest = m_longest;
        return copy;
    }
    copy->m_spans = m_spans.first(count);
    for (const Span &s : std::as_const(copy->m_spans))
        copy->m_longest = std::max(copy->m_longest, int(s.size));
    return copy;
}

bool IssueListModel::isRow(const QModelIndex &index) const
{
    return index.isValid() && !index.parent().isValid() && index.column() == 0 &&
           index.row() < m_spans.size();
}

QStringView IssueListModel::text(qsizetype row) const
{
    const Span s = m_spans[row];
    return QStringView(m_pool).mid(s.begin, s.size);
}

int IssueListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_spans.size());
}

QVariant IssueListModel::data(const QModelIndex &index, int role) const
{
    if (!isRow(index))
        return {};
    if (isText(role))
        return text(index.row()).toString();
    return m_roles.isEmpty() ? QVariant() : m_roles[index.row()].value(role);
}

QMap<int, QVariant> IssueListModel::itemData(const QModelIndex &index) const
{
    if (!isRow(index))
        return {};
    QMap<int, QVariant> roles = m_roles.isEmpty() ? QMap<int, QVariant>() : m_roles[index.row()];
    roles.insert(Qt::DisplayRole, text(index.row()).toString());
    roles.insert(Qt::EditRole, roles.value(Qt::DisplayRole));
    return roles;
}

bool IssueListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!isRow(index))
        return false;
    if (isText(role)) {
        // The old text stays in the pool unused; a list the host rewrites item by item is
        // small beside the pool of a fill.
        const QString issue = value.toString();
        m_spans[index.row()] = {quint32(m_pool.size()), quint32(issue.size())};
        m_pool.append(issue);
        m_longest = std::max(m_longest, int(issue.size()));
        Q_EMIT dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
        return true;
    }
    if (m_roles.isEmpty())
        m_roles.resize(m_spans.size());
    m_roles[index.row()].insert(role, value);
    Q_EMIT dataChanged(index, index, {role});
    return true;
}

Qt::ItemFlags IssueListModel::flags(const QModelIndex &index) const
{
    return isRow(index) ? Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable
                        : Qt::NoItemFlags;
}

bool IssueListModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > m_spans.size() || count < 1)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    m_spans.insert(row, count, Span{quint32(m_pool.size()), 0});
    if (!m_roles.isEmpty())
        m_roles.insert(row, count, {});
    endInsertRows();
    return true;
}

bool IssueListModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > m_spans.size())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    m_spans.remove(row, count);
    if (!m_roles.isEmpty())
        m_roles.remove(row, count);
    if (m_spans.isEmpty()) {
        // A cleared list lets go of the fill's texts.
        m_pool = QString();
        m_roles.clear();
        m_longest = 0;
    }
    endRemoveRows();
    return true;
}

} // namespace qrt
