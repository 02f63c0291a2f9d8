#include <qrt/RuntimeError.h>
#include <qrt/refhost/AtomicFile.h>
#include <qrt/refhost/DrawObjects.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qrt;
using namespace qrt::ref;

namespace
{
QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Runs @p f in a child whose files may not grow past 4 KB, as on a nearly full disk; true when
// it returned true there.
bool underFileLimit(const std::function<bool()> &f)
{
    const pid_t child = fork();
    if (child < 0)
        return false;
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(f() ? 0 : 1);
    }
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

QStringList leftovers(const QTemporaryDir &dir)
{
    return QDir(dir.path())
        .entryList(QStringList(QStringLiteral("*.tmp-*")), QDir::Files | QDir::Hidden);
}
} // namespace

class tst_AtomicFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The last good version outlives the file's deletion and its replacement, and comes back.
    void lastGoodOutlivesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        QCOMPARE(writeFileAtomically(path, "one"), QString());
        QVERIFY(!QFile::exists(backupPathFor(path)));
        QCOMPARE(keepLastGood(path, "one"), QString());
        QVERIFY(QFile::remove(path)); // as a save does first
        QCOMPARE(writeFileAtomically(path, "two"), QString());
        QCOMPARE(contents(backupPathFor(path)), QByteArray("one"));
        QCOMPARE(keepLastGood(path, "two"), QString());
        // Damage done in place does not reach the backup.
        QFile inPlace(path);
        QVERIFY(inPlace.open(QIODevice::WriteOnly | QIODevice::Truncate));
        inPlace.close();
        QCOMPARE(contents(backupPathFor(path)), QByteArray("two"));
        QVERIFY(QFile::remove(path));
        QVERIFY(restoreLastGood(path));
        QCOMPARE(contents(path), QByteArray("two"));
        QVERIFY(leftovers(dir).isEmpty());
    }

    // With no room for a copy, the backup is a second name of the file and costs nothing;
    // kept while the bytes are checked, it is made once the check has passed.
    void fullDiskStillKeepsTheBackup_data()
    {
        QTest::addColumn<bool>("whileChecking");
        QTest::newRow("kept at once") << false;
        QTest::newRow("kept while checking") << true;
    }
    void fullDiskStillKeepsTheBackup()
    {
        QFETCH(bool, whileChecking);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        QCOMPARE(writeFileAtomically(path, "old"), QString());
        QCOMPARE(keepLastGood(path, "old"), QString());
        const QByteArray big(100000, 'n');
        QCOMPARE(writeFileAtomically(path, big), QString());
        QVERIFY(underFileLimit([&] {
            return (whileChecking ? keepLastGoodIf(path, big, [] { return true; })
                                  : keepLastGood(path, big))
                .isEmpty();
        }));
        QVERIFY(QFile::remove(path));
        QCOMPARE(contents(backupPathFor(path)), big);
        QVERIFY(leftovers(dir).isEmpty());
    }

    // The copy is written while the bytes are checked; only bytes that pass replace the
    // backup, and a check that fails or throws leaves the old one and no temporary file.
    void backupWaitsForTheCheck()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        QCOMPARE(writeFileAtomically(path, "good"), QString());
        QCOMPARE(keepLastGood(path, "good"), QString());
        QCOMPARE(writeFileAtomically(path, "damaged"), QString());
        QCOMPARE(keepLastGoodIf(path, "damaged", [] { return false; }), QString());
        QCOMPARE(contents(backupPathFor(path)), QByteArray("good"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, keepLastGoodIf(path, "damaged", []() -> bool {
                                     throw RuntimeError(62);
                                 }));
        QCOMPARE(contents(backupPathFor(path)), QByteArray("good"));
        QVERIFY(leftovers(dir).isEmpty());
        QCOMPARE(writeFileAtomically(path, "newer"), QString());
        QCOMPARE(keepLastGoodIf(path, "newer", [] { return true; }), QString());
        QCOMPARE(contents(backupPathFor(path)), QByteArray("newer"));
        QVERIFY(leftovers(dir).isEmpty());
    }

    void damagedFilesAreNeverOverwritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        for (const char *bytes : {"first", "second", "third"}) {
            QCOMPARE(writeFileAtomically(path, bytes), QString());
            QVERIFY(!moveAside(path).isEmpty());
        }
        QCOMPARE(contents(path + QStringLiteral(".damaged")), QByteArray("first"));
        QCOMPARE(contents(path + QStringLiteral(".damaged.2")), QByteArray("second"));
        QCOMPARE(contents(path + QStringLiteral(".damaged.3")), QByteArray("third"));
        QVERIFY(moveAside(path).isEmpty()); // nothing left to move
    }

    // Only the temporary files of the named file and of its backup are removed.
    void leftoversOfKilledWritersGo()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        const QStringList names = {"User.ltk.tmp-a1B2c3", "User.ltk.bak.tmp-zzzzzz",
                                   "Other.ltk.tmp-a1B2c3", "User.ltk.tmp-long-name"};
        for (const QString &name : names)
            QCOMPARE(writeFileAtomically(dir.filePath(name), "x"), QString());
        QCOMPARE(removeLeftovers(path), 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 QStringList({"Other.ltk.tmp-a1B2c3", "User.ltk.tmp-long-name"}));
    }

    void missingFolderIsAClearError()
    {
        QTemporaryDir dir;
        const QString why =
            writeFileAtomically(dir.filePath(QStringLiteral("no/such/User.ltk")), "x");
        QVERIFY2(why.contains(QStringLiteral("cannot create a temporary file beside")),
                 qPrintable(why));
        DrawCollection draws(LotteryShape{});
        try {
            draws.SaveData(dir.filePath(QStringLiteral("no/User.ltk")));
            QFAIL("saving into a missing folder must fail");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), 75);
            QVERIFY(e.description().startsWith(QStringLiteral("The draws were not saved: ")));
        }
    }

    // A file size limit makes a write fail part way; the old file must survive it whole.
    void writeFailureKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        QCOMPARE(writeFileAtomically(path, "old contents"), QString());
        QVERIFY(underFileLimit([&] {
            return writeFileAtomically(path, QByteArray(100000, 'n'))
                .contains(QStringLiteral("cannot write"));
        }));
        QCOMPARE(contents(path), QByteArray("old contents"));
        QVERIFY(leftovers(dir).isEmpty());
    }

    // Killed at any moment, a writer leaves the whole old file or the whole new one.
    void killedWriterLeavesOldOrNew()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        const QByteArray a(2 << 20, 'a');
        const QByteArray b(2 << 20, 'b');
        QCOMPARE(writeFileAtomically(path, a), QString());
        for (int round = 0; round < 8; ++round) {
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                for (int i = 0;; ++i)
                    writeFileAtomically(path, i % 2 ? a : b);
            }
            usleep(useconds_t(3000 + round * 4000));
            kill(child, SIGKILL);
            waitpid(child, nullptr, 0);
            const QByteArray now = contents(path);
            QVERIFY2(now == a || now == b,
                     qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(now.size())));
        }
    }
};

QTEST_GUILESS_MAIN(tst_AtomicFile)
#include "tst_atomicfile.moc"
