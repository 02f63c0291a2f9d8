#pragma once

#include "StatisticsModel.h"

#include <QWidget>

class QLabel;
class QTableView;

namespace qrt::app
{

/// The statistics of the chosen range beside the chart: a sortable table of the numbers and a
/// line with the most frequent pairs.
class StatisticsView : public QWidget
{
    Q_OBJECT
public:
    explicit StatisticsView(QWidget *parent = nullptr);

    void show(DrawStatistics statistics);

    StatisticsModel *model() const { return m_model; }

private:
    StatisticsModel *m_model;
    QTableView *m_table;
    QLabel *m_pairs;
};

} // namespace qrt::app
