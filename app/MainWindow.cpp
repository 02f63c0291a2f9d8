#include "MainWindow.h"
#include "Checker.h"
#include "CsvFiles.h"
#include "Downloader.h"
#include "DrawGaps.h"
#include "DrawIssueModel.h"
#include "FrequencyChart.h"
#include "ImportPreview.h"
#include "Journal.h"
#include "LotteryFolder.h"
#include "ResultImporter.h"
#include "StatisticsView.h"
#include "WindowFit.h"
#include <qrt/AppManager.h>
#include <qrt/Automation.h>
#include <qrt/CommonDialog.h>
#include <qrt/FlexGrid.h>
#include <qrt/HostContract.h>
#include <qrt/MsgBox.h>
#include <qrt/RuntimeError.h>
#include <qrt/refhost/AtomicFile.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/DrawObjects.h>
#include <qrt/refhost/Lottery.h>
#include <qrt/refhost/SqliteStore.h>

#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QLocale>
#include <QMenuBar>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

namespace qrt::app
{

namespace
{
const QString kCurrentLottery = domain::DataFolder::currentLotteryRecord();
const QString kCustomLotteries = QStringLiteral("CustomLotteries");
const QString kCustomNames = QStringLiteral("CustomLotteryNames");
const char *const kTitle = QT_TRANSLATE_NOOP("qrt::app::MainWindow", "Data Manager");
constexpr int kJournalDelayMs = 1500;
// A step that held the window this long had the user wait; the input queued meanwhile is
// dropped for a moment after it.
constexpr qint64 kLongStepMs = 500;
constexpr int kStaleInputMs = 150;

ref::LotteryShape defaultShape()
{
    return ref::LotteryShape::presets().first();
}

// What a long operation shows while it runs (a million draws take seconds): a busy cursor,
// what is being done and a bar of its steps, so that the window is never frozen without a word.
class Busy
{
public:
    Busy(MainWindow *window, const QString &what, int steps = 0)
        : m_window(window), m_what(what), m_steps(steps)
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        window->showProgress(what, 0, steps);
    }
    ~Busy()
    {
        // What the operation said of its outcome stays.
        m_window->showProgress(m_what, std::max(m_steps, 1), std::max(m_steps, 1));
        QGuiApplication::restoreOverrideCursor();
    }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;
    /// @p done of the steps are done.
    void step(int done) { m_window->showProgress(m_what, done, m_steps); }

private:
    MainWindow *m_window;
    QString m_what;
    int m_steps;
};

} // namespace

MainWindow::MainWindow(const QString &dataFolder, const std::optional<ref::LotteryShape> &lottery,
                       QWidget *parent, Use use)
    : QMainWindow(parent), m_folder(dataFolder),
      m_store(std::make_unique<ref::SqliteStore>(m_folder.storePath())),
      m_lottery(std::make_unique<ref::Lottery>(defaultShape()))
{
    ref::registerClasses([this] { return m_lottery->shape(); });
    // Every save, from the menu or the control's own button, passes the folder's checks
    // before the control deletes a file.
    registerClass(QString::fromLatin1(host::kLotterysClass), [this]() -> QObject * {
        if (const ref::Status s = m_lotteryFolder->beforeSave(); !s.ok())
            throw RuntimeError(75, tr("The draws were not saved: %1. Nothing was "
                                      "changed on disk; your changes are still in "
                                      "the window.")
                                       .arg(s.message()));
        auto *collection = new ref::DrawCollection(m_lottery->shape());
        connect(collection, &ref::DrawCollection::notConfirmed, this, [this](const QString &m) {
            m_saveNotConfirmed = true;
            m_saveNotes << m;
        });
        return collection;
    });
    connect(m_lottery.get(), &ref::Lottery::dataRead, this, [this] {
        m_saveNotes << m_lotteryFolder->afterSave();
        m_drawsBefore.reset();
        m_journalFloor = kAllSaved;
        m_journal->clear();
        updateTitle();
        statusBar()->showMessage(tr("Saved %1 draws").arg(m_lottery->Count()), 5000);
    });

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    m_name = new QLabel;
    m_name->setObjectName(QStringLiteral("lotteryName"));
    QFont big = m_name->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_name->setFont(big);
    // The hint of an empty history is long: it wraps rather than widening the window.
    m_name->setWordWrap(true);
    auto *range = new QHBoxLayout;
    m_start = new QComboBox;
    m_start->setObjectName(QStringLiteral("rangeStart"));
    m_end = new QComboBox;
    m_end->setObjectName(QStringLiteral("rangeEnd"));
    for (QComboBox *box : {m_start, m_end}) {
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(11);
        if (auto *view = qobject_cast<QListView *>(box->view()))
            view->setUniformItemSizes(true);
    }
    range->addWidget(m_name, 1);
    range->addWidget(new QLabel(tr("Draws from")));
    range->addWidget(m_start);
    range->addWidget(new QLabel(tr("to")));
    range->addWidget(m_end);
    layout->addLayout(range);
    auto *split = new QSplitter(Qt::Vertical);
    m_controlHolder = new QWidget;
    auto *holderLayout = new QVBoxLayout(m_controlHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    m_chart = new FrequencyChart;
    m_statistics = new StatisticsView;
    auto *below = new QSplitter(Qt::Horizontal);
    below->addWidget(m_chart);
    below->addWidget(m_statistics);
    below->setStretchFactor(0, 3);
    below->setStretchFactor(1, 2);
    split->addWidget(m_controlHolder);
    split->addWidget(below);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    m_controlHolder->setMinimumHeight(240);
    split->setSizes({460, 280});
    layout->addWidget(split, 1);
    // On a small screen, or with large fonts, the window may be smaller than what it holds:
    // what does not fit scrolls into view rather than being cut off.
    m_content = central;
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("content"));
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(central);
    setCentralWidget(scroll);
    m_staleInput = new StaleInputFilter(this);
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setMaximumWidth(240);
    m_progress->hide();
    statusBar()->addPermanentWidget(m_progress);
    // Where the user is, by draw and column: the cell a Check or Save stopped on is named here
    // once its message is closed.
    m_cellLabel = new QLabel;
    m_cellLabel->setObjectName(QStringLiteral("cellPosition"));
    statusBar()->addPermanentWidget(m_cellLabel);
    connect(m_start, &QComboBox::currentIndexChanged, this, [this] { refreshChart(); });
    connect(m_end, &QComboBox::currentIndexChanged, this, [this] { refreshChart(); });

    m_journalTimer = new QTimer(this);
    m_journalTimer->setSingleShot(true);
    m_journalTimer->setInterval(kJournalDelayMs);
    connect(m_journalTimer, &QTimer::timeout, this, &MainWindow::writeJournal);
    buildMenus();
    const std::optional<ref::LotteryShape> saved =
        ref::LotteryShape::parse(m_store->record(kCurrentLottery).value_or(QString()));
    if (use == ShownAtOnce) {
        // The window is there before the draws are read, saying what it reads.
        fitToScreen();
        show();
        statusBar()->showMessage(
            tr("Loading the draws of %1...")
                .arg(named(lottery.value_or(saved.value_or(defaultShape()))).name));
        QElapsedTimer shown;
        shown.start();
        while (!(windowHandle() && windowHandle()->isExposed()) && shown.elapsed() < 1000)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
        repaint();
    }
    if (lottery && (!saved || saved->key() != lottery->key()))
        switchLottery(*lottery);
    else
        loadLottery(saved.value_or(defaultShape()));
    fitToScreen();
    if (isVisible() && !m_journalOffered) {
        m_journalOffered = true;
        QTimer::singleShot(0, this, &MainWindow::offerJournal);
    }
}

void MainWindow::fitToScreen()
{
    const QScreen *screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    // The frame the window system adds, once it is known.
    const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
    const QRect free = screen->availableGeometry().marginsRemoved(frame);
    // Wide enough for the control's buttons and the range lists beside a vertical scroll bar;
    // what does not fit in the height scrolls.
    const int wide =
        m_content->minimumSizeHint().width() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2;
    setMinimumSize(QSize(wide, 400).boundedTo(free.size()));
    if (!isVisible())
        setGeometry(WindowFit::fitted(QSize(1280, 800), minimumSize(), free));
    else if (!screen->availableGeometry().contains(frameGeometry()))
        setGeometry(WindowFit::fitted(size(), minimumSize(), free));
}

MainWindow::~MainWindow()
{
    if (m_control)
        m_control->EraseALl();
    delete m_control;
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    QAction *open = file->addAction(tr("&Open Draw File..."), this, &MainWindow::askForDrawFile);
    open->setShortcut(QKeySequence::Open);
    file->addAction(tr("&Save"), this, &MainWindow::save)->setShortcut(QKeySequence::Save);
    file->addSeparator();
    file->addAction(tr("&Import CSV..."), this, &MainWindow::askForCsvImport);
    file->addAction(tr("&Export as CSV..."), this, &MainWindow::askForCsvExport);
    file->addAction(tr("Import &Results..."), this, &MainWindow::askForResults);
    file->addAction(tr("&Update from the Web..."), this, &MainWindow::askForUpdate);
    file->addAction(tr("Export &Statistics as CSV..."), this, [this] {
        const QString path = csvFileName(QFileDialog::getSaveFileName(
            this, tr("Export Statistics as CSV"), QString(), QStringLiteral("CSV (*.csv)")));
        if (path.isEmpty())
            return;
        const ref::Status s = ref::writeFileAtomically(path, m_statistics->model()->toCsv());
        if (!s.ok())
            msgBox(s.landed() ? tr("The statistics were exported, but: %1").arg(s.message())
                              : tr("The statistics were not exported: %1").arg(s.message()),
                   MsgBoxStop, tr(kTitle));
    });
    file->addSeparator();
    file->addAction(tr("Earlier &Versions..."), this, &MainWindow::askForVersion);
    file->addSeparator();
    file->addAction(tr("&Quit"), this, &QWidget::close)->setShortcut(QKeySequence::Quit);

    // Alt+E, Alt+D, Alt+I and Alt+T are the control's buttons: the menu takes no letter.
    QMenu *edit = menuBar()->addMenu(tr("Edit"));
    // The control changes with every lottery: the actions call whichever is shown.
    m_undoAction = edit->addAction(tr("&Undo"), this, &MainWindow::undo);
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_redoAction = edit->addAction(tr("&Redo"), this, [this] { m_control->redo(); });
    m_redoAction->setShortcut(QKeySequence::Redo);
    m_undoAction->setEnabled(false);
    m_redoAction->setEnabled(false);
    edit->addSeparator();
    edit->addAction(tr("&Go to Issue..."), this, &MainWindow::askForIssue)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    edit->addAction(tr("Find &Missing Draws..."), this, &MainWindow::showGaps);

    QMenu *lotteries = menuBar()->addMenu(tr("&Lottery"));
    m_lotteryMenu = lotteries;
    m_lotteryActions = new QActionGroup(this);
    for (const ref::LotteryShape &shape : ref::LotteryShape::presets())
        addLotteryAction(shape, nullptr);
    lotteries->addSeparator();
    m_customAction = lotteries->addAction(tr("&Custom..."), this, &MainWindow::askForCustomLottery);
    m_removeCustomAction = lotteries->addAction(tr("&Remove Custom Lottery..."), this,
                                                &MainWindow::askToRemoveCustomLottery);
    // Custom lotteries made before stay in the menu.
    const QStringList custom =
        m_store->record(kCustomLotteries).value_or(QString()).split(u' ', Qt::SkipEmptyParts);
    for (const QString &key : custom)
        if (const std::optional<ref::LotteryShape> shape = ref::LotteryShape::parse(key))
            addLotteryAction(named(*shape), m_customAction);
    m_removeCustomAction->setEnabled(!custom.isEmpty());
}

void MainWindow::loadLottery(const ref::LotteryShape &given)
{
    const ref::LotteryShape shape = named(given);
    const QString what = tr("Loading the draws of %1...").arg(shape.name);
    Busy busy(this, what, 3);
    m_folder.prepare(*m_store, shape);
    m_lotteryFolder = std::make_unique<domain::LotteryFolder>(
        m_folder.lotteryFolder(shape), *m_store, shape, domain::DataFolder::applicationName(),
        [this] { return m_folder.checkLock(); });
    for (const QString &note : m_lotteryFolder->open(*m_lottery))
        msgBox(note, MsgBoxStop, tr(kTitle));
    m_journal = std::make_unique<domain::Journal>(m_lotteryFolder->userFile());
    m_commands = std::make_unique<domain::LotteryCommands>(*m_lottery, *m_lotteryFolder, *m_store);
    m_drawsBefore.reset();
    m_journalFloor = kAllSaved;
    markCurrentLottery();
    busy.step(1);
    showDraws();
    updateTitle();
}

void MainWindow::showProgress(const QString &what, int done, int total)
{
    if (total > 0 && done >= total) {
        // What was clicked or typed while a long step held the window goes unanswered.
        if (!m_progress->isHidden() && m_progressClock.isValid() &&
            m_progressClock.elapsed() > kLongStepMs)
            m_staleInput->dropFor(kStaleInputMs);
        m_progress->hide();
        if (statusBar()->currentMessage() == what)
            statusBar()->clearMessage();
        return;
    }
    if (statusBar()->currentMessage() != what)
        statusBar()->showMessage(what);
    if (m_progress->isHidden())
        m_progressClock.start();
    m_progress->setRange(0, std::max(total, 0));
    m_progress->setValue(std::max(done, 0));
    m_progress->show();
    // The caller keeps the event loop waiting: the bar is placed and painted now or not at all.
    if (isVisible()) {
        statusBar()->layout()->activate();
        statusBar()->repaint();
    }
}

void MainWindow::markCurrentLottery()
{
    for (QAction *a : m_lotteryActions->actions())
        a->setChecked(a->data().toString() == m_lottery->shape().key());
}

// A save deletes each file before writing it anew; cut short, both are put back.
void MainWindow::repairFiles()
{
    for (const QString &note : m_lotteryFolder->repair())
        msgBox(note, MsgBoxStop, tr(kTitle));
}

void MainWindow::buildControl()
{
    if (m_control) {
        m_control->EraseALl();
        delete m_control;
    }
    m_control = new AppManager(m_controlHolder);
    m_control->setObjectName(QStringLiteral("appManager"));
    // Its first size is the one it was designed at, which holds its row of buttons whole.
    m_controlHolder->setMinimumWidth(m_control->width());
    m_controlHolder->parentWidget()->updateGeometry(); // the splitter, seen by the layout
    m_control->setSpreadsheetKeys(true);
    m_control->setMarkRuleBreaks(true);
    m_controlHolder->layout()->addWidget(m_control);
    connect(m_control, &AppManager::errorOccurred, this,
            [this](int number, const QString &description) {
                m_lastError = tr("%1 (error %2)").arg(description).arg(number);
                msgBox(m_lastError, MsgBoxStop, tr(kTitle));
                repairFiles();
            });
    connect(m_control, &AppManager::modifiedChanged, this, &QWidget::setWindowModified);
    // The control's Import and Export buttons do nothing of their own: here they import a
    // result file and export the draws as CSV.
    connect(m_control, &AppManager::importClicked, this, &MainWindow::askForResults);
    connect(m_control, &AppManager::exportClicked, this, &MainWindow::askForCsvExport);
    // The control reports inside its long loads, checks and saves; the bar is painted at once.
    connect(m_control, &AppManager::progress, this, &MainWindow::showProgress);
    FlexGrid *cells = m_control->findChild<FlexGrid *>(QStringLiteral("msfData"));
    connect(cells, &FlexGrid::RowColChange, this, [this, cells] {
        const QString issue = m_control->currentIssue();
        const QString column = cells->TextArray(m_control->currentColumn()).trimmed();
        m_cellLabel->setText(issue.isEmpty() ? tr("New draw, %1").arg(column)
                                             : tr("Issue %1, %2").arg(issue, column));
    });
    // Typed draws go to the journal a moment after the typing stops.
    const auto typed = [this] { m_journalTimer->start(); };
    connect(m_control, &AppManager::modifiedChanged, this, typed);
    connect(m_control, &AppManager::undoStateChanged, this, typed);
    connect(m_control->findChild<QLineEdit *>(QStringLiteral("txtEdit")), &QLineEdit::textChanged,
            this, typed);
    connect(m_control, &AppManager::undoStateChanged, this, [this] {
        m_undoAction->setEnabled(m_control->canUndo() || m_drawsBefore.has_value());
        m_redoAction->setEnabled(m_control->canRedo());
    });
    m_control->SetSystemStore(m_store.get());
    m_control->SetIssueControl(m_start, m_end);
    m_control->ChangeLocale();
    m_control->InitData(m_lottery.get());
    if (m_lottery->Count() == 0) {
        // The entry row of an empty grid is current from the start, so the load moves to no
        // cell and shows no editor; a new user types at once all the same.
        FlexGrid *grid = m_control->findChild<FlexGrid *>(QStringLiteral("msfData"));
        grid->setCol(1);
        grid->setCol(0);
    }
    setWindowModified(false);
    m_undoAction->setEnabled(m_drawsBefore.has_value());
    m_redoAction->setEnabled(false);
    describeForScreenReaders();
}

// A screen reader names what has the focus: the lists by the words beside them, the grid and
// its editor by what they hold.
void MainWindow::describeForScreenReaders()
{
    const QString name = m_lottery->shape().name;
    m_start->setAccessibleName(tr("Draws from"));
    m_start->setAccessibleDescription(tr("The first issue of the draws the chart counts"));
    m_end->setAccessibleName(tr("to"));
    m_end->setAccessibleDescription(tr("The last issue of the draws the chart counts"));
    m_chart->setAccessibleName(tr("How often each number was drawn"));
    m_chart->setAccessibleDescription(
        tr("A bar for each number of %1; a bar's tooltip gives its count").arg(name));
    if (auto *grid = m_control->findChild<FlexGrid *>(QStringLiteral("msfData"))) {
        grid->setAccessibleName(tr("Draws of %1").arg(name));
        grid->setAccessibleDescription(
            tr("One draw a row: the issue, then the numbers; the last row takes a new draw"));
    }
    if (auto *editor = m_control->findChild<QLineEdit *>(QStringLiteral("txtEdit"))) {
        editor->setAccessibleName(tr("Cell"));
        editor->setAccessibleDescription(
            tr("The text of the current cell; Enter moves to the next one"));
    }
}

bool MainWindow::save()
{
    // A save ends by reading back what it wrote; a refusal (bad draws, nothing to save) or a
    // failure never gets there.
    const Busy busy(this, tr("Saving the draws of %1...").arg(m_lottery->shape().name));
    m_lastError.clear();
    bool readBack = false;
    const QMetaObject::Connection c =
        connect(m_lottery.get(), &ref::Lottery::dataRead, this, [&] { readBack = true; });
    m_saveNotes.clear();
    m_saveNotConfirmed = false;
    const QString changed = m_lotteryFolder->changedWriteBackFile();
    m_control->save();
    disconnect(c);
    for (const QString &note : std::as_const(m_saveNotes))
        msgBox(note, MsgBoxInformation, tr(kTitle));
    if (readBack && isVisible() && !changed.isEmpty() &&
        msgBox(tr("Add the draws of %1 that the history does not hold yet?").arg(changed),
               MsgBoxQuestionYesNo, tr(kTitle)) == MsgBoxYes) {
        QString report, problems;
        QTextStream out(&report), err(&problems);
        importDrawFile(changed, out, err);
        msgBox((report + problems).trimmed(), MsgBoxInformation, tr(kTitle));
    }
    return readBack && m_lastError.isEmpty();
}

bool MainWindow::maybeSave()
{
    if (!m_control || !m_control->isModified())
        return true;
    switch (msgBox(tr("The draws of %1 were changed. Save them?").arg(m_lottery->shape().name),
                   MsgBoxQuestionYesNoCancel, tr(kTitle))) {
    case MsgBoxYes:
        return save();
    case MsgBoxNo:
        m_journal->clear();
        return true;
    default:
        return false;
    }
}

int MainWindow::importDrawFile(const QString &path, QTextStream &out, QTextStream &err,
                               bool skipBad)
{
    return m_commands->importFile(
        path, out, err, skipBad,
        [this](ref::DrawList draws, const QString &source, QTextStream &e) {
            return saveDraws(std::move(draws), source, e);
        });
}

domain::LotteryCommands::Kept MainWindow::saveDraws(ref::DrawList draws, const QString &source,
                                                    QTextStream &err)
{
    using Kept = domain::LotteryCommands::Kept;
    m_lottery->setDraws(std::move(draws));
    showDraws();
    const int expected = m_lottery->Count();
    if (save())
        return m_saveNotConfirmed ? Kept::NotConfirmed : Kept::Saved;
    const QString why =
        m_lastError.isEmpty() ? QStringLiteral("the control refused the draws") : m_lastError;
    // What is on disk now decides what is said: the error may have come after the new draws
    // were written.
    const ref::ReadResult onDisk = ref::readUserDataFile(m_lotteryFolder->userFile());
    if (onDisk.ok() && onDisk.draws.size() == expected) {
        err << source << ": the new draws were saved (" << expected
            << " draws), but the save did not end cleanly: " << why << Qt::endl;
        return Kept::Unclean;
    }
    err << source << ": " << why << "; the new draws were not saved, the draws saved "
        << "before are intact" << Qt::endl;
    return Kept::NotSaved;
}

int MainWindow::updateFromWeb(const QString &address, QTextStream &out, QTextStream &err)
{
    const QUrl url = QUrl::fromUserInput(address);
    domain::Downloader downloader;
    QProgressDialog progress(tr("Downloading %1...").arg(url.toDisplayString()), tr("Cancel"), 0, 0,
                             this);
    progress.setWindowTitle(tr("Update from the Web"));
    progress.setMinimumDuration(300);
    connect(&progress, &QProgressDialog::canceled, &downloader, &domain::Downloader::cancel);
    connect(&downloader, &domain::Downloader::progress, &progress,
            [&progress](qint64 received, qint64 total) {
                progress.setMaximum(total > 0 ? 1000 : 0);
                if (total > 0)
                    progress.setValue(int(received * 1000 / total));
            });
    connect(&downloader, &domain::Downloader::progress, this,
            [this, url](qint64 received, qint64 total) {
                showProgress(tr("Downloading %1...").arg(url.toDisplayString()),
                             total > 0 ? int(received * 1000 / total) : 0, total > 0 ? 1000 : 0);
            });
    // Reading and adding the file takes its own while, after the dialog is gone.
    std::optional<Busy> adding;
    connect(&downloader, &domain::Downloader::finished, this, [&] {
        progress.reset();
        adding.emplace(this, tr("Adding the draws of %1...").arg(url.toDisplayString()), 2);
    });
    // The new draws wait in the grid as a change that Undo takes back whole.
    return m_commands->update(address, downloader, out, err,
                              [this](ref::DrawList draws, const QString &, QTextStream &) {
                                  replaceDraws(std::move(draws));
                                  return domain::LotteryCommands::Kept::Saved;
                              });
}

void MainWindow::askForUpdate()
{
    bool ok = false;
    const QString address = QInputDialog::getText(
        this, tr("Update from the Web"),
        tr("Address of the published result file of %1:").arg(m_lottery->shape().name),
        QLineEdit::Normal, m_commands->updateAddress(), &ok);
    if (!ok || address.trimmed().isEmpty())
        return;
    QString report, problems;
    QTextStream out(&report), err(&problems);
    const Busy busy(this, tr("Updating the draws of %1...").arg(m_lottery->shape().name));
    const int code = updateFromWeb(address.trimmed(), out, err);
    out.flush();
    err.flush();
    msgBox((report + problems).trimmed(), code == 0 ? MsgBoxInformation : MsgBoxStop, kTitle);
    updateTitle();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

void MainWindow::showDraws()
{
    // The statistics of every draw, which the view shows first, are counted on another core
    // while the control loads: both only read the draws, and nothing changes them before the
    // count is taken (or waited for, should the load throw). With no thread to be had, the
    // count is deferred to when it is taken.
    const ref::DrawList &draws = m_lottery->draws();
    std::future<DrawStatistics> everyDraw = std::async(
        std::launch::async | std::launch::deferred, [&draws, shape = m_lottery->shape()] {
            return DrawStatistics::of(shape, draws, 0, draws.size() - 1);
        });
    buildControl();
    fillRangeLists(&everyDraw);
}

void MainWindow::fillRangeLists(std::future<DrawStatistics> *everyDraw)
{
    // One model for both lists, sized by the longest issue: a million issues cost neither an
    // item object nor a text measurement each.
    auto *model = new DrawIssueModel(m_lottery->draws(), this);
    for (QComboBox *box : {m_start, m_end}) {
        QSignalBlocker quiet(box);
        // A model the list owned goes with setModel; one of ours, once neither list shows it.
        const QPointer<QAbstractItemModel> old = box->model();
        box->setModel(model);
        if (old && old != model && old->parent() == this)
            old->deleteLater();
    }
    const int count = model->rowCount();
    {
        // One count of the chosen draws for the chart, not one per list.
        const QSignalBlocker quietStart(m_start);
        const QSignalBlocker quietEnd(m_end);
        m_start->setCurrentIndex(count > 0 ? 0 : -1);
        m_end->setCurrentIndex(count - 1);
    }
    refreshChart(everyDraw);
}

void MainWindow::refreshChart(std::future<DrawStatistics> *everyDraw)
{
    int first = m_start->currentIndex();
    int last = m_end->currentIndex();
    if (first > last)
        std::swap(first, last);
    const ref::DrawList &draws = m_lottery->draws();
    // Some 100,000 draws are counted in about half a second.
    std::optional<Busy> counting;
    if (last - first > 100000)
        counting.emplace(this, tr("Counting %1 draws...").arg(last - first + 1), 2);
    m_chart->show(m_lottery->shape(), draws, first, last);
    if (counting)
        counting->step(1);
    const bool allOfThem = first == 0 && last == draws.size() - 1;
    m_statistics->show(everyDraw && allOfThem
                           ? everyDraw->get()
                           : DrawStatistics::of(m_lottery->shape(), draws, first, last));
}

void MainWindow::updateTitle()
{
    const QString name = m_lottery->shape().name;
    m_name->setText(m_lottery->Count() == 0
                        ? name + tr("  (no draws yet: type them into the last row, "
                                    "paste them, or open or import a file)")
                        : name);
    // The window system adds the program's name.
    setWindowTitle(name + QStringLiteral("[*]"));
}

void MainWindow::switchLottery(const ref::LotteryShape &shape)
{
    m_store->setRecord(kCurrentLottery, shape.key());
    loadLottery(shape);
}

namespace
{
// Older draws of a game whose ranges widened, or a file of another game: the shape that takes
// them all.
QString shapeAdvice(const domain::ResultImporter &importer)
{
    const std::optional<ref::LotteryShape> &holding = importer.holdingShape();
    if (!holding)
        return {};
    return MainWindow::tr("\n\nThe smallest lottery that holds the whole file is %1; choose it "
                          "under Lottery > Custom.")
        .arg(holding->id());
}
} // namespace

bool MainWindow::openDrawFile(const QString &given)
{
    // Saves write back to it later, from whatever folder the program then runs in.
    const QString path = QFileInfo(given).absoluteFilePath();
    Busy busy(this, tr("Reading %1...").arg(path), 4);
    QByteArray bytes;
    ref::Status read = ref::readDrawFileBytes(path, bytes);
    busy.step(1);
    domain::ResultImporter importer(m_lottery->shape());
    if (read.ok())
        read = importer.read(bytes);
    busy.step(2);
    if (!read.ok() || importer.badCount() > 0) {
        msgBox(tr("%1 was not loaded:\n%2")
                       .arg(path, !read.ok() ? read.message()
                                             : importer.describeBad(path, 40).join(u'\n')) +
                   shapeAdvice(importer),
               MsgBoxStop, tr("Draw file errors"));
        return false;
    }
    // Saves write the text draw file back in their own layout; a table of another layout is
    // read only, never overwritten.
    const bool writeBack = importer.layout().format == domain::ImportLayout::Format::TextDraws;
    // Saves rewrite the file in their own layout; the user's own comes first to FILE.bak.
    const ref::Status kept =
        writeBack ? ref::writeFileAtomically(ref::backupPathFor(path), bytes) : ref::Status();
    const QString why = kept.landed() ? QString() : kept.message();
    // A history is never replaced without a question: the file's new draws are added to it,
    // or it is replaced, or nothing happens.
    bool add = false;
    if (m_lottery->Count() > 0) {
        const int answer =
            msgBox(tr("%1 holds %2 draws already. Add the draws of %3 that it does not hold (Yes), "
                      "replace them all with the draws of the file (No), or cancel?")
                       .arg(m_lottery->shape().name)
                       .arg(m_lottery->Count())
                       .arg(QFileInfo(path).fileName()),
                   MsgBoxQuestionYesNoCancel, kTitle);
        if (answer == MsgBoxCancel)
            return false;
        add = answer == MsgBoxYes;
    }
    domain::ResultImporter::Merge merge = importer.mergeInto(
        add ? m_lottery->draws()
            : ref::DrawList(m_lottery->shape().total, m_lottery->shape().bonuses()));
    busy.step(3);
    if (merge.conflictCount > 0)
        return refuseConflicts(path, merge,
                               tr("%1 was not added: %2 issues are held with other "
                                  "numbers.\n%3"));
    const int count = add ? merge.added : merge.draws.size();
    // Saves write back only to the file as it was read; the bytes in hand are what was read.
    const std::optional<domain::FileIdentity> opened = domain::FileIdentity::of(path);
    if (writeBack && why.isEmpty() && opened && opened->crc == ref::crc32(bytes))
        m_lotteryFolder->rememberOpened(path);
    else
        m_lotteryFolder->forgetOpened();
    replaceDraws(std::move(merge.draws));
    if (!why.isEmpty())
        msgBox(tr("The draws of %1 were read, but its backup could not be kept (%2), "
                  "so saves will not write back to it.")
                   .arg(path, why),
               MsgBoxStop, tr(kTitle));
    statusBar()->showMessage(
        writeBack ? tr("Read %1 draws from %2; Save keeps them and writes them back to it")
                        .arg(count)
                        .arg(path)
                  : tr("Read %1 draws from %2; Save keeps them").arg(count).arg(path));
    return true;
}

namespace
{
// The file chosen in the Open dialog, or nothing when it was cancelled.
QString chooseFile(const QString &title, const QString &filter)
{
    CommonDialog dialog;
    dialog.setDialogTitle(title);
    dialog.setFilter(filter);
    dialog.ShowOpen();
    return dialog.FileName();
}
} // namespace

void MainWindow::askForDrawFile()
{
    const QString file = chooseFile(tr("Open Draw File"), tr("Text File(*.txt)|*.txt|All files|*"));
    if (!file.isEmpty() && maybeSave())
        openDrawFile(file);
}

void MainWindow::askForCustomLottery()
{
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Custom lottery"));
    auto *form = new QFormLayout(&dialog);
    auto *name = new QLineEdit;
    name->setObjectName(QStringLiteral("customName"));
    name->setPlaceholderText(tr("optional"));
    name->setMaxLength(80);
    auto *total = new QSpinBox;
    total->setRange(1, 50);
    total->setValue(m_lottery->shape().total);
    auto *mini = new QSpinBox;
    mini->setRange(0, 100000);
    mini->setValue(m_lottery->shape().mini);
    auto *maxi = new QSpinBox;
    maxi->setRange(0, 100000);
    maxi->setValue(m_lottery->shape().maxi);
    const ref::LotteryShape &current = m_lottery->shape();
    auto *bonus = new QCheckBox(tr("A bonus number follows the basic numbers"));
    bonus->setChecked(current.bonus && !current.ownDrum);
    // A second drum: its own count and range; a bonus from it may equal a basic number.
    auto *drum = new QCheckBox(tr("Bonus numbers come from a second drum"));
    drum->setObjectName(QStringLiteral("secondDrum"));
    drum->setChecked(current.bonus && current.ownDrum);
    auto *drumCount = new QSpinBox;
    drumCount->setObjectName(QStringLiteral("drumCount"));
    drumCount->setRange(1, 2);
    drumCount->setValue(current.ownDrum ? current.bonusCount : 1);
    auto *drumMini = new QSpinBox;
    drumMini->setObjectName(QStringLiteral("drumMini"));
    drumMini->setRange(0, 100000);
    drumMini->setValue(current.ownDrum ? current.bonusMini : 1);
    auto *drumMaxi = new QSpinBox;
    drumMaxi->setObjectName(QStringLiteral("drumMaxi"));
    drumMaxi->setRange(0, 100000);
    drumMaxi->setValue(current.ownDrum ? current.bonusMaxi : 10);
    const auto follow = [=] {
        for (QSpinBox *box : {drumCount, drumMini, drumMaxi})
            box->setEnabled(drum->isChecked());
        bonus->setEnabled(!drum->isChecked());
    };
    connect(drum, &QCheckBox::toggled, &dialog, follow);
    follow();
    form->addRow(tr("Name"), name);
    form->addRow(tr("Basic numbers per draw"), total);
    form->addRow(tr("Smallest number"), mini);
    form->addRow(tr("Largest number"), maxi);
    form->addRow(bonus);
    form->addRow(drum);
    form->addRow(tr("Bonus numbers per draw"), drumCount);
    form->addRow(tr("Smallest bonus number"), drumMini);
    form->addRow(tr("Largest bonus number"), drumMaxi);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString why;
    const QString bonusPart = drum->isChecked() ? QStringLiteral("+%1:%2-%3")
                                                      .arg(drumCount->value())
                                                      .arg(drumMini->value())
                                                      .arg(drumMaxi->value())
                              : bonus->isChecked() ? QStringLiteral("+")
                                                   : QString();
    const QString id = QStringLiteral("%1:%2-%3%4")
                           .arg(total->value())
                           .arg(mini->value())
                           .arg(maxi->value())
                           .arg(bonusPart);
    std::optional<ref::LotteryShape> shape = ref::LotteryShape::parse(id, &why);
    if (!shape) {
        msgBox(why, MsgBoxStop, tr(kTitle));
        return;
    }
    if (!maybeSave())
        return;
    const QString key = shape->key();
    QAction *known = nullptr;
    for (QAction *a : m_lotteryActions->actions())
        if (a->data().toString() == key)
            known = a;
    const QList<ref::LotteryShape> presets = ref::LotteryShape::presets();
    const bool builtIn = std::any_of(presets.cbegin(), presets.cend(),
                                     [&key](const ref::LotteryShape &p) { return p.key() == key; });
    // A built-in lottery keeps its own name; a custom one takes the name given, or keeps the
    // one it had.
    const QString given = name->text().simplified();
    if (!builtIn && !given.isEmpty()) {
        QMap<QString, QString> names = customNames();
        names[key] = given;
        QStringList lines;
        for (auto it = names.cbegin(); it != names.cend(); ++it)
            lines << it.key() + u'\t' + it.value();
        m_store->setRecord(kCustomNames, lines.join(u'\n'));
    }
    shape = named(*shape);
    if (known) {
        known->setText(shape->name);
    } else {
        addLotteryAction(*shape, m_customAction);
        QStringList custom =
            m_store->record(kCustomLotteries).value_or(QString()).split(u' ', Qt::SkipEmptyParts);
        custom << key;
        m_store->setRecord(kCustomLotteries, custom.join(u' '));
        m_removeCustomAction->setEnabled(true);
    }
    switchLottery(*shape);
}

QMap<QString, QString> MainWindow::customNames() const
{
    QMap<QString, QString> names;
    for (const QString &line :
         m_store->record(kCustomNames).value_or(QString()).split(u'\n', Qt::SkipEmptyParts))
        if (const qsizetype tab = line.indexOf(u'\t'); tab > 0)
            names.insert(line.left(tab), line.mid(tab + 1));
    return names;
}

ref::LotteryShape MainWindow::named(ref::LotteryShape shape) const
{
    shape.name = customNames().value(shape.key(), shape.name);
    return shape;
}

bool MainWindow::removeCustomLottery(const QString &key)
{
    QStringList custom =
        m_store->record(kCustomLotteries).value_or(QString()).split(u' ', Qt::SkipEmptyParts);
    if (!custom.contains(key))
        return false;
    const std::optional<ref::LotteryShape> shape = ref::LotteryShape::parse(key);
    const QString name = shape ? named(*shape).name : key;
    if (msgBox(tr("Remove %1 from the Lottery menu? Its draws stay in %2; making a custom "
                  "lottery of the same numbers again brings them back.")
                   .arg(name, shape ? QDir::toNativeSeparators(
                                          QDir::cleanPath(m_folder.lotteryFolder(*shape)))
                                    : QString()),
               MsgBoxQuestionYesNo, tr(kTitle)) != MsgBoxYes)
        return false;
    // The lottery shown goes first, with the question for its unsaved changes.
    if (m_lottery->shape().key() == key) {
        if (!maybeSave())
            return false;
        switchLottery(defaultShape());
    }
    custom.removeAll(key);
    m_store->setRecord(kCustomLotteries, custom.join(u' '));
    for (QAction *a : m_lotteryActions->actions())
        if (a->data().toString() == key)
            delete a;
    m_removeCustomAction->setEnabled(!custom.isEmpty());
    statusBar()->showMessage(tr("%1 was removed from the menu; its draws are kept").arg(name),
                             5000);
    return true;
}

void MainWindow::askToRemoveCustomLottery()
{
    QStringList names;
    QStringList keys;
    for (const QString &key :
         m_store->record(kCustomLotteries).value_or(QString()).split(u' ', Qt::SkipEmptyParts))
        if (const std::optional<ref::LotteryShape> shape = ref::LotteryShape::parse(key)) {
            names << named(*shape).name;
            keys << key;
        }
    if (keys.isEmpty())
        return;
    bool ok = false;
    const QString chosen =
        QInputDialog::getItem(this, tr("Remove Custom Lottery"),
                              tr("Custom lottery to remove from the menu:"), names, 0, false, &ok);
    if (ok && names.contains(chosen))
        removeCustomLottery(keys[names.indexOf(chosen)]);
}

void MainWindow::addLotteryAction(const ref::LotteryShape &shape, QAction *before)
{
    auto *a = new QAction(shape.name, m_lotteryMenu);
    a->setCheckable(true);
    a->setData(shape.key());
    m_lotteryActions->addAction(a);
    m_lotteryMenu->insertAction(before, a); // appended when before is null
    connect(a, &QAction::triggered, this, [this, shape] {
        if (maybeSave())
            switchLottery(shape);
        else // the check mark stays with the lottery shown
            markCurrentLottery();
    });
}

bool MainWindow::goToIssue(const QString &wanted)
{
    const QString issue = wanted.trimmed();
    if (m_control->goToIssue(issue))
        return true;
    msgBox(tr("Issue %1 is not in the draws of %2.").arg(issue, m_lottery->shape().name),
           MsgBoxInformation, tr(kTitle));
    return false;
}

void MainWindow::askForIssue()
{
    bool ok = false;
    const QString issue = QInputDialog::getText(this, tr("Go to Issue"), tr("Issue:"),
                                                QLineEdit::Normal, QString(), &ok);
    if (ok && !issue.trimmed().isEmpty())
        goToIssue(issue);
}

bool MainWindow::exportCsv(const QString &path)
{
    const Busy busy(this, tr("Writing %1...").arg(path));
    const ref::Status s = ref::writeFileAtomically(path, formatCsv(m_lottery->draws()));
    if (!s.landed()) {
        msgBox(tr("The draws were not exported: %1").arg(s.message()), MsgBoxStop, tr(kTitle));
        return false;
    }
    if (!s.ok())
        msgBox(tr("The draws were exported, but: %1").arg(s.message()), MsgBoxStop, tr(kTitle));
    statusBar()->showMessage(tr("Exported %1 draws to %2").arg(m_lottery->Count()).arg(path), 5000);
    return true;
}

bool MainWindow::refuseConflicts(const QString &path, const domain::ResultImporter::Merge &merge,
                                 const QString &message)
{
    msgBox(message.arg(path)
               .arg(merge.conflictCount)
               .arg(domain::ResultImporter::describeConflicts(path, merge).mid(0, 40).join(u'\n')),
           MsgBoxStop, tr("Draw file errors"));
    return false;
}

bool MainWindow::importCsv(const QString &path)
{
    Busy busy(this, tr("Reading %1...").arg(path), 3);
    domain::ResultImporter importer(m_lottery->shape());
    const ref::Status read = importer.readFile(path);
    busy.step(1);
    if (!read.ok()) {
        msgBox(tr("%1 was not loaded: %2").arg(path, read.message()), MsgBoxStop,
               tr("Draw file errors"));
        return false;
    }
    if (importer.badCount() > 0) {
        const QString listed = importer.describeBad(path, 40).join(u'\n');
        if (importer.draws().size() == 0) {
            msgBox(tr("%1 was not loaded:\n%2").arg(path, listed) + shapeAdvice(importer),
                   MsgBoxStop, tr("Draw file errors"));
            return false;
        }
        if (msgBox(tr("%1 has %2 bad lines:\n%3\n\nImport its other draws and skip "
                      "these lines?")
                       .arg(path)
                       .arg(importer.badCount())
                       .arg(listed),
                   MsgBoxQuestionYesNo, tr("Draw file errors")) != MsgBoxYes)
            return false;
    }
    domain::ResultImporter::Merge merge = importer.mergeInto(m_lottery->draws());
    busy.step(2);
    if (merge.conflictCount > 0)
        return refuseConflicts(path, merge,
                               tr("%1 was not imported: %2 issues are held with "
                                  "other numbers.\n%3"));
    const QString counts = importer.counts(merge);
    if (merge.added > 0)
        replaceDraws(std::move(merge.draws));
    statusBar()->showMessage(tr("Read %1: %2; Save keeps them").arg(path, counts));
    return true;
}

void MainWindow::askForCsvExport()
{
    const QString path = csvFileName(QFileDialog::getSaveFileName(
        this, tr("Export as CSV"), QString(), QStringLiteral("CSV (*.csv)")));
    if (!path.isEmpty())
        exportCsv(path);
}

void MainWindow::askForCsvImport()
{
    const QString file = chooseFile(tr("Import CSV"), tr("CSV|*.csv|All files|*"));
    if (!file.isEmpty() && maybeSave())
        importCsv(file);
}

} // namespace qrt::app

namespace qrt::app
{

namespace
{
QString describeVersion(const domain::VersionShelf::Version &v)
{
    return QStringLiteral("%1  %2  %3")
        .arg(v.id, 4)
        .arg(QLocale().toString(v.saved, QLocale::ShortFormat))
        .arg(v.draws < 0 ? MainWindow::tr("draws unknown")
                         : MainWindow::tr("%1 draws").arg(v.draws));
}
} // namespace

bool MainWindow::restoreVersion(int id)
{
    const std::optional<domain::VersionShelf::Version> v = m_lotteryFolder->versions().find(id);
    if (!v) {
        msgBox(tr("There is no earlier version %1 of %2.").arg(id).arg(m_lottery->shape().name),
               MsgBoxStop, tr(kTitle));
        return false;
    }
    ref::ReadResult r = ref::readUserDataFile(v->path);
    if (r.ok() && !r.shape.sameDraws(m_lottery->shape()))
        r.errors.push_back({3, tr("it holds draws of %1").arg(r.shape.name)});
    if (!r.ok()) {
        msgBox(
            tr("Version %1 cannot be used:\n%2").arg(id).arg(r.describe(v->path, 20).join(u'\n')),
            MsgBoxStop, tr(kTitle));
        return false;
    }
    // Not saved yet: the state it replaces becomes a version of its own when it is.
    replaceDraws(std::move(r.draws));
    statusBar()->showMessage(
        tr("Version %1 (%2 draws) is shown; Save keeps it").arg(id).arg(m_lottery->Count()));
    return true;
}

void MainWindow::askForVersion()
{
    const QList<domain::VersionShelf::Version> all = m_lotteryFolder->versions().list();
    if (all.isEmpty()) {
        msgBox(tr("No earlier versions of %1 are kept yet: each save keeps the state "
                  "it replaces.")
                   .arg(m_lottery->shape().name),
               MsgBoxInformation, tr(kTitle));
        return;
    }
    QDialog dialog(this);
    dialog.setWindowTitle(tr("Earlier Versions"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(tr("Each save kept the draws it replaced. Choose "
                                    "one to show it; Save then keeps it.")));
    auto *list = new QListWidget;
    list->setObjectName(QStringLiteral("versionList"));
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        auto *item = new QListWidgetItem(describeVersion(*it), list);
        item->setData(Qt::UserRole, it->id);
    }
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    buttons->addButton(tr("&Restore"), QDialogButtonBox::AcceptRole);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    connect(list, &QListWidget::itemDoubleClicked, &dialog, &QDialog::accept);
    if (dialog.exec() != QDialog::Accepted || !list->currentItem() || !maybeSave())
        return;
    restoreVersion(list->currentItem()->data(Qt::UserRole).toInt());
}

} // namespace qrt::app

namespace qrt::app
{

namespace
{
// Whether grid row @p row still holds saved draw @p i, compared as numbers.
bool rowHolds(FlexGrid *grid, int row, const ref::DrawList &held, int i)
{
    const int cols = grid->Cols();
    const auto cell = [&](int c) { return grid->TextArray(row * cols + c); };
    if (cell(0) != held.issueView(i))
        return false;
    for (int j = 0; j < held.total(); ++j)
        if (cell(j + 1).toInt() != held.number(i, j) || cell(j + 1).isEmpty())
            return false;
    for (int k = 0; k < held.bonusCount(); ++k)
        if (cell(held.total() + 1 + k).toInt() != held.bonus(i, k))
            return false;
    return true;
}
} // namespace

void MainWindow::writeJournal()
{
    if (!m_control || !m_control->isModified()) {
        m_journal->clear();
        return;
    }
    FlexGrid *grid = m_control->findChild<FlexGrid *>(QStringLiteral("msfData"));
    const int cols = grid->Cols();
    const int last = grid->Rows() - 2;
    const ref::DrawList &held = m_lottery->draws();
    domain::Journal::Entry entry;
    // The saved draws the grid still holds around the changes are named by their count, so
    // that typing at the end of a million draws writes only what was typed, at once.
    const auto [above, below] = m_control->untouchedDrawRows();
    entry.keep = std::min({above, m_journalFloor.first, held.size(), last});
    entry.tail =
        std::min({below, m_journalFloor.second, held.size() - entry.keep, last - entry.keep});
    // Their edges are looked at all the same: should they ever not be the saved draws, every
    // row goes into the journal.
    if ((entry.keep > 0 && !rowHolds(grid, entry.keep, held, entry.keep - 1)) ||
        (entry.tail > 0 && !rowHolds(grid, last - entry.tail + 1, held, held.size() - entry.tail)))
        entry.keep = entry.tail = 0;
    for (int r = entry.keep + 1; r <= last - entry.tail; ++r) {
        QStringList cells;
        for (int c = 0; c < cols; ++c)
            cells << grid->TextArray(r * cols + c);
        entry.rows << cells.join(u'|');
    }
    if (const ref::Status s = m_journal->write(entry); !s.ok())
        statusBar()->showMessage(
            tr("Typed draws could not be kept safe until saved: %1").arg(s.message()));
}

void MainWindow::offerJournal()
{
    const std::optional<domain::Journal::Entry> entry = m_journal->read();
    if (!entry || entry->keep + entry->tail > m_lottery->Count()) {
        m_journal->clear();
        return;
    }
    if (msgBox(tr("The draws of %1 were changed and not saved when the program last "
                  "ended (%2 rows after the first %3 saved draws). Bring the changes "
                  "back?")
                   .arg(m_lottery->shape().name)
                   .arg(entry->rows.size())
                   .arg(entry->keep),
               MsgBoxQuestionYesNo, tr(kTitle)) != MsgBoxYes) {
        m_journal->clear();
        return;
    }
    const ref::DrawList &held = m_lottery->draws();
    ref::DrawList kept(held.total(), held.bonusCount());
    std::vector<qint32> numbers(size_t(held.total() + held.bonusCount()));
    const auto keep = [&](int i) {
        for (int j = 0; j < held.total(); ++j)
            numbers[size_t(j)] = held.number(i, j);
        for (int k = 0; k < held.bonusCount(); ++k)
            numbers[size_t(held.total() + k)] = held.bonus(i, k);
        kept.appendDraw(held.issueView(i), numbers.data());
    };
    for (int i = 0; i < entry->keep; ++i)
        keep(i);
    for (int i = held.size() - entry->tail; i < held.size(); ++i)
        keep(i);
    m_lottery->setDraws(std::move(kept));
    m_journalFloor = {entry->keep, entry->tail};
    showDraws();
    FlexGrid *grid = m_control->findChild<FlexGrid *>(QStringLiteral("msfData"));
    int at = entry->keep + 1;
    for (const QString &row : entry->rows) {
        grid->AddItem(QString(), at);
        grid->setRow(at++);
        try {
            m_control->AddItem(row, 0);
        } catch (const RuntimeError &) {
            // A row typed only in part holds fewer cells; what it had is written.
        }
    }
    grid->setRow(grid->Rows() - 1);
    grid->setCol(0);
    m_control->setModified(true);
    updateTitle();
}

void MainWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    fitToScreen();
    // A window shown before its draws are read offers the journal once they are.
    if (!m_journalOffered && m_journal) {
        m_journalOffered = true;
        QTimer::singleShot(0, this, &MainWindow::offerJournal);
    }
}

} // namespace qrt::app

namespace qrt::app
{

void MainWindow::replaceDraws(ref::DrawList draws)
{
    // The draws before are kept for Edit > Undo, which takes the whole change back in one step.
    m_drawsBefore = m_lottery->draws();
    m_modifiedBefore = m_control && m_control->isModified();
    m_journalFloorBefore = std::exchange(m_journalFloor, std::pair(0, 0));
    m_lottery->setDraws(std::move(draws));
    showDraws();
    // The grid holds draws no file holds yet: closing asks to save them.
    m_control->setModified(true);
    updateTitle();
}

void MainWindow::undo()
{
    // The edits made after a whole change go first, as they were made after it.
    if (m_control->canUndo()) {
        m_control->undo();
        return;
    }
    if (!m_drawsBefore)
        return;
    m_lottery->setDraws(*std::exchange(m_drawsBefore, std::nullopt));
    m_journalFloor = m_journalFloorBefore;
    showDraws();
    m_control->setModified(m_modifiedBefore);
    updateTitle();
    statusBar()->showMessage(tr("The draws are back as they were; Save keeps them"), 5000);
}

} // namespace qrt::app

namespace qrt::app
{

bool MainWindow::importResults(const QString &path, ImportPreview **shown)
{
    QByteArray bytes;
    if (const ref::Status s = ref::readDrawFileBytes(path, bytes); !s.ok()) {
        msgBox(tr("%1 was not loaded: %2").arg(path, s.message()), MsgBoxStop,
               tr("Draw file errors"));
        return false;
    }
    // The roles chosen for the last file of the same layout (the same column names).
    const QString key = QStringLiteral("ImportRoles/") + m_lottery->shape().key();
    const QStringList remembered =
        m_store->record(key).value_or(QString()).split(u'\n', Qt::SkipEmptyParts);
    QList<domain::ColumnRole> roles;
    for (const QString &r : remembered.value(1).split(u',', Qt::SkipEmptyParts))
        roles << domain::ColumnRole(r.toInt());
    ImportPreview preview(path, std::move(bytes), m_lottery->shape(), m_lottery->draws(),
                          remembered.size() == 2 ? remembered[0] : QString(), roles, this);
    if (shown)
        *shown = &preview;
    if (preview.exec() != QDialog::Accepted)
        return false;
    QStringList chosen;
    for (const domain::ColumnRole r : preview.roles())
        chosen << QString::number(int(r));
    try {
        m_store->setRecord(key, preview.columns().join(u'\t') + u'\n' + chosen.join(u','));
    } catch (const RuntimeError &) {
        // Only the next file's roles are not remembered.
    }
    Busy busy(this, tr("Adding the draws of %1...").arg(path), 2);
    domain::ResultImporter::Merge merge = preview.importer().mergeInto(m_lottery->draws());
    busy.step(1);
    if (merge.added == 0 || merge.conflictCount > 0)
        return false;
    const QString counts = preview.importer().counts(merge);
    replaceDraws(std::move(merge.draws));
    statusBar()->showMessage(tr("Read %1: %2; Save keeps them").arg(path, counts));
    return true;
}

void MainWindow::askForResults()
{
    const QString file =
        chooseFile(tr("Import Results"), tr("Result files (*.csv *.txt)|*.csv;*.txt|All files|*"));
    if (!file.isEmpty())
        importResults(file);
}

} // namespace qrt::app

namespace qrt::app
{

void MainWindow::showGaps()
{
    const QStringList gaps = domain::DrawGaps::of(m_lottery->draws());
    if (gaps.isEmpty()) {
        msgBox(tr("No draw is missing from the history of %1.").arg(m_lottery->shape().name),
               MsgBoxInformation, kTitle);
        return;
    }
    auto *dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Missing Draws"));
    auto *layout = new QVBoxLayout(dialog);
    layout->addWidget(new QLabel(tr("%1 holes in the history of %2. Go to shows the "
                                    "draw held after the one chosen.")
                                     .arg(gaps.size())
                                     .arg(m_lottery->shape().name)));
    auto *list = new QListWidget;
    list->setObjectName(QStringLiteral("gapList"));
    list->addItems(gaps);
    list->setCurrentRow(0);
    layout->addWidget(list);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    QPushButton *go = buttons->addButton(QStringLiteral("&Go To"), QDialogButtonBox::ActionRole);
    layout->addWidget(buttons);
    const auto goTo = [this, list] {
        if (!list->currentItem())
            return;
        // A line is one missing issue or "FROM to TO (N missing)": the held draw after it.
        const QString missing = list->currentItem()->text().section(u' ', 0, 0);
        const ref::DrawList &draws = m_lottery->draws();
        for (int i = 0; i < draws.size(); ++i)
            if (domain::ResultImporter::compareIssues(draws.issueView(i), missing) > 0) {
                goToIssue(draws.issue(i));
                return;
            }
    };
    connect(go, &QPushButton::clicked, this, goTo);
    connect(list, &QListWidget::itemDoubleClicked, this, goTo);
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    dialog->resize(420, 480);
    dialog->show();
}

} // namespace qrt::app
