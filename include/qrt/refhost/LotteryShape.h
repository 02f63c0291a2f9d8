#pragma once

#include <qrt/refhost/qrt_refhost_export.h>

#include <QList>
#include <QString>

#include <optional>

namespace qrt::ref
{

/// What a lottery's draws look like: how many basic numbers, their smallest and largest
/// value, and whether a bonus number follows.
struct QRT_REFHOST_EXPORT LotteryShape {
    /// The name shown to the user.
    QString name;
    /// Basic numbers per draw.
    int total = 6;
    /// The smallest and largest number.
    ///@{
    int mini = 1;
    int maxi = 49;
    ///@}
    /// Whether a bonus number follows the basic numbers.
    bool bonus = true;
    /// The order in which the numbers are drawn is part of the result (the daily digits game),
    /// so a save keeps it instead of sorting them.
    bool ordered = false;

    /// "6:1-49+" for six numbers from 1 to 49 with a bonus number; "3:0-9" without one.
    QString id() const;
    /// Whether draws of the one are draws of the other: the same numbers, names aside.
    bool sameDraws(const LotteryShape &o) const
    {
        return total == o.total && mini == o.mini && maxi == o.maxi && bonus == o.bonus;
    }

    /// The common games: 6 of 49 with a bonus, 5 of 35, 7 of 35 with a bonus, a daily game
    /// of three digits 0 to 9, and keno 20 of 80.
    static QList<LotteryShape> presets();
    /// Takes a preset's key ("6of49", "5of35", "7of35", "daily3", "keno") or the form of id();
    /// on failure returns nothing and says why in @p error.
    static std::optional<LotteryShape> parse(const QString &text, QString *error = nullptr);
    /// The key parse() takes for a preset, or id() for any other shape.
    QString key() const;
};

} // namespace qrt::ref
