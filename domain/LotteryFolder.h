#pragma once

#include "FileIdentity.h"
#include "VersionShelf.h"

#include <qrt/refhost/DrawList.h>
#include <qrt/refhost/LotteryShape.h>
#include <qrt/refhost/Status.h>

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace qrt::ref
{
class Lottery;
class SqliteStore;
} // namespace qrt::ref

namespace qrt::domain
{

/// One lottery's folder in the program's data folder and the records that go with it: its
/// user data file, the text draw file that saves write back to, its earlier versions. Every
/// safeguard of a save sits here, on the host's side of the control's save: beforeSave() runs
/// before the control deletes anything and refuses the save when the folder cannot be trusted.
class LotteryFolder
{
public:
    /// @p folder is absolute and ends with a separator; @p applicationName is the name under
    /// which the control finds the "Path" setting; @p lockCheck says whether the data folder is
    /// still ours.
    LotteryFolder(const QString &folder, ref::SqliteStore &store, const ref::LotteryShape &shape,
                  const QString &applicationName, std::function<ref::Status()> lockCheck = {});

    QString folder() const { return m_folder; }
    QString userFile() const { return m_folder + QStringLiteral("User.ltk"); }
    const ref::LotteryShape &shape() const { return m_shape; }
    VersionShelf &versions() { return m_versions; }

    /// Loads the draws of the user data file into @p lottery (none when there is none yet),
    /// putting back what an unfinished save or damage took away, and sets aside the made-up
    /// sample draws of earlier versions of the program. Returns what the user must be told.
    QStringList open(ref::Lottery &lottery);

    /// The text draw file that was just read into the grid, with its identity as read: saves
    /// write the draws back to it only while it is still that file.
    void rememberOpened(const QString &path);
    void forgetOpened();
    /// The file saves write back to; empty when there is none or it changed since it was read.
    QString writeBackFile() const;
    /// The opened file when another program changed it since it was read (saves then leave it
    /// alone); empty otherwise.
    QString changedWriteBackFile() const;

    /// Run before the control deletes anything: checks the lock, makes the "Path" setting name
    /// this folder (read back), tells the control to write back only to an unchanged opened
    /// file, keeps the current user data file as a version and marks a save as under way. A
    /// failure means nothing may be deleted: the save must be refused.
    ref::Status beforeSave();
    /// After the draws were read back: the save is over. Returns what the user should know
    /// (a file that was not written back, a version not kept).
    QStringList afterSave();
    /// A save that needs no grid (the command line's): the folder's checks as before a save,
    /// @p draws written over the user data file in one atomic step (no moment without it) and
    /// to the file written back, then held by @p lottery, and the checks' end. The Status
    /// says whether the new draws landed, and whether the disk confirmed them; @p notes gets
    /// what the user should know besides.
    ref::Status saveDraws(ref::Lottery &lottery, ref::DrawList draws, QStringList &notes);
    /// After a save that failed: puts back the user data file and the file written back.
    QStringList repair();

private:
    ref::Status pointSettingHere();
    std::optional<FileIdentity> recordedOpened() const;
    void tellControlWhereToWriteBack();
    QString recordKey(const char *what) const;

    QString m_folder;
    ref::SqliteStore &m_store;
    ref::LotteryShape m_shape;
    QString m_applicationName;
    std::function<ref::Status()> m_lockCheck;
    VersionShelf m_versions;
    QString m_versionProblem;
};

} // namespace qrt::domain
