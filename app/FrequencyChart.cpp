#include "FrequencyChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCheckBox>
#include <QCursor>
#include <QSignalBlocker>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

#include <cmath>

namespace qrt::app
{

namespace
{
// More numbers than this in the drum make a wide game, keno's 80 or Powerball's 69.
constexpr int kWideDrum = 50;
} // namespace

FrequencyChart::FrequencyChart(QWidget *parent)
    : QWidget(parent), m_view(new QChartView(this)),
      m_departure(new QCheckBox(tr("Show each count's departure from the expected count")))
{
    m_departure->setObjectName(QStringLiteral("departure"));
    m_departure->setToolTip(tr("Over many draws every number comes close to the count chance "
                               "expects, and the bars look equal: this shows how far each is "
                               "above or below it."));
    connect(m_departure, &QCheckBox::toggled, this, &FrequencyChart::draw);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_departure);
    m_view->setRenderHint(QPainter::Antialiasing);
    // Charts elide the labels of an axis too short for them.
    m_view->setMinimumHeight(240);
    // The bars' counts are in the statistics table, which the keyboard reaches.
    m_view->setFocusPolicy(Qt::NoFocus);
}

QString FrequencyChart::title() const
{
    return m_view->chart() ? m_view->chart()->title() : QString();
}

void FrequencyChart::setDeparture(bool departure)
{
    m_departure->setChecked(departure);
}

bool FrequencyChart::departure() const
{
    return m_departure->isChecked();
}

FrequencyChart::Ticks FrequencyChart::wholeTicks(double low, double high)
{
    const double from = std::floor(std::min(low, 0.0));
    const double to = std::max(std::ceil(std::max(high, 0.0)), from + 1);
    // The smallest step of 1, 2 or 5 times a power of ten that needs no more than five of them:
    // a small chart elides labels that would touch.
    constexpr double kMostSteps = 5;
    double step = 1;
    for (double scale = 1; (to - from) / step > kMostSteps; scale *= 10)
        for (const double m : {1.0, 2.0, 5.0, 10.0})
            if (step = m * scale; (to - from) / step <= kMostSteps)
                break;
    Ticks t;
    t.low = std::floor(from / step) * step;
    t.high = std::ceil(to / step) * step;
    t.count = int(std::lround((t.high - t.low) / step)) + 1;
    return t;
}

QList<double> FrequencyChart::basicBars() const
{
    const auto *series =
        m_view->chart() && !m_view->chart()->series().isEmpty()
            ? qobject_cast<const QBarSeries *>(m_view->chart()->series().constFirst())
            : nullptr;
    QList<double> bars;
    if (series && !series->barSets().isEmpty())
        for (int i = 0; i < series->barSets().constFirst()->count(); ++i)
            bars << series->barSets().constFirst()->at(i);
    return bars;
}

void FrequencyChart::show(const ref::LotteryShape &shape, const ref::DrawList &draws, int first,
                          int last)
{
    // A drum of its own is counted on its own, its bars beside the basic ones of the same
    // number, so the axis runs over both ranges.
    const bool ownDrum = shape.bonus && shape.ownDrum;
    const qint64 lowest = ownDrum ? std::min(shape.mini, shape.bonusMini) : shape.mini;
    const qint64 highest = ownDrum ? std::max(shape.maxi, shape.bonusMaxi) : shape.maxi;
    const qint64 span = highest - lowest + 1;
    // A chart of more than a few hundred bars says nothing; wide ranges are left out.
    const size_t bars = size_t(std::clamp<qint64>(span, 0, 400));
    // A wide game's bars look alike once its history is long: it starts with how far each is
    // from what chance expects. The user's choice stays for the lottery shown.
    if (shape.key() != m_shape.key()) {
        const QSignalBlocker quiet(m_departure);
        m_departure->setChecked(shape.maxi - shape.mini + 1 > kWideDrum);
    }
    m_shape = shape;
    m_lowest = lowest;
    m_basic.assign(bars, 0);
    m_bonus.assign(shape.bonus ? bars : 0, 0);
    first = std::max(first, 0);
    last = std::min(last, draws.size() - 1);
    auto bump = [&](std::vector<int> &counts, qint32 v) {
        const qint64 k = qint64(v) - lowest;
        if (k >= 0 && size_t(k) < counts.size())
            ++counts[size_t(k)];
    };
    for (int i = first; i <= last; ++i) {
        for (int j = 0; j < draws.total(); ++j)
            bump(m_basic, draws.number(i, j));
        for (int k = 0; k < shape.bonuses(); ++k)
            bump(m_bonus, draws.bonus(i, k));
    }
    m_drawsShown = last >= first ? last - first + 1 : 0;
    m_first = m_drawsShown > 0 ? draws.issue(first) : QString();
    m_last = m_drawsShown > 0 ? draws.issue(last) : QString();
    m_title = m_drawsShown > 0 ? tr("How often each number was drawn: %1 draws, issues %2 to %3")
                                     .arg(m_drawsShown)
                                     .arg(draws.issue(first), draws.issue(last))
                               : tr("No draws in the chosen range");
    draw();
}

void FrequencyChart::draw()
{
    const ref::LotteryShape &shape = m_shape;
    const bool ownDrum = shape.bonus && shape.ownDrum;
    const bool departure = m_departure->isChecked();
    const size_t bars = m_basic.size();
    // What chance expects of each number: every number of a drum alike.
    const auto expected = [&](qint64 picks, qint64 mini, qint64 maxi, size_t k) {
        const qint64 number = m_lowest + qint64(k);
        if (!departure || number < mini || number > maxi)
            return 0.0;
        return double(picks) * double(m_drawsShown) / double(maxi - mini + 1);
    };
    auto *chart = new QChart;
    auto *series = new QBarSeries;
    auto *basic = new QBarSet(tr("Basic numbers"));
    double low = 0;
    double high = 1;
    for (size_t k = 0; k < bars; ++k) {
        const double v = m_basic[k] - expected(shape.total, shape.mini, shape.maxi, k);
        *basic << v;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    series->append(basic);
    if (shape.bonus) {
        auto *bonus =
            new QBarSet(ownDrum ? tr("Bonus drum %1-%2").arg(shape.bonusMini).arg(shape.bonusMaxi)
                        : shape.bonusCount == 2 ? tr("Bonus numbers")
                                                : tr("Bonus number"));
        for (size_t k = 0; k < bars; ++k) {
            const double v =
                m_bonus[k] - (ownDrum
                                  ? expected(shape.bonusCount, shape.bonusMini, shape.bonusMaxi, k)
                                  : expected(shape.bonuses(), shape.mini, shape.maxi, k));
            *bonus << v;
            low = std::min(low, v);
            high = std::max(high, v);
        }
        series->append(bonus);
    }
    chart->addSeries(series);
    if (bars <= 30) {
        QStringList categories;
        for (size_t k = 0; k < bars; ++k)
            categories << QString::number(m_lowest + qint64(k));
        auto *x = new QBarCategoryAxis;
        x->append(categories);
        chart->addAxis(x, Qt::AlignBottom);
        series->attachAxis(x);
    } else {
        // A label under every bar of 80 numbers leaves room for "..." only: every fifth number
        // (every tenth past 150) is labelled, under its own bar, and a bar's tooltip gives its
        // number and count.
        auto *x = new QCategoryAxis;
        x->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        x->setRange(-0.5, double(bars) - 0.5);
        const qint64 step = bars > 150 ? 10 : 5;
        for (size_t k = 0; k < bars; ++k) {
            const qint64 number = m_lowest + qint64(k);
            if (number % step == 0 || k == 0)
                x->append(QString::number(number), double(k));
        }
        x->setGridLineVisible(false);
        chart->addAxis(x, Qt::AlignBottom);
        series->attachAxis(x);
    }
    // Counts are whole: a tick between two of them would be labelled as one of them.
    const Ticks ticks = wholeTicks(low, high);
    auto *y = new QValueAxis;
    y->setRange(ticks.low, ticks.high);
    y->setTickCount(ticks.count);
    y->setLabelFormat(QStringLiteral("%d"));
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    chart->setTitle(departure && m_drawsShown > 0
                        ? tr("Above (+) or below (-) the expected count: %1 draws, issues %2 to "
                             "%3")
                              .arg(m_drawsShown)
                              .arg(m_first, m_last)
                        : m_title);
    chart->legend()->setAlignment(Qt::AlignBottom);
    // A single kind of bar needs no legend: the room goes to the bars.
    chart->legend()->setVisible(shape.bonus);
    // The exact count of a bar, which its height only suggests.
    connect(series, &QBarSeries::hovered, this, [this, series](bool over, int index, QBarSet *set) {
        if (!over) {
            QToolTip::hideText();
            return;
        }
        const std::vector<int> &counts = series->barSets().indexOf(set) == 0 ? m_basic : m_bonus;
        if (index < 0 || size_t(index) >= counts.size())
            return;
        QToolTip::showText(QCursor::pos(),
                           tr("%1 %2: %3 times in %4 draws")
                               .arg(set->label())
                               .arg(m_lowest + index)
                               .arg(counts[size_t(index)])
                               .arg(m_drawsShown),
                           m_view);
    });
    QChart *old = m_view->chart();
    m_view->setChart(chart);
    delete old;
}

} // namespace qrt::app
