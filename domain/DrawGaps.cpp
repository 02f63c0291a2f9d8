#include "DrawGaps.h"

#include <QDate>

#include <algorithm>
#include <array>
#include <vector>

namespace qrt::domain
{

namespace
{
constexpr qint64 kListedRun = 1000;

bool digits(QStringView s, qsizetype size)
{
    if (s.size() != size)
        return false;
    for (const QChar c : s)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

QDate dateOf(QStringView s)
{
    if (!digits(s, 8))
        return {};
    return QDate(s.left(4).toInt(), s.mid(4, 2).toInt(), s.mid(6, 2).toInt());
}

// The issues from after @p from to before @p to, zero-padded to @p width when it is above 0.
void missing(qint64 from, qint64 to, int width, QStringList &out, const QString &prefix = {})
{
    const auto text = [&](qint64 n) {
        return prefix + (width > 0 ? QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'))
                                   : QString::number(n));
    };
    if (to - from - 1 > kListedRun) {
        out << QStringLiteral("%1 to %2 (%3 missing)")
                   .arg(text(from + 1), text(to - 1))
                   .arg(to - from - 1);
        return;
    }
    for (qint64 n = from + 1; n < to; ++n)
        out << text(n);
}
} // namespace

QStringList DrawGaps::of(const ref::DrawList &draws)
{
    QStringList out;
    const int n = draws.size();
    if (n == 0)
        return out;
    bool dates = true, yearly = true, numbers = true;
    for (int i = 0; i < n && (dates || yearly || numbers); ++i) {
        const QStringView s = draws.issueView(i);
        dates = dates && dateOf(s).isValid();
        yearly = yearly && digits(s, 7) && s.left(4).toInt() >= 1900 && s.left(4).toInt() <= 2199 &&
                 s.mid(4).toInt() > 0;
        numbers = numbers && !s.isEmpty() && s.size() <= 18 && digits(s, s.size());
    }
    if (dates) {
        std::vector<QDate> days;
        days.reserve(size_t(n));
        std::array<int, 8> perWeekday{};
        for (int i = 0; i < n; ++i) {
            days.push_back(dateOf(draws.issueView(i)));
            ++perWeekday[size_t(days.back().dayOfWeek())];
        }
        std::sort(days.begin(), days.end());
        days.erase(std::unique(days.begin(), days.end()), days.end());
        std::array<bool, 8> usual{};
        for (int d = 1; d <= 7; ++d)
            usual[size_t(d)] = perWeekday[size_t(d)] * 10 >= n;
        for (size_t i = 1; i < days.size(); ++i) {
            qint64 skipped = 0;
            QDate first;
            for (QDate d = days[i - 1].addDays(1); d < days[i]; d = d.addDays(1)) {
                if (!usual[size_t(d.dayOfWeek())])
                    continue;
                if (skipped++ == 0)
                    first = d;
                if (skipped <= kListedRun)
                    out << d.toString(QStringLiteral("yyyyMMdd"));
            }
            if (skipped > kListedRun) {
                out.erase(out.end() - kListedRun, out.end());
                out << QStringLiteral("%1 to %2 (%3 missing)")
                           .arg(first.toString(QStringLiteral("yyyyMMdd")),
                                days[i].addDays(-1).toString(QStringLiteral("yyyyMMdd")))
                           .arg(skipped);
            }
        }
        return out;
    }
    if (yearly) {
        std::vector<std::pair<int, int>> issues; // year, count
        for (int i = 0; i < n; ++i) {
            const QStringView s = draws.issueView(i);
            issues.emplace_back(s.left(4).toInt(), s.mid(4).toInt());
        }
        std::sort(issues.begin(), issues.end());
        issues.erase(std::unique(issues.begin(), issues.end()), issues.end());
        for (size_t i = 0; i < issues.size(); ++i) {
            const auto [year, count] = issues[i];
            // The history may begin in the middle of its first year; later years start at 1.
            const bool newYear = i == 0 || issues[i - 1].first != year;
            const int before = newYear ? (i == 0 ? count - 1 : 0) : issues[i - 1].second;
            missing(before, count, 3, out, QString::number(year));
        }
        return out;
    }
    if (numbers) {
        std::vector<qint64> issues;
        for (int i = 0; i < n; ++i)
            issues.push_back(draws.issueView(i).toLongLong());
        std::sort(issues.begin(), issues.end());
        issues.erase(std::unique(issues.begin(), issues.end()), issues.end());
        for (size_t i = 1; i < issues.size(); ++i)
            missing(issues[i - 1], issues[i], 0, out);
    }
    return out;
}

} // namespace qrt::domain
