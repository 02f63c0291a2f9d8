#pragma once

#include "DrawStatistics.h"

#include <QAbstractTableModel>

namespace qrt::app
{

/// One row per number, those of a bonus drum of its own after the basic ones: its count, the draws
/// since it last came, its longest gap and a hot or cold mark. Qt::UserRole gives every cell as a
/// number to sort by.
class StatisticsModel : public QAbstractTableModel
{
public:
    enum Column { Number, Count, SinceLast, LongestGap, Mark, Columns };

    explicit StatisticsModel(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    void setStatistics(DrawStatistics statistics);
    const DrawStatistics &statistics() const { return m_stats; }

    /// The table as RFC 4180 CSV, with a header row, as shown.
    QByteArray toCsv() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QString text(int row, int column, bool shown = false) const;
    const DrawStatistics::Number &number(int row) const;
    bool isBonus(int row) const;
    DrawStatistics m_stats;
};

} // namespace qrt::app
