#pragma once

#include <QString>
#include <QTextStream>

namespace qrt::domain
{
class ResultImporter;
}
namespace qrt::ref
{
struct LotteryShape;
}

namespace qrt::app
{

/// For a text draw file whose draws break the lottery's ranges (a game whose drum widened in
/// some year): the smallest shape that holds them all, as a hint a user can act on; empty
/// otherwise.
QString shapeHint(const QString &file, const domain::ResultImporter &importer,
                  const ref::LotteryShape &shape);

/// The command-line checker: reads @p file (any layout the importer takes) as draws of the lottery
/// @p shape (a preset key or COUNT:SMALLEST-LARGEST[+]) and writes every broken rule to @p out
/// as "FILE:LINE: message". Returns 0 when the file is clean, 1 when any rule is broken and 2
/// when the lottery is unknown or the file cannot be read.
int checkDrawFile(const QString &file, const QString &shape, QTextStream &out, QTextStream &err);

} // namespace qrt::app
