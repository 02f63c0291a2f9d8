#pragma once

#include <qrt/refhost/qrt_refhost_export.h>

#include <QList>
#include <QString>

#include <optional>

namespace qrt::ref
{

/// What a lottery's draws look like: how many basic numbers, their smallest and largest
/// value, and whether bonus numbers follow, and from which drum.
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
    /// With a bonus: how many bonus numbers a draw has, 1 or 2.
    int bonusCount = 1;
    /// With a bonus: the bonus numbers come from a drum of their own, bonusMini to bonusMaxi,
    /// and may equal a basic number. Otherwise they are drawn after the basic numbers from the
    /// same drum.
    bool ownDrum = false;
    int bonusMini = 0;
    int bonusMaxi = 0;

    /// The bonus numbers a draw has: 0, 1 or 2.
    int bonuses() const { return bonus ? bonusCount : 0; }
    /// Anything the one-drum lottery with at most one bonus number cannot hold.
    bool secondDrum() const { return bonus && (ownDrum || bonusCount != 1); }

    /// "6:1-49+" for six numbers from 1 to 49 with a bonus number from the same drum, "3:0-9"
    /// without one, "6:1-49+2" with two from the same drum, "5:1-69+1:1-26" with one from a
    /// drum of 1 to 26 and "5:1-50+2:1-12" with two from a drum of 1 to 12.
    QString id() const;
    /// Whether draws of the one are draws of the other: the same numbers, names aside.
    bool sameDraws(const LotteryShape &o) const
    {
        return total == o.total && mini == o.mini && maxi == o.maxi && bonuses() == o.bonuses() &&
               (!bonus || ownDrum == o.ownDrum) &&
               (!bonus || !ownDrum || (bonusMini == o.bonusMini && bonusMaxi == o.bonusMaxi));
    }

    /// The common games: 6 of 49 with a bonus, 5 of 35, 7 of 35 with a bonus, a daily game
    /// of three digits 0 to 9, keno 20 of 80, and the large games whose bonus numbers come from
    /// a drum of their own.
    static QList<LotteryShape> presets();
    /// Takes a preset's key (see presetKeys()) or the form of id(); on failure returns nothing
    /// and says why in @p error.
    static std::optional<LotteryShape> parse(const QString &text, QString *error = nullptr);
    /// The key parse() takes for a preset, or id() for any other shape.
    QString key() const;
    /// The keys parse() takes for the presets, in the order of presets().
    static QStringList presetKeys();
};

} // namespace qrt::ref
