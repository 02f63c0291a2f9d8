#pragma once

#include <qrt/refhost/DrawList.h>

#include <QStringList>

namespace qrt::domain
{

/// The holes in a history. Draw numbers: every number skipped between the first and the last;
/// issues of a year and a count (YYYYNNN) run per year, from 1 after the first year. Draw dates
/// (YYYYMMDD): every day between the first and the last draw that falls on one of the lottery's
/// usual draw weekdays (those holding a tenth of its draws or more) and has no draw. A hole of
/// more than a thousand issues is one line "FROM to TO (N missing)".
class DrawGaps
{
public:
    static QStringList of(const ref::DrawList &draws);
};

} // namespace qrt::domain
