#include "FileIdentity.h"

#include <qrt/refhost/DrawFiles.h>

#include <QFile>
#include <QStringList>

#include <sys/stat.h>

namespace qrt::domain
{

std::optional<FileIdentity> FileIdentity::of(const QString &path)
{
    struct stat st;
    if (path.isEmpty() || ::lstat(QFile::encodeName(path).constData(), &st) != 0 ||
        !S_ISREG(st.st_mode))
        return std::nullopt;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    FileIdentity id;
    id.path = path;
    id.device = quint64(st.st_dev);
    id.inode = quint64(st.st_ino);
    id.size = qint64(st.st_size);
    id.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    // Same size and time within a nanosecond is not proof: the bytes decide.
    id.crc = ref::crc32(f.readAll());
    return id;
}

QString FileIdentity::toRecord() const
{
    return QStringLiteral("%1 %2 %3 %4 %5|%6")
        .arg(device)
        .arg(inode)
        .arg(size)
        .arg(modifiedNs)
        .arg(crc, 8, 16, QLatin1Char('0'))
        .arg(path);
}

std::optional<FileIdentity> FileIdentity::fromRecord(const QString &record)
{
    const qsizetype bar = record.indexOf(u'|');
    if (bar < 0)
        return std::nullopt;
    const QStringList f = record.left(bar).split(u' ');
    if (f.size() != 5)
        return std::nullopt;
    bool ok[5] = {};
    FileIdentity id;
    id.device = f[0].toULongLong(&ok[0]);
    id.inode = f[1].toULongLong(&ok[1]);
    id.size = f[2].toLongLong(&ok[2]);
    id.modifiedNs = f[3].toLongLong(&ok[3]);
    id.crc = f[4].toUInt(&ok[4], 16);
    id.path = record.mid(bar + 1);
    for (bool b : ok)
        if (!b)
            return std::nullopt;
    if (!id.path.startsWith(u'/'))
        return std::nullopt;
    return id;
}

} // namespace qrt::domain
