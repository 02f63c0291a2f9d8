#include "MainWindow.h"
#include "CsvFiles.h"
#include "DrawIssueModel.h"
#include "FrequencyChart.h"
#include "SampleHistory.h"
#include "StatisticsView.h"
#include <qrt/AppManager.h>
#include <qrt/CommonDialog.h>
#include <qrt/FlexGrid.h>
#include <qrt/HostContract.h>
#include <qrt/MsgBox.h>
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
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QTextStream>
#include <QVBoxLayout>

namespace qrt::app
{

namespace
{
const QString kCurrentLottery = QStringLiteral("CurrentLottery");
const QString kCustomLotteries = QStringLiteral("CustomLotteries");
const QString kTitle = QStringLiteral("Data Manager");

ref::LotteryShape defaultShape()
{
    return ref::LotteryShape::presets().first();
}

// What a long operation shows while it runs (a million draws take seconds): a busy cursor
// and what is being done, so that the window is never frozen without a word.
class Busy
{
public:
    Busy(QMainWindow *window, const QString &what) : m_window(window), m_what(what)
    {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        window->statusBar()->showMessage(what);
        window->statusBar()->repaint();
    }
    ~Busy()
    {
        // What the operation said of its outcome stays.
        if (m_window->statusBar()->currentMessage() == m_what)
            m_window->statusBar()->clearMessage();
        QGuiApplication::restoreOverrideCursor();
    }
    Busy(const Busy &) = delete;
    Busy &operator=(const Busy &) = delete;

private:
    QMainWindow *m_window;
    QString m_what;
};

} // namespace

MainWindow::MainWindow(const QString &dataFolder, const std::optional<ref::LotteryShape> &lottery,
                       QWidget *parent)
    : QMainWindow(parent), m_folder(dataFolder),
      m_store(std::make_unique<ref::SqliteStore>(m_folder.storePath())),
      m_lottery(std::make_unique<ref::Lottery>(defaultShape()))
{
    ref::registerClasses([this] { return m_lottery->shape(); });
    connect(m_lottery.get(), &ref::Lottery::dataRead, this, [this] {
        m_store->setRecord(sampleKey(), QStringLiteral("0"));
        updateTitle();
        statusBar()->showMessage(QStringLiteral("Saved %1 draws").arg(m_lottery->Count()), 5000);
    });

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    m_name = new QLabel;
    m_name->setObjectName(QStringLiteral("lotteryName"));
    QFont big = m_name->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    m_name->setFont(big);
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
    range->addWidget(new QLabel(QStringLiteral("Draws from")));
    range->addWidget(m_start);
    range->addWidget(new QLabel(QStringLiteral("to")));
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
    m_controlHolder->setMinimumHeight(260);
    split->setSizes({460, 280});
    layout->addWidget(split, 1);
    setCentralWidget(central);
    connect(m_start, &QComboBox::currentIndexChanged, this, [this] { refreshChart(); });
    connect(m_end, &QComboBox::currentIndexChanged, this, [this] { refreshChart(); });

    buildMenus();
    const std::optional<ref::LotteryShape> saved =
        ref::LotteryShape::parse(m_store->record(kCurrentLottery).value_or(QString()));
    if (lottery && (!saved || saved->key() != lottery->key()))
        switchLottery(*lottery);
    else
        loadLottery(saved.value_or(defaultShape()));
    resize(1280, 800);
}

MainWindow::~MainWindow()
{
    if (m_control)
        m_control->EraseALl();
    delete m_control;
}

void MainWindow::buildMenus()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction *open =
        file->addAction(QStringLiteral("&Open Draw File..."), this, &MainWindow::askForDrawFile);
    open->setShortcut(QKeySequence::Open);
    file->addAction(QStringLiteral("&Save"), this, &MainWindow::save)
        ->setShortcut(QKeySequence::Save);
    file->addSeparator();
    file->addAction(QStringLiteral("&Import CSV..."), this, &MainWindow::askForCsvImport);
    file->addAction(QStringLiteral("&Export as CSV..."), this, &MainWindow::askForCsvExport);
    file->addAction(QStringLiteral("Export &Statistics as CSV..."), this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, QStringLiteral("Export Statistics as CSV"),
                                         QString(), QStringLiteral("CSV (*.csv)"));
        if (path.isEmpty())
            return;
        const QString why = ref::writeFileAtomically(path, m_statistics->model()->toCsv());
        if (!why.isEmpty())
            msgBox(QStringLiteral("The statistics were not exported: %1").arg(why), MsgBoxStop,
                   kTitle);
    });
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), this, &QWidget::close)
        ->setShortcut(QKeySequence::Quit);

    QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    // The control changes with every lottery: the actions call whichever is shown.
    m_undoAction = edit->addAction(QStringLiteral("&Undo"), this, [this] { m_control->undo(); });
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_redoAction = edit->addAction(QStringLiteral("&Redo"), this, [this] { m_control->redo(); });
    m_redoAction->setShortcut(QKeySequence::Redo);
    m_undoAction->setEnabled(false);
    m_redoAction->setEnabled(false);
    edit->addSeparator();
    edit->addAction(QStringLiteral("&Go to Issue..."), this, &MainWindow::askForIssue)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));

    QMenu *lotteries = menuBar()->addMenu(QStringLiteral("&Lottery"));
    m_lotteryMenu = lotteries;
    m_lotteryActions = new QActionGroup(this);
    for (const ref::LotteryShape &shape : ref::LotteryShape::presets())
        addLotteryAction(shape, nullptr);
    lotteries->addSeparator();
    m_customAction =
        lotteries->addAction(QStringLiteral("&Custom..."), this, &MainWindow::askForCustomLottery);
    // Custom lotteries made before stay in the menu.
    const QStringList custom =
        m_store->record(kCustomLotteries).value_or(QString()).split(u' ', Qt::SkipEmptyParts);
    for (const QString &key : custom)
        if (const std::optional<ref::LotteryShape> shape = ref::LotteryShape::parse(key))
            addLotteryAction(*shape, m_customAction);
}

QString MainWindow::sampleKey() const
{
    return QStringLiteral("SampleData/") + m_lottery->shape().key();
}

bool MainWindow::showsSampleData() const
{
    return m_store->record(sampleKey()).value_or(QString()) == QLatin1String("1");
}

QString MainWindow::userFile() const
{
    return m_folder.lotteryFolder(m_lottery->shape()) + QStringLiteral("User.ltk");
}

void MainWindow::loadLottery(const ref::LotteryShape &shape)
{
    const Busy busy(this, QStringLiteral("Loading the draws of %1...").arg(shape.name));
    m_lottery->setShape(shape);
    m_folder.prepare(*m_store, shape);
    const QString path = userFile();
    // Left by a writer that was killed; the folder's lock says no writer is running now.
    ref::removeLeftovers(path);
    QString backupProblem;
    if (QFile::exists(path)) {
        const ref::ReadResult r = m_lottery->load(path, &backupProblem);
        if (!r.ok()) {
            // The damaged file is moved aside, never over an earlier one, for the user to look
            // at; the last good version takes its place.
            const QString aside = ref::moveAside(path);
            const bool restored =
                ref::restoreLastGood(path) && m_lottery->load(path, &backupProblem).ok();
            msgBox(QStringLiteral("%1 cannot be used:\n%2\n\n%3 %4")
                       .arg(path, r.describe(QStringLiteral("User.ltk"), 20).join(u'\n'),
                            aside.isEmpty() ? QStringLiteral("It could not be moved aside.")
                                            : QStringLiteral("It was kept as %1.").arg(aside),
                            restored ? QStringLiteral("The draws saved before it were loaded "
                                                      "instead.")
                                     : QStringLiteral("No draws were loaded.")),
                   MsgBoxStop, kTitle);
        }
    } else if (QFile::exists(ref::backupPathFor(path))) {
        // A save that failed or was cut short after the old file was deleted: the draws of
        // the last save are put back.
        const bool restored =
            ref::restoreLastGood(path) && m_lottery->load(path, &backupProblem).ok();
        msgBox(restored ? QStringLiteral("%1 was missing after an unfinished save; the draws "
                                         "saved before were restored.")
                              .arg(path)
                        : QStringLiteral("%1 is missing and the copy saved before it cannot be "
                                         "used.")
                              .arg(path),
               MsgBoxStop, kTitle);
    } else {
        // A first look at a lottery is never an empty grid.
        m_lottery->setDraws(sampleHistory(shape));
        const QByteArray bytes = ref::formatUserData(shape, m_lottery->draws());
        const QString why = ref::writeFileAtomically(path, bytes);
        if (!why.isEmpty())
            msgBox(why, MsgBoxStop, kTitle);
        else
            backupProblem = ref::keepLastGood(path, bytes);
        m_store->setRecord(sampleKey(), QStringLiteral("1"));
    }
    if (!backupProblem.isEmpty())
        msgBox(QStringLiteral("The draws were loaded, but the copy that protects them during "
                              "the next save was not kept: %1")
                   .arg(backupProblem),
               MsgBoxStop, kTitle);
    repairFiles();
    markCurrentLottery();
    showDraws();
    updateTitle();
}

void MainWindow::markCurrentLottery()
{
    for (QAction *a : m_lotteryActions->actions())
        a->setChecked(a->data().toString() == m_lottery->shape().key());
}

// A save deletes each file before writing it anew. Cut short, it leaves the user data file or
// the file written back missing; both are put back with the draws of the last save.
void MainWindow::repairFiles()
{
    const QString path = userFile();
    if (!QFile::exists(path) && QFile::exists(ref::backupPathFor(path)))
        ref::restoreLastGood(path);
    const QString lastRead =
        m_store->record(QString::fromLatin1(host::kRecordLastReadFile)).value_or(QString());
    if (lastRead.isEmpty())
        return;
    ref::removeLeftovers(lastRead);
    if (QFile::exists(lastRead))
        return;
    // From the user data file, which a save writes first: the draws in memory may be ones that
    // were never saved.
    const ref::ReadResult saved = ref::readUserDataFile(path);
    if (!saved.ok())
        return;
    const QString why = ref::writeFileAtomically(lastRead, ref::formatTextDraws(saved.draws));
    msgBox(why.isEmpty() ? QStringLiteral("%1 was missing after an unfinished save; it was "
                                          "written again with the %2 draws saved last.")
                               .arg(lastRead)
                               .arg(saved.draws.size())
                         : QStringLiteral("%1 is missing after an unfinished save and cannot be "
                                          "written again: %2")
                               .arg(lastRead, why),
           MsgBoxStop, kTitle);
}

void MainWindow::buildControl()
{
    if (m_control) {
        m_control->EraseALl();
        delete m_control;
    }
    m_control = new AppManager(m_controlHolder);
    m_control->setObjectName(QStringLiteral("appManager"));
    m_controlHolder->layout()->addWidget(m_control);
    connect(m_control, &AppManager::errorOccurred, this,
            [this](int number, const QString &description) {
                m_lastError = QStringLiteral("%1 (error %2)").arg(description).arg(number);
                msgBox(m_lastError, MsgBoxStop, kTitle);
                repairFiles();
            });
    connect(m_control, &AppManager::modifiedChanged, this, &QWidget::setWindowModified);
    connect(m_control, &AppManager::undoStateChanged, this, [this] {
        m_undoAction->setEnabled(m_control->canUndo());
        m_redoAction->setEnabled(m_control->canRedo());
    });
    m_control->SetSystemStore(m_store.get());
    m_control->SetIssueControl(m_start, m_end);
    m_control->ChangeLocale();
    m_control->InitData(m_lottery.get());
    setWindowModified(false);
    m_undoAction->setEnabled(false);
    m_redoAction->setEnabled(false);
    describeForScreenReaders();
}

// A screen reader names what has the focus: the lists by the words beside them, the grid and
// its editor by what they hold.
void MainWindow::describeForScreenReaders()
{
    const QString name = m_lottery->shape().name;
    m_start->setAccessibleName(QStringLiteral("Draws from"));
    m_start->setAccessibleDescription(
        QStringLiteral("The first issue of the draws the chart counts"));
    m_end->setAccessibleName(QStringLiteral("to"));
    m_end->setAccessibleDescription(QStringLiteral("The last issue of the draws the chart counts"));
    m_chart->setAccessibleName(QStringLiteral("How often each number was drawn"));
    m_chart->setAccessibleDescription(
        QStringLiteral("A bar for each number of %1; a bar's tooltip gives its count").arg(name));
    if (auto *grid = m_control->findChild<FlexGrid *>(QStringLiteral("msfData"))) {
        grid->setAccessibleName(QStringLiteral("Draws of %1").arg(name));
        grid->setAccessibleDescription(QStringLiteral(
            "One draw a row: the issue, then the numbers; the last row takes a new draw"));
    }
    if (auto *editor = m_control->findChild<QLineEdit *>(QStringLiteral("txtEdit"))) {
        editor->setAccessibleName(QStringLiteral("Cell"));
        editor->setAccessibleDescription(
            QStringLiteral("The text of the current cell; Enter moves to the next one"));
    }
}

bool MainWindow::save()
{
    // A save ends by reading back what it wrote; a refusal (bad draws, nothing to save) or a
    // failure never gets there.
    const Busy busy(this, QStringLiteral("Saving the draws of %1...").arg(m_lottery->shape().name));
    m_lastError.clear();
    bool readBack = false;
    const QMetaObject::Connection c =
        connect(m_lottery.get(), &ref::Lottery::dataRead, this, [&] { readBack = true; });
    m_control->findChild<QPushButton *>(QStringLiteral("btnSave"))->click();
    disconnect(c);
    return readBack && m_lastError.isEmpty();
}

bool MainWindow::maybeSave()
{
    if (!m_control || !m_control->isModified())
        return true;
    switch (msgBox(
        QStringLiteral("The draws of %1 were changed. Save them?").arg(m_lottery->shape().name),
        MsgBoxQuestionYesNoCancel, kTitle)) {
    case MsgBoxYes:
        return save();
    case MsgBoxNo:
        return true;
    default:
        return false;
    }
}

namespace
{
// "03 12 13 16 23 41 + 07", as the text draw file has it.
QString drawText(const ref::DrawList &draws, int i)
{
    QStringList parts;
    for (int j = 0; j < draws.total(); ++j)
        parts << QStringLiteral("%1").arg(draws.number(i, j), 2, 10, QLatin1Char('0'));
    QString text = parts.join(u' ');
    if (draws.hasBonus())
        text += QStringLiteral(" + %1").arg(draws.bonus(i), 2, 10, QLatin1Char('0'));
    return text;
}
} // namespace

int MainWindow::importDrawFile(const QString &path, QTextStream &out, QTextStream &err)
{
    const ref::LotteryShape shape = m_lottery->shape();
    const ref::ReadResult r = ref::readTextDrawFile(path, shape);
    if (!r.errors.empty() && r.errors.front().line == 0) {
        err << path << ": " << r.errors.front().reason << Qt::endl;
        return 2;
    }
    if (!r.ok()) {
        for (const QString &line : r.describe(path))
            err << line << '\n';
        err << path << ": " << (r.unlistedAtLeast ? "at least " : "") << r.errorCount()
            << " bad lines; nothing was imported" << Qt::endl;
        return 1;
    }
    // Made-up sample draws are replaced, never mixed with real ones.
    const bool sample = showsSampleData();
    const ref::DrawList &before = m_lottery->draws();
    QHash<QStringView, int> held;
    if (!sample) {
        held.reserve(before.size());
        for (int i = 0; i < before.size(); ++i)
            held.insert(before.issueView(i), i);
    }
    ref::DrawList merged = sample ? ref::DrawList(shape.total, shape.bonus) : before;
    std::vector<qint32> numbers(size_t(shape.total));
    qsizetype conflicts = 0;
    int added = 0;
    for (int i = 0; i < r.draws.size(); ++i) {
        const auto it = held.constFind(r.draws.issueView(i));
        if (it != held.constEnd()) {
            // Compared as numbers: a re-import of a whole history formats nothing.
            bool same = before.bonus(*it) == r.draws.bonus(i);
            for (int j = 0; same && j < shape.total; ++j)
                same = before.number(*it, j) == r.draws.number(i, j);
            if (!same && ++conflicts <= 100)
                err << path << ": issue " << r.draws.issue(i) << " is held as \""
                    << drawText(before, *it) << "\" but the file has \"" << drawText(r.draws, i)
                    << "\"\n";
            continue;
        }
        for (int j = 0; j < shape.total; ++j)
            numbers[size_t(j)] = r.draws.number(i, j);
        merged.append(r.draws.issueView(i), numbers.data(), r.draws.bonus(i));
        ++added;
    }
    if (conflicts > 0) {
        err << path << ": " << conflicts
            << " issues conflict with the history; nothing was imported" << Qt::endl;
        return 1;
    }
    if (added > 0) {
        m_lottery->setDraws(std::move(merged));
        showDraws();
        if (!save()) {
            err << path << ": "
                << (m_lastError.isEmpty() ? QStringLiteral("the control refused the draws")
                                          : m_lastError)
                << "; the draws saved before are intact" << Qt::endl;
            return 3;
        }
    }
    out << "added " << added << ", holds " << m_lottery->Count() << " draws" << Qt::endl;
    return 0;
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
    m_chart->show(m_lottery->shape(), draws, first, last);
    const bool allOfThem = first == 0 && last == draws.size() - 1;
    m_statistics->show(everyDraw && allOfThem
                           ? everyDraw->get()
                           : DrawStatistics::of(m_lottery->shape(), draws, first, last));
}

void MainWindow::updateTitle()
{
    const QString name = m_lottery->shape().name;
    m_name->setText(showsSampleData()
                        ? name + QStringLiteral("  (sample data: type or open your own draws)")
                        : name);
    setWindowTitle(QStringLiteral("QRT Data Manager - %1[*]").arg(name));
}

void MainWindow::switchLottery(const ref::LotteryShape &shape)
{
    m_store->setRecord(kCurrentLottery, shape.key());
    // The last file read belongs to the lottery it was read for.
    m_store->removeRecord(QString::fromLatin1(host::kRecordLastReadFile));
    loadLottery(shape);
}

bool MainWindow::openDrawFile(const QString &given)
{
    // Saves write back to it later, from whatever folder the program then runs in.
    const QString path = QFileInfo(given).absoluteFilePath();
    const Busy busy(this, QStringLiteral("Reading %1...").arg(path));
    QByteArray bytes;
    ref::ReadResult r = ref::readTextDrawFile(path, m_lottery->shape(), &bytes);
    if (!r.ok()) {
        msgBox(QStringLiteral("%1 was not loaded:\n%2").arg(path, r.describe(path, 40).join(u'\n')),
               MsgBoxStop, QStringLiteral("Draw file errors"));
        return false;
    }
    // Saves rewrite the file in their own layout; the user's own comes first to FILE.bak.
    const QString why = ref::writeFileAtomically(ref::backupPathFor(path), bytes);
    const int read = r.draws.size();
    m_lottery->setDraws(std::move(r.draws));
    if (why.isEmpty())
        m_store->setRecord(QString::fromLatin1(host::kRecordLastReadFile), path);
    else
        m_store->removeRecord(QString::fromLatin1(host::kRecordLastReadFile));
    m_store->setRecord(sampleKey(), QStringLiteral("0"));
    showDraws();
    updateTitle();
    if (!why.isEmpty())
        msgBox(QStringLiteral("The draws of %1 were read, but its backup could not be kept (%2), "
                              "so saves will not write back to it.")
                   .arg(path, why),
               MsgBoxStop, kTitle);
    statusBar()->showMessage(
        QStringLiteral("Read %1 draws from %2; Save keeps them and writes them back to it")
            .arg(read)
            .arg(path));
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
    const QString file = chooseFile(QStringLiteral("Open Draw File"),
                                    QStringLiteral("Text File(*.txt)|*.txt|All files|*"));
    if (!file.isEmpty() && maybeSave())
        openDrawFile(file);
}

void MainWindow::askForCustomLottery()
{
    QDialog dialog(this);
    dialog.setWindowTitle(QStringLiteral("Custom lottery"));
    auto *form = new QFormLayout(&dialog);
    auto *total = new QSpinBox;
    total->setRange(1, 50);
    total->setValue(m_lottery->shape().total);
    auto *mini = new QSpinBox;
    mini->setRange(0, 100000);
    mini->setValue(m_lottery->shape().mini);
    auto *maxi = new QSpinBox;
    maxi->setRange(0, 100000);
    maxi->setValue(m_lottery->shape().maxi);
    auto *bonus = new QCheckBox(QStringLiteral("A bonus number follows the basic numbers"));
    bonus->setChecked(m_lottery->shape().bonus);
    form->addRow(QStringLiteral("Basic numbers per draw"), total);
    form->addRow(QStringLiteral("Smallest number"), mini);
    form->addRow(QStringLiteral("Largest number"), maxi);
    form->addRow(bonus);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QString why;
    const QString id = QStringLiteral("%1:%2-%3%4")
                           .arg(total->value())
                           .arg(mini->value())
                           .arg(maxi->value())
                           .arg(bonus->isChecked() ? QStringLiteral("+") : QString());
    const std::optional<ref::LotteryShape> shape = ref::LotteryShape::parse(id, &why);
    if (!shape) {
        msgBox(why, MsgBoxStop, kTitle);
        return;
    }
    if (!maybeSave())
        return;
    const QString key = shape->key();
    bool known = false;
    for (QAction *a : m_lotteryActions->actions())
        known = known || a->data().toString() == key;
    if (!known) {
        addLotteryAction(*shape, m_customAction);
        QStringList custom =
            m_store->record(kCustomLotteries).value_or(QString()).split(u' ', Qt::SkipEmptyParts);
        custom << key;
        m_store->setRecord(kCustomLotteries, custom.join(u' '));
    }
    switchLottery(*shape);
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
    FlexGrid *grid = m_control->findChild<FlexGrid *>(QStringLiteral("msfData"));
    const int cols = grid->Cols();
    const int last = grid->Rows() - 2; // above the entry row
    const QString issue = wanted.trimmed();
    auto issueAt = [&](int row) { return grid->TextArray(row * cols); };
    // Issues rise in a history, so the row is searched for by halving; a grid whose issues do
    // not rise (typed out of order) is read through after that.
    auto before = [](const QString &a, const QString &b) {
        return a.size() != b.size() ? a.size() < b.size() : a < b;
    };
    int low = 1, high = last;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (before(issueAt(mid), issue))
            low = mid + 1;
        else
            high = mid;
    }
    int row = low <= last && issueAt(low) == issue ? low : -1;
    for (int r = 1; row < 0 && r <= last; ++r)
        if (issueAt(r) == issue)
            row = r;
    if (row < 0) {
        msgBox(QStringLiteral("Issue %1 is not in the draws of %2.")
                   .arg(issue, m_lottery->shape().name),
               MsgBoxInformation, kTitle);
        return false;
    }
    grid->setTopRow(row);
    grid->setRow(row);
    grid->setCol(0);
    return true;
}

void MainWindow::askForIssue()
{
    bool ok = false;
    const QString issue =
        QInputDialog::getText(this, QStringLiteral("Go to Issue"), QStringLiteral("Issue:"),
                              QLineEdit::Normal, QString(), &ok);
    if (ok && !issue.trimmed().isEmpty())
        goToIssue(issue);
}

bool MainWindow::exportCsv(const QString &path)
{
    const Busy busy(this, QStringLiteral("Writing %1...").arg(path));
    const QString why = ref::writeFileAtomically(path, formatCsv(m_lottery->draws()));
    if (!why.isEmpty()) {
        msgBox(QStringLiteral("The draws were not exported: %1").arg(why), MsgBoxStop, kTitle);
        return false;
    }
    statusBar()->showMessage(
        QStringLiteral("Exported %1 draws to %2").arg(m_lottery->Count()).arg(path), 5000);
    return true;
}

bool MainWindow::importCsv(const QString &path)
{
    const Busy busy(this, QStringLiteral("Reading %1...").arg(path));
    QByteArray bytes;
    const QString why = ref::readDrawFileBytes(path, bytes);
    if (!why.isEmpty()) {
        msgBox(QStringLiteral("%1 was not loaded: %2").arg(path, why), MsgBoxStop,
               QStringLiteral("Draw file errors"));
        return false;
    }
    ref::ReadResult r = readCsv(std::move(bytes), m_lottery->shape());
    if (!r.ok()) {
        msgBox(QStringLiteral("%1 was not loaded:\n%2").arg(path, r.describe(path, 40).join(u'\n')),
               MsgBoxStop, QStringLiteral("Draw file errors"));
        return false;
    }
    const int read = r.draws.size();
    m_lottery->setDraws(std::move(r.draws));
    m_store->setRecord(sampleKey(), QStringLiteral("0"));
    showDraws();
    updateTitle();
    statusBar()->showMessage(
        QStringLiteral("Read %1 draws from %2; Save keeps them").arg(read).arg(path));
    return true;
}

void MainWindow::askForCsvExport()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export as CSV"),
                                                      QString(), QStringLiteral("CSV (*.csv)"));
    if (!path.isEmpty())
        exportCsv(path);
}

void MainWindow::askForCsvImport()
{
    const QString file =
        chooseFile(QStringLiteral("Import CSV"), QStringLiteral("CSV|*.csv|All files|*"));
    if (!file.isEmpty() && maybeSave())
        importCsv(file);
}

} // namespace qrt::app
