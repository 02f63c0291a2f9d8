#pragma once

#include "DataFolder.h"
#include "DrawStatistics.h"
#include "LotteryCommands.h"
#include "ResultImporter.h"
#include "StaleInputFilter.h"
#include <qrt/AppManager.h>
#include <qrt/refhost/DrawList.h>
#include <qrt/refhost/LotteryShape.h>

#include <QElapsedTimer>
#include <QMainWindow>
#include <QMap>
#include <QPointer>

#include <future>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

class QTextStream;

class QActionGroup;
class QComboBox;
class QLabel;
class QProgressBar;
class QTimer;

namespace qrt
{

namespace ref
{
class Lottery;
class SqliteStore;
} // namespace ref
} // namespace qrt

namespace qrt::domain
{
class Journal;
class LotteryFolder;
} // namespace qrt::domain

namespace qrt::app
{

class FrequencyChart;
class ImportPreview;
class StatisticsView;

/// The desktop program: the lottery's name, the two issue range lists, the control and a
/// chart of how often each number was drawn in the chosen range.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    /// Opens the program on @p dataFolder (the user's data folder when empty), setting it up
    /// on the first run, on @p lottery or else the lottery used last. Throws RuntimeError when
    /// the record store cannot be opened, and RuntimeError 70 when another running program
    /// uses the folder.
    /// A @p ShownAtOnce window appears before it reads the draws, saying what it reads, so
    /// that a large history never starts the program unseen.
    enum Use { Interactive, ShownAtOnce };
    explicit MainWindow(const QString &dataFolder = QString(),
                        const std::optional<ref::LotteryShape> &lottery = std::nullopt,
                        QWidget *parent = nullptr, Use use = Interactive);
    ~MainWindow() override;

    AppManager *control() const { return m_control; }
    ref::Lottery *lottery() const { return m_lottery.get(); }
    QComboBox *startList() const { return m_start; }
    QComboBox *endList() const { return m_end; }
    FrequencyChart *chart() const { return m_chart; }
    StatisticsView *statistics() const { return m_statistics; }

    /// Switches to another lottery, each of which keeps its own draws.
    void switchLottery(const ref::LotteryShape &shape);
    /// Loads a text draw file into the grid and records it as the last file read, which saves
    /// then write back to; its bytes as read are kept as FILE.bak first. A file with broken
    /// rules is refused with its bad lines listed.
    bool openDrawFile(const QString &path);
    /// Saves the grid through the control; true when it was saved.
    bool save();
    /// Before unsaved changes would be dropped: asks Save / Discard / Cancel. True when the
    /// caller may go on (saved, discarded or nothing to lose).
    bool maybeSave();
    /// Adds the draws of a file of any layout the importer takes whose issues are not held yet
    /// and saves them through the control, without a question (LotteryCommands::importFile).
    int importDrawFile(const QString &path, QTextStream &out, QTextStream &err,
                       bool skipBad = false);
    /// Writes the saved draws to @p path as CSV (see formatCsv); false, after saying why, when
    /// the file cannot be written.
    bool exportCsv(const QString &path);
    /// Adds the new draws of a result file (CSV or any layout the importer takes) to the grid,
    /// marking it changed; held draws stay. Bad lines are listed and the user chooses to skip
    /// them or import nothing; a held issue with other numbers refuses the file.
    bool importCsv(const QString &path);
    /// Makes the grid row of @p issue current, with the editor on it; an issue that is not in
    /// the grid is said so and nothing moves. False then.
    bool goToIssue(const QString &issue);
    /// Edit > Find Missing Draws: the holes in the history, each with a way to the draws
    /// around it.
    void showGaps();
    /// File > Import Results...: shows the file in an ImportPreview (roles remembered per layout
    /// of this lottery) and adds its new draws as a change when the user says OK. @p shown, for
    /// tests, gets the dialog while it is up.
    bool importResults(const QString &path, ImportPreview **shown = nullptr);
    /// Downloads the lottery's published result file at @p address (remembered for the next
    /// time), with a progress dialog that can cancel, and adds every draw it holds that the
    /// history does not to the grid as a change (LotteryCommands::update).
    int updateFromWeb(const QString &address, QTextStream &out, QTextStream &err);
    /// What the window shares with the command line for the lottery shown.
    domain::LotteryCommands &commands() { return *m_commands; }
    /// Shows the draws of earlier version @p id in the grid, as a change not yet saved; false,
    /// after saying why, when there is no such version or it cannot be read.
    bool restoreVersion(int id);
    /// Takes custom lottery @p key off the Lottery menu after asking; its draws stay on disk
    /// and come back when a lottery of the same numbers is made again. The built-in lotteries
    /// are never removed. True when it was removed.
    bool removeCustomLottery(const QString &key);

public Q_SLOTS:
    /// Shows how far a long step is: @p what in the status bar and a bar of @p done out of
    /// @p total (a bar that only moves while @p total is 0), painted at once, for steps that
    /// give the event loop no turn. The bar goes when @p done reaches @p total.
    void showProgress(const QString &what, int done, int total);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildMenus();
    void loadLottery(const ref::LotteryShape &shape);
    void buildControl();
    /// The control and the range lists anew, on the lottery's current draws.
    void showDraws();
    /// @p everyDraw, when given, holds the statistics of all draws being counted already.
    void fillRangeLists(std::future<DrawStatistics> *everyDraw = nullptr);
    /// The chart and the statistics of the chosen range; @p everyDraw as for fillRangeLists().
    void refreshChart(std::future<DrawStatistics> *everyDraw = nullptr);
    void updateTitle();
    void askForDrawFile();
    void askForCustomLottery();
    void askForIssue();
    void askForCsvExport();
    void askForCsvImport();
    void askForVersion();
    void askForUpdate();
    void askForResults();
    /// Says that @p path was refused for the held issues it has with other numbers, in
    /// @p message ("%1" the file, "%2" how many, "%3" the first of them); false.
    bool refuseConflicts(const QString &path, const domain::ResultImporter::Merge &merge,
                         const QString &message);
    /// Shows @p draws instead of the lottery's as a change to be saved, which undo() takes
    /// back whole.
    void replaceDraws(ref::DrawList draws);
    /// Edit > Undo: the control's last edit, or else the last whole change of the draws.
    void undo();
    /// Shows @p draws and saves them through the control, saying in @p err, when it failed,
    /// whether the new draws reached the disk.
    domain::LotteryCommands::Kept saveDraws(ref::DrawList draws, const QString &source,
                                            QTextStream &err);
    /// Keeps the rows changed since the last save in the journal, or drops it when none are.
    void writeJournal();
    /// At the first showing of the window: a journal left by a program that ended without
    /// saving is offered back.
    void offerJournal();
    void addLotteryAction(const ref::LotteryShape &shape, QAction *before);
    void askToRemoveCustomLottery();
    /// @p shape with the name the user gave it, when it is a custom lottery that has one.
    ref::LotteryShape named(ref::LotteryShape shape) const;
    /// The names given to custom lotteries, by key.
    QMap<QString, QString> customNames() const;
    /// Keeps the window within its screen and wide enough for the control's buttons.
    void fitToScreen();
    void describeForScreenReaders();
    void markCurrentLottery();
    void repairFiles();

    domain::DataFolder m_folder;
    std::unique_ptr<domain::LotteryFolder> m_lotteryFolder;
    std::unique_ptr<domain::Journal> m_journal;
    std::unique_ptr<domain::LotteryCommands> m_commands;
    QTimer *m_journalTimer = nullptr;
    bool m_journalOffered = false;
    std::optional<ref::DrawList> m_drawsBefore; // of the last whole change, for undo()
    bool m_modifiedBefore = false;
    // At most how many saved draws the grid holds unchanged at its top and bottom, whatever
    // the control says of its own edits: none while it shows draws that are not saved, those
    // a journal brought back left around its rows.
    static constexpr std::pair<int, int> kAllSaved{std::numeric_limits<int>::max(),
                                                   std::numeric_limits<int>::max()};
    std::pair<int, int> m_journalFloor = kAllSaved;
    std::pair<int, int> m_journalFloorBefore = kAllSaved;
    std::unique_ptr<ref::SqliteStore> m_store;
    std::unique_ptr<ref::Lottery> m_lottery;
    QPointer<AppManager> m_control;
    QWidget *m_controlHolder = nullptr;
    QLabel *m_name = nullptr;
    QComboBox *m_start = nullptr;
    QComboBox *m_end = nullptr;
    FrequencyChart *m_chart = nullptr;
    StatisticsView *m_statistics = nullptr;
    QActionGroup *m_lotteryActions = nullptr;
    QMenu *m_lotteryMenu = nullptr;
    QAction *m_customAction = nullptr;
    QAction *m_removeCustomAction = nullptr;
    QWidget *m_content = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_cellLabel = nullptr;
    QElapsedTimer m_progressClock; // since the step the bar shows began
    StaleInputFilter *m_staleInput = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_redoAction = nullptr;
    QString m_lastError;             // of the control, since the last save began
    QStringList m_saveNotes;         // what the folder said after the last save
    bool m_saveNotConfirmed = false; // a file of the last save landed without a folder sync
};

} // namespace qrt::app
