#include <qrt/refhost/FileSystem.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace qrt::ref
{

FileSystem::~FileSystem() = default;

int FileSystem::open(const QByteArray &path, int flags, mode_t mode)
{
    int fd;
    do
        fd = ::open(path.constData(), flags, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

ssize_t FileSystem::read(int fd, void *buffer, size_t size)
{
    ssize_t n;
    do
        n = ::read(fd, buffer, size);
    while (n < 0 && errno == EINTR);
    return n;
}

ssize_t FileSystem::write(int fd, const void *data, size_t size)
{
    ssize_t n;
    do
        n = ::write(fd, data, size);
    while (n < 0 && errno == EINTR);
    return n;
}

int FileSystem::fsync(int fd)
{
    return ::fsync(fd);
}

int FileSystem::fchmod(int fd, mode_t mode)
{
    return ::fchmod(fd, mode);
}

int FileSystem::fstat(int fd, struct stat *st)
{
    return ::fstat(fd, st);
}

int FileSystem::lstat(const QByteArray &path, struct stat *st)
{
    return ::lstat(path.constData(), st);
}

int FileSystem::close(int fd)
{
    // Linux releases the descriptor even when close() is interrupted: a retry could close one
    // that another thread has just been given.
    return ::close(fd);
}

int FileSystem::rename(const QByteArray &from, const QByteArray &to)
{
    return ::rename(from.constData(), to.constData());
}

int FileSystem::link(const QByteArray &from, const QByteArray &to)
{
    return ::link(from.constData(), to.constData());
}

int FileSystem::unlink(const QByteArray &path)
{
    return ::unlink(path.constData());
}

int FileSystem::mkostemp(QByteArray &pathTemplate, int flags)
{
    // data() detaches, so the name is written into this array alone.
    return ::mkostemp(pathTemplate.data(), flags);
}

int FileSystem::readFolder(const QByteArray &path, QList<QByteArray> &names)
{
    DIR *dir = ::opendir(path.constData());
    if (!dir)
        return -1;
    names.clear();
    errno = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (name != "." && name != "..")
            names.append(name);
    }
    const int err = errno;
    ::closedir(dir);
    errno = err;
    return err ? -1 : 0;
}

mode_t FileSystem::umask()
{
    // The kernel shows the mask here; asking umask() for it means setting it, and another
    // thread creating a file in between would get the wrong mask.
    const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char buffer[4096];
        QByteArray status;
        for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
            status.append(buffer, n);
        ::close(fd);
        const qsizetype at = status.indexOf("\nUmask:");
        if (at >= 0) {
            bool ok = false;
            const uint mask = status.mid(at + 7).split('\n').value(0).trimmed().toUInt(&ok, 8);
            if (ok)
                return mode_t(mask);
        }
    }
    static std::mutex swapping;
    const std::lock_guard<std::mutex> lock(swapping);
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
}

namespace
{
FileSystem realFileSystem;
std::atomic<FileSystem *> current{&realFileSystem};
} // namespace

FileSystem &fileSystem()
{
    return *current.load(std::memory_order_acquire);
}

void setFileSystem(FileSystem *fs)
{
    current.store(fs ? fs : &realFileSystem, std::memory_order_release);
}

} // namespace qrt::ref
