#include "LotteryFolder.h"
#include "SampleHistory.h"

#include <qrt/HostContract.h>
#include <qrt/RuntimeError.h>
#include <qrt/Settings.h>
#include <qrt/refhost/AtomicFile.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/Lottery.h>
#include <qrt/refhost/SqliteStore.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>

namespace qrt::domain
{

namespace
{
const QString kLastReadFile = QString::fromLatin1(host::kRecordLastReadFile);
const QString kCaption = QString::fromLatin1(host::kRecordCaption);

// Store writes at a start or after a save: a full disk must not end the program, and what they
// guard is checked again before the next save deletes anything.
template <class F> void quietly(F &&write)
{
    try {
        write();
    } catch (const RuntimeError &) {
    }
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

LotteryFolder::LotteryFolder(const QString &folder, ref::SqliteStore &store,
                             const ref::LotteryShape &shape, const QString &applicationName,
                             std::function<ref::Status()> lockCheck)
    : m_folder(folder), m_store(store), m_shape(shape), m_applicationName(applicationName),
      m_lockCheck(std::move(lockCheck)), m_versions(folder)
{
    Q_ASSERT(m_folder.startsWith(u'/') && m_folder.endsWith(u'/'));
}

QString LotteryFolder::recordKey(const char *what) const
{
    return QLatin1String(what) + u'/' + m_shape.key();
}

QStringList LotteryFolder::open(ref::Lottery &lottery)
{
    QStringList notes;
    lottery.setShape(m_shape);
    const QString path = userFile();
    // Left by a writer that was killed; the folder's lock says no writer is running now.
    ref::removeLeftovers(path);
    ref::Status backup;
    if (QFile::exists(path)) {
        const ref::ReadResult r = lottery.load(path, &backup);
        if (!r.ok()) {
            // The damaged file is moved aside, never over an earlier one, for the user to look
            // at; the last good version takes its place.
            QString aside;
            const ref::Status moved = ref::moveAside(path, aside);
            const bool restored =
                ref::restoreLastGood(path).landed() && lottery.load(path, &backup).ok();
            notes << QCoreApplication::translate("LotteryFolder", "%1 cannot be used:\n%2\n\n%3 %4")
                         .arg(path, r.describe(QStringLiteral("User.ltk"), 20).join(u'\n'),
                              aside.isEmpty()
                                  ? QCoreApplication::translate("LotteryFolder",
                                                                "It could not be moved aside: %1.")
                                        .arg(moved.message())
                                  : QCoreApplication::translate("LotteryFolder",
                                                                "It was kept as %1.")
                                        .arg(aside),
                              restored
                                  ? QCoreApplication::translate(
                                        "LotteryFolder", "The draws saved before it were loaded "
                                                         "instead.")
                                  : QCoreApplication::translate("LotteryFolder",
                                                                "No draws were loaded."));
        }
    } else if (QFile::exists(ref::backupPathFor(path))) {
        // A save that failed or was cut short after the old file was deleted.
        const bool restored =
            ref::restoreLastGood(path).landed() && lottery.load(path, &backup).ok();
        notes << (restored
                      ? QCoreApplication::translate(
                            "LotteryFolder", "%1 was missing after an unfinished save; the draws "
                                             "saved before were restored.")
                            .arg(path)
                      : QCoreApplication::translate(
                            "LotteryFolder", "%1 is missing and the copy saved before it cannot "
                                             "be used.")
                            .arg(path));
    } else {
        lottery.setDraws(ref::DrawList(m_shape.total, m_shape.bonuses()));
    }
    if (!backup.landed())
        notes << QCoreApplication::translate(
                     "LotteryFolder",
                     "The draws were loaded, but the copy that protects them during "
                     "the next save was not kept: %1")
                     .arg(backup.message());
    else if (!backup.ok())
        notes << QCoreApplication::translate(
                     "LotteryFolder",
                     "The draws were loaded; the copy that protects them during the next save "
                     "is in place but not confirmed on disk: %1")
                     .arg(backup.message());

    // Earlier versions of the program showed made-up draws on a first look and could keep
    // them as history. They never count as the user's draws: they go aside, whole.
    const bool markedSample = m_store.record(recordKey("SampleData")) == QLatin1String("1");
    if (QFile::exists(path) && (markedSample || lottery.draws() == sampleHistory(m_shape))) {
        const QString aside = path + QStringLiteral(".sample");
        if (QFile::rename(path, aside) || (QFile::remove(aside) && QFile::rename(path, aside))) {
            // Removing the backup syncs the rename with it. Made-up draws that come back (a
            // backup left behind, a rename lost to a power cut) go aside at the next start.
            (void)ref::removeFile(ref::backupPathFor(path));
            lottery.setDraws(ref::DrawList(m_shape.total, m_shape.bonuses()));
            notes << QCoreApplication::translate(
                         "LotteryFolder",
                         "The made-up sample draws shown before are not your history: "
                         "they were set aside as %1.")
                         .arg(aside);
        }
    }
    quietly([&] { m_store.removeRecord(recordKey("SampleData")); });
    notes << repair();
    quietly([&] { tellControlWhereToWriteBack(); });
    return notes;
}

std::optional<FileIdentity> LotteryFolder::recordedOpened() const
{
    return FileIdentity::fromRecord(m_store.record(recordKey("Opened")).value_or(QString()));
}

void LotteryFolder::rememberOpened(const QString &path)
{
    if (const std::optional<FileIdentity> id = FileIdentity::of(path))
        quietly([&] { m_store.setRecord(recordKey("Opened"), id->toRecord()); });
    else
        quietly([&] { m_store.removeRecord(recordKey("Opened")); });
    quietly([&] { tellControlWhereToWriteBack(); });
}

void LotteryFolder::forgetOpened()
{
    quietly([&] { m_store.removeRecord(recordKey("Opened")); });
    quietly([&] { tellControlWhereToWriteBack(); });
}

QString LotteryFolder::writeBackFile() const
{
    const std::optional<FileIdentity> recorded = recordedOpened();
    return recorded && FileIdentity::of(recorded->path) == recorded ? recorded->path : QString();
}

QString LotteryFolder::changedWriteBackFile() const
{
    const std::optional<FileIdentity> recorded = recordedOpened();
    return recorded && FileIdentity::of(recorded->path) != recorded ? recorded->path : QString();
}

void LotteryFolder::tellControlWhereToWriteBack()
{
    // The control deletes whatever this record names before it writes the draws there: it
    // may only ever name the unchanged file that the user opened for this lottery.
    const QString file = writeBackFile();
    if (file.isEmpty())
        m_store.removeRecord(kLastReadFile);
    else
        m_store.setRecord(kLastReadFile, file);
}

ref::Status LotteryFolder::pointSettingHere()
{
    // The control saves to this setting followed by "User.ltk": an empty or stale one would
    // send the save to the working folder or to another lottery. It is written by the checked
    // writer (QSettings can commit a file whose write failed) and read back as the control
    // reads it.
    m_store.setRecord(kCaption, m_applicationName, QStringLiteral("0"));
    if (m_store.record(kCaption) != m_applicationName)
        return ref::Status::failure(QCoreApplication::translate(
            "LotteryFolder", "the record store does not keep the program's name"));
    const QString ini = QSettings(QSettings::IniFormat, QSettings::UserScope,
                                  QStringLiteral("QRTDataManager"), m_applicationName)
                            .fileName();
    if (getSetting(m_applicationName, QStringLiteral("Path"), QStringLiteral("Path")) == m_folder &&
        QFileInfo(ini).size() > 0)
        return ref::Status::success();
    const QString settingsFolder = QFileInfo(ini).absolutePath();
    if (!QDir().mkpath(settingsFolder))
        return ref::Status::failure(
            QCoreApplication::translate("LotteryFolder", "cannot create the settings folder %1")
                .arg(settingsFolder));
    QByteArray bytes;
    {
        // QSettings' own layout, made apart from the real file.
        QTemporaryDir scratch(settingsFolder + QStringLiteral("/.new-XXXXXX"));
        if (!scratch.isValid())
            return ref::Status::failure(
                QCoreApplication::translate("LotteryFolder", "cannot write the settings in %1: %2")
                    .arg(settingsFolder, scratch.errorString()));
        const QString draft = scratch.filePath(QStringLiteral("draft.ini"));
        {
            QSettings s(draft, QSettings::IniFormat);
            s.setValue(QStringLiteral("Path/Path"), m_folder);
            s.sync();
        }
        bytes = readAll(draft);
    }
    if (!bytes.contains("Path"))
        return ref::Status::failure(
            QCoreApplication::translate("LotteryFolder", "cannot write the settings in %1")
                .arg(settingsFolder));
    if (ref::Status s = ref::writeFileAtomically(ini, bytes); !s.landed())
        return s;
    if (getSetting(m_applicationName, QStringLiteral("Path"), QStringLiteral("Path")) != m_folder)
        return ref::Status::failure(
            QCoreApplication::translate(
                "LotteryFolder", "the setting that says where the draws are saved reads back wrong "
                                 "from %1")
                .arg(ini));
    return ref::Status::success();
}

ref::Status LotteryFolder::beforeSave()
{
    try {
        if (m_lockCheck)
            if (ref::Status s = m_lockCheck(); !s.ok())
                return s;
        if (ref::Status s = pointSettingHere(); !s.ok())
            return s;
        tellControlWhereToWriteBack();
        // Taken before the control deletes the file: a second name costs no copy.
        const ref::Status kept = m_versions.keep(userFile());
        m_versionProblem = kept.landed() ? QString() : kept.message();
        m_store.setRecord(recordKey("SaveUnderWay"), QStringLiteral("1"));
    } catch (const RuntimeError &e) {
        return ref::Status::failure(QString::fromUtf8(e.what()));
    }
    return ref::Status::success();
}

QStringList LotteryFolder::afterSave()
{
    QStringList notes;
    if (const QString changed = changedWriteBackFile(); !changed.isEmpty()) {
        const std::optional<FileIdentity> now = FileIdentity::of(changed);
        const bool underWay = m_store.record(recordKey("SaveUnderWay")) == QLatin1String("1");
        const QString last = m_store.record(kLastReadFile).value_or(QString());
        if (underWay && last == changed && now) {
            // This save wrote it: what it holds now is what the next save may replace.
            quietly([&] { m_store.setRecord(recordKey("Opened"), now->toRecord()); });
        } else {
            notes << QCoreApplication::translate(
                         "LotteryFolder",
                         "%1 was changed by another program after it was read, so the "
                         "draws were not written back to it; nothing in it was lost. "
                         "Saves no longer write back to it.")
                         .arg(changed);
            quietly([&] { m_store.removeRecord(recordKey("Opened")); });
        }
    }
    if (!m_versionProblem.isEmpty())
        notes << QCoreApplication::translate(
                     "LotteryFolder",
                     "The draws were saved, but the state before this save was not "
                     "kept as an earlier version: %1")
                     .arg(m_versionProblem);
    quietly([&] { m_store.removeRecord(recordKey("SaveUnderWay")); });
    quietly([&] { tellControlWhereToWriteBack(); });
    return notes;
}

QStringList LotteryFolder::repair()
{
    QStringList notes;
    const QString path = userFile();
    if (!QFile::exists(path) && QFile::exists(ref::backupPathFor(path)) &&
        !ref::restoreLastGood(path).landed())
        notes << QCoreApplication::translate("LotteryFolder", "%1 is missing and the copy saved "
                                                              "before it cannot be used.")
                     .arg(path);
    const bool underWay = m_store.record(recordKey("SaveUnderWay")) == QLatin1String("1");
    quietly([&] { m_store.removeRecord(recordKey("SaveUnderWay")); });
    const std::optional<FileIdentity> recorded = recordedOpened();
    if (!recorded)
        return notes;
    const QFileInfo info(recorded->path);
    if (FileIdentity::of(recorded->path) == recorded) {
        ref::removeLeftovers(recorded->path);
        return notes;
    }
    if (!underWay)
        return notes; // changed by someone else: left as it is, and no longer written back
    ref::removeLeftovers(recorded->path);
    // A save deletes the file before writing it anew; cut short, it is written again from the
    // user data file, which the save writes first.
    const ref::ReadResult saved = ref::readUserDataFile(path);
    if (!saved.ok())
        return notes;
    const QByteArray text = ref::formatTextDraws(saved.draws);
    if (info.exists() || info.isSymLink()) {
        if (readAll(recorded->path) == text)
            if (const std::optional<FileIdentity> now = FileIdentity::of(recorded->path))
                quietly([&] { m_store.setRecord(recordKey("Opened"), now->toRecord()); });
        return notes;
    }
    const ref::Status written = ref::writeFileAtomically(recorded->path, text);
    const QString &why = written.message();
    if (written.landed()) {
        if (const std::optional<FileIdentity> now = FileIdentity::of(recorded->path))
            quietly([&] { m_store.setRecord(recordKey("Opened"), now->toRecord()); });
        notes << QCoreApplication::translate(
                     "LotteryFolder",
                     "%1 was missing after an unfinished save; it was written again "
                     "with the %2 draws saved last.")
                     .arg(recorded->path)
                     .arg(saved.draws.size());
    } else {
        notes << QCoreApplication::translate(
                     "LotteryFolder",
                     "%1 is missing after an unfinished save and cannot be written "
                     "again: %2")
                     .arg(recorded->path, why);
    }
    return notes;
}

} // namespace qrt::domain

namespace qrt::domain
{

ref::Status LotteryFolder::saveDraws(ref::Lottery &lottery, ref::DrawList draws, QStringList &notes)
{
    if (ref::Status s = beforeSave(); !s.ok())
        return ref::Status::failure(
            QStringLiteral("the draws were not saved: %1; nothing was changed").arg(s.message()));
    const QString writeBack = writeBackFile();
    QByteArray bytes = ref::formatUserData(m_shape, draws);
    const ref::Status saved = ref::writeFileAtomically(userFile(), bytes);
    if (!saved.landed()) {
        notes << repair();
        return ref::Status::failure(
            QStringLiteral("the new draws were not saved, the draws saved before are intact: %1")
                .arg(saved.message()));
    }
    QString unconfirmed = saved.ok() ? QString() : saved.message();
    if (!writeBack.isEmpty()) {
        const ref::Status back = ref::writeFileAtomically(writeBack, ref::formatTextDraws(draws));
        if (!back.landed())
            notes << QStringLiteral("The draws were saved, but not written back to %1: %2")
                         .arg(writeBack, back.message());
        else if (!back.ok() && unconfirmed.isEmpty())
            unconfirmed = back.message();
    }
    // The file was made from these very draws and replaced in one step: the lottery holds
    // them as they are, without a second parse, and the backup that a damaged file falls
    // back on is made from the same bytes.
    if (const ref::Status kept = ref::keepLastGood(userFile(), bytes); !kept.landed())
        notes << QStringLiteral("The draws were saved, but the copy that protects them during "
                                "the next save was not kept: %1")
                     .arg(kept.message());
    bytes = QByteArray();
    lottery.setDraws(std::move(draws));
    notes << afterSave();
    if (!unconfirmed.isEmpty())
        return ref::Status::notDurable(
            QStringLiteral("the new draws were saved, but not confirmed on disk: %1")
                .arg(unconfirmed));
    return ref::Status::success();
}

} // namespace qrt::domain
