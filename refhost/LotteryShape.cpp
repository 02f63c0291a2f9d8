#include <qrt/refhost/LotteryShape.h>

#include <QRegularExpression>

namespace qrt::ref
{

namespace
{
struct Preset {
    const char *key;
    LotteryShape shape;
};

LotteryShape ownDrum(const char *name, int total, int maxi, int bonuses, int bonusMaxi)
{
    LotteryShape s{QString::fromUtf8(name), total, 1, maxi, true};
    s.bonusCount = bonuses;
    s.ownDrum = true;
    s.bonusMini = 1;
    s.bonusMaxi = bonusMaxi;
    return s;
}

// The large games as their current rules have them; a history reaching back past a change of
// rules is held by a custom shape (see widenedFor).
const QList<Preset> &presetList()
{
    static const QList<Preset> list = {
        {"6of49", {QStringLiteral("6 of 49 with a bonus number"), 6, 1, 49, true}},
        {"5of35", {QStringLiteral("5 of 35"), 5, 1, 35, false}},
        {"7of35", {QStringLiteral("7 of 35 with a bonus number"), 7, 1, 35, true}},
        {"daily3", {QStringLiteral("Daily three digits"), 3, 0, 9, false, true}},
        {"keno", {QStringLiteral("Keno 20 of 80"), 20, 1, 80, false}},
        {"powerball", ownDrum("Powerball (5 of 69 + 1 of 26)", 5, 69, 1, 26)},
        {"megamillions", ownDrum("Mega Millions (5 of 70 + 1 of 24)", 5, 70, 1, 24)},
        {"euromillions", ownDrum("EuroMillions (5 of 50 + 2 of 12)", 5, 50, 2, 12)},
        {"eurojackpot", ownDrum("Eurojackpot (5 of 50 + 2 of 12)", 5, 50, 2, 12)},
        {"ssq", ownDrum("Double Color Ball (6 of 33 + 1 of 16)", 6, 33, 1, 16)},
        {"uklotto", {QStringLiteral("UK Lotto (6 of 59 with a bonus ball)"), 6, 1, 59, true}},
    };
    return list;
}
} // namespace

QString LotteryShape::id() const
{
    QString out = QStringLiteral("%1:%2-%3").arg(total).arg(mini).arg(maxi);
    if (!bonus)
        return out;
    out += u'+';
    if (ownDrum)
        out += QStringLiteral("%1:%2-%3").arg(bonusCount).arg(bonusMini).arg(bonusMaxi);
    else if (bonusCount != 1)
        out += QString::number(bonusCount);
    return out;
}

QString LotteryShape::key() const
{
    for (const Preset &p : presetList())
        if (p.shape.sameDraws(*this))
            return QString::fromLatin1(p.key);
    return id();
}

QList<LotteryShape> LotteryShape::presets()
{
    QList<LotteryShape> out;
    for (const Preset &p : presetList())
        out << p.shape;
    return out;
}

QStringList LotteryShape::presetKeys()
{
    QStringList out;
    for (const Preset &p : presetList())
        out << QString::fromLatin1(p.key);
    return out;
}

std::optional<LotteryShape> LotteryShape::parse(const QString &text, QString *error)
{
    for (const Preset &p : presetList())
        if (text.compare(QLatin1String(p.key), Qt::CaseInsensitive) == 0)
            return p.shape;
    static const QRegularExpression form(QStringLiteral(
        "^(\\d{1,3}):(\\d{1,9})-(\\d{1,9})(?:(\\+)(?:(\\d{1,3})(?::(\\d{1,9})-(\\d{1,9}))?)?)?$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch()) {
        if (error)
            *error =
                QStringLiteral("unknown lottery \"%1\": use one of %2, or "
                               "COUNT:SMALLEST-LARGEST with a trailing + for a bonus number "
                               "from the same drum, such as 6:1-49+, or +COUNT:SMALLEST-LARGEST "
                               "for bonus numbers from a drum of their own, such as "
                               "5:1-69+1:1-26")
                    .arg(text, presetKeys().join(QStringLiteral(", ")));
        return std::nullopt;
    }
    LotteryShape s;
    s.total = m.captured(1).toInt();
    s.mini = m.captured(2).toInt();
    s.maxi = m.captured(3).toInt();
    s.bonus = m.hasCaptured(4);
    s.bonusCount = m.hasCaptured(5) ? m.captured(5).toInt() : 1;
    s.ownDrum = m.hasCaptured(6);
    if (s.ownDrum) {
        s.bonusMini = m.captured(6).toInt();
        s.bonusMaxi = m.captured(7).toInt();
    }
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("lottery \"%1\" cannot be drawn: %2").arg(text, why);
        return std::nullopt;
    };
    const long long values = (long long)s.maxi - s.mini + 1;
    const long long sameDrum = s.total + (s.bonus && !s.ownDrum ? s.bonusCount : 0);
    if (s.total < 1 || s.mini > s.maxi || values < sameDrum)
        return fail(
            QStringLiteral("%1 numbers from %2 to %3").arg(sameDrum).arg(s.mini).arg(s.maxi));
    if (s.bonus && (s.bonusCount < 1 || s.bonusCount > 2))
        return fail(
            QStringLiteral("a draw has one or two bonus numbers, not %1").arg(s.bonusCount));
    if (s.ownDrum &&
        (s.bonusMini > s.bonusMaxi || (long long)s.bonusMaxi - s.bonusMini + 1 < s.bonusCount))
        return fail(QStringLiteral("%1 bonus numbers from %2 to %3")
                        .arg(s.bonusCount)
                        .arg(s.bonusMini)
                        .arg(s.bonusMaxi));
    s.name = QStringLiteral("%1 of %2-%3").arg(s.total).arg(s.mini).arg(s.maxi);
    if (s.ownDrum)
        s.name +=
            QStringLiteral(" + %1 of %2-%3").arg(s.bonusCount).arg(s.bonusMini).arg(s.bonusMaxi);
    else if (s.bonus)
        s.name += s.bonusCount == 1 ? QStringLiteral(" with a bonus number")
                                    : QStringLiteral(" with two bonus numbers");
    for (const Preset &p : presetList())
        if (p.shape.sameDraws(s))
            s.ordered = p.shape.ordered;
    return s;
}

} // namespace qrt::ref
