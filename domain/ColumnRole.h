#pragma once

#include <QString>

namespace qrt::domain
{

/// What a column of a result file holds for the importer.
enum class ColumnRole {
    Ignored,
    Issue,   // the draw number
    Date,    // the draw date, the issue when there is no draw number
    Numbers, // one basic number, or several in one field
    Bonus,
};

/// The role a header name gives its column, in English and a few other languages, case and
/// accents aside: "Draw Number", "Concurso", "Ball 3", "n1", "Winning Numbers", "Powerball",
/// "Lucky Star 1". Unknown names, and what publishers add beside the draw (multiplier, jackpot,
/// prizes, winners, ball set, machine, sum, weekday, year, week), are ignored.
ColumnRole roleOfHeader(const QString &name);

QString roleName(ColumnRole role);

} // namespace qrt::domain
