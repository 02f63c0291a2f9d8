#include "MainWindow.h"
#include "FrequencyChart.h"
#include "SampleHistory.h"
#include <qrt/AppManager.h>
#include <qrt/CommonDialog.h>
#include <qrt/HostContract.h>
#include <qrt/MsgBox.h>
#include <qrt/refhost/AtomicFile.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/DrawObjects.h>
#include <qrt/refhost/Lottery.h>
#include <qrt/refhost/SqliteStore.h>

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QSpinBox>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>

namespace qrt::app
{

namespace
{
const QString kCurrentLottery = QStringLiteral("CurrentLottery");
const QString kTitle = QStringLiteral("Data Manager");

ref::LotteryShape defaultShape()
{
    return ref::LotteryShape::presets().first();
}

} // namespace

MainWindow::MainWindow(const QString &dataFolder, QWidget *parent)
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
    split->addWidget(m_controlHolder);
    split->addWidget(m_chart);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    m_controlHolder->setMinimumHeight(260);
    split->setSizes({460, 280});
    layout->addWidget(split, 1);
    setCentralWidget(central);
    connect(m_start, &QComboBox::currentIndexChanged, this, &MainWindow::refreshChart);
    connect(m_end, &QComboBox::currentIndexChanged, this, &MainWindow::refreshChart);

    buildMenus();
    const std::optional<ref::LotteryShape> saved =
        ref::LotteryShape::parse(m_store->record(kCurrentLottery).value_or(QString()));
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
    file->addSeparator();
    file->addAction(QStringLiteral("&Quit"), this, &QWidget::close)
        ->setShortcut(QKeySequence::Quit);

    QMenu *lotteries = menuBar()->addMenu(QStringLiteral("&Lottery"));
    m_lotteryActions = new QActionGroup(this);
    for (const ref::LotteryShape &shape : ref::LotteryShape::presets()) {
        QAction *a = lotteries->addAction(shape.name);
        a->setCheckable(true);
        a->setData(shape.key());
        m_lotteryActions->addAction(a);
        connect(a, &QAction::triggered, this, [this, shape] { switchLottery(shape); });
    }
    lotteries->addSeparator();
    lotteries->addAction(QStringLiteral("&Custom..."), this, &MainWindow::askForCustomLottery);
}

QString MainWindow::sampleKey() const
{
    return QStringLiteral("SampleData/") + m_lottery->shape().key();
}

bool MainWindow::showsSampleData() const
{
    return m_store->record(sampleKey()).value_or(QString()) == QLatin1String("1");
}

void MainWindow::loadLottery(const ref::LotteryShape &shape)
{
    m_lottery->setShape(shape);
    m_folder.prepare(*m_store, shape);
    const QString userFile = m_folder.lotteryFolder(shape) + QStringLiteral("User.ltk");
    const QString backup = ref::backupPathFor(userFile);
    if (QFile::exists(userFile)) {
        const ref::ReadResult r = m_lottery->load(userFile);
        if (!r.ok()) {
            // The damaged file is moved aside, out of the next save's way, for the user to
            // look at; the draws last read stand in for it.
            const QString aside = userFile + QStringLiteral(".damaged");
            QFile::remove(aside);
            QFile::rename(userFile, aside);
            const bool restored = QFile::exists(backup) && m_lottery->load(backup).ok();
            msgBox(QStringLiteral("%1 cannot be used:\n%2\n\nIt was kept as %3. %4")
                       .arg(userFile, r.describe(QStringLiteral("User.ltk"), 20).join(u'\n'), aside,
                            restored
                                ? QStringLiteral("The draws read before it were loaded instead.")
                                : QStringLiteral("No draws were loaded.")),
                   MsgBoxStop, kTitle);
        }
    } else if (QFile::exists(backup)) {
        // A save that failed after the old file was deleted: the draws read before are here.
        const ref::ReadResult r = m_lottery->load(backup);
        msgBox(r.ok()
                   ? QStringLiteral("%1 was missing; the draws read before were restored from %2.")
                         .arg(userFile, backup)
                   : QStringLiteral("%1 is missing and its backup cannot be used:\n%2")
                         .arg(userFile, r.describe(backup, 20).join(u'\n')),
               MsgBoxStop, kTitle);
    } else {
        // A first look at a lottery is never an empty grid.
        m_lottery->setDraws(sampleHistory(shape));
        const QString why =
            ref::writeFileAtomically(userFile, ref::formatUserData(shape, m_lottery->draws()));
        if (!why.isEmpty())
            msgBox(why, MsgBoxStop, kTitle);
        m_store->setRecord(sampleKey(), QStringLiteral("1"));
    }
    for (QAction *a : m_lotteryActions->actions())
        a->setChecked(a->data().toString() == shape.key());
    buildControl();
    fillRangeLists();
    updateTitle();
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
            [](int number, const QString &description) {
                msgBox(QStringLiteral("%1 (error %2)").arg(description).arg(number), MsgBoxStop,
                       kTitle);
            });
    m_control->SetSystemStore(m_store.get());
    m_control->SetIssueControl(m_start, m_end);
    m_control->ChangeLocale();
    m_control->InitData(m_lottery.get());
}

void MainWindow::fillRangeLists()
{
    QStringList issues;
    const ref::DrawList &draws = m_lottery->draws();
    issues.reserve(draws.size());
    for (int i = 0; i < draws.size(); ++i)
        issues << draws.issue(i);
    for (QComboBox *box : {m_start, m_end}) {
        QSignalBlocker quiet(box);
        box->clear();
        box->addItems(issues);
    }
    m_start->setCurrentIndex(issues.isEmpty() ? -1 : 0);
    m_end->setCurrentIndex(int(issues.size()) - 1);
    refreshChart();
}

void MainWindow::refreshChart()
{
    int first = m_start->currentIndex();
    int last = m_end->currentIndex();
    if (first > last)
        std::swap(first, last);
    m_chart->show(m_lottery->shape(), m_lottery->draws(), first, last);
}

void MainWindow::updateTitle()
{
    const QString name = m_lottery->shape().name;
    m_name->setText(showsSampleData()
                        ? name + QStringLiteral("  (sample data: type or open your own draws)")
                        : name);
    setWindowTitle(QStringLiteral("QRT Data Manager - %1").arg(name));
}

void MainWindow::switchLottery(const ref::LotteryShape &shape)
{
    m_store->setRecord(kCurrentLottery, shape.key());
    // The last file read belongs to the lottery it was read for.
    m_store->removeRecord(QString::fromLatin1(host::kRecordLastReadFile));
    loadLottery(shape);
}

bool MainWindow::openDrawFile(const QString &path)
{
    const ref::ReadResult r = ref::readTextDrawFile(path, m_lottery->shape());
    if (!r.ok()) {
        msgBox(QStringLiteral("%1 was not loaded:\n%2").arg(path, r.describe(path, 40).join(u'\n')),
               MsgBoxStop, QStringLiteral("Draw file errors"));
        return false;
    }
    m_lottery->setDraws(r.draws);
    m_store->setRecord(QString::fromLatin1(host::kRecordLastReadFile), path);
    m_store->setRecord(sampleKey(), QStringLiteral("0"));
    buildControl();
    fillRangeLists();
    updateTitle();
    statusBar()->showMessage(
        QStringLiteral("Read %1 draws from %2; Save keeps them and writes them back to it")
            .arg(r.draws.size())
            .arg(path));
    return true;
}

void MainWindow::askForDrawFile()
{
    CommonDialog dialog;
    dialog.setDialogTitle(QStringLiteral("Open Draw File"));
    dialog.setFilter(QStringLiteral("Text File(*.txt)|*.txt|All files|*"));
    dialog.ShowOpen();
    if (!dialog.FileName().isEmpty())
        openDrawFile(dialog.FileName());
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
    switchLottery(*shape);
}

} // namespace qrt::app
