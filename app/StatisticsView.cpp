#include "StatisticsView.h"

#include <QHeaderView>
#include <QLabel>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace qrt::app
{

StatisticsView::StatisticsView(QWidget *parent)
    : QWidget(parent), m_model(new StatisticsModel(this)), m_table(new QTableView),
      m_pairs(new QLabel)
{
    auto *sorted = new QSortFilterProxyModel(this);
    sorted->setSourceModel(m_model);
    sorted->setSortRole(Qt::UserRole);
    m_table->setObjectName(QStringLiteral("statistics"));
    m_table->setModel(sorted);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(StatisticsModel::Number, Qt::AscendingOrder);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    // One stop on the way through the window: the arrow keys move within the table.
    m_table->setTabKeyNavigation(false);
    m_table->setAccessibleName(tr("Statistics of the chosen draws"));
    m_table->setAccessibleDescription(
        tr("Per number: how often it was drawn, the draws since it last came, its "
           "longest gap and whether it is hot or cold; sort by any column"));
    m_pairs->setObjectName(QStringLiteral("pairs"));
    m_pairs->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_pairs);
}

void StatisticsView::show(DrawStatistics statistics)
{
    m_model->setStatistics(std::move(statistics));
    QStringList pairs;
    for (const DrawStatistics::Pair &p : m_model->statistics().topPairs)
        pairs << QStringLiteral("%1-%2 (%3)").arg(p.a).arg(p.b).arg(p.count);
    m_pairs->setText(pairs.isEmpty()
                         ? QString()
                         : tr("Most frequent pairs: %1").arg(pairs.join(QStringLiteral(", "))));
}

} // namespace qrt::app
