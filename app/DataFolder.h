#pragma once

#include <qrt/refhost/LotteryShape.h>

#include <QString>

#include <memory>

class QLockFile;

namespace qrt::ref
{
class SqliteStore;
}

namespace qrt::app
{

/// Where the program keeps its things: one folder holding the record store (store.db), the
/// per-user settings (settings/) and a folder per lottery with its user data file.
class DataFolder
{
public:
    /// The user's data folder, or @p path when one is given. Creates it, takes its lock and
    /// redirects the per-user settings into it. Throws RuntimeError 70 when another running
    /// program holds the lock; a lock left by a program that died is taken over.
    explicit DataFolder(const QString &path = QString());
    ~DataFolder();

    QString path() const { return m_path; }
    QString storePath() const;
    /// The folder of a lottery's user data file, with a trailing separator, created if needed.
    QString lotteryFolder(const ref::LotteryShape &shape) const;

    /// The application name under which the control finds the "Path" setting.
    static QString applicationName() { return QStringLiteral("QRTDataManager"); }

    /// First-run set-up and every later start: the store knows the application name, and the
    /// "Path" setting points at the lottery's folder.
    void prepare(ref::SqliteStore &store, const ref::LotteryShape &shape) const;

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace qrt::app
