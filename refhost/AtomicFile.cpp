#include <qrt/refhost/AtomicFile.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace qrt::ref
{

namespace
{

QString reason(const char *what, const QString &path)
{
    return QStringLiteral("%1 %2: %3")
        .arg(QLatin1String(what), path, QString::fromLocal8Bit(std::strerror(errno)));
}

bool writeAll(int fd, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size_t(std::min<qint64>(size - done, 1 << 20)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// The rename is only durable once the folder is on disk too.
QString syncFolderOf(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0)
        return {};
    const bool synced = ::fsync(dirFd) == 0;
    ::close(dirFd);
    return synced ? QString() : reason("cannot sync the folder of", path);
}

// Two names of one file: damage done to either reaches both.
bool sameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 &&
           ::stat(QFile::encodeName(b).constData(), &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Read in blocks, so that the comparison needs no second copy of a large file in memory.
bool sameBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.size() != bytes.size() || !f.open(QIODevice::ReadOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qsizetype at = 0; at < bytes.size();) {
        const qint64 n = f.read(block.data(), std::min<qint64>(block.size(), bytes.size() - at));
        if (n <= 0 || std::memcmp(block.constData(), bytes.constData() + at, size_t(n)) != 0)
            return false;
        at += n;
    }
    return true;
}

} // namespace

QString backupPathFor(const QString &path)
{
    return path + QStringLiteral(".bak");
}

namespace
{
// The first half of writeFileAtomically(): @p data in a synced temporary file beside @p path,
// named in @p temp.
QString writeTemporary(const QString &path, const QByteArray &data, QByteArray &temp)
{
    temp = QFile::encodeName(path) + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) {
        temp.clear();
        return reason("cannot create a temporary file beside", path);
    }
    auto fail = [&](const QString &why) {
        ::unlink(temp.constData());
        temp.clear();
        return why;
    };
    if (!writeAll(fd, data.constData(), data.size())) {
        const QString why = reason("cannot write", QString::fromLocal8Bit(temp));
        ::close(fd);
        return fail(why);
    }
    if (::fchmod(fd, 0644) != 0 || ::fsync(fd) != 0) {
        const QString why = reason("cannot sync", QString::fromLocal8Bit(temp));
        ::close(fd);
        return fail(why);
    }
    if (::close(fd) != 0)
        return fail(reason("cannot close", QString::fromLocal8Bit(temp)));
    return {};
}

// The second half: the temporary file takes the place of @p path, or is removed.
QString replaceWith(const QByteArray &temp, const QString &path)
{
    if (::rename(temp.constData(), QFile::encodeName(path).constData()) != 0) {
        QString why = reason("cannot replace", path);
        ::unlink(temp.constData());
        return why;
    }
    return syncFolderOf(path);
}

// What a backup needs once the bytes are known to be good: nothing (the backup holds them
// already), the rename of a copy written, or, when no copy could be written, a second name.
struct PreparedBackup {
    bool current = false;
    QByteArray temp;
    QString why;
};

PreparedBackup prepareBackup(const QString &path, const QByteArray &bytes)
{
    PreparedBackup p;
    // Most reads find the backup of the last one: comparing costs a read, writing it anew a
    // write and a sync of the whole file.
    p.current = !sameFile(path, backupPathFor(path)) && sameBytes(backupPathFor(path), bytes);
    // A copy, so that damage done to the file in place (an editor, a shell redirection) leaves
    // the backup alone.
    if (!p.current)
        p.why = writeTemporary(backupPathFor(path), bytes, p.temp);
    return p;
}

void discardBackup(const PreparedBackup &p)
{
    if (!p.temp.isEmpty())
        ::unlink(p.temp.constData());
}

QString commitBackup(const QString &path, PreparedBackup p)
{
    if (p.current)
        return {};
    if (!p.temp.isEmpty()) {
        p.why = replaceWith(p.temp, backupPathFor(path));
        if (p.why.isEmpty())
            return {};
    }
    // No room for a copy: a second name of the file needs none, and the file is only ever
    // replaced by a rename, which leaves the second name with these bytes.
    const QByteArray target = QFile::encodeName(path);
    const QByteArray backup = QFile::encodeName(backupPathFor(path));
    for (int attempt = 0; attempt < 16; ++attempt) {
        QByteArray temp = backup + ".tmp-XXXXXX";
        const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
        if (fd < 0)
            break;
        ::close(fd);
        ::unlink(temp.constData());
        if (::link(target.constData(), temp.constData()) == 0) {
            if (::rename(temp.constData(), backup.constData()) == 0 && syncFolderOf(path).isEmpty())
                return {};
            ::unlink(temp.constData());
            break;
        }
        if (errno != EEXIST)
            break;
    }
    return QStringLiteral("cannot keep a backup: %1").arg(p.why);
}
} // namespace

QString writeFileAtomically(const QString &path, const QByteArray &data)
{
    QByteArray temp;
    if (QString why = writeTemporary(path, data, temp); !why.isEmpty())
        return why;
    return replaceWith(temp, path);
}

QString keepLastGood(const QString &path, const QByteArray &bytes)
{
    return commitBackup(path, prepareBackup(path, bytes));
}

QString keepLastGoodIf(const QString &path, const QByteArray &bytes,
                       const std::function<bool()> &check)
{
    PreparedBackup prepared;
    std::thread writer;
    try {
        writer = std::thread([&] { prepared = prepareBackup(path, bytes); });
    } catch (const std::system_error &) {
        // No thread to be had: the copy is made first, the same work one after the other.
        prepared = prepareBackup(path, bytes);
    }
    bool passed = false;
    try {
        passed = check();
    } catch (...) {
        if (writer.joinable())
            writer.join();
        discardBackup(prepared);
        throw;
    }
    if (writer.joinable())
        writer.join();
    if (!passed) {
        discardBackup(prepared);
        return {};
    }
    return commitBackup(path, std::move(prepared));
}

bool restoreLastGood(const QString &path)
{
    const QByteArray target = QFile::encodeName(path);
    const QByteArray backup = QFile::encodeName(backupPathFor(path));
    if (::link(backup.constData(), target.constData()) == 0)
        return syncFolderOf(path).isEmpty();
    QFile from(backupPathFor(path));
    return from.open(QIODevice::ReadOnly) && writeFileAtomically(path, from.readAll()).isEmpty();
}

QString moveAside(const QString &path)
{
    // Never over an earlier one: each was kept for the user to look at.
    QString aside = path + QStringLiteral(".damaged");
    for (int n = 2; QFileInfo::exists(aside) || QFileInfo(aside).isSymLink(); ++n)
        aside = path + QStringLiteral(".damaged.%1").arg(n);
    if (::rename(QFile::encodeName(path).constData(), QFile::encodeName(aside).constData()) != 0)
        return {};
    syncFolderOf(path);
    return aside;
}

int removeLeftovers(const QString &path)
{
    const QFileInfo info(path);
    QDir folder = info.absoluteDir();
    int removed = 0;
    for (const QString &prefix : {info.fileName(), backupPathFor(info.fileName())}) {
        const QStringList names =
            folder.entryList({prefix + QStringLiteral(".tmp-??????")}, QDir::Files | QDir::Hidden);
        for (const QString &name : names)
            removed += folder.remove(name) ? 1 : 0;
    }
    return removed;
}

} // namespace qrt::ref
