#pragma once

#include <qrt/refhost/LotteryShape.h>
#include <qrt/refhost/Status.h>

#include <QByteArray>
#include <QString>

namespace qrt::ref
{
class SqliteStore;
}

namespace qrt::domain
{

/// Where the program keeps its things: one folder holding the record store (store.db), the
/// per-user settings (settings/) and a folder per lottery with its user data file.
///
/// One program at a time writes into a data folder: it holds the folder's lock file `lock`
/// (created anew, holding "pid\nprogram\nhost\n", and flock()ed) for as long as it runs. A lock
/// file that no live process holds is taken over whatever it holds.
class DataFolder
{
public:
    /// The user's data folder ($XDG_DATA_HOME or ~/.local/share, then the application name), or
    /// @p path when one is given. Creates it, takes its lock and redirects the per-user
    /// settings into it. Throws RuntimeError, with a message that says what to do, when
    /// - HOME is not set, or XDG_DATA_HOME or HOME is no absolute path, and no @p path is
    ///   given (76);
    /// - the folder cannot be created: no space, no permission, a part is not a folder (75; 76
    ///   for the user's data location);
    /// - the lock file cannot be written because the disk is full (61), or cannot be made for
    ///   another reason, such as no permission (75);
    /// - another live program holds the lock (70).
    /// Nothing is created but the folder and its missing parents, and nothing in it on failure.
    explicit DataFolder(const QString &path = QString());
    ~DataFolder();
    DataFolder(const DataFolder &) = delete;
    DataFolder &operator=(const DataFolder &) = delete;

    QString path() const { return m_path; }
    QString storePath() const;
    /// The folder of a lottery's user data file, with a trailing separator, created if needed.
    QString lotteryFolder(const ref::LotteryShape &shape) const;

    /// Whether this program still holds the folder: its lock file is still there, is the very
    /// file it created, and names this process. Call it right before writing anything into the
    /// folder and write nothing when it fails: a lock file deleted by hand lets another program
    /// in, whose draws the save would overwrite. The failure's message tells the user that the
    /// lock was lost, that another program may have changed the draws and that nothing was
    /// saved. The lock is not taken again here: whatever the other program did must be seen
    /// first, which takes a restart.
    ref::Status checkLock() const;

    /// The application name under which the control finds the "Path" setting.
    static QString applicationName() { return QStringLiteral("QRTDataManager"); }
    /// The store's record of the lottery the program opens on.
    static QString currentLotteryRecord() { return QStringLiteral("CurrentLottery"); }

    /// First-run set-up and every later start: the store knows the application name, and the
    /// "Path" setting points at the lottery's folder.
    void prepare(ref::SqliteStore &store, const ref::LotteryShape &shape) const;

private:
    void lock();

    QString m_path;
    QByteArray m_lockName; // the lock file's path in the file system's own bytes
    int m_lockFd = -1;
};

} // namespace qrt::domain
