#include "FrequencyChart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>

namespace qrt::app
{

FrequencyChart::FrequencyChart(QWidget *parent) : QWidget(parent), m_view(new QChartView(this))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumHeight(220);
}

QString FrequencyChart::title() const
{
    return m_view->chart() ? m_view->chart()->title() : QString();
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

    auto *chart = new QChart;
    auto *series = new QBarSeries;
    auto *basic = new QBarSet(tr("Basic numbers"));
    int top = 1;
    for (int c : m_basic) {
        *basic << c;
        top = std::max(top, c);
    }
    series->append(basic);
    if (shape.bonus) {
        auto *bonus =
            new QBarSet(ownDrum ? tr("Bonus drum %1-%2").arg(shape.bonusMini).arg(shape.bonusMaxi)
                        : shape.bonusCount == 2 ? tr("Bonus numbers")
                                                : tr("Bonus number"));
        for (int c : m_bonus) {
            *bonus << c;
            top = std::max(top, c);
        }
        series->append(bonus);
    }
    chart->addSeries(series);
    if (bars <= 30) {
        QStringList categories;
        for (size_t k = 0; k < bars; ++k)
            categories << QString::number(lowest + qint64(k));
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
            const qint64 number = lowest + qint64(k);
            if (number % step == 0 || k == 0)
                x->append(QString::number(number), double(k));
        }
        x->setGridLineVisible(false);
        chart->addAxis(x, Qt::AlignBottom);
        series->attachAxis(x);
    }
    auto *y = new QValueAxis;
    y->setRange(0, top);
    y->setLabelFormat(QStringLiteral("%d"));
    y->applyNiceNumbers();
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(y);
    const int drawsShown = last >= first ? last - first + 1 : 0;
    chart->setTitle(drawsShown > 0
                        ? tr("How often each number was drawn: %1 draws, issues %2 to %3")
                              .arg(drawsShown)
                              .arg(draws.issue(first), draws.issue(last))
                        : tr("No draws in the chosen range"));
    chart->legend()->setAlignment(Qt::AlignBottom);
    // The exact count of a bar, which its height only suggests.
    const qint64 smallest = lowest;
    connect(series, &QBarSeries::hovered, this,
            [this, smallest, drawsShown](bool over, int index, QBarSet *set) {
                if (!over) {
                    QToolTip::hideText();
                    return;
                }
                QToolTip::showText(QCursor::pos(),
                                   tr("%1 %2: %3 times in %4 draws")
                                       .arg(set->label())
                                       .arg(smallest + index)
                                       .arg(qint64(set->at(index)))
                                       .arg(drawsShown),
                                   m_view);
            });
    QChart *old = m_view->chart();
    m_view->setChart(chart);
    delete old;
}

} // namespace qrt::app
