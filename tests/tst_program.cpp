// The program as a user runs it from a shell: its options, exit codes and what it prints, and
// what its files hold after imports that are refused, fail, are killed or meet another program.
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
#include <QThread>

#include <csignal>
#include <cstdlib>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

// Checks that a text holds a part, and shows the whole text when it does not.
#define VERIFY_HAS(text, part) QVERIFY2(QString(text).contains(part), qPrintable(QString(text)))

class tst_Program : public QObject
{
    Q_OBJECT

    struct Run {
        int code = -1;
        QString out;
        QString err;
    };

    static Run run(const QStringList &args, const std::function<void()> &inChild = {},
                   const QString &program = QStringLiteral(QRT_PROGRAM))
    {
        QProcess p;
        if (inChild)
            p.setChildProcessModifier(inChild);
        p.start(program, args);
        Run r;
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit) {
            p.kill();
            p.waitForFinished();
            return r;
        }
        r.code = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
        return r;
    }

    static Run importInto(const QTemporaryDir &dir, const QString &file)
    {
        return run({"--data-dir", dir.path(), "--lottery", "6:1-49", "--import", file});
    }
    static QString userFile(const QTemporaryDir &dir)
    {
        return dir.filePath(QStringLiteral("6_1-49/User.ltk"));
    }
    static QString write(const QTemporaryDir &dir, const char *name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static QStringList everythingIn(const QTemporaryDir &dir)
    {
        QStringList found;
        QDirIterator it(dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(dir.path()).relativeFilePath(it.next());
        found.sort();
        return found;
    }

private Q_SLOTS:
    // What the program prints and the code it ends with, for options and for files that are
    // no draw files or hold what none should. In the arguments <dir> is an empty folder and
    // <file> its draws.txt, holding the row's bytes, or made a FIFO or a folder.
    void commandLine_data()
    {
        const QString data = QStringLiteral(QRT_TEST_DATA);
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("printed");
        const QByteArray none;
        const auto check = [](const QString &file = "<file>", const char *lottery = "6:1-49") {
            return QStringList{"--check", file, "--lottery", lottery};
        };
        const auto in = [](const char *lottery, const QStringList &more) {
            return QStringList{"--data-dir", "<dir>", "--lottery", lottery} + more;
        };
        QTest::newRow("help") << QStringList{"--help"} << none << 0
                              << "Usage: qrt-datamanager [options]";
        QTest::newRow("version") << QStringList{"--version"} << none << 0
                                 << "qrt-datamanager 0.1.0";
        QTest::newRow("unknown option")
            << QStringList{"--colour"} << none << 2 << "Unknown option 'colour'";
        QTest::newRow("stray argument")
            << QStringList{"draws.txt"} << none << 2 << "unexpected argument: draws.txt";
        QTest::newRow("value missing")
            << QStringList{"--check"} << none << 2 << "Missing value after '--check'";
        QTest::newRow("check without lottery")
            << check(data + "/broken.txt").mid(0, 2) << none << 2 << "--check needs --lottery";
        QTest::newRow("clean history") << check(data + "/de-6of49-1955-2026.txt") << none << 0
                                       << "5031 draws of 6 of 1-49, no broken rule";
        QTest::newRow("broken rules")
            << check(data + "/broken.txt", "6of49") << none << 1 << "broken.txt: 2 broken rules";
        QTest::newRow("unknown lottery")
            << check(data + "/broken.txt", "lotto") << none << 2 << "lotto";
        QTest::newRow("missing file") << check(data + "/missing.txt") << none << 2 << "missing.txt";
        QTest::newRow("--skip-bad without --import")
            << in("6of49", {"--skip-bad"}) << none << 2 << "--skip-bad goes with --import";
        QTest::newRow("update over FTP")
            << in("6of49", {"--update", "ftp://example.org/r.csv"}) << none << 2
            << "is not an http or https address; nothing was changed";
        QTest::newRow("restore what was never saved")
            << in("6:1-49", {"--restore", "7"}) << none << 2 << "no earlier version 7";
        // A draw from before the game's ranges changed: the shape that would hold it.
        QTest::newRow("second drum, wider once")
            << in("euromillions", {"--import", "<file>"})
            << QByteArray("2011001 01 02 03 04 05 + 01 13\n") << 1 << "use --lottery 5:1-50+2:1-13";

        // Files that are no draw files are refused before they are read, and bad lines cost
        // memory for the hundred that are listed only.
        QTest::newRow("FIFO") << check() << QByteArray("<fifo>") << 2 << "it is a pipe (FIFO)";
        QTest::newRow("folder") << check() << QByteArray("<folder>") << 2 << "it is a folder";
        QTest::newRow("device") << check("/dev/zero") << none << 2 << "it is a device";
        QTest::newRow("NUL bytes") << check() << QByteArray("1 01 02 03 04 05 06\n2 01\0 02\n", 30)
                                   << 1 << ":2: the line holds a NUL byte";
        QTest::newRow("UTF-8 BOM")
            << check() << QByteArray("\357\273\2771 01 02 03 04 05 06\n") << 0 << "1 draws";
        QTest::newRow("UTF-16") << check()
                                << QByteArray(reinterpret_cast<const char *>(u"1 01\n"), 10) << 1
                                << "draws.txt:1: expected 6 numbers after the issue, found 1";
        // A line longer than any draw is refused without splitting it, and reading goes on.
        const QByteArray huge = QByteArray("1,").repeated(10 << 20) + "\n2 01 02 03 04 05 06\n3\n";
        QTest::newRow("20 MB line") << check() << huge << 1
                                    << "draws.txt:1: the line is 20971520 bytes long: no row of "
                                       "draws is longer than 65536 bytes\n";
        QTest::newRow("after a 20 MB line")
            << check() << huge << 1 << "draws.txt:3: expected 6 numbers after the issue, found 0\n";
        // The kernel's files tell no size, but are read to their end.
        QTest::newRow("/proc/self/status")
            << check("/proc/self/status") << none << 2 << "status: no column holds the draw number";
        const QByteArray many = QByteArray("1 01 02 03 04 05\n").repeated(1000000);
        QTest::newRow("a million bad lines")
            << check() << many << 1
            << ":100: expected 6 numbers after the issue, found 5\n... and 999900 more\n";
        QTest::newRow("no draws to be found") << check() << QByteArray("bad line\nbad line\n") << 2
                                              << "no column holds the draw number";
        QTest::newRow("a million, counted")
            << check() << many << 1 << "draws.txt: 1000000 broken rules";
    }
    void commandLine()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, bytes);
        QFETCH(int, code);
        QFETCH(QString, printed);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("draws.txt"));
        if (bytes == "<fifo>")
            QCOMPARE(mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        else if (bytes == "<folder>")
            QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("draws.txt")));
        else if (!bytes.isEmpty())
            write(dir, "draws.txt", bytes);
        args.replaceInStrings(QStringLiteral("<dir>"), dir.path());
        args.replaceInStrings(QStringLiteral("<file>"), file);
        const Run r = run(args);
        QCOMPARE(r.code, code);
        QVERIFY2((r.out + r.err).contains(printed), qPrintable((r.out + r.err).left(2000)));
        QVERIFY((r.out + r.err).count(u'\n') <= 103);
    }

    // Each import keeps the state it replaces; --restore brings one back as a save of its own
    // (the versions kept and restored: tst_app earlierVersions).
    void earlierVersions()
    {
        QTemporaryDir dir;
        QCOMPARE(importInto(dir, write(dir, "one.txt", "1 01 02 03 04 05 06\n")).code, 0);
        QCOMPARE(importInto(dir, write(dir, "two.txt", "2 01 02 03 04 05 07\n")).code, 0);
        const QStringList lottery = {"--data-dir", dir.path(), "--lottery", "6:1-49"};
        Run r = run(lottery + QStringList{"--versions"});
        QVERIFY2(r.code == 0 && r.out.trimmed().startsWith(u'1') &&
                     r.out.trimmed().endsWith(QStringLiteral("1 draws")) && r.out.count(u'\n') == 1,
                 qPrintable(r.out));
        r = run(lottery + QStringList{"--restore", "1"});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QStringLiteral("restored version 1, holds 1 draws\n"));
    }

    // Published result files go in as downloaded: junk rows only with --skip-bad, a second
    // file adds its new draws between and after the held ones, a conflict writes nothing, and
    // --gaps lists the issues missing (the layouts and dates read: tst_importer).
    void importPublishedFiles()
    {
        QTemporaryDir dir;
        const QString held = dir.filePath(QStringLiteral("6of49/User.ltk"));
        const QStringList lottery = {"--data-dir", dir.path(), "--lottery", "6of49"};
        const QString published = QStringLiteral(QRT_TEST_DATA "/published-ca-649.csv");
        Run r = run(lottery + QStringList{"--import", published});
        QCOMPARE(r.code, 1);
        VERIFY_HAS(r.err,
                   "published-ca-649.csv:7: number 0 is out of range 1 to 49 (column \"BONUS "
                   "NUMBER\")");
        QVERIFY(!QFile::exists(held));
        r = run(lottery + QStringList{"--import", published, "--skip-bad"});
        QCOMPARE(r.out, QStringLiteral("added 45, holds 45 draws\n"));
        VERIFY_HAS(r.err, "45 new, 0 already held, 0 conflicting, 5 bad");
        const QByteArray saved = contents(held);
        QVERIFY(saved.contains("\n4001 09 10 17 29 35 46 + 21\n"));

        // Newest first, semicolons, a held draw in another order, a new one between.
        const QString more = write(dir, "more.csv",
                                   "Bonus;N6;N5;N4;N3;N2;N1;Draw\n"
                                   "1;2;3;4;5;6;7;5000\n"
                                   "21;46;35;29;17;10;9;4001\n"
                                   "1;2;3;4;5;6;8;4001500\n");
        r = run(lottery + QStringList{"--import", more});
        QCOMPARE(r.out, QStringLiteral("added 2, holds 47 draws\n"));
        const QByteArray after = contents(held);
        QVERIFY(after.endsWith("\n5000 02 03 04 05 06 07 + 01\n4001500 02 03 04 05 06 08 + 01\n"));

        const QString conflict =
            write(dir, "conflict.csv",
                  "Draw,Numbers,Bonus\n4001,\"1 2 3 4 5 6\",7\n9999,1-2-3-4-5-6,7\n");
        r = run(lottery + QStringList{"--import", conflict});
        QCOMPARE(r.code, 1);
        VERIFY_HAS(r.err, "issue 4001 is held as \"09 10 17 29 35 46 + 21\" "
                          "but the file has \"01 02 03 04 05 06 + 07\"");
        QCOMPARE(contents(held), after);

        r = run(lottery + QStringList{"--gaps"});
        QCOMPARE(r.code, 0);
        QVERIFY2(r.out.startsWith(QStringLiteral("4046\n4047\n")) &&
                     r.out.endsWith(QStringLiteral("\n4999\n5001 to 4001499 (3996499 missing)\n")),
                 qPrintable(r.out.left(200)));
    }

    // An update adds every new draw of the published file, whatever else the file holds;
    // a download that fails in any way changes nothing.
    void updateFromTheWeb()
    {
        QTemporaryDir dir;
        const QStringList lottery = {"--data-dir", dir.path(), "--lottery", "6of49"};
        const QString held = dir.filePath(QStringLiteral("6of49/User.ltk"));
        QCOMPARE(run(lottery + QStringList{"--import", write(dir, "held.txt",
                                                             "1 01 02 03 04 05 06 + 07\n"
                                                             "2 11 12 13 14 15 16 + 17\n")})
                     .code,
                 0);
        const QByteArray before = contents(held);
        const QByteArray published = "Draw,N1,N2,N3,N4,N5,N6,Bonus\n"
                                     "4,21,22,23,24,25,26,27\n"
                                     "3,31,32,33,34,35,36,37\n"
                                     "2,41,42,43,44,45,46,47\n" // held with other numbers
                                     "1,01,02,03,04,05,06,07\n";
        const auto failing = [&](const char *status, const QByteArray &body, qsizetype announce,
                                 bool stall, const char *said) {
            qrt::test::ServerThread server([=](qrt::test::TinyServer &s) {
                s.status = status;
                s.body = body;
                s.announce = announce;
                s.stall = stall;
            });
            const Run r = run(lottery + QStringList{"--update", server.url().toString()});
            QCOMPARE(r.code, 2);
            VERIFY_HAS(r.err, QString::fromLatin1(said));
            QCOMPARE(contents(held), before);
        };
        qputenv("QRT_UPDATE_TIMEOUT", "1");
        failing("404 Not Found", "gone", -1, false, "answered 404");
        failing("200 OK", published.left(30), published.size(), false, "ended after 30 of");
        failing("200 OK", published, -1, true, "sent nothing for 1 s");
        qunsetenv("QRT_UPDATE_TIMEOUT");

        qrt::test::ServerThread server([&](qrt::test::TinyServer &s) { s.body = published; });
        const Run r = run(lottery + QStringList{"--update", server.url().toString()});
        QCOMPARE(r.code, 0);
        QCOMPARE(r.out, QStringLiteral("added 2, kept 1 conflicting, holds 4 draws\n"));
        VERIFY_HAS(r.err, "issue 2 is held as");
        QVERIFY(contents(held).endsWith("2 11 12 13 14 15 16 + 17\n3 31 32 33 34 35 36 + 37\n"
                                        "4 21 22 23 24 25 26 + 27\n"));
    }

    void firstImportKeepsDrawnOrder()
    {
        QTemporaryDir dir;
        const QString file = write(dir, "daily.txt", "20260101 9 1 5\n20260102 0 0 7\n");
        const Run r = run({"--data-dir", dir.path(), "--lottery", "daily3", "--import", file});
        QCOMPARE(r.out, QStringLiteral("added 2, holds 2 draws\n"));
        QVERIFY(contents(dir.filePath(QStringLiteral("daily3/User.ltk")))
                    .endsWith("20260101 09 01 05\n20260102 00 00 07\n"));
    }

    // A save that fails part way (a file size limit stands in for a full disk) leaves the
    // draws saved before, and says so.
    void failedSaveLosesNothing()
    {
        QTemporaryDir dir;
        QCOMPARE(importInto(dir, QStringLiteral(QRT_TEST_DATA "/de-6of49-1955-2026.txt")).code, 0);
        const QByteArray saved = contents(userFile(dir));
        const QString more = write(dir, "more.txt", "20990101 01 02 03 04 05 06\n");
        const Run r = run({"--data-dir", dir.path(), "--lottery", "6:1-49", "--import", more}, [] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{100000, 100000};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        QCOMPARE(r.code, 3);
        VERIFY_HAS(r.err, "the draws saved before are intact");
        QCOMPARE(contents(userFile(dir)), saved);
        QCOMPARE(importInto(dir, write(dir, "empty.txt", "")).out,
                 QStringLiteral("added 0, holds 5031 draws\n"));
    }

    // Killed at any moment of a large import, and above all while the save has deleted the
    // user data file and not yet written it anew, the next start holds the old draws or the
    // new ones, whole, and leaves no temporary file behind.
    void killedImportsLoseNothing()
    {
        QTemporaryDir dir;
        QCOMPARE(importInto(dir, QStringLiteral(QRT_TEST_DATA "/de-6of49-1955-2026.txt")).code, 0);
        const QString empty = write(dir, "empty.txt", "");
        QRandomGenerator rng(12);
        int held = 5031;
        int missing = 0;
        for (int round = 0; round < 8; ++round) {
            // New issues every round, so that there is always a save to cut short.
            QByteArray lines;
            for (int i = 0; i < 20000; ++i)
                lines += QByteArray::number(30000000 + round * 20000 + i) + " 01 02 03 04 05 06\n";
            const QString big = write(dir, "big.txt", lines);
            QProcess p;
            p.start(QStringLiteral(QRT_PROGRAM),
                    {"--data-dir", dir.path(), "--lottery", "6:1-49", "--import", big});
            QVERIFY(p.waitForStarted());
            if (round % 2 == 0) {
                QThread::msleep(rng.bounded(100, 1500));
            } else {
                // The command line replaces the file in one step: it is never missing, to the
                // end of the import.
                QElapsedTimer waited;
                waited.start();
                while (p.state() == QProcess::Running && waited.elapsed() < 30000)
                    missing += QFile::exists(userFile(dir)) ? 0 : 1;
            }
            p.kill();
            p.waitForFinished();
            const QString now = importInto(dir, empty).out;
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

    // One program at a time writes into a data folder; the other says who holds it.
    void oneWriterPerFolder()
    {
        QTemporaryDir dir;
        QLockFile held(dir.filePath(QStringLiteral("lock")));
        QVERIFY(held.tryLock(0));
        const Run r = importInto(dir, write(dir, "new.txt", "1 01 02 03 04 05 06\n"));
        QCOMPARE(r.code, 2);
        VERIFY_HAS(r.err, "is in use by");
        VERIFY_HAS(r.err, QString::number(QCoreApplication::applicationPid()));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("store.db"))));
        held.unlock();
        QCOMPARE(importInto(dir, dir.filePath(QStringLiteral("new.txt"))).code, 0);
    }

    // A data folder that cannot be had is refused with what is wrong, and nothing is made
    // outside it, nor another folder used; a lock file that no program holds is taken over
    // whatever it holds.
    void dataFolderProblems_data()
    {
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("printed"); // <dir> stands for the temporary folder
        QTest::addColumn<QStringList>("leaves");
        const QStringList untouched{"file", "new.txt"};
        QTest::newRow("HOME unset")
            << "home"
            << "HOME is not set; give the data folder with --data-dir DIR." << untouched;
        QTest::newRow("XDG_DATA_HOME is a file")
            << "xdg"
            << "The user's data location <dir>/file/QRTDataManager (from XDG_DATA_HOME) cannot "
               "be used: <dir>/file is not a folder; give the data folder with --data-dir DIR."
            << untouched;
        QTest::newRow("a part of the data folder is a file")
            << "part"
            << "The data folder <dir>/file/data cannot be created: <dir>/file is not a folder."
            << untouched;
        const QString latin1 =
            "the argument \"<dir>/caf\\xE9\" holds bytes that are not UTF-8 text";
        QTest::newRow("not UTF-8, C locale") << "C" << latin1 << untouched;
        QTest::newRow("not UTF-8, UTF-8 locale") << "C.UTF-8" << latin1 << untouched;
        QTest::newRow("no room for the lock")
            << "fsize"
            << "The lock of the data folder <dir>/data cannot be written: the file size limit is "
               "reached. Nothing was changed."
            << QStringList{"data", "file", "new.txt"};
    }
    void dataFolderProblems()
    {
        QFETCH(QString, problem);
        QFETCH(QString, printed);
        QFETCH(QStringList, leaves);
        QTemporaryDir dir;
        const QString file = write(dir, "new.txt", "20990101 01 02 03 04 05 06\n");
        const QByteArray notAFolder = QFile::encodeName(write(dir, "file", ""));
        QStringList args{"--data-dir", dir.filePath(QStringLiteral("data")),
                         "--lottery",  "6:1-49",
                         "--import",   file};
        QString program = QStringLiteral(QRT_PROGRAM);
        std::function<void()> inChild = [problem, notAFolder] {
            if (problem == QLatin1String("home")) {
                unsetenv("HOME");
                unsetenv("XDG_DATA_HOME");
            }
            if (problem == QLatin1String("xdg"))
                setenv("XDG_DATA_HOME", notAFolder.constData(), 1);
            if (problem.startsWith(u'C'))
                setenv("LC_ALL", qPrintable(problem), 1);
            if (problem == QLatin1String("fsize")) {
                std::signal(SIGXFSZ, SIG_IGN);
                const rlimit none{0, 0};
                setrlimit(RLIMIT_FSIZE, &none);
            }
        };
        if (problem == QLatin1String("home") || problem == QLatin1String("xdg"))
            args = args.mid(2);
        if (problem == QLatin1String("part"))
            args[1] = dir.filePath(QStringLiteral("file/data"));
        if (problem.startsWith(u'C')) {
            // QProcess hands arguments over as text, so the shell's printf makes the byte.
            args =
                QStringList{"-c", "d=$(printf \"$1\"); shift; exec \"$0\" --data-dir \"$d\" \"$@\"",
                            program, dir.path() + QStringLiteral("/caf\\351")} +
                args.mid(2);
            program = QStringLiteral("/bin/sh");
        }
        const QString fallback = QStringLiteral("/.local/share/QRTDataManager");
        const bool hadFallback = QFileInfo::exists(fallback);
        const Run r = run(args, inChild, program);
        QCOMPARE(r.code, 2);
        QVERIFY2((r.out + r.err).contains(printed.replace(QStringLiteral("<dir>"), dir.path())),
                 qPrintable(r.out + r.err));
        QVERIFY(hadFallback || !QFileInfo::exists(fallback));
        QCOMPARE(everythingIn(dir), leaves);
    }

    // Without a screen nothing waits for a click: a damaged user data file is reported on
    // standard error, kept aside without replacing an earlier one, and the last good draws
    // come back.
    void damagedUserFileHeadless()
    {
        QTemporaryDir dir;
        QCOMPARE(importInto(dir, QStringLiteral(QRT_TEST_DATA "/de-6of49-1955-2026.txt")).code, 0);
        for (const QString &aside : {QStringLiteral(".damaged"), QStringLiteral(".damaged.2")}) {
            write(dir, "6_1-49/User.ltk", "QRTDraws 1\ngarbage\n");
            const Run r = run({"--data-dir", dir.path(), "--lottery", "6:1-49", "--screenshot",
                               dir.filePath(QStringLiteral("shot.png"))});
            QCOMPARE(r.code, 0);
            VERIFY_HAS(r.err, "cannot be used");
            QCOMPARE(contents(userFile(dir) + aside), QByteArray("QRTDraws 1\ngarbage\n"));
            QCOMPARE(importInto(dir, write(dir, "empty.txt", "")).out,
                     QStringLiteral("added 0, holds 5031 draws\n"));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Program)
#include "tst_program.moc"
