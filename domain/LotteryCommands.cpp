#include "LotteryCommands.h"
#include "DrawGaps.h"
#include "Journal.h"
#include "LotteryFolder.h"
#include "ResultImporter.h"
#include "VersionShelf.h"
#include <qrt/RuntimeError.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/Lottery.h>
#include <qrt/refhost/SqliteStore.h>

#include <QLocale>
#include <QTextStream>
#include <QUrl>

namespace qrt::domain
{

namespace
{
QString updateRecord(const ref::Lottery &lottery)
{
    return QStringLiteral("UpdateAddress/") + lottery.shape().key();
}

int exitCode(LotteryCommands::Kept kept)
{
    switch (kept) {
    case LotteryCommands::Kept::Saved:
        return 0;
    case LotteryCommands::Kept::NotSaved:
        return 3;
    default:
        return 4;
    }
}

const char *notConfirmed(LotteryCommands::Kept kept)
{
    return kept == LotteryCommands::Kept::NotConfirmed ? ", not confirmed on disk" : "";
}
} // namespace

LotteryCommands::LotteryCommands(ref::Lottery &lottery, LotteryFolder &folder,
                                 ref::SqliteStore &store)
    : m_lottery(lottery), m_folder(folder), m_store(store)
{
}

int LotteryCommands::importFile(const QString &path, QTextStream &out, QTextStream &err,
                                bool skipBad, const Keep &keep)
{
    ResultImporter importer(m_lottery.shape());
    if (const ref::Status s = importer.readFile(path); !s.ok()) {
        err << path << ": " << s.message() << Qt::endl;
        return 2;
    }
    for (const QString &note : importer.layout().notes)
        err << path << ": " << note << '\n';
    if (importer.badCount() > 0) {
        for (const QString &line : importer.describeBad(path))
            err << line << '\n';
        if (!skipBad) {
            err << path << ": " << importer.badCount()
                << " bad lines; nothing was imported (--skip-bad imports the other draws)"
                << Qt::endl;
            if (const QString hint = importer.shapeHint(); !hint.isEmpty())
                err << path << ": " << hint << Qt::endl;
            return 1;
        }
        err << path << ": " << importer.badCount() << " bad lines skipped" << Qt::endl;
    }
    ResultImporter::Merge merge = importer.mergeInto(m_lottery.draws());
    if (merge.conflictCount > 0) {
        for (const QString &line : ResultImporter::describeConflicts(path, merge))
            err << line << '\n';
        err << path << ": " << merge.conflictCount
            << " issues conflict with the history; nothing was imported" << Qt::endl;
        return 1;
    }
    if (merge.alreadyHeld > 0 || importer.badCount() > 0 || importer.repeats() > 0)
        err << path << ": " << importer.counts(merge) << Qt::endl;
    const int added = merge.added;
    Kept kept = Kept::Saved;
    if (added > 0) {
        kept = keep(std::move(merge.draws), path, err);
        if (kept == Kept::NotSaved || kept == Kept::Unclean)
            return exitCode(kept);
    }
    out << "added " << added << ", holds " << m_lottery.Count() << " draws" << notConfirmed(kept)
        << Qt::endl;
    return exitCode(kept);
}

int LotteryCommands::update(const QString &address, Downloader &downloader, QTextStream &out,
                            QTextStream &err, const Keep &keep, bool handOverHeld)
{
    const QUrl url = QUrl::fromUserInput(address);
    Downloader::Result fetched = downloader.fetch(url);
    if (!fetched.status.ok()) {
        err << url.toDisplayString() << ": " << fetched.status.message() << "; nothing was changed"
            << Qt::endl;
        return 2;
    }
    try {
        m_store.setRecord(updateRecord(m_lottery), url.toString());
    } catch (const RuntimeError &) {
        // Only the next update's default is lost.
    }
    const QString source = url.toDisplayString();
    ResultImporter importer(m_lottery.shape());
    if (const ref::Status s = importer.read(std::move(fetched.body)); !s.ok()) {
        err << source << ": " << s.message() << "; nothing was changed" << Qt::endl;
        return 2;
    }
    // An update never blocks on what it cannot take: bad rows and conflicts are listed, held
    // draws stay as they are, and every new issue is added.
    for (const QString &line : importer.describeBad(source, 20))
        err << line << '\n';
    // Handed over, a large history is extended rather than copied.
    ResultImporter::Merge merge = handOverHeld ? importer.mergeInto(m_lottery.takeDraws())
                                               : importer.mergeInto(m_lottery.draws());
    for (const QString &line : ResultImporter::describeConflicts(source, merge).mid(0, 20))
        err << line << '\n';
    const int added = merge.added;
    Kept kept = Kept::Saved;
    if (added > 0) {
        kept = keep(std::move(merge.draws), source, err);
        if (kept == Kept::NotSaved || kept == Kept::Unclean)
            return exitCode(kept);
    } else if (handOverHeld) {
        m_lottery.setDraws(std::move(merge.draws));
    }
    out << "added " << added << ", kept " << merge.conflictCount << " conflicting, holds "
        << m_lottery.Count() << " draws" << notConfirmed(kept) << Qt::endl;
    return exitCode(kept);
}

QString LotteryCommands::updateAddress() const
{
    return m_store.record(updateRecord(m_lottery)).value_or(QString());
}

void LotteryCommands::listVersions(QTextStream &out) const
{
    for (const VersionShelf::Version &v : m_folder.versions().list())
        out << QStringLiteral("%1  %2  %3")
                   .arg(v.id, 4)
                   .arg(QLocale().toString(v.saved, QLocale::ShortFormat))
                   .arg(v.draws < 0 ? QStringLiteral("draws unknown")
                                    : QStringLiteral("%1 draws").arg(v.draws))
            << '\n';
    out.flush();
}

int LotteryCommands::restore(int id, QTextStream &out, QTextStream &err, const Keep &keep)
{
    const std::optional<VersionShelf::Version> v = m_folder.versions().find(id);
    if (!v) {
        err << "there is no earlier version " << id << " of " << m_lottery.shape().name << Qt::endl;
        return 2;
    }
    ref::ReadResult r = ref::readUserDataFile(v->path);
    if (r.ok() && !r.shape.sameDraws(m_lottery.shape()))
        r.errors.push_back({3, QStringLiteral("it holds draws of %1").arg(r.shape.name)});
    if (!r.ok()) {
        err << "version " << id << " cannot be used:\n"
            << r.describe(v->path, 20).join(u'\n') << Qt::endl;
        return 2;
    }
    const Kept kept = keep(std::move(r.draws), QStringLiteral("version %1").arg(id), err);
    if (kept == Kept::NotSaved || kept == Kept::Unclean)
        return exitCode(kept);
    out << "restored version " << id << ", holds " << m_lottery.Count() << " draws"
        << notConfirmed(kept) << Qt::endl;
    return exitCode(kept);
}

void LotteryCommands::listGaps(QTextStream &out) const
{
    for (const QString &line : DrawGaps::of(m_lottery.draws()))
        out << line << '\n';
    out.flush();
}

LotteryCommands::Kept LotteryCommands::saveAlone(ref::DrawList draws, const QString &source,
                                                 QTextStream &err)
{
    QStringList notes;
    // The new list holds every draw: the old one goes before the file is formatted.
    m_lottery.setDraws(ref::DrawList(draws.total(), draws.bonusCount()));
    const ref::Status s = m_folder.saveDraws(m_lottery, std::move(draws), notes);
    for (const QString &note : std::as_const(notes))
        err << source << ": " << note << '\n';
    if (!s.landed()) {
        err << source << ": " << s.message() << Qt::endl;
        return Kept::NotSaved;
    }
    Journal(m_folder.userFile()).clear();
    if (!s.ok()) {
        err << source << ": " << s.message() << Qt::endl;
        return Kept::NotConfirmed;
    }
    return Kept::Saved;
}

} // namespace qrt::domain
