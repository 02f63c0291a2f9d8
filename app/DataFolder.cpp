#include "DataFolder.h"
#include <qrt/HostContract.h>
#include <qrt/Settings.h>
#include <qrt/refhost/SqliteStore.h>

#include <QDir>
#include <QSettings>
#include <QStandardPaths>

namespace qrt::app
{

DataFolder::DataFolder(const QString &path)
    : m_path(path.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)
                            : path)
{
    QDir().mkpath(m_path);
    m_path = QDir(m_path).absolutePath();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       m_path + QStringLiteral("/settings"));
}

QString DataFolder::storePath() const
{
    return m_path + QStringLiteral("/store.db");
}

QString DataFolder::lotteryFolder(const ref::LotteryShape &shape) const
{
    QString name = shape.key();
    name.replace(u':', u'_').replace(u'+', QStringLiteral("_bonus"));
    const QString folder = m_path + u'/' + name;
    QDir().mkpath(folder);
    return folder + u'/';
}

void DataFolder::prepare(ref::SqliteStore &store, const ref::LotteryShape &shape) const
{
    if (!store.record(QString::fromLatin1(host::kRecordCaption), QStringLiteral("0")))
        store.setRecord(QString::fromLatin1(host::kRecordCaption), applicationName());
    saveSetting(applicationName(), QStringLiteral("Path"), QStringLiteral("Path"),
                lotteryFolder(shape));
}

} // namespace qrt::app
