// A small window that embeds the control over an in-memory lottery, so the control can be
// tried without a host program.

#include <qrt/QRTDataManager.h>

#include "CallLog.h"
#include "RecordingDraws.h"
#include "RecordingLottery.h"
#include "RecordingStore.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QRandomGenerator>
#include <QScreen>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace
{

QStringList sampleDraws()
{
    // A fixed seed keeps the sample the same from run to run.
    QRandomGenerator rng(20261205);
    QStringList lines;
    for (int week = 0; week < 40; ++week) {
        QList<int> pool;
        for (int n = 1; n <= 49; ++n)
            pool << n;
        QStringList numbers;
        for (int k = 0; k < 7; ++k)
            numbers << QString::number(pool.takeAt(int(rng.bounded(pool.size()))));
        const QString bonus = numbers.takeLast();
        lines << QStringLiteral("%1 %2 +%3").arg(2026001 + week).arg(numbers.join(u' '), bonus);
    }
    return lines;
}

} // namespace

int main(int argc, char *argv[])
{
    QString screenshot;
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "--screenshot") == 0)
            screenshot = QString::fromLocal8Bit(argv[i + 1]);
    if (!screenshot.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QRT Data Manager demo"));
    qrt::doubles::CallLog::instance().setEnabled(false);
    qrt::doubles::registerRecordingClasses();

    const QString dataDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dataDir);
    const QString appName = QStringLiteral("QRTDataManagerDemo");
    qrt::saveSetting(appName, QStringLiteral("Path"), QStringLiteral("Path"), dataDir + u'/');

    auto *lottery = qrt::doubles::RecordingLottery::make(6, 1, 49, true, sampleDraws());
    auto *store = new qrt::doubles::RecordingStore;
    store->records.insert(QStringLiteral("QRTManagerCaption"), appName);

    QWidget window;
    window.setWindowTitle(
        QStringLiteral("QRT Data Manager demo: 6 of 49 with a bonus number (sample data)"));
    auto *layout = new QVBoxLayout(&window);
    auto *bar = new QHBoxLayout;
    auto *start = new QComboBox;
    auto *end = new QComboBox;
    bar->addWidget(new QLabel(QStringLiteral("From issue")));
    bar->addWidget(start);
    bar->addWidget(new QLabel(QStringLiteral("to")));
    bar->addWidget(end);
    bar->addStretch();
    layout->addLayout(bar);
    auto *control = new qrt::AppManager;
    layout->addWidget(control, 1);
    QObject::connect(control, &qrt::AppManager::errorOccurred, &window,
                     [](int number, const QString &text) {
                         qrt::msgBox(QStringLiteral("Error %1: %2").arg(number).arg(text), 16,
                                     QStringLiteral("Data Manager"));
                     });

    control->SetSystemStore(store);
    control->SetIssueControl(start, end);
    control->ChangeLocale();
    control->InitData(lottery);
    window.resize(900, 600);
    window.show();

    if (!screenshot.isEmpty()) {
        QTimer::singleShot(200, &window, [&] {
            const bool ok = window.grab().save(screenshot);
            std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write",
                         qPrintable(screenshot));
            app.exit(ok ? 0 : 1);
        });
    }
    const int rc = app.exec();
    control->EraseALl();
    delete store;
    delete lottery;
    return rc;
}
