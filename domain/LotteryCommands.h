#pragma once

#include "Downloader.h"

#include <qrt/refhost/DrawList.h>

#include <QString>

#include <functional>

class QTextStream;

namespace qrt::ref
{
class Lottery;
class SqliteStore;
} // namespace qrt::ref

namespace qrt::domain
{

class LotteryFolder;

/// What the program does with one lottery's folder on a word from the command line or the
/// window: import a file, update from a published result file, list and restore earlier
/// versions, list the missing draws. Each writes what it did to @p out and every problem to
/// @p err, and returns the command line's exit code: 0 done, 1 refused (bad rows, conflicts),
/// 2 nothing read (no such file, a download that failed), 3 not saved (the draws saved before
/// are intact), 4 saved but not confirmed on disk or not ended cleanly.
///
/// Where the new draws go is the caller's: the command line saves them at once (saveAlone()),
/// the window shows them in its grid and saves through its control.
class LotteryCommands
{
public:
    /// How the draws handed to a Keep step ended.
    enum class Kept {
        Saved,        // saved, or taken as an unsaved change where that is what is asked
        NotConfirmed, // saved, but the disk did not confirm it
        Unclean,      // saved, but the save did not end cleanly (said on err)
        NotSaved,     // nothing changed on disk (said on err)
    };
    /// Takes @p draws, every draw the lottery is to hold from now on, for @p source.
    using Keep = std::function<Kept(ref::DrawList draws, const QString &source, QTextStream &err)>;

    LotteryCommands(ref::Lottery &lottery, LotteryFolder &folder, ref::SqliteStore &store);

    int importFile(const QString &path, QTextStream &out, QTextStream &err, bool skipBad,
                   const Keep &keep);
    /// Downloads @p address with @p downloader (set up by the caller: a timeout, a progress
    /// bar) and adds every new issue; held draws are never changed and conflicts never block.
    /// @p handOverHeld lets the merge take the lottery's draws instead of copying them, for a
    /// caller that has nothing else to show while it saves.
    int update(const QString &address, Downloader &downloader, QTextStream &out, QTextStream &err,
               const Keep &keep, bool handOverHeld = false);
    /// The address the last update of this lottery came from.
    QString updateAddress() const;
    void listVersions(QTextStream &out) const;
    int restore(int id, QTextStream &out, QTextStream &err, const Keep &keep);
    void listGaps(QTextStream &out) const;

    /// The command line's Keep: the folder's own atomic save, with its checks, no grid.
    Kept saveAlone(ref::DrawList draws, const QString &source, QTextStream &err);

private:
    ref::Lottery &m_lottery;
    LotteryFolder &m_folder;
    ref::SqliteStore &m_store;
};

} // namespace qrt::domain
