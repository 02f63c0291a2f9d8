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

const QList<Preset> &presetList()
{
    static const QList<Preset> list = {
        {"6of49", {QStringLiteral("6 of 49 with a bonus number"), 6, 1, 49, true}},
        {"5of35", {QStringLiteral("5 of 35"), 5, 1, 35, false}},
        {"7of35", {QStringLiteral("7 of 35 with a bonus number"), 7, 1, 35, true}},
        {"daily3", {QStringLiteral("Daily three digits"), 3, 0, 9, false, true}},
        {"keno", {QStringLiteral("Keno 20 of 80"), 20, 1, 80, false}},
    };
    return list;
}
} // namespace

QString LotteryShape::id() const
{
    return QStringLiteral("%1:%2-%3%4")
        .arg(total)
        .arg(mini)
        .arg(maxi)
        .arg(bonus ? QStringLiteral("+") : QString());
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

std::optional<LotteryShape> LotteryShape::parse(const QString &text, QString *error)
{
    for (const Preset &p : presetList())
        if (text.compare(QLatin1String(p.key), Qt::CaseInsensitive) == 0)
            return p.shape;
    static const QRegularExpression form(
        QStringLiteral("^(\\d{1,3}):(\\d{1,9})-(\\d{1,9})(\\+?)$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch()) {
        if (error)
            *error = QStringLiteral(
                         "unknown lottery \"%1\": use one of 6of49, 5of35, 7of35, daily3, keno, "
                         "or COUNT:SMALLEST-LARGEST with a trailing + for a bonus number, "
                         "such as 6:1-49+")
                         .arg(text);
        return std::nullopt;
    }
    LotteryShape s;
    s.total = m.captured(1).toInt();
    s.mini = m.captured(2).toInt();
    s.maxi = m.captured(3).toInt();
    s.bonus = !m.captured(4).isEmpty();
    const long long values = (long long)s.maxi - s.mini + 1;
    if (s.total < 1 || s.mini > s.maxi || (s.bonus && values < s.total + 1)) {
        if (error)
            *error = QStringLiteral("lottery \"%1\" cannot be drawn: %2 numbers from %3 to %4")
                         .arg(text)
                         .arg(s.total + (s.bonus ? 1 : 0))
                         .arg(s.mini)
                         .arg(s.maxi);
        return std::nullopt;
    }
    s.name = QStringLiteral("%1 of %2-%3%4")
                 .arg(s.total)
                 .arg(s.mini)
                 .arg(s.maxi)
                 .arg(s.bonus ? QStringLiteral(" with a bonus number") : QString());
    for (const Preset &p : presetList())
        if (p.shape.sameDraws(s))
            s.ordered = p.shape.ordered;
    return s;
}

} // namespace qrt::ref
