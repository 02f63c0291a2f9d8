// The QRT Data Manager desktop program, and its command-line draw file checker.

#include "Checker.h"
#include "Downloader.h"
#include "HeadlessSession.h"
#include "MainWindow.h"
#include "MessageDialog.h"
#include "TextEditorWindow.h"
#include "Translations.h"
#include "WindowFit.h"
#include <qrt/MsgBox.h>
#include <qrt/RuntimeError.h>
#include <qrt/ShellExecute.h>
#include <qrt/refhost/Lottery.h>
#include <qrt/refhost/LotteryShape.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <optional>

namespace
{
struct Options {
    QString dataDir, screenshot, check, import, lottery, restore, update;
    bool versions = false;
    bool skipBad = false;
    bool gaps = false;
    QString language;
};

QString escapedBytes(const QByteArray &bytes)
{
    QString shown;
    for (const char c : bytes)
        shown += c >= 0x20 && c < 0x7f && c != '\\'
                     ? QString(QLatin1Char(c))
                     : QStringLiteral("\\x") +
                           QStringLiteral("%1").arg(uchar(c), 2, 16, QLatin1Char('0')).toUpper();
    return shown;
}

// Parsed before any application object exists: whether a window is wanted, and on which
// platform, depends on the options. Returns an exit code when the program ends here.
std::optional<int> parseOptions(int argc, char *argv[], Options &o)
{
    QCoreApplication::setApplicationName(QStringLiteral("QRTDataManager"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QRT_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Keeps the draw history of a lottery.\n\n"
        "SHAPE is 6of49, 5of35, 7of35, daily3, keno, powerball, megamillions, euromillions,\n"
        "eurojackpot, ssq, uklotto, or COUNT:SMALLEST-LARGEST with a trailing + for a bonus\n"
        "number from the same drum, such as 6:1-49+, or +COUNT:SMALLEST-LARGEST for bonus\n"
        "numbers from a drum of their own, such as 5:1-69+1:1-26 or 5:1-50+2:1-12."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Shows the version."));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Keeps everything in DIR instead of the "
                                                    "user's data folder."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption screenshot(QStringLiteral("screenshot"),
                                        QStringLiteral("Renders the window to FILE and exits."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption check(QStringLiteral("check"),
                                   QStringLiteral("Checks the draw file or published result "
                                                  "file FILE against the rules of --lottery, "
                                                  "without a window."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption import(
        QStringLiteral("import"),
        QStringLiteral("Adds the draws of FILE (a text draw file, the program's CSV or a result "
                       "file as lotteries publish it) that the history of --lottery does not hold "
                       "yet and saves it, without a window. Exits with 0 when "
                       "saved, 1 when refused (bad lines or conflicts), 2 when the file, the "
                       "lottery or the data folder cannot be used, 3 when the save failed and "
                       "the draws saved before are kept, 4 when the new draws were saved but the "
                       "save could not be confirmed on disk."),
        QStringLiteral("FILE"));
    const QCommandLineOption skipBad(
        QStringLiteral("skip-bad"),
        QStringLiteral("With --import: imports the good draws of a file with bad lines, which "
                       "are listed and skipped, instead of refusing the file."));
    const QCommandLineOption gaps(
        QStringLiteral("gaps"),
        QStringLiteral("Lists the draws missing from the history of --lottery, one a line: draw "
                       "numbers skipped, or dates of its usual draw weekdays without a draw."));
    const QCommandLineOption update(
        QStringLiteral("update"),
        QStringLiteral("Downloads the published result file at URL (http or https; a zip archive "
                       "is unpacked) and adds every draw of it that the history of --lottery does "
                       "not hold; held draws never change, bad rows and conflicts are listed and "
                       "never block the new draws. Prints \"added A, kept C conflicting, holds N "
                       "draws\". Exits with 0 when done, 2 when the download or the file fails "
                       "(nothing changed), 3 and 4 as --import."),
        QStringLiteral("URL"));
    const QCommandLineOption versions(
        QStringLiteral("versions"),
        QStringLiteral("Lists the earlier versions of the draws of --lottery that saves kept: "
                       "id, time saved, number of draws."));
    const QCommandLineOption restore(
        QStringLiteral("restore"),
        QStringLiteral("Saves the earlier version ID of the draws of --lottery as its history; "
                       "the state it replaces is kept as a version first. Exits as --import."),
        QStringLiteral("ID"));
    const QCommandLineOption lottery(QStringLiteral("lottery"),
                                     QStringLiteral("The lottery, as SHAPE; the window opens on "
                                                    "it."),
                                     QStringLiteral("SHAPE"));
    const QCommandLineOption language(QStringLiteral("lang"),
                                      QStringLiteral("Shows the window in language LANG (de, "
                                                     "zh_CN or en) instead of the system's."),
                                      QStringLiteral("LANG"));
    parser.addOptions({help, version, dataDir, screenshot, check, import, skipBad, lottery,
                       versions, restore, gaps, update, language});
    // Without an application object Qt cannot name the program in the usage line.
    const QString helpText = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                       QStringLiteral("qrt-datamanager"));
    const auto fail = [&](const QString &why) {
        std::fprintf(stderr, "qrt-datamanager: %s\n%s", qPrintable(why), qPrintable(helpText));
        return 2;
    };
    QStringList args;
    for (int i = 0; i < argc; ++i) {
        args << QFile::decodeName(argv[i]);
        // A name with bytes that are not valid text decodes to another name, and so to another
        // folder or file: the program would quietly use that one.
        if (i > 0 && QFile::encodeName(args.last()) != argv[i])
            return fail(QStringLiteral("the argument \"%1\" holds bytes that are not UTF-8 text "
                                       "(shown as \\xHH): the program cannot use a file or "
                                       "folder with such a name; rename it")
                            .arg(escapedBytes(argv[i])));
    }
    if (!parser.parse(args))
        return fail(parser.errorText());
    if (parser.isSet(help)) {
        std::fputs(qPrintable(helpText), stdout);
        return 0;
    }
    if (parser.isSet(version)) {
        std::printf("qrt-datamanager %s\n", QRT_VERSION);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return fail(
            QStringLiteral("unexpected argument: %1").arg(parser.positionalArguments().first()));
    o = {parser.value(dataDir), parser.value(screenshot), parser.value(check),
         parser.value(import),  parser.value(lottery),    parser.value(restore),
         parser.value(update),  parser.isSet(versions),   parser.isSet(skipBad),
         parser.isSet(gaps),    parser.value(language)};
    if (parser.isSet(dataDir) && o.dataDir.isEmpty())
        return fail(QStringLiteral("--data-dir needs a folder"));
    if (parser.isSet(check) && o.lottery.isEmpty())
        return fail(QStringLiteral("--check needs --lottery"));
    if (parser.isSet(import) && o.lottery.isEmpty())
        return fail(QStringLiteral("--import needs --lottery"));
    if (o.skipBad && !parser.isSet(import))
        return fail(QStringLiteral("--skip-bad goes with --import"));
    if ((o.versions || parser.isSet(restore) || o.gaps || parser.isSet(update)) &&
        o.lottery.isEmpty())
        return fail(QStringLiteral("--versions, --restore, --gaps and --update need --lottery"));
    bool number = false;
    if (parser.isSet(restore) && (o.restore.toInt(&number), !number))
        return fail(QStringLiteral("--restore takes the id of a version, as --versions lists it"));
    return std::nullopt;
}
} // namespace

// The command line's work on a lottery's folder needs no window and no display: no widget is
// made, and every message goes to standard error.
static int runHeadless(int argc, char **argv, const Options &options)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("QRTDataManager"));
    if (QString why; !qrt::app::installTranslation(&app, options.language, &why)) {
        std::fprintf(stderr, "qrt-datamanager: %s\n", qPrintable(why));
        return 2;
    }
    QString why;
    const std::optional<qrt::ref::LotteryShape> lottery =
        qrt::ref::LotteryShape::parse(options.lottery, &why);
    if (!lottery) {
        std::fprintf(stderr, "qrt-datamanager: %s\n", qPrintable(why));
        return 2;
    }
    std::unique_ptr<qrt::domain::HeadlessSession> session;
    try {
        session = std::make_unique<qrt::domain::HeadlessSession>(options.dataDir, *lottery);
    } catch (const qrt::RuntimeError &e) {
        std::fprintf(stderr, "qrt-datamanager: %s\n", e.what());
        return 2;
    }
    QTextStream out(stdout);
    QTextStream err(stderr);
    for (const QString &note : session->notes())
        err << note << '\n';
    err.flush();
    qrt::domain::LotteryCommands &commands = session->commands();
    if (options.versions) {
        commands.listVersions(out);
        return 0;
    }
    if (options.gaps) {
        commands.listGaps(out);
        return 0;
    }
    if (!options.restore.isEmpty())
        return commands.restore(options.restore.toInt(), out, err, session->save());
    if (!options.update.isEmpty()) {
        qrt::domain::Downloader downloader;
        return commands.update(options.update, downloader, out, err, session->save(), true);
    }
    return commands.importFile(options.import, out, err, options.skipBad, session->save());
}

int main(int argc, char *argv[])
{
    Options options;
    if (const std::optional<int> code = parseOptions(argc, argv, options))
        return *code;
    if (!options.check.isEmpty()) {
        QCoreApplication app(argc, argv);
        QTextStream out(stdout);
        QTextStream err(stderr);
        return qrt::app::checkDrawFile(options.check, options.lottery, out, err);
    }

    const bool batch = !options.import.isEmpty() || options.versions ||
                       !options.restore.isEmpty() || options.gaps || !options.update.isEmpty();
    if (batch)
        return runHeadless(argc, argv, options);

    const bool noDisplay =
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool headless =
        platform.isEmpty() ? noDisplay : platform == "offscreen" || platform == "minimal";
    if (headless && options.screenshot.isEmpty()) {
        std::fputs("qrt-datamanager: there is no display to show the window on; "
                   "--screenshot FILE renders it to a file\n",
                   stderr);
        return 2;
    }
    // Message boxes go to standard error there, answered as their default.
    if (headless)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QRTDataManager"));
    QApplication::setApplicationDisplayName(QStringLiteral("QRT Data Manager"));
    if (QString why; !qrt::app::installTranslation(&app, options.language, &why)) {
        std::fprintf(stderr, "qrt-datamanager: %s\n", qPrintable(why));
        return 2;
    }

    if (!headless) {
        // Long lists of bad lines scroll in their box, dialogs fit their titles and the
        // screen, and a draw file opens in an editor even where the desktop names none.
        qrt::setMsgBoxHandler(&qrt::app::MessageDialog::ask);
        qrt::setShellExecuteHandler(&qrt::app::TextEditorWindow::open);
        app.installEventFilter(new qrt::app::WindowFit(&app));
    }

    std::optional<qrt::ref::LotteryShape> lottery;
    if (!options.lottery.isEmpty()) {
        QString why;
        lottery = qrt::ref::LotteryShape::parse(options.lottery, &why);
        if (!lottery) {
            std::fprintf(stderr, "qrt-datamanager: %s\n", qPrintable(why));
            return 2;
        }
    }
    std::unique_ptr<qrt::app::MainWindow> window;
    try {
        window = std::make_unique<qrt::app::MainWindow>(options.dataDir, lottery, nullptr,
                                                        qrt::app::MainWindow::ShownAtOnce);
    } catch (const qrt::RuntimeError &e) {
        std::fprintf(stderr, "qrt-datamanager: %s\n", e.what());
        if (!headless)
            qrt::msgBox(QString::fromUtf8(e.what()), qrt::MsgBoxStop,
                        QCoreApplication::translate("qrt::app::MainWindow", "Data Manager"));
        return 2;
    }
    window->show();
    if (!options.screenshot.isEmpty()) {
        QTimer::singleShot(0, window.get(), [&] {
            const bool ok = window->grab().save(options.screenshot);
            std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "could not write",
                         qPrintable(options.screenshot));
            QApplication::exit(ok ? 0 : 1);
        });
    }
    return app.exec();
}
