#pragma once

#include <qrt/refhost/DrawList.h>

#include <QAbstractListModel>

namespace qrt::app
{

/// The issues of a draw list as a read-only list model for the range lists, read where the
/// list keeps them: no copy and no item object per issue. It shows the draws the list held
/// when it was made; whoever changes the list puts a new model in.
class DrawIssueModel : public QAbstractListModel
{
public:
    DrawIssueModel(const ref::DrawList &draws, QObject *parent = nullptr);

    /// The length of the longest issue, for sizing a list without measuring every item.
    int longest() const { return m_longest; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    const ref::DrawList &m_draws;
    int m_rows;
    int m_longest = 0;
};

} // namespace qrt::app
