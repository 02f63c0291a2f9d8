#pragma once

#include <QAbstractListModel>
#include <QString>

#include <vector>

namespace qrt
{

/// The issues of a lottery as one read-only list for the host's range lists. The texts share
/// one pool and a view asks only for the rows it shows, so filling a list of a million issues
/// costs neither an item object nor a text measurement per issue.
class IssueListModel : public QAbstractListModel
{
public:
    explicit IssueListModel(QObject *parent = nullptr) : QAbstractListModel(parent) {}

    void reserve(int issues, int chars);
    void append(QStringView issue);
    /// A model holding the first @p count issues of this one.
    IssueListModel *firstOnes(int count) const;
    int longest() const { return m_longest; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    QString m_pool;
    std::vector<qsizetype> m_ends;
    int m_longest = 0;
};

} // namespace qrt
