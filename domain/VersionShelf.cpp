#include "VersionShelf.h"

#include <qrt/refhost/AtomicFile.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace qrt::domain
{

namespace
{
// The user data file names its draw count in its short header; a version is listed without
// reading its draws.
int drawCountOf(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray head = f.read(512);
    const qsizetype at = head.indexOf("\ndraws: ");
    if (at < 0)
        return -1;
    const qsizetype end = head.indexOf('\n', at + 8);
    bool ok = false;
    const int n = head.mid(at + 8, end < 0 ? -1 : end - at - 8).toInt(&ok);
    return ok ? n : -1;
}

} // namespace

VersionShelf::VersionShelf(const QString &lotteryFolder)
    : m_folder(lotteryFolder + QStringLiteral("versions/"))
{
    Q_ASSERT(lotteryFolder.endsWith(u'/'));
}

QList<VersionShelf::Version> VersionShelf::list() const
{
    static const QRegularExpression name(QStringLiteral("^(\\d{6,9})\\.ltk$"));
    QList<Version> out;
    const QFileInfoList files = QDir(m_folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &fi : files) {
        const QRegularExpressionMatch m = name.match(fi.fileName());
        if (!m.hasMatch() || fi.isSymLink())
            continue;
        out.append({m.captured(1).toInt(), fi.lastModified(), drawCountOf(fi.filePath()), fi.size(),
                    fi.filePath()});
    }
    std::sort(out.begin(), out.end(),
              [](const Version &a, const Version &b) { return a.id < b.id; });
    return out;
}

std::optional<VersionShelf::Version> VersionShelf::find(int id) const
{
    for (const Version &v : list())
        if (v.id == id)
            return v;
    return std::nullopt;
}

ref::Status VersionShelf::keep(const QString &file)
{
    const QFileInfo source(file);
    if (!source.exists())
        return ref::Status::success();
    const QList<Version> before = list();
    // A save that failed after this step, and the one that follows it, replace one state.
    if (!before.isEmpty() && ref::sameFile(before.last().path, file))
        return ref::Status::success();
    if (!QDir().mkpath(m_folder))
        return ref::Status::failure(
            QCoreApplication::translate("VersionShelf",
                                        "cannot create the folder %1 for earlier versions")
                .arg(m_folder));
    const int id = before.isEmpty() ? 1 : before.last().id + 1;
    const QString target = m_folder + QStringLiteral("%1.ltk").arg(id, 6, 10, QLatin1Char('0'));
    if (ref::Status s = ref::linkOrCopy(file, target); !s.landed())
        return s;
    prune(source.size());
    return ref::Status::success();
}

void VersionShelf::prune(qint64 newestSize)
{
    const QList<Version> all = list();
    // Small histories keep their last twenty saves; a large one as many as fit in ten times
    // its size, and never fewer than three.
    const qint64 budget = std::max<qint64>(10 * newestSize, qint64(64) << 20);
    qint64 used = 0;
    int kept = 0;
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        used += it->size;
        const bool keep = kept < kAlwaysKept || (kept < kMostKept && used <= budget);
        if (keep)
            ++kept;
        else
            (void)ref::removeFile(it->path);
    }
}

} // namespace qrt::domain
