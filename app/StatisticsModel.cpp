#include "StatisticsModel.h"

#include <QCoreApplication>

namespace qrt::app
{

namespace
{
const char *mark(double deviation)
{
    return deviation > 2    ? QT_TRANSLATE_NOOP("StatisticsModel", "hot")
           : deviation < -2 ? QT_TRANSLATE_NOOP("StatisticsModel", "cold")
                            : "";
}
} // namespace

void StatisticsModel::setStatistics(DrawStatistics statistics)
{
    beginResetModel();
    m_stats = std::move(statistics);
    endResetModel();
}

int StatisticsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_stats.numbers.size() + m_stats.bonusNumbers.size());
}

int StatisticsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Columns;
}

const DrawStatistics::Number &StatisticsModel::number(int row) const
{
    const size_t basic = m_stats.numbers.size();
    return size_t(row) < basic ? m_stats.numbers[size_t(row)]
                               : m_stats.bonusNumbers[size_t(row) - basic];
}

bool StatisticsModel::isBonus(int row) const
{
    return size_t(row) >= m_stats.numbers.size();
}

QString StatisticsModel::text(int row, int column, bool shown) const
{
    // The exported file keeps its English words whatever language the window shows.
    const auto word = [shown](const char *english) {
        return shown ? QCoreApplication::translate("StatisticsModel", english)
                     : QString::fromLatin1(english);
    };
    const DrawStatistics::Number &n = number(row);
    switch (column) {
    case Number:
        return isBonus(row) ? word(QT_TRANSLATE_NOOP("StatisticsModel", "bonus %1")).arg(n.value)
                            : QString::number(n.value);
    case Count:
        return QString::number(n.count);
    case SinceLast:
        return n.sinceLast < 0 ? word(QT_TRANSLATE_NOOP("StatisticsModel", "never"))
                               : QString::number(n.sinceLast);
    case LongestGap:
        return QString::number(n.longestGap);
    default:
        return word(mark(n.deviation));
    }
}

QVariant StatisticsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const DrawStatistics::Number &n = number(index.row());
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column(), true);
    if (role == Qt::UserRole) {
        switch (index.column()) {
        case Number: // the bonus drum after the basic numbers
            return isBonus(index.row()) ? qint64(n.value) + (qint64(1) << 32) : qint64(n.value);
        case Count:
            return n.count;
        case SinceLast:
            // "never" sorts as the longest wait of all.
            return n.sinceLast < 0 ? std::numeric_limits<qint64>::max() : n.sinceLast;
        case LongestGap:
            return n.longestGap;
        default:
            return n.deviation;
        }
    }
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == Mark)
        return QCoreApplication::translate("StatisticsModel", "%1 draws against %2 expected")
            .arg(n.count)
            .arg(isBonus(index.row()) ? m_stats.bonusExpected : m_stats.expected, 0, 'f', 1);
    return {};
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const names[] = {QT_TRANSLATE_NOOP("StatisticsModel", "Number"),
                                        QT_TRANSLATE_NOOP("StatisticsModel", "Drawn"),
                                        QT_TRANSLATE_NOOP("StatisticsModel", "Draws since"),
                                        QT_TRANSLATE_NOOP("StatisticsModel", "Longest gap"),
                                        QT_TRANSLATE_NOOP("StatisticsModel", "Mark")};
    return section >= 0 && section < Columns
               ? QCoreApplication::translate("StatisticsModel", names[section])
               : QVariant();
}

QByteArray StatisticsModel::toCsv() const
{
    QByteArray out = "number,drawn,draws since,longest gap,mark\r\n";
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < Columns; ++c) {
            if (c > 0)
                out += ',';
            out += text(r, c).toUtf8();
        }
        out += "\r\n";
    }
    return out;
}

} // namespace qrt::app
