#pragma once

#include <qrt/refhost/qrt_refhost_export.h>

#include <qrt/refhost/DrawList.h>
#include <qrt/refhost/LotteryShape.h>
#include <qrt/refhost/Status.h>

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace qrt::ref
{

/// One bad line of a draw file, 1-based, with a reason a user can act on.
struct ReadError {
    /// The line's number, from 1.
    int line;
    /// What is wrong with it.
    QString reason;
};

/// What a reader found. When anything is wrong the draws are empty: a file is loaded whole
/// or not at all.
struct QRT_REFHOST_EXPORT ReadResult {
    /// The lottery the file says it holds.
    LotteryShape shape;
    /// Every draw of the file, or none when anything is wrong.
    DrawList draws;
    /// The first bad lines, at most a hundred, in the order of the file.
    std::vector<ReadError> errors;
    /// Bad lines past those listed, counted only.
    qsizetype unlisted = 0;
    /// Lines past the listed ones were not all checked, so unlisted is a lower bound.
    bool unlistedAtLeast = false;
    /// Nothing was wrong.
    bool ok() const { return errors.empty(); }
    /// Bad lines, listed or not.
    qsizetype errorCount() const { return qsizetype(errors.size()) + unlisted; }
    /// "FILE:LINE: reason" lines, at most @p most of them, then how many more there are.
    QStringList describe(const QString &file, int most = -1) const;
    /// Takes in bad lines a reader of another format found before its lines came here (at
    /// most a hundred, with @p moreUnlisted counted past them): the first hundred of all stay
    /// listed in line order, and the draws go.
    void addErrors(std::vector<ReadError> more, qsizetype moreUnlisted);
};

/// The longest draw line a reader takes for @p shape: a line past it is a bad line, refused
/// before it is split into fields.
QRT_REFHOST_EXPORT qsizetype maxDrawLineBytes(const LotteryShape &shape);

/// The plain text draw file: one draw a line, the issue, the basic numbers and, for a lottery
/// with one, the bonus number after a "+"; blanks or commas between. Empty lines and lines
/// starting with "#" are skipped. Every draw must keep the lottery's rules. Any other line
/// longer than maxDrawLineBytes() is a bad line, and so is one of more fields than a draw has.
QRT_REFHOST_EXPORT ReadResult readTextDraws(const QByteArray &bytes, const LotteryShape &shape,
                                            int firstLine = 1);
/// Numbers with at least two digits, single blanks, " + " before the bonus, "\n" after each.
QRT_REFHOST_EXPORT QByteArray formatTextDraws(const DrawList &draws);

/// The user data file: a header naming the format version, the lottery and its shape, the
/// number of draws and a CRC-32 of the draw lines, then the draws as in a text draw file:
///
///     QRTDraws 1
///     lottery: 6 of 49 with a bonus number
///     shape: 6:1-49+
///     draws: 2
///     crc32: 8c7b6e2a
///     2026001 03 12 13 16 23 41 + 07
///     2026002 ...
QRT_REFHOST_EXPORT ReadResult readUserData(const QByteArray &bytes);
/// The user data file of @p draws, in the format above.
QRT_REFHOST_EXPORT QByteArray formatUserData(const LotteryShape &shape, const DrawList &draws);

/// Reads a whole user data file; a file that cannot be read is one error on line 0. So is
/// anything but a regular file (a FIFO, a device, a folder) and a file of more than 1 GB: both
/// are refused before a byte is read. A file that tells no size (one of /proc) is read to its
/// end, up to the same 1 GB. With @p bytes, the file's contents are handed back too.
QRT_REFHOST_EXPORT ReadResult readUserDataFile(const QString &path, QByteArray *bytes = nullptr);

/// The whole of a draw file of any format into @p bytes, with the refusals above; a failure
/// says why it cannot be read and leaves @p bytes empty.
QRT_REFHOST_EXPORT Status readDrawFileBytes(const QString &path, QByteArray &bytes);

/// The CRC-32 (IEEE, as zlib computes it) of @p bytes, as the user data file's header holds it.
QRT_REFHOST_EXPORT quint32 crc32(const QByteArray &bytes);

} // namespace qrt::ref
