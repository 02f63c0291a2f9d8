#pragma once

#include <qrt/refhost/DrawFiles.h>

#include <QByteArray>

namespace qrt::app
{

/// The draws as RFC 4180 CSV for a spreadsheet: a header row ("issue", "n1" ... and "bonus",
/// "bonus2" for the bonus numbers the lottery has), then one draw a record, numbers with two
/// digits, CR LF after every record.
QByteArray formatCsv(const ref::DrawList &draws);

/// Reads CSV as formatCsv writes it, or as a spreadsheet saves it (quoted fields, LF or CR LF,
/// blanks around numbers): the first record is the header, every other record one draw, its
/// last fields the lottery's bonus numbers. The
/// draws go through the same checks as a text draw file, with bad lines named by their line
/// in the CSV file; a file with any bad line gives no draws. The bytes are rewritten in place:
/// hand them over with std::move when they are not needed after, and no copy is made.
ref::ReadResult readCsv(QByteArray bytes, const ref::LotteryShape &shape);

/// The name a CSV export writes to: @p typed, with ".csv" added when it has no ending, which
/// would hide the file from the Import dialog's filter.
QString csvFileName(const QString &typed);

} // namespace qrt::app
