#include <qrt/refhost/AtomicFile.h>

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
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

// The backup is a copy, not a second name: an editor that rewrites the file in place must
// not change the backup with it.
QString keepBackupOf(const QString &target, const QString &backup)
{
    QFile from(target);
    if (!from.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read %1 to back it up: %2").arg(target, from.errorString());
    const QString why = writeFileAtomically(backup, from.readAll(), false);
    return why.isEmpty() ? QString() : QStringLiteral("cannot keep a backup: %1").arg(why);
}

} // namespace

QString backupPathFor(const QString &path)
{
    return path + QStringLiteral(".bak");
}

QString writeFileAtomically(const QString &path, const QByteArray &data, bool keepBackup)
{
    const QByteArray target = QFile::encodeName(path);
    QByteArray temp = target + ".tmp-XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return reason("cannot create a temporary file beside", path);
    auto fail = [&](const QString &why) {
        ::unlink(temp.constData());
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
    struct stat st;
    if (keepBackup && ::stat(target.constData(), &st) == 0) {
        const QString why = keepBackupOf(path, backupPathFor(path));
        if (!why.isEmpty())
            return fail(why);
    }
    if (::rename(temp.constData(), target.constData()) != 0)
        return fail(reason("cannot replace", path));
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int dirFd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        // The rename is only durable once the folder is on disk too.
        const bool synced = ::fsync(dirFd) == 0;
        ::close(dirFd);
        if (!synced)
            return reason("cannot sync the folder of", path);
    }
    return {};
}

} // namespace qrt::ref
