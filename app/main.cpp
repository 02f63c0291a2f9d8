// The QRT Data Manager desktop program, and its command-line draw file checker.

#include "Checker.h"
#include "MainWindow.h"
#include <qrt/MsgBox.h>
#include <qrt/RuntimeError.h>

#include <QApplication>
#include <QTimer>

#include <cstdio>

namespace
{
QString option(int argc, char *argv[], const char *name)
{
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], name) == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    return {};
}

bool hasOption(int argc, char *argv[], const char *name)
{
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], name) == 0)
            return true;
    return false;
}

void usage()
{
    std::fputs(
        "usage: qrt-datamanager [--data-dir DIR] [--screenshot FILE]\n"
        "       qrt-datamanager --check FILE --lottery SHAPE\n"
        "SHAPE is 6of49, 5of35, 7of35, daily3, keno, or COUNT:SMALLEST-LARGEST with a trailing +\n"
        "for a bonus number, such as 6:1-49+.\n",
        stderr);
}
} // namespace

int main(int argc, char *argv[])
{
    if (hasOption(argc, argv, "--help") || hasOption(argc, argv, "-h")) {
        usage();
        return 0;
    }
    if (hasOption(argc, argv, "--check")) {
        QCoreApplication app(argc, argv);
        const QString file = option(argc, argv, "--check");
        const QString shape = option(argc, argv, "--lottery");
        if (file.isEmpty() || shape.isEmpty()) {
            usage();
            return 2;
        }
        QTextStream out(stdout);
        QTextStream err(stderr);
        return qrt::app::checkDrawFile(file, shape, out, err);
    }

    const QString screenshot = option(argc, argv, "--screenshot");
    if (!screenshot.isEmpty() && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QRTDataManager"));
    QApplication::setApplicationDisplayName(QStringLiteral("QRT Data Manager"));

    std::unique_ptr<qrt::app::MainWindow> window;
    try {
        window = std::make_unique<qrt::app::MainWindow>(option(argc, argv, "--data-dir"));
    } catch (const qrt::RuntimeError &e) {
        std::fprintf(stderr, "%s\n", e.what());
        if (screenshot.isEmpty())
            qrt::msgBox(QString::fromUtf8(e.what()), qrt::MsgBoxStop,
                        QStringLiteral("Data Manager"));
        return 1;
    }
    window->show();
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(300, window.get(), [&] {
            const bool ok = window->grab().save(screenshot);
            std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write",
                         qPrintable(screenshot));
            QApplication::exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
