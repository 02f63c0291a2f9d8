#pragma once

#include <qrt/refhost/Status.h>
#include <qrt/refhost/qrt_refhost_export.h>

#include <QByteArray>
#include <QString>

namespace qrt::ref
{

/// A draw file read piece by piece, for readers that need not hold it whole. Anything that is no
/// draw file (a folder, a FIFO, a device) and a file of more than 1 GB is refused before a byte
/// is read; a file that tells no size (one of /proc) is read to its end, up to the same 1 GB.
class QRT_REFHOST_EXPORT DrawFileReader
{
public:
    DrawFileReader() = default;
    DrawFileReader(const DrawFileReader &) = delete;
    DrawFileReader &operator=(const DrawFileReader &) = delete;
    ~DrawFileReader();

    Status open(const QString &path);
    /// Appends up to @p most bytes to @p to: fewer only where the file ends.
    Status readMore(QByteArray &to, qsizetype most);
    /// Appends the rest of the file to @p to, in one allocation where the file tells its size.
    Status readRest(QByteArray &to);
    /// The size the file told when it was opened; 0 when it tells none.
    qint64 size() const { return m_size; }
    /// The end was reached: as far as the size told, or where a file without one ended.
    bool atEnd() const { return m_end; }

private:
    int m_fd = -1;
    qint64 m_size = 0;
    qint64 m_read = 0;
    bool m_end = false;
};

} // namespace qrt::ref
