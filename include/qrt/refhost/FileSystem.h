#pragma once

#include <qrt/refhost/qrt_refhost_export.h>

#include <QByteArray>
#include <QList>

#include <sys/stat.h>
#include <sys/types.h>

namespace qrt::ref
{

/// The system calls through which the atomic writer, the backups and the restores reach the
/// disk, one function per call. Each behaves as its POSIX namesake: paths are the encoded bytes
/// of QFile::encodeName(), and a failure returns -1 with errno set, so that callers read errno
/// right after the call as they would after the system's own. The base class makes the real
/// calls; a test derives from it to make chosen calls fail (a full disk, an I/O error, a sync
/// that is lost) and to see which calls were made in which order.
///
/// The functions may be called from several threads at once (a backup is written while the
/// bytes it keeps are checked), so an override must be thread safe.
class QRT_REFHOST_EXPORT FileSystem
{
public:
    FileSystem() = default;
    FileSystem(const FileSystem &) = delete;
    FileSystem &operator=(const FileSystem &) = delete;
    virtual ~FileSystem();

    /// Opens @p path, creating it with @p mode (less the umask) when @p flags hold O_CREAT;
    /// returns a descriptor.
    virtual int open(const QByteArray &path, int flags, mode_t mode = 0);
    /// Reads up to @p size bytes; 0 at the end of the file. May read fewer than asked.
    virtual ssize_t read(int fd, void *buffer, size_t size);
    /// Writes up to @p size bytes; may write fewer than asked, which is not a failure.
    virtual ssize_t write(int fd, const void *data, size_t size);
    /// Returns only once everything written to @p fd (a file's bytes, or a folder's entries) is
    /// on the disk. A failure means some of it may be lost at the next power cut.
    virtual int fsync(int fd);
    /// Sets the permission bits of the file open as @p fd.
    virtual int fchmod(int fd, mode_t mode);
    /// What the file open as @p fd is: its type, mode, size, device and inode.
    virtual int fstat(int fd, struct stat *st);
    /// What @p path names, never following a symbolic link: for a link, the link itself.
    virtual int lstat(const QByteArray &path, struct stat *st);
    /// Releases @p fd. A failure may report a write that did not reach the disk; the
    /// descriptor is released all the same and must not be closed again.
    virtual int close(int fd);
    /// Makes @p to name what @p from named, in one step: whoever looks finds the old @p to or
    /// the new one, never neither. Both in one file system.
    virtual int rename(const QByteArray &from, const QByteArray &to);
    /// Gives the file @p from the second name @p to, which must not exist (EEXIST). Fails with
    /// EXDEV across file systems, and with EPERM, EMLINK or ENOTSUP where a file system cannot
    /// give it one more name.
    virtual int link(const QByteArray &from, const QByteArray &to);
    /// Removes the name @p path; a symbolic link is removed itself, never what it points to.
    virtual int unlink(const QByteArray &path);
    /// Replaces the six trailing `X` of @p pathTemplate with letters and digits making a name
    /// that did not exist, creates that file (mode 0600, opened for reading and writing with
    /// @p flags added) and returns its descriptor; @p pathTemplate then holds its name.
    virtual int mkostemp(QByteArray &pathTemplate, int flags);
    /// The names in the folder @p path, without `.` and `..`, in no particular order.
    virtual int readFolder(const QByteArray &path, QList<QByteArray> &names);
    /// The process's file mode creation mask, left as it is. Never fails.
    virtual mode_t umask();
};

/// The file system in use: the real one unless a test set another.
QRT_REFHOST_EXPORT FileSystem &fileSystem();

/// Makes @p fs the file system in use; nullptr restores the real one. The caller keeps
/// ownership and must keep @p fs alive, and set it only while no file operation runs.
QRT_REFHOST_EXPORT void setFileSystem(FileSystem *fs);

} // namespace qrt::ref
