#include "DataFolder.h"
#include <qrt/HostContract.h>
#include <qrt/Settings.h>
#include <qrt/refhost/SqliteStore.h>

#include <qrt/RuntimeError.h>

#include <QDir>
#include <QLockFile>
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
    // One writer per folder: two programs saving into one folder overwrite each other's
    // draws, since the save folder and the file written back are kept in shared settings.
    m_lock = std::make_unique<QLockFile>(m_path + QStringLiteral("/lock"));
    m_lock->setStaleLockTime(0); // held for as long as the program runs; only a dead owner frees it
    if (!m_lock->tryLock(0)) {
        qint64 pid = 0;
        QString host, app;
        const bool known = m_lock->getLockInfo(&pid, &host, &app);
        throw RuntimeError(
            70, known ? QStringLiteral("The data folder %1 is in use by %2 (process %3 on %4); "
                                       "close it first. Nothing was changed.")
                            .arg(m_path, app.isEmpty() ? QStringLiteral("another program") : app)
                            .arg(pid)
                            .arg(host)
                      : QStringLiteral("The data folder %1 cannot be locked (%2); nothing was "
                                       "changed.")
                            .arg(m_path, m_lock->error() == QLockFile::PermissionError
                                             ? QStringLiteral("no permission")
                                             : QStringLiteral("it is in use")));
    }
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       m_path + QStringLiteral("/settings"));
}

DataFolder::~DataFolder() = default;

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
