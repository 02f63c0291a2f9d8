#include "modPublic.h"
#include <qrt/RuntimeError.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace qrt
{

namespace
{

QHash<qint32, QString> loadCatalogue()
{
    QHash<qint32, QString> table;
    QFile file(QStringLiteral(":/qrt/catalogue.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QString all = QString::fromUtf8(file.readAll());
    for (const QString &line : all.split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const qsizetype tab = line.indexOf(u'\t');
        if (tab <= 0)
            continue;
        bool ok = false;
        const qint32 id = line.left(tab).toInt(&ok);
        if (ok)
            table.insert(id, line.mid(tab + 1));
    }
    return table;
}

} // namespace

QString PadString(const QString &text, const QString &fill, qint32 width, bool blnLeft)
{
    const qint32 n = qint32(text.size());
    if (n >= width)
        return text;
    const QString pad = fill.repeated(width - n);
    return blnLeft ? pad + text : text + pad;
}

QString LoadMessage(qint32 n)
{
    if (n > std::numeric_limits<qint32>::max() - 10000)
        throw RuntimeError(6);
    static const QHash<qint32, QString> catalogue = loadCatalogue();
    const auto it = catalogue.constFind(n + 10000);
    if (it == catalogue.constEnd())
        throw RuntimeError(326);
    return *it;
}

bool PathExists(const QString &strPath, bool blnFolder, bool blnCreate, bool blnDelete)
{
    // An empty path never names an entry here: it must not fall back to some file of the
    // current folder and get that deleted.
    const QFileInfo info(strPath);
    const bool found =
        !strPath.isEmpty() && (info.exists() || info.isSymLink()) && (blnFolder || !info.isDir());
    if (found) {
        if (blnDelete && !blnFolder) {
            const QByteArray name = QFile::encodeName(strPath);
            struct stat st;
            // A mode set through a symbolic link would land on the file it points to, which
            // may be anyone's: only a file of its own gets its read-only mark cleared, and
            // AT_SYMLINK_NOFOLLOW holds even if a link takes the name after the look.
            if (::lstat(name.constData(), &st) == 0 && S_ISREG(st.st_mode))
                ::fchmodat(AT_FDCWD, name.constData(), (st.st_mode & 07777) | S_IWUSR,
                           AT_SYMLINK_NOFOLLOW);
            ::unlink(name.constData());
        }
        return true;
    }
    if (blnFolder && blnCreate && !strPath.isEmpty())
        QDir().mkdir(strPath);
    return false;
}

} // namespace qrt
