#include <qrt/refhost/DrawFileReader.h>

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace qrt::ref
{

namespace
{
// A million keno draws take 70 MB; a file many times that is no draw file, and is refused
// before it is read.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

Status failed(const char *what)
{
    return Status::failure(
        QStringLiteral("cannot %1 the file: %2")
            .arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno))));
}

Status tooLarge()
{
    return Status::failure(
        QStringLiteral("the file is too large: draw files of more than %1 MB are not read")
            .arg(kMaxFileBytes >> 20));
}
} // namespace

DrawFileReader::~DrawFileReader()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

// O_NONBLOCK, so that opening a FIFO cannot block before it is refused.
Status DrawFileReader::open(const QString &path)
{
    Q_ASSERT(m_fd < 0);
    m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0)
        return failed("read");
    struct stat st;
    if (::fstat(m_fd, &st) != 0)
        return failed("examine");
    if (!S_ISREG(st.st_mode))
        return Status::failure(
            S_ISDIR(st.st_mode)    ? QStringLiteral("it is a folder, not a draw file")
            : S_ISFIFO(st.st_mode) ? QStringLiteral("it is a pipe (FIFO), not a draw file")
                                   : QStringLiteral("it is a device or a socket, not a draw file"));
    if (st.st_size > kMaxFileBytes)
        return Status::failure(QStringLiteral("the file is too large: %1 MB, and draw files of "
                                              "more than %2 MB are not read")
                                   .arg(st.st_size >> 20)
                                   .arg(kMaxFileBytes >> 20));
    m_size = st.st_size;
    return Status::success();
}

Status DrawFileReader::readMore(QByteArray &to, qsizetype most)
{
    Q_ASSERT(m_fd >= 0 && most >= 0);
    // A file of a known size is read as far as that size, once: one that grows meanwhile
    // does not make the reader run on.
    if (m_size > 0)
        most = qsizetype(std::min<qint64>(most, m_size - m_read));
    const qsizetype had = to.size();
    to.resize(had + most);
    qsizetype done = 0;
    while (done < most) {
        const ssize_t n = ::read(m_fd, to.data() + had + done, size_t(most - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            to.truncate(had + done);
            return failed("read");
        }
        if (n == 0) {
            m_end = true; // it shrank meanwhile, or ended; what is there is read
            break;
        }
        done += n;
    }
    to.truncate(had + done);
    m_read += done;
    if (m_size > 0 && m_read >= m_size)
        m_end = true;
    if (m_read > kMaxFileBytes)
        return tooLarge();
    return Status::success();
}

Status DrawFileReader::readRest(QByteArray &to)
{
    if (m_size > 0) {
        to.reserve(to.size() + qsizetype(m_size - m_read));
        return m_end ? Status::success() : readMore(to, qsizetype(m_size - m_read));
    }
    while (!m_end) {
        const qsizetype most = std::max<qsizetype>(qsizetype(64) << 10, to.size());
        if (Status s = readMore(to, std::min<qsizetype>(most, kMaxFileBytes + 1 - m_read)); !s.ok())
            return s;
    }
    return Status::success();
}

} // namespace qrt::ref
