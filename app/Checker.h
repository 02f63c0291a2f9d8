#pragma once

#include <QString>
#include <QTextStream>

namespace qrt::domain
{
class ResultImporter;
}

namespace qrt::app
{

/// For a file whose draws break only the lottery's ranges (a game whose drum widened in some
/// year) or its count of bonus numbers (a file of another game): the smallest shape that holds
/// them all, as a hint a user can act on; empty otherwise.
QString shapeHint(const domain::ResultImporter &importer);

/// The command-line checker: reads @p file (any layout the importer takes) as draws of the lottery
/// @p shape (a preset key or COUNT:SMALLEST-LARGEST[+]) and writes every broken rule to @p out
/// as "FILE:LINE: message". Returns 0 when the file is clean, 1 when any rule is broken and 2
/// when the lottery is unknown or the file cannot be read.
int checkDrawFile(const QString &file, const QString &shape, QTextStream &out, QTextStream &err);

} // namespace qrt::app
