#pragma once

#include <qrt/refhost/DrawList.h>
#include <qrt/refhost/LotteryShape.h>

#include <QWidget>

#include <vector>

class QChart;
class QChartView;

namespace qrt::app
{

/// How often each number came up in a range of draws, as a bar chart: basic numbers, and the
/// bonus number beside them when the lottery has one.
class FrequencyChart : public QWidget
{
    Q_OBJECT
public:
    explicit FrequencyChart(QWidget *parent = nullptr);

    /// Counts draws @p first to @p last (0-based, inclusive) and redraws.
    void show(const ref::LotteryShape &shape, const ref::DrawList &draws, int first, int last);

    /// The counts last shown, indexed by number - smallest number.
    const std::vector<int> &basicCounts() const { return m_basic; }
    const std::vector<int> &bonusCounts() const { return m_bonus; }
    QString title() const;

private:
    QChartView *m_view;
    std::vector<int> m_basic;
    std::vector<int> m_bonus;
};

} // namespace qrt::app
