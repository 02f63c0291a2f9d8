#include <qrt/Settings.h>

#include <QSettings>

namespace qrt
{

QString getSetting(const QString &appName, const QString &section, const QString &key,
                   const QString &defaultValue)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("QRTDataManager"),
                appName);
    return s.value(section + u'/' + key, defaultValue).toString();
}

void saveSetting(const QString &appName, const QString &section, const QString &key,
                 const QString &value)
{
    QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("QRTDataManager"),
                appName);
    s.setValue(section + u'/' + key, value);
    s.sync();
}

} // namespace qrt
