#pragma once

#include <qrt/refhost/FileSystem.h>

#include <QList>
#include <QMutex>

#include <cerrno>
#include <string>
#include <unistd.h>

namespace qrt::test
{

// Makes every call the real one, noting it with the path it reached, except the N-th call (of
// one kind, or of any), which fails with the errno chosen, and every link when links are made
// impossible.
class FaultyFileSystem : public ref::FileSystem
{
public:
    // The calls a test picks out; the others (reads, stats, closes, links, folder listings)
    // fail only as the N-th of any.
    enum Kind { Any, Open, Write, Fsync, Fchmod, Rename, Unlink, Mkostemp, Other };
    struct Call {
        Kind kind;
        QByteArray path;
        QByteArray to = {};
    };

    Kind failKind = Any;
    int failAt = 0;
    int failErrno = EIO;
    int linkErrno = 0;
    bool failed = false;
    QList<Call> calls;

    int open(const QByteArray &path, int flags, mode_t mode) override
    {
        return fault({Open, path}) ? -1 : FileSystem::open(path, flags, mode);
    }
    ssize_t read(int fd, void *buffer, size_t size) override
    {
        return fault({Other, pathOf(fd)}) ? -1 : FileSystem::read(fd, buffer, size);
    }
    ssize_t write(int fd, const void *data, size_t size) override
    {
        return fault({Write, pathOf(fd)}) ? -1 : FileSystem::write(fd, data, size);
    }
    int fsync(int fd) override { return fault({Fsync, pathOf(fd)}) ? -1 : FileSystem::fsync(fd); }
    int fchmod(int fd, mode_t mode) override
    {
        return fault({Fchmod, pathOf(fd)}) ? -1 : FileSystem::fchmod(fd, mode);
    }
    int fstat(int fd, struct stat *st) override
    {
        return fault({Other, pathOf(fd)}) ? -1 : FileSystem::fstat(fd, st);
    }
    int lstat(const QByteArray &path, struct stat *st) override
    {
        return fault({Other, path}) ? -1 : FileSystem::lstat(path, st);
    }
    // As Linux does, the descriptor is released even when close() reports a failure.
    int close(int fd) override
    {
        const bool fails = fault({Other, pathOf(fd)});
        const int r = FileSystem::close(fd);
        if (fails)
            errno = failErrno;
        return fails ? -1 : r;
    }
    int rename(const QByteArray &from, const QByteArray &to) override
    {
        return fault({Rename, from, to}) ? -1 : FileSystem::rename(from, to);
    }
    int link(const QByteArray &from, const QByteArray &to) override
    {
        if (fault({Other, from, to}))
            return -1;
        if (linkErrno) {
            errno = linkErrno;
            return -1;
        }
        return FileSystem::link(from, to);
    }
    int unlink(const QByteArray &path) override
    {
        return fault({Unlink, path}) ? -1 : FileSystem::unlink(path);
    }
    int mkostemp(QByteArray &pathTemplate, int flags) override
    {
        if (fault({Mkostemp, pathTemplate}))
            return -1;
        const int fd = FileSystem::mkostemp(pathTemplate, flags);
        QMutexLocker lock(&m_mutex);
        if (fd >= 0)
            calls.last().path = pathTemplate;
        return fd;
    }
    int readFolder(const QByteArray &path, QList<QByteArray> &names) override
    {
        return fault({Other, path}) ? -1 : FileSystem::readFolder(path, names);
    }

private:
    // A backup is written on a thread of its own.
    QMutex m_mutex;
    int m_seen = 0;

    bool fault(const Call &call)
    {
        QMutexLocker lock(&m_mutex);
        calls.append(call);
        if ((failKind != Any && failKind != call.kind) || ++m_seen != failAt)
            return false;
        failed = true;
        lock.unlock();
        errno = failErrno;
        return true;
    }
    // The name the descriptor was opened by, as the kernel keeps it.
    static QByteArray pathOf(int fd)
    {
        char target[4096];
        const ssize_t n =
            ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target, sizeof target);
        return n < 0 ? QByteArray() : QByteArray(target, n);
    }
};

} // namespace qrt::test
