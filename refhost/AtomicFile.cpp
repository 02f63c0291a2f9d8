#include <qrt/refhost/AtomicFile.h>
#include <qrt/refhost/FileSystem.h>

#include <QFile>
#include <QRandomGenerator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <thread>

namespace qrt::ref
{

namespace
{

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

QString shown(const QByteArray &path)
{
    return QFile::decodeName(path);
}

QString describe(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

QString reason(const char *what, const QByteArray &path, int err)
{
    return QStringLiteral("%1 %2: %3").arg(QLatin1String(what), shown(path), describe(err));
}

// Found from the text alone: a relative path needs no look-up of the current folder.
QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

// A rename, link or unlink survives a power cut only once the folder's entries are on disk
// too. Returns 0 or why they may not be.
int syncFolderOf(FileSystem &fs, const QByteArray &path)
{
    const int fd = fs.open(folderOf(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int err = fs.fsync(fd) == 0 ? 0 : errno;
    // Nothing was written through this descriptor: its close has nothing left to report.
    fs.close(fd);
    return err;
}

// What @p done to @p path amounts to once the folder is synced, or is not.
Status durable(FileSystem &fs, const QByteArray &path, const char *done)
{
    if (const int err = syncFolderOf(fs, path))
        return Status::notDurable(
            QStringLiteral("%1 was %2, but the folder could not be synced: %3")
                .arg(shown(path), QLatin1String(done), describe(err)));
    return Status::success();
}

bool writeAll(FileSystem &fs, int fd, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = fs.write(fd, data + done, size_t(std::min<qint64>(size - done, 1 << 20)));
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        done += n;
    }
    return true;
}

// Two names of one file: damage done to either reaches both.
bool sameFile(FileSystem &fs, const QByteArray &a, const QByteArray &b)
{
    struct stat sa, sb;
    return fs.lstat(a, &sa) == 0 && fs.lstat(b, &sb) == 0 && sa.st_dev == sb.st_dev &&
           sa.st_ino == sb.st_ino;
}

// Read in blocks, so that the comparison needs no second copy of a large file in memory. A
// symbolic link never counts: a backup that is one shares the damage of what it points to.
bool sameBytes(FileSystem &fs, const QByteArray &path, const QByteArray &bytes)
{
    const int fd = fs.open(path, O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat st;
    bool same = fs.fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size == bytes.size();
    QByteArray block(same ? 1 << 20 : 0, Qt::Uninitialized);
    for (qsizetype at = 0; same && at < bytes.size();) {
        const ssize_t n =
            fs.read(fd, block.data(), size_t(std::min<qint64>(block.size(), bytes.size() - at)));
        same = n > 0 && std::memcmp(block.constData(), bytes.constData() + at, size_t(n)) == 0;
        at += n;
    }
    fs.close(fd);
    return same;
}

// The whole of @p path, and its permission bits in @p mode.
Status readWhole(FileSystem &fs, const QByteArray &path, QByteArray &bytes, mode_t &mode)
{
    const int fd = fs.open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Status::failure(reason("cannot open", path, errno));
    struct stat st;
    if (fs.fstat(fd, &st) != 0) {
        const int err = errno;
        fs.close(fd);
        return Status::failure(reason("cannot read", path, err));
    }
    mode = st.st_mode & 0777;
    bytes.clear();
    bytes.reserve(qsizetype(st.st_size));
    char block[1 << 16];
    for (;;) {
        const ssize_t n = fs.read(fd, block, sizeof block);
        if (n < 0) {
            const int err = errno;
            fs.close(fd);
            return Status::failure(reason("cannot read", path, err));
        }
        if (n == 0)
            break;
        bytes.append(block, n);
    }
    fs.close(fd);
    return Status::success();
}

// A new file has the bits any program gives a document; a replaced one keeps its own, which
// the user may have narrowed.
Status modeFor(FileSystem &fs, const QByteArray &path, mode_t &mode)
{
    struct stat st;
    const bool found = fs.lstat(path, &st) == 0;
    if (!found && errno != ENOENT)
        return Status::failure(reason("cannot read the mode of", path, errno));
    mode = found && S_ISREG(st.st_mode) ? st.st_mode & 0777 : 0644 & ~fs.umask();
    return Status::success();
}

// The first half of a replacement: @p data in a synced temporary file beside @p path, named
// in @p temp.
Status writeTemporary(FileSystem &fs, const QByteArray &path, const QByteArray &data, mode_t mode,
                      QByteArray &temp)
{
    temp = path + ".tmp-XXXXXX";
    const int fd = fs.mkostemp(temp, O_CLOEXEC);
    if (fd < 0) {
        temp.clear();
        return Status::failure(reason("cannot create a temporary file beside", path, errno));
    }
    auto fail = [&](const char *what, bool open) {
        Status why = Status::failure(reason(what, temp, errno));
        if (open)
            fs.close(fd);
        fs.unlink(temp);
        temp.clear();
        return why;
    };
    if (!writeAll(fs, fd, data.constData(), data.size()))
        return fail("cannot write", true);
    // Before the sync, so that the bits reach the disk with the bytes.
    if (fs.fchmod(fd, mode) != 0)
        return fail("cannot set the mode of", true);
    if (fs.fsync(fd) != 0)
        return fail("cannot sync", true);
    if (fs.close(fd) != 0)
        return fail("cannot close", false);
    return Status::success();
}

// The second half: the temporary file takes the place of @p path, or is removed.
Status replaceWith(FileSystem &fs, const QByteArray &temp, const QByteArray &path)
{
    if (fs.rename(temp, path) != 0) {
        Status why = Status::failure(reason("cannot replace", path, errno));
        fs.unlink(temp);
        return why;
    }
    return durable(fs, path, "replaced");
}

// @p mode null: the bits of the file replaced.
Status writeAtomically(FileSystem &fs, const QByteArray &path, const QByteArray &data,
                       const mode_t *mode)
{
    mode_t bits = 0;
    if (mode)
        bits = *mode;
    else if (Status s = modeFor(fs, path, bits); !s.ok())
        return s;
    QByteArray temp;
    if (Status s = writeTemporary(fs, path, data, bits, temp); !s.ok())
        return s;
    return replaceWith(fs, temp, path);
}

// Named as mkostemp() names, so that removeLeftovers() finds those a killed writer left.
QByteArray temporaryName(const QByteArray &path)
{
    static constexpr char alphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = path + ".tmp-";
    for (int i = 0; i < 6; ++i)
        name += alphabet[QRandomGenerator::global()->bounded(int(sizeof alphabet - 1))];
    return name;
}

bool isTemporaryOf(const QByteArray &entry, const QByteArray &name)
{
    const QByteArray prefix = name + ".tmp-";
    return entry.size() == prefix.size() + 6 && entry.startsWith(prefix) &&
           std::all_of(entry.end() - 6, entry.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
           });
}

// Makes @p to a second name of @p from in one step; @p linkError is why the file system
// refused the link, when it did.
Status secondName(FileSystem &fs, const QByteArray &from, const QByteArray &to, int &linkError)
{
    linkError = 0;
    // A rename between two names of one file does nothing and would leave the temporary name.
    if (sameFile(fs, from, to))
        return Status::success();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray temp = temporaryName(to);
        if (fs.link(from, temp) == 0)
            return replaceWith(fs, temp, to);
        if (errno != EEXIST) {
            linkError = errno;
            return Status::failure(reason("cannot give a second name to", from, errno));
        }
    }
    return Status::failure(reason("cannot find a free temporary name beside", to, EEXIST));
}

bool linkImpossible(int err)
{
    return err == EXDEV || err == EPERM || err == EMLINK || err == ENOTSUP;
}

// What a backup needs once the bytes are known to be good: nothing (the backup holds them
// already), the rename of a copy written, or, when no copy could be written, a second name.
struct PreparedBackup {
    bool current = false;
    QByteArray temp;
    Status copy;
};

PreparedBackup prepareBackup(FileSystem &fs, const QString &path, const QByteArray &bytes)
{
    const QByteArray backup = encoded(backupPathFor(path));
    PreparedBackup p;
    // Most reads find the backup of the last one: comparing costs a read, writing it anew a
    // write and a sync of the whole file.
    p.current = !sameFile(fs, encoded(path), backup) && sameBytes(fs, backup, bytes);
    // A copy, so that damage done to the file in place (an editor, a shell redirection) leaves
    // the backup alone.
    if (!p.current) {
        mode_t mode = 0;
        p.copy = modeFor(fs, backup, mode);
        if (p.copy.ok())
            p.copy = writeTemporary(fs, backup, bytes, mode, p.temp);
    }
    return p;
}

void discardBackup(FileSystem &fs, const PreparedBackup &p)
{
    if (!p.temp.isEmpty())
        fs.unlink(p.temp);
}

Status commitBackup(FileSystem &fs, const QString &path, PreparedBackup p)
{
    if (p.current)
        return Status::success();
    const QByteArray backup = encoded(backupPathFor(path));
    if (!p.temp.isEmpty()) {
        p.copy = replaceWith(fs, p.temp, backup);
        if (p.copy.landed())
            return p.copy;
    }
    // No room for a copy: a second name of the file needs none, and the file is only ever
    // replaced by a rename, which leaves the second name with these bytes.
    int linkError = 0;
    Status linked = secondName(fs, encoded(path), backup, linkError);
    if (linked.landed())
        return linked;
    return Status::failure(QStringLiteral("cannot keep a backup: %1; nor a second name: %2")
                               .arg(p.copy.message(), linked.message()));
}
} // namespace

QString backupPathFor(const QString &path)
{
    return path + QStringLiteral(".bak");
}

Status writeFileAtomically(const QString &path, const QByteArray &data)
{
    return writeAtomically(fileSystem(), encoded(path), data, nullptr);
}

Status keepLastGood(const QString &path, const QByteArray &bytes)
{
    FileSystem &fs = fileSystem();
    return commitBackup(fs, path, prepareBackup(fs, path, bytes));
}

Status keepLastGoodIf(const QString &path, const QByteArray &bytes,
                      const std::function<bool()> &check)
{
    FileSystem &fs = fileSystem();
    PreparedBackup prepared;
    std::thread writer;
    try {
        writer = std::thread([&] { prepared = prepareBackup(fs, path, bytes); });
    } catch (const std::system_error &) {
        // No thread to be had: the copy is made first, the same work one after the other.
        prepared = prepareBackup(fs, path, bytes);
    }
    bool passed = false;
    try {
        passed = check();
    } catch (...) {
        if (writer.joinable())
            writer.join();
        discardBackup(fs, prepared);
        throw;
    }
    if (writer.joinable())
        writer.join();
    if (!passed) {
        discardBackup(fs, prepared);
        return Status::success();
    }
    return commitBackup(fs, path, std::move(prepared));
}

Status restoreLastGood(const QString &path)
{
    return linkOrCopy(backupPathFor(path), path);
}

bool sameFile(const QString &a, const QString &b)
{
    return sameFile(fileSystem(), encoded(a), encoded(b));
}

Status linkOrCopy(const QString &from, const QString &to)
{
    FileSystem &fs = fileSystem();
    const QByteArray source = encoded(from);
    const QByteArray target = encoded(to);
    int linkError = 0;
    Status linked = secondName(fs, source, target, linkError);
    if (linked.landed() || !linkImpossible(linkError))
        return linked;
    QByteArray bytes;
    mode_t mode = 0;
    if (Status read = readWhole(fs, source, bytes, mode); !read.ok())
        return read;
    return writeAtomically(fs, target, bytes, &mode);
}

Status removeFile(const QString &path)
{
    FileSystem &fs = fileSystem();
    const QByteArray name = encoded(path);
    if (fs.unlink(name) != 0)
        return errno == ENOENT ? Status::success()
                               : Status::failure(reason("cannot remove", name, errno));
    return durable(fs, name, "removed");
}

Status moveAside(const QString &path, QString &aside)
{
    FileSystem &fs = fileSystem();
    // Never over an earlier one: each was kept for the user to look at.
    aside = path + QStringLiteral(".damaged");
    struct stat st;
    for (int n = 2; fs.lstat(encoded(aside), &st) == 0; ++n)
        aside = path + QStringLiteral(".damaged.%1").arg(n);
    Status why;
    if (errno != ENOENT)
        why = Status::failure(reason("cannot look for", encoded(aside), errno));
    else if (fs.rename(encoded(path), encoded(aside)) != 0)
        why = Status::failure(reason("cannot rename", encoded(path), errno));
    else
        return durable(fs, encoded(aside), "moved aside");
    aside.clear();
    return why;
}

int removeLeftovers(const QString &path)
{
    FileSystem &fs = fileSystem();
    const QByteArray file = encoded(path);
    const qsizetype slash = file.lastIndexOf('/');
    const QByteArray folder = file.left(slash + 1); // empty for the current folder
    const QByteArray name = file.mid(slash + 1);
    QList<QByteArray> entries;
    if (fs.readFolder(folderOf(file), entries) != 0)
        return 0;
    int removed = 0;
    for (const QByteArray &entry : entries) {
        if (!isTemporaryOf(entry, name) && !isTemporaryOf(entry, name + ".bak"))
            continue;
        // A link of that name could point at anything; only the writers' own files go.
        struct stat st;
        if (fs.lstat(folder + entry, &st) == 0 && S_ISREG(st.st_mode) &&
            fs.unlink(folder + entry) == 0)
            ++removed;
    }
    return removed;
}

} // namespace qrt::ref
