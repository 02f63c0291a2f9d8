#pragma once

#include <qrt/refhost/qrt_refhost_export.h>

#include <QByteArray>
#include <QString>

namespace qrt::ref
{

/// Replaces @p path with @p data so that a crash or a full disk leaves either the old file or
/// the new one, never a mix: the data goes to a temporary file beside it, every write is
/// checked, the file is synced, the previous version becomes `path.bak` (with @p keepBackup)
/// and the temporary file is renamed over @p path, after which the folder is synced.
/// Returns an empty string on success, otherwise why it failed; the old file is then intact.
QRT_REFHOST_EXPORT QString writeFileAtomically(const QString &path, const QByteArray &data,
                                               bool keepBackup = true);

/// Where writeFileAtomically() keeps the previous version of @p path.
QRT_REFHOST_EXPORT QString backupPathFor(const QString &path);

} // namespace qrt::ref
