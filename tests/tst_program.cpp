// The program as a user runs it from a shell: its options, exit codes and what it prints.
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class tst_Program : public QObject
{
    Q_OBJECT

    struct Run {
        int code = -1;
        QString out;
        QString err;
    };

    static Run run(const QStringList &args)
    {
        QProcess p;
        p.start(QStringLiteral(QRT_PROGRAM), args);
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

private Q_SLOTS:
    void options_data()
    {
        const QString data = QStringLiteral(QRT_TEST_DATA);
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("printed");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: qrt-datamanager [options]";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "qrt-datamanager 0.1.0";
        QTest::newRow("unknown option")
            << QStringList{"--colour"} << 2 << "Unknown option 'colour'";
        QTest::newRow("stray argument")
            << QStringList{"draws.txt"} << 2 << "unexpected argument: draws.txt";
        QTest::newRow("value missing")
            << QStringList{"--check"} << 2 << "Missing value after '--check'";
        QTest::newRow("check without lottery")
            << QStringList{"--check", data + "/broken.txt"} << 2 << "--check needs --lottery";
        QTest::newRow("clean history")
            << QStringList{"--check", data + "/de-6of49-1955-2026.txt", "--lottery", "6:1-49"} << 0
            << "5031 draws of 6 of 1-49, no broken rule";
        QTest::newRow("broken rules")
            << QStringList{"--check", data + "/broken.txt", "--lottery", "6of49"} << 1
            << "broken.txt: 2 broken rules";
        QTest::newRow("unknown lottery")
            << QStringList{"--check", data + "/broken.txt", "--lottery", "lotto"} << 2 << "lotto";
        QTest::newRow("missing file")
            << QStringList{"--check", data + "/missing.txt", "--lottery", "6of49"} << 2
            << "missing.txt";
    }
    void options()
    {
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, printed);
        const Run r = run(args);
        QCOMPARE(r.code, code);
        QVERIFY2((r.out + r.err).contains(printed), qPrintable(r.out + r.err));
    }
};

QTEST_GUILESS_MAIN(tst_Program)
#include "tst_program.moc"
