#pragma once

#include <qrt/refhost/DrawList.h>
#include <qrt/refhost/LotteryShape.h>

#include <QWidget>

#include <vector>

class QChart;
class QChartView;
class QCheckBox;

namespace qrt::app
{

/// How often each number came up in a range of draws, as a bar chart: basic numbers, and the
/// bonus number beside them when the lottery has one. Over many draws every count is close to
/// what chance expects and the bars look equal; the chart then shows, when asked, each
/// count's departure from the expected count instead.
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

    /// Bars of count - expected count instead of counts.
    void setDeparture(bool departure);
    bool departure() const;
    /// The heights of the bars shown: counts, or their departures from the expected count.
    QList<double> basicBars() const;

    /// A value axis from @p low to @p high (widened to take in 0) whose ticks fall on whole
    /// numbers only, at most about seven of them.
    struct Ticks {
        double low = 0;
        double high = 1;
        int count = 2;
    };
    static Ticks wholeTicks(double low, double high);

private:
    void draw();

    QChartView *m_view;
    QCheckBox *m_departure;
    ref::LotteryShape m_shape;
    std::vector<int> m_basic;
    std::vector<int> m_bonus;
    qint64 m_lowest = 0;
    int m_drawsShown = 0;
    QString m_title;
    QString m_first; // issues of the draws counted
    QString m_last;
};

} // namespace qrt::app
