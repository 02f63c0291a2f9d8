#pragma once

#include <qrt/refhost/Status.h>
#include <qrt/refhost/qrt_refhost_export.h>

#include <QByteArray>
#include <QString>

#include <functional>

namespace qrt::ref
{

/// Every system call below goes through fileSystem() (see FileSystem.h).

/// Replaces @p path with @p data so that a crash or a full disk leaves either the old file or
/// the new one, never a mix: the data goes to a temporary file beside it, every write is
/// checked, the file is synced, the temporary file is renamed over @p path and the folder is
/// synced. The new file keeps the permission bits of the regular file it replaces; a new one
/// gets 0644 less the umask. Failed: the old file is intact. NotDurable: the new file is in
/// place, but a power cut may still bring the old one back.
QRT_REFHOST_EXPORT Status writeFileAtomically(const QString &path, const QByteArray &data);

/// Where the last good version of @p path is kept.
QRT_REFHOST_EXPORT QString backupPathFor(const QString &path);

/// Keeps @p bytes, just read from @p path, as `path.bak`, replacing the older backup only once
/// the new one is complete: a copy, which damage done to the file in place cannot reach, or
/// where there is no room for one, a second name of the file, which needs no disk space.
/// Failed when neither could be made; the older backup is then intact.
QRT_REFHOST_EXPORT Status keepLastGood(const QString &path, const QByteArray &bytes);

/// keepLastGood() for bytes that are still being checked: the copy is written on another
/// thread while @p check runs, and takes the old backup's place only when @p check returns
/// true; otherwise it is removed, the old backup stays and the result is success. An exception
/// from @p check passes through, leaving the old backup as well.
QRT_REFHOST_EXPORT Status keepLastGoodIf(const QString &path, const QByteArray &bytes,
                                         const std::function<bool()> &check);

/// Puts the last good version back at @p path, as linkOrCopy() from the backup does.
QRT_REFHOST_EXPORT Status restoreLastGood(const QString &path);

/// Makes @p to a second name of the file @p from, replacing any @p to in one step: a hard link
/// to a temporary name beside @p to, renamed over it, and the folder synced. Where the file
/// system cannot give @p from another name (EXDEV, EPERM, EMLINK, ENOTSUP), @p to becomes a
/// copy instead, written as writeFileAtomically() writes, with the permission bits of @p from.
/// Failed: the old @p to, or none, is as it was.
QRT_REFHOST_EXPORT Status linkOrCopy(const QString &from, const QString &to);

/// Whether @p a and @p b are two names of one file (a symbolic link counts as itself), so that
/// damage done through either reaches both.
QRT_REFHOST_EXPORT bool sameFile(const QString &a, const QString &b);

/// Removes the name @p path (a symbolic link itself, never what it points to) and syncs the
/// folder. A missing @p path is success.
QRT_REFHOST_EXPORT Status removeFile(const QString &path);

/// Renames a damaged @p path to `path.damaged`, or `.damaged.2`, `.damaged.3`, ... when
/// earlier ones are there, and sets @p aside to the new name, or to an empty text when it
/// cannot be moved. Not durable where the folder could not be synced: a damaged file that
/// comes back after a power cut is moved again.
QRT_REFHOST_EXPORT Status moveAside(const QString &path, QString &aside);

/// Removes the temporary files that writers of @p path and of its backup left behind when
/// they were killed (regular files named exactly `NAME.tmp-` and six letters or digits, never
/// a symbolic link); returns how many. Only for a folder that no other writer uses.
QRT_REFHOST_EXPORT int removeLeftovers(const QString &path);

} // namespace qrt::ref
