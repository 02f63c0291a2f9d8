#include "DataFolder.h"
#include <qrt/HostContract.h>
#include <qrt/Settings.h>
#include <qrt/refhost/SqliteStore.h>

#include <qrt/RuntimeError.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>
#include <ctime>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qrt::domain
{
namespace
{

// Why a folder or the lock in it cannot be made, in a user's words. @p name is the folder
// being made or written into.
QString reason(int error, const QByteArray &name)
{
    const QString folder = QFile::decodeName(name);
    switch (error) {
    case ENOSPC:
        return QCoreApplication::translate("DataFolder", "the disk is full");
    case EDQUOT:
        return QCoreApplication::translate("DataFolder", "the disk quota is used up");
    case EFBIG:
        return QCoreApplication::translate("DataFolder", "the file size limit is reached");
    case EACCES:
    case EPERM:
        return QCoreApplication::translate("DataFolder", "there is no permission to write in %1")
            .arg(folder);
    case EROFS:
        return QCoreApplication::translate("DataFolder", "%1 is on a read-only disk").arg(folder);
    case ENOTDIR:
    case EEXIST:
        return QCoreApplication::translate("DataFolder", "%1 is not a folder").arg(folder);
    case ENAMETOOLONG:
        return QCoreApplication::translate("DataFolder", "the name is too long");
    default:
        return QStringLiteral("%1 (%2)").arg(QString::fromLocal8Bit(std::strerror(error)), folder);
    }
}

bool noRoom(int error)
{
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

// QDir::mkpath says only that it failed; this says why the folder cannot be had.
ref::Status makeFolder(const QByteArray &path)
{
    for (qsizetype end = 1; end <= path.size(); ++end) {
        if (end < path.size() && path.at(end) != '/')
            continue;
        const QByteArray part = path.left(end);
        if (::mkdir(part.constData(), 0777) == 0)
            continue;
        const int error = errno;
        struct stat st {
        };
        if (error != EEXIST)
            return ref::Status::failure(
                reason(error, error == ENOTDIR || error == ENOENT ? part : path.left(end - 1)));
        if (::stat(part.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
            return ref::Status::failure(reason(ENOTDIR, part));
    }
    return ref::Status::success();
}

// Without HOME, Qt falls back on the root folder and would make /.local/share there; a relative
// one would put the folder wherever the program was started. Neither is the user's.
QString userDataLocation(const char **from)
{
    const QByteArray xdg = qgetenv("XDG_DATA_HOME");
    *from = xdg.isEmpty() ? "HOME" : "XDG_DATA_HOME";
    const QByteArray base = xdg.isEmpty() ? qgetenv("HOME") : xdg;
    const auto refuse = [](const QString &why) {
        return RuntimeError(
            76, why + QCoreApplication::translate("DataFolder",
                                                  "; give the data folder with --data-dir DIR."));
    };
    if (base.isEmpty())
        throw refuse(QCoreApplication::translate("DataFolder", "HOME is not set"));
    const QString decoded = QFile::decodeName(base);
    if (QFile::encodeName(decoded) != base)
        throw refuse(QCoreApplication::translate(
                         "DataFolder", "%1 holds bytes that are not valid text, so the user's data "
                                       "location cannot be used")
                         .arg(QLatin1String(*from)));
    if (!base.startsWith('/'))
        throw refuse(QCoreApplication::translate(
                         "DataFolder",
                         "%1 (%2) is not an absolute path, so the user's data location "
                         "cannot be used")
                         .arg(QLatin1String(*from), decoded));
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

struct LockInfo {
    qint64 pid = 0; // 0 when the file names none
    QString program, host;
};

LockInfo readInfo(int fd)
{
    char bytes[1024];
    const ssize_t n = ::pread(fd, bytes, sizeof bytes, 0);
    LockInfo info;
    if (n <= 0)
        return info;
    const QList<QByteArray> lines = QByteArray(bytes, n).split('\n');
    bool ok = false;
    const qint64 pid = lines.value(0).toLongLong(&ok);
    if (ok && pid > 0 && pid <= INT_MAX && lines.size() > 3) {
        info.pid = pid;
        info.program = QString::fromUtf8(lines.at(1));
        info.host = QString::fromUtf8(lines.at(2));
    }
    return info;
}

LockInfo readInfo(const QByteArray &name)
{
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    LockInfo info = readInfo(fd);
    ::close(fd);
    return info;
}

bool runs(const LockInfo &info)
{
    if (info.pid == 0)
        return false;
    if (!info.host.isEmpty() && info.host != QSysInfo::machineHostName())
        return true; // cannot be told from here
    return ::kill(pid_t(info.pid), 0) == 0 || errno == EPERM;
}

// Whether @p fd is still the file that @p name names.
bool isAt(int fd, const QByteArray &name)
{
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && ::stat(name.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

int writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return n < 0 ? errno : ENOSPC;
        done += n;
    }
    return 0;
}

// An empty lock file may be one that its creator has made and not yet flock()ed: the two calls
// follow each other at once, so only a creator stopped for a second leaves it empty and
// unlocked that long. A file left empty by a crash or a full disk is older than that by the
// time anyone looks again, and the wait costs a second at most.
bool justMade(const struct stat &st)
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const double age =
        double(now.tv_sec - st.st_mtim.tv_sec) + double(now.tv_nsec - st.st_mtim.tv_nsec) / 1e9;
    return st.st_size == 0 && age > -1.0 && age < 1.0;
}

QString programName()
{
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget();
    return exe.isEmpty() ? QCoreApplication::applicationName() : QFileInfo(exe).fileName();
}

} // namespace

DataFolder::DataFolder(const QString &path)
{
    const char *from = nullptr;
    m_path = QDir::cleanPath(QDir(path.isEmpty() ? userDataLocation(&from) : path).absolutePath());
    const QByteArray name = QFile::encodeName(m_path);
    if (const ref::Status made = makeFolder(name); !made.ok()) {
        const QString &why = made.message();
        if (from)
            throw RuntimeError(
                76, QCoreApplication::translate("DataFolder",
                                                "The user's data location %1 (from %2) cannot be "
                                                "used: %3; give the data folder with --data-dir "
                                                "DIR.")
                        .arg(m_path, QLatin1String(from), why));
        throw RuntimeError(75, QCoreApplication::translate(
                                   "DataFolder", "The data folder %1 cannot be created: %2.")
                                   .arg(m_path, why));
    }
    m_lockName = name + "/lock";
    lock();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                       m_path + QStringLiteral("/settings"));
}

// One writer per folder: two programs saving into one folder overwrite each other's draws,
// since the save folder and the file written back are kept in shared settings. The lock is the
// file made with O_EXCL and flock()ed for as long as the program runs, so the kernel frees it
// when the program dies however it dies; what the file holds only names the holder. It is the
// one file not written through a temporary file and a rename: a rename would replace another
// program's lock.
void DataFolder::lock()
{
    using namespace std::chrono_literals;
    const QByteArray holds = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                             programName().toUtf8() + '\n' + QSysInfo::machineHostName().toUtf8() +
                             '\n';
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    const auto lookAgain = [&] {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(20ms);
        return true;
    };
    const auto cannotLock = [&](int error) {
        return RuntimeError(
            noRoom(error) ? 61 : 75,
            (noRoom(error)
                 ? QCoreApplication::translate("DataFolder",
                                               "The lock of the data folder %1 cannot "
                                               "be written: %2. Nothing was changed.")
                 : QCoreApplication::translate("DataFolder", "The data folder %1 cannot be locked: "
                                                             "%2. Nothing was changed."))
                .arg(m_path, reason(error, QFile::encodeName(m_path))));
    };
    for (;;) {
        int fd = ::open(m_lockName.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            // Blocking: one that judges the file stale holds it for a moment only, and lets go
            // of a file this young.
            while (::flock(fd, LOCK_EX) != 0) {
                if (errno != EINTR) {
                    const int error = errno;
                    ::unlink(m_lockName.constData());
                    ::close(fd);
                    throw cannotLock(error);
                }
            }
            if (!isAt(fd, m_lockName)) { // taken over as stale while this program stood still
                ::close(fd);
                continue;
            }
            if (const int error = writeAll(fd, holds)) {
                ::unlink(m_lockName.constData());
                ::close(fd);
                throw cannotLock(error);
            }
            m_lockFd = fd;
            return;
        }
        if (errno != EEXIST)
            throw cannotLock(errno);
        fd = ::open(m_lockName.constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            if (errno == ENOENT)
                continue;
            throw cannotLock(errno);
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            const LockInfo holder = readInfo(fd);
            ::close(fd);
            if (error == EINTR)
                continue;
            if (error != EWOULDBLOCK)
                throw cannotLock(error);
            // Held. A holder that names no live process is writing it or taking it over at
            // this moment: it will name itself soon.
            if (!runs(holder) && lookAgain())
                continue;
            if (holder.pid == 0)
                throw RuntimeError(70, QCoreApplication::translate(
                                           "DataFolder", "The data folder %1 is in use by another "
                                                         "program; close it first. Nothing was "
                                                         "changed.")
                                           .arg(m_path));
            throw RuntimeError(
                70, QCoreApplication::translate(
                        "DataFolder", "The data folder %1 is in use by %2 (process %3 on %4); "
                                      "close it first. Nothing was changed.")
                        .arg(m_path,
                             holder.program.isEmpty()
                                 ? QCoreApplication::translate("DataFolder", "another program")
                                 : holder.program,
                             QString::number(holder.pid), holder.host));
        }
        // No live process holds it, whatever it says.
        struct stat st {
        };
        if (!isAt(fd, m_lockName) || ::fstat(fd, &st) != 0 || (justMade(st) && lookAgain())) {
            ::close(fd);
            continue;
        }
        // Removed while flock()ed, so that none who judged it stale too removes a newer one.
        if (::unlink(m_lockName.constData()) != 0) {
            const int error = errno;
            ::close(fd);
            throw cannotLock(error);
        }
        ::close(fd);
    }
}

DataFolder::~DataFolder()
{
    if (m_lockFd < 0)
        return;
    // A lock that was lost may be another program's now. Removed before it is let go of, so
    // that none takes it over as stale in between.
    if (isAt(m_lockFd, m_lockName))
        ::unlink(m_lockName.constData());
    ::close(m_lockFd);
}

ref::Status DataFolder::checkLock() const
{
    QString why;
    struct stat held {
    }, named{};
    if (m_lockFd < 0 || ::fstat(m_lockFd, &held) != 0) {
        why = QCoreApplication::translate("DataFolder", "it is not held");
    } else if (::stat(m_lockName.constData(), &named) != 0) {
        why = errno == ENOENT
                  ? QCoreApplication::translate("DataFolder", "its lock file was deleted")
                  : QCoreApplication::translate("DataFolder", "its lock file cannot be checked: %1")
                        .arg(QString::fromLocal8Bit(std::strerror(errno)));
    } else if (named.st_dev != held.st_dev || named.st_ino != held.st_ino) {
        const LockInfo other = readInfo(m_lockName);
        why = other.pid ? QCoreApplication::translate(
                              "DataFolder", "its lock file was replaced by that of process %1")
                              .arg(other.pid)
                        : QCoreApplication::translate("DataFolder", "its lock file was replaced");
    } else if (const LockInfo now = readInfo(m_lockFd);
               now.pid != QCoreApplication::applicationPid()) {
        why = now.pid
                  ? QCoreApplication::translate("DataFolder", "its lock file now names process %1")
                        .arg(now.pid)
                  : QCoreApplication::translate("DataFolder", "its lock file was overwritten");
    }
    if (why.isEmpty())
        return ref::Status::success();
    return ref::Status::failure(
        QCoreApplication::translate(
            "DataFolder", "The lock on the data folder %1 was lost (%2), so another program may "
                          "have changed the draws there. Nothing was saved.")
            .arg(m_path, why));
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
    // One that cannot be made fails the first file written into it, with the reason.
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

} // namespace qrt::domain
