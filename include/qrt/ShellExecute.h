#pragma once

#include <qrt/qrt_export.h>

#include <QString>
#include <functional>

namespace qrt
{

/// Replaces the service that opens a file in its associated program; an empty function
/// restores the default (QDesktopServices::openUrl).
QRT_EXPORT void
setShellExecuteHandler(std::function<void(const QString &operation, const QString &file)> handler);

/// Asks the desktop to perform @p operation ("Open") on @p file without waiting for it.
/// Failures are not reported.
QRT_EXPORT void shellExecute(const QString &operation, const QString &file);

} // namespace qrt
