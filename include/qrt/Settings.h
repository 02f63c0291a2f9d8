#pragma once

#include <qrt/qrt_export.h>

#include <QString>

namespace qrt
{

/// Per-user settings, read by application name, section and key. They live in
/// QSettings(QSettings::IniFormat, QSettings::UserScope, "QRTDataManager", appName) under the
/// key section + "/" + key; redirect them with QSettings::setPath() before the first read.
QRT_EXPORT QString getSetting(const QString &appName, const QString &section, const QString &key,
                              const QString &defaultValue = QString());
/// Writes a per-user setting where getSetting() reads it.
QRT_EXPORT void saveSetting(const QString &appName, const QString &section, const QString &key,
                            const QString &value);

} // namespace qrt
