#pragma once

#include <qrt/refhost/qrt_refhost_export.h>

#include <QByteArray>
#include <QString>

#include <functional>

namespace qrt::ref
{

/// Replaces @p path with @p data so that a crash or a full disk leaves either the old file or
/// the new one, never a mix: the data goes to a temporary file beside it, every write is
/// checked, the file is synced, the temporary file is renamed over @p path and the folder is
/// synced. Returns an empty string on success, otherwise why it failed; the old file is then
/// intact.
QRT_REFHOST_EXPORT QString writeFileAtomically(const QString &path, const QByteArray &data);

/// Where the last good version of @p path is kept.
QRT_REFHOST_EXPORT QString backupPathFor(const QString &path);

/// Keeps @p bytes, just read from @p path, as `path.bak`, replacing the older backup only once
/// the new one is complete: a copy, which damage done to the file in place cannot reach, or
/// where there is no room for one, a second name of the file, which needs no disk space.
/// Returns why neither could be made, or an empty string.
QRT_REFHOST_EXPORT QString keepLastGood(const QString &path, const QByteArray &bytes);

/// keepLastGood() for bytes that are still being checked: the copy is written on another
/// thread while @p check runs, and takes the old backup's place only when @p check returns
/// true; otherwise it is removed and the old backup stays. An exception from @p check passes
/// through, leaving the old backup as well.
QRT_REFHOST_EXPORT QString keepLastGoodIf(const QString &path, const QByteArray &bytes,
                                          const std::function<bool()> &check);

/// Puts the last good version back at @p path (which must not exist); false when it cannot.
QRT_REFHOST_EXPORT bool restoreLastGood(const QString &path);

/// Renames a damaged @p path to `path.damaged`, or `.damaged.2`, `.damaged.3`, ... when
/// earlier ones are there, and returns the new name; empty when it cannot be moved.
QRT_REFHOST_EXPORT QString moveAside(const QString &path);

/// Removes the temporary files that writers of @p path and of its backup left behind when
/// they were killed; returns how many. Only for a folder that no other writer uses.
QRT_REFHOST_EXPORT int removeLeftovers(const QString &path);

} // namespace qrt::ref
