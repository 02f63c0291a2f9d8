#include "ColumnRole.h"

#include <QStringList>

namespace qrt::domain
{

namespace
{
// Lower case letters and digits only, accents dropped: "Número Sorteo" -> "numerosorteo".
QString folded(const QString &name)
{
    const QString decomposed = name.normalized(QString::NormalizationForm_KD).toLower();
    QString out;
    for (const QChar c : decomposed) {
        if (c.isLetterOrNumber() && c.category() != QChar::Mark_NonSpacing)
            out += c;
    }
    return out;
}

bool oneOf(const QString &s, std::initializer_list<const char *> names)
{
    for (const char *n : names)
        if (s == QLatin1String(n))
            return true;
    return false;
}

} // namespace

ColumnRole roleOfHeader(const QString &name)
{
    QString s = folded(name);
    // "Ball 1", "n1", "Number drawn 3", "red1", "Fore 2", "Lucky Star 1": the stem and its place.
    int place = 0;
    qsizetype digits = s.size();
    while (digits > 0 && s[digits - 1].isDigit())
        --digits;
    if (digits < s.size() && digits > 0) {
        place = s.mid(digits).toInt();
        s.truncate(digits);
    }
    // "Star 1/2": one field for both.
    if (place == 12 && name.contains(u'/'))
        place = 1;
    if (place > 0 && s == QStringLiteral("红球"))
        return ColumnRole::Numbers;
    // The games with two bonus numbers number them: "Lucky Star 1", "Lucky Star 2", "back2".
    if (place > 0 && s == QStringLiteral("蓝球"))
        return place <= 2 ? ColumnRole::Bonus : ColumnRole::Ignored;
    if (place > 0) {
        if (oneOf(s, {"bonus",      "bonusball",  "powerball", "megaball",    "blue",
                      "blueball",   "back",       "luckystar", "star",        "extra",
                      "special",    "zusatzzahl", "superzahl", "bonusnumber", "specialball",
                      "euronumber", "euro",       "stern",     "etoile",      "estrella"}))
            return place <= 2 ? ColumnRole::Bonus : ColumnRole::Ignored;
        if (oneOf(s, {"ball",
                      "n",
                      "nr",
                      "no",
                      "num",
                      "number",
                      "numbers",
                      "numberdrawn",
                      "drawnnumber",
                      "red",
                      "redball",
                      "fore",
                      "front",
                      "d",
                      "white",
                      "whiteball",
                      "b",
                      "bola",
                      "bolilla",
                      "zahl",
                      "szam",
                      "kugel",
                      "numero",
                      "dezena",
                      "boule",
                      "winningnumber",
                      "winningnumbers",
                      "balls",
                      "lz",
                      "dezenas",
                      "nro",
                      "nb"}))
            return ColumnRole::Numbers;
        if (oneOf(s, {"ballset", "machine", "set", "prize", "winners", "tier", "division"}))
            return ColumnRole::Ignored;
        return ColumnRole::Ignored;
    }
    if (s.isEmpty())
        return ColumnRole::Ignored;
    if (oneOf(s, {"date", "drawdate", "datum", "fecha", "data", "ziehungsdatum", "huzasdatum",
                  "datedutirage", "datadosorteio", "fechasorteo", "dia", "day", "drawday",
                  "dateofdraw", "drawingdate", "kaijiangriqi"}) ||
        s == QStringLiteral("开奖日期") || s == QStringLiteral("日期"))
        return ColumnRole::Date;
    if (oneOf(s, {"bonus",       "bonusball",   "bonusnumber",    "powerball",     "pb",
                  "megaball",    "mega",        "redball",        "blue",          "blueball",
                  "lucky",       "luckystar",   "extra",          "special",       "zusatzzahl",
                  "superzahl",   "bonuszahl",   "complementario", "additional",    "extraball",
                  "cashball",    "thunderball", "luckyball",      "specialnumber", "specialball",
                  "luckystars",  "stars",       "star",           "yellowball",    "goldball",
                  "euronumbers", "euronumber",  "bonusnumbers",   "bonusballs",    "sterne",
                  "etoiles",     "estrellas"}) ||
        s == QStringLiteral("蓝球"))
        return ColumnRole::Bonus;
    if (oneOf(s, {"winningnumbers", "numbers",     "whiteballs",  "balls",       "drawnnumbers",
                  "numbersdrawn",   "result",      "results",     "nums",        "numberdrawn",
                  "winningnumber",  "mainnumbers", "lottozahlen", "zahlen",      "numeros",
                  "dezenas",        "szamok",      "boules",      "combination", "combinacion",
                  "redballs"}) ||
        s == QStringLiteral("红球") || s == QStringLiteral("开奖号码"))
        return ColumnRole::Numbers;
    if (oneOf(s, {"drawnumber",    "draw",       "drawno",       "drawnr",         "drawid",
                  "issue",         "issueno",    "id",           "contest",        "concurso",
                  "sorteo",        "sorteio",    "ziehung",      "tirage",         "period",
                  "qihao",         "nr",         "no",           "number",         "drawnum",
                  "drawingnumber", "gamenumber", "numerosorteo", "numeroconcurso", "huzas",
                  "termin"}) ||
        s == QStringLiteral("期号") || s == QStringLiteral("期数"))
        return ColumnRole::Issue;
    // Multiplier, power play, jackpot, prizes, winners, ball set, machine, sum, weekday, year,
    // week, and every name not known.
    return ColumnRole::Ignored;
}

QString roleName(ColumnRole role)
{
    switch (role) {
    case ColumnRole::Issue:
        return QStringLiteral("issue");
    case ColumnRole::Date:
        return QStringLiteral("date");
    case ColumnRole::Numbers:
        return QStringLiteral("numbers");
    case ColumnRole::Bonus:
        return QStringLiteral("bonus");
    case ColumnRole::Ignored:
        break;
    }
    return QStringLiteral("ignored");
}

} // namespace qrt::domain
