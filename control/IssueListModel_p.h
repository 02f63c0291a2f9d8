#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QMap>
#include <QString>

namespace qrt
{

/// The issues of a lottery as one list for the host's range lists. The texts share one pool
/// and a view asks only for the rows it shows, so filling a list of a million issues costs
/// neither an item object nor a text measurement per issue. To the host the list is still an
/// ordinary one: its own inserts, removals and item data (QComboBox::addItem(), clear(),
/// setItemData()) land here like in a standard model.
class IssueListModel : public QAbstractListModel
{
public:
    explicit IssueListModel(QObject *parent = nullptr) : QAbstractListModel(parent) {}

    void reserve(int issues, int chars);
    /// Only while the model is being filled, before any view sees it.
    void append(QStringView issue);
    /// A model holding the first @p count issues of this one; the texts are shared until
    /// either model changes.
    IssueListModel *firstOnes(int count) const;
    /// The length of the longest text the list has held.
    int longest() const { return m_longest; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QMap<int, QVariant> itemData(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = {}) override;
    bool removeRows(int row, int count, const QModelIndex &parent = {}) override;

private:
    // Eight bytes a row: a pool of issues passes four billion characters long after memory
    // has run out.
    struct Span {
        quint32 begin;
        quint32 size;
    };
    bool isRow(const QModelIndex &index) const;
    QStringView text(qsizetype row) const;

    QString m_pool;
    QList<Span> m_spans;
    // Roles other than the text, only once the host sets one (an item's user data, an icon).
    QList<QMap<int, QVariant>> m_roles;
    int m_longest = 0;
};

} // namespace qrt
