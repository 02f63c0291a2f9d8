// The program as a user runs it from a shell: its options, exit codes and what it prints, and
// what its files hold after imports that are refused, fail, are killed or meet another program.
// What the importer reads and how it merges: tst_importer; the lock: tst_datafolder; the
// download: tst_downloader. Here each of them is wired up once.
#include "TestSupport.h"
#include "TinyServer.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>

using qrt::test::fileBytes;
using qrt::test::writeBytes;

class tst_Program : public QObject
{
    Q_OBJECT

    struct Run {
        int code = -1;
        QString out;
        QString err;
    };

    static Run
    run(const QStringList &args, const std::function<void()> &inChild = {},
        const QString &program = QStringLiteral(QRT_PROGRAM),
        const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        QProcess p;
        p.setProcessEnvironment(environment);
        if (inChild)
            p.setChildProcessModifier(inChild);
        p.start(program, args);
        // One that hangs or crashes ends with code -1, killed as the process object goes.
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return {};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }

    // A file size limit stands in for a full disk.
    static std::function<void()> fileSizeLimit(rlim_t bytes)
    {
        return [bytes] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{bytes, bytes};
            setrlimit(RLIMIT_FSIZE, &limit);
        };
    }

private Q_SLOTS:
    // What the program prints and the code it ends with, for options, for files that are no
    // draw files or hold what none should, and for data folders that cannot be had. In the
    // arguments <dir> is an empty folder and <file> its draws.txt, holding the row's bytes;
    // "setup" sets variables of the environment (empty: unset), limits the file size to
    // nothing ("fsize"), or holds <dir>/data locked ("lock"). "leaves" is all that <dir> holds
    // after, where the row gives it.
    void commandLine_data()
    {
        const QString data = QStringLiteral(QRT_TEST_DATA);
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("leaves");
        const auto row = [](const char *name, const QStringList &args, int code,
                            const QString &printed, const QByteArray &bytes = {},
                            const char *setup = "", const QStringList &leaves = {}) {
            QTest::newRow(name) << args << code << printed << bytes << QString::fromLatin1(setup)
                                << leaves;
        };
        const auto check = [](const QString &file = "<file>", const char *lottery = "6:1-49") {
            return QStringList{"--check", file, "--lottery", lottery};
        };
        const auto in = [](const char *lottery, const QStringList &more) {
            return QStringList{"--data-dir", "<dir>", "--lottery", lottery} + more;
        };
        row("help", {"--help"}, 0, "Usage: qrt-datamanager [options]");
        row("version", {"--version"}, 0, "qrt-datamanager 0.1.0");
        row("unknown option", {"--colour"}, 2, "Unknown option 'colour'");
        row("stray argument", {"draws.txt"}, 2, "unexpected argument: draws.txt");
        row("check without lottery", check().mid(0, 2), 2, "--check needs --lottery");
        row("clean history", check(data + "/de-6of49-1955-2026.txt"), 0,
            "5031 draws of 6 of 1-49, no broken rule");
        row("broken rules", check(data + "/broken.txt", "6of49"), 1, "broken.txt: 2 broken rules");
        row("unknown lottery", check(data + "/broken.txt", "lotto"), 2, "lotto");
        row("--skip-bad without --import", in("6of49", {"--skip-bad"}), 2,
            "--skip-bad goes with --import");
        row("update over FTP", in("6of49", {"--update", "ftp://example.org/r.csv"}), 2,
            "is not an http or https address; nothing was changed");
        row("restore what was never saved", in("6:1-49", {"--restore", "7"}), 2,
            "no earlier version 7");
        // A draw from before the game's ranges changed: the shape that would hold it.
        row("second drum, wider once", in("euromillions", {"--import", "<file>"}), 1,
            "use --lottery 5:1-50+2:1-13", "2011001 01 02 03 04 05 + 01 13\n");

        // Files that are no draw files are refused before they are read, and bad lines cost
        // memory for the hundred that are listed only.
        row("FIFO: the program's own input", check("/dev/stdin"), 2, "it is a pipe (FIFO)");
        row("folder", check(data), 2, "it is a folder");
        row("device", check("/dev/zero"), 2, "it is a device");
        // The kernel's files tell no size, but are read to their end.
        row("/proc/self/status", check("/proc/self/status"), 2,
            "status: no column holds the draw number");
        row("a million bad lines", check(), 1,
            ":100: expected 6 numbers after the issue, found 5\n... and 999900 more\n",
            QByteArray("1 01 02 03 04 05\n").repeated(1000000));

        // A data folder that cannot be had is refused with what is wrong, and nothing is made
        // outside it, nor another folder used.
        const QStringList import = {"--lottery", "6:1-49", "--import", "<file>"};
        const QStringList into = QStringList{"--data-dir", "<dir>/data"} + import;
        const QByteArray draw = "20990101 01 02 03 04 05 06\n";
        const QStringList untouched{"draws.txt", "file"};
        row("HOME unset", import, 2, "HOME is not set; give the data folder with --data-dir DIR.",
            draw, "HOME= XDG_DATA_HOME=", untouched);
        row("XDG_DATA_HOME is a file", import, 2,
            "The user's data location <dir>/file/QRTDataManager (from XDG_DATA_HOME) cannot be "
            "used: <dir>/file is not a folder; give the data folder with --data-dir DIR.",
            draw, "XDG_DATA_HOME=<dir>/file", untouched);
        row("a part of the data folder is a file",
            QStringList{"--data-dir", "<dir>/file/data"} + import, 2,
            "The data folder <dir>/file/data cannot be created: <dir>/file is not a folder.", draw,
            "", untouched);
        // QProcess hands arguments over as text, so the shell's printf makes the byte.
        const QStringList latin1 = QStringList{"--data-dir", "<dir>/caf\\351"} + import;
        const QString notText =
            "the argument \"<dir>/caf\\xE9\" holds bytes that are not UTF-8 text";
        row("not UTF-8, C locale", latin1, 2, notText, draw, "LC_ALL=C", untouched);
        row("not UTF-8, UTF-8 locale", latin1, 2, notText, draw, "LC_ALL=C.UTF-8", untouched);
        row("no room for the lock", into, 2,
            "The lock of the data folder <dir>/data cannot be written: the file size limit is "
            "reached. Nothing was changed.",
            draw, "fsize", {"data", "draws.txt", "file"});
        // One program at a time writes into a data folder; the other says who holds it.
        row("held by another program", into, 2,
            QStringLiteral("The data folder <dir>/data is in use by tst_program (process %1")
                .arg(QCoreApplication::applicationPid()),
            draw, "lock", {"data", "data/lock", "draws.txt", "file"});
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, printed);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, setup);
        QFETCH(QStringList, leaves);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("draws.txt"));
        if (!bytes.isEmpty())
            writeBytes(file, bytes);
        writeBytes(dir.filePath(QStringLiteral("file")), {});
        printed.replace(QStringLiteral("<dir>"), dir.path());
        setup.replace(QStringLiteral("<dir>"), dir.path());
        args.replaceInStrings(QStringLiteral("<dir>"), dir.path());
        args.replaceInStrings(QStringLiteral("<file>"), file);
        QLockFile lock(dir.filePath(QStringLiteral("data/lock")));
        QVERIFY(setup != QLatin1String("lock") ||
                (QDir(dir.path()).mkdir(QStringLiteral("data")) && lock.tryLock(0)));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString &set : setup.split(u' '))
            if (const QString value = set.section(u'=', 1); value.isEmpty())
                environment.remove(set.section(u'=', 0, 0));
            else
                environment.insert(set.section(u'=', 0, 0), value);
        QString program = QStringLiteral(QRT_PROGRAM);
        if (args.value(1).contains(u'\\')) {
            args =
                QStringList{"-c", "d=$(printf \"$1\"); shift; exec \"$0\" --data-dir \"$d\" \"$@\"",
                            program} +
                args.mid(1);
            program = QStringLiteral("/bin/sh");
        }
        const QString fallback = QStringLiteral("/.local/share/QRTDataManager");
        const bool hadFallback = QFileInfo::exists(fallback);
        const Run r = run(args, setup == QLatin1String("fsize") ? fileSizeLimit(0) : nullptr,
                          program, environment);
        QTEST(r.code, "code");
        QVERIFY2((r.out + r.err).contains(printed), qPrintable((r.out + r.err).left(2000)));
        QVERIFY(hadFallback || !QFileInfo::exists(fallback));
        if (!leaves.isEmpty()) {
            QStringList found;
            QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                            QDirIterator::Subdirectories);
            while (it.hasNext())
                found << QDir(dir.path()).relativeFilePath(it.next());
            found.sort();
            QCOMPARE(found, leaves);
        }
    }

    // One history through every command: each prints what it did, and the user data file
    // holds the new draws after a save, or the bytes it held before after anything else.
    // Each import keeps the state it replaces, for --versions and --restore.
    void aHistory()
    {
        QTemporaryDir dir;
        const QString user = dir.filePath(QStringLiteral("6_1-49/User.ltk"));
        const QStringList lottery = {"--data-dir", dir.path(), "--lottery", "6:1-49"};
        const auto step = [&](const QStringList &args, int code, const QString &said,
                              const QByteArray &endsWith = {},
                              const std::function<void()> &inChild = {}) {
            const QByteArray before = fileBytes(user);
            const Run r = run(lottery + args, inChild);
            QCOMPARE(r.code, code);
            QVERIFY2((r.out + r.err).contains(said), qPrintable(r.out + r.err));
            const QByteArray after = fileBytes(user);
            QVERIFY2(endsWith.isEmpty() ? after == before : after.endsWith(endsWith),
                     after.right(300).constData());
        };
        const auto import = [&](const QByteArray &bytes) {
            return QStringList{"--import",
                               writeBytes(dir.filePath(QStringLiteral("in.txt")), bytes)};
        };
        step(import("1 01 02 03 04 05 06\n"), 0, "added 1, holds 1 draws\n",
             "\n1 01 02 03 04 05 06\n");
        step(import("Draw;N1;N2;N3;N4;N5;N6\n4;6;5;4;3;2;1\n3;1;2;3;4;5;99\n") << "--skip-bad", 0,
             "added 1, holds 2 draws\n", "\n1 01 02 03 04 05 06\n4 01 02 03 04 05 06\n");
        step({"--gaps"}, 0, "2\n3\n");
        // A conflict writes nothing.
        step(import("5 01 02 03 04 05 06\n4 01 02 03 04 05 07\n"), 1,
             "issue 4 is held as \"01 02 03 04 05 06\" but the file has \"01 02 03 04 05 07\"");
        // An update adds every new draw, whatever else the published file holds.
        qrt::test::ServerThread server([](qrt::test::TinyServer &s) {
            s.body = "Draw,N1,N2,N3,N4,N5,N6\n6,21,22,23,24,25,26\n4,1,2,3,4,5,7\n5,1,2,3,4,5,8\n";
        });
        step({"--update", server.url().toString()}, 0,
             "added 2, kept 1 conflicting, holds 4 draws\n",
             "\n4 01 02 03 04 05 06\n5 01 02 03 04 05 08\n6 21 22 23 24 25 26\n");
        step({"--versions"}, 0, " 2 draws\n");
        step({"--restore", "1"}, 0, "restored version 1, holds 1 draws\n",
             "\n1 01 02 03 04 05 06\n");
        const QByteArray last = "\n20260722 03 05 10 14 25 49\n";
        step({"--import", QStringLiteral(QRT_TEST_DATA "/de-6of49-1955-2026.txt")}, 0,
             "added 5031, holds 5032 draws\n", last);
        // A save that fails part way leaves the draws saved before, and says so.
        step(import("20990101 01 02 03 04 05 06\n"), 3, "the draws saved before are intact", {},
             fileSizeLimit(100000));
        // Without a screen nothing waits for a click: a damaged user data file is reported on
        // standard error, kept aside, and the last good draws come back.
        writeBytes(user, "QRTDraws 1\ngarbage\n");
        step({"--screenshot", dir.filePath(QStringLiteral("shot.png"))}, 0, "cannot be used", last);
        QCOMPARE(fileBytes(user + QStringLiteral(".damaged")), QByteArray("QRTDraws 1\ngarbage\n"));

        // Killed at any moment of a large import, the next start holds the old draws or the
        // new ones, whole, and leaves no temporary file behind; the user data file is replaced
        // in one step, so that it is never missing, to the end of the import.
        QRandomGenerator rng(12);
        int held = 5032;
        int missing = 0;
        for (int round = 0; round < 8; ++round) {
            // New issues every round, so that there is always a save to cut short.
            QByteArray lines;
            for (int i = 0; i < 20000; ++i)
                lines += QByteArray::number(30000000 + round * 20000 + i) + " 01 02 03 04 05 06\n";
            QProcess p;
            p.start(QStringLiteral(QRT_PROGRAM), lottery + import(lines));
            QVERIFY(p.waitForStarted());
            // Every other import runs to its end.
            const qint64 killAt = round % 2 ? 60000 : rng.bounded(100, 1500);
            QElapsedTimer waited;
            waited.start();
            while (!p.waitForFinished(0) && waited.elapsed() < killAt)
                missing += QFile::exists(user) ? 0 : 1;
            p.kill();
            p.waitForFinished();
            const QString now = run(lottery + import({})).out;
            const QString old = QStringLiteral("added 0, holds %1 draws\n").arg(held);
            const QString all = QStringLiteral("added 0, holds %1 draws\n").arg(held + 20000);
            QVERIFY2(now == old || now == all,
                     qPrintable(QStringLiteral("round %1: %2").arg(round).arg(now)));
            held += now == all ? 20000 : 0;
            QCOMPARE(QDir(dir.filePath(QStringLiteral("6_1-49")))
                         .entryList({QStringLiteral("*.tmp-*")}, QDir::Files),
                     QStringList());
        }
        QCOMPARE(missing, 0);
    }
};

QTEST_GUILESS_MAIN(tst_Program)
#include "tst_program.moc"
