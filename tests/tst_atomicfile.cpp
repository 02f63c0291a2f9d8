#include "FaultyFileSystem.h"
#include "TestSupport.h"
#include <qrt/RuntimeError.h>
#include <qrt/refhost/AtomicFile.h>
#include <qrt/refhost/DrawObjects.h>
#include <qrt/refhost/FileSystem.h>

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <functional>
#include <map>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qrt;
using namespace qrt::ref;
using qrt::test::FaultyFileSystem;

namespace
{
const QByteArray kMissing("<missing>");

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : kMissing;
}

QStringList leftovers(const QTemporaryDir &dir)
{
    return QDir(dir.path())
        .entryList(QStringList(QStringLiteral("*.tmp-*")), QDir::Files | QDir::Hidden);
}

struct stat statOf(const QString &path)
{
    struct stat st {
    };
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st;
}

enum Operation { Write, Keep, KeepIf, Restore, LinkOrCopy, Remove };
const char *const kOperationNames[] = {"write over a file", "keepLastGood", "keepLastGoodIf",
                                       "restoreLastGood",   "linkOrCopy",   "removeFile"};

// An operation on files laid out in @p dir: what its target holds before and should hold
// after, and how to run it.
struct Scene {
    QString target;
    QByteArray before;
    QByteArray after;
    std::function<Status()> run;
};

Scene setUp(Operation op, const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("User.ltk"));
    const QByteArray oldBytes("old draws\n");
    const QByteArray newBytes("new draws, one more\n");
    auto put = [](const QString &where, const QByteArray &bytes) {
        QVERIFY(writeFileAtomically(where, bytes).ok());
    };
    switch (op) {
    case Write:
        put(path, oldBytes);
        return {path, oldBytes, newBytes, [=] { return writeFileAtomically(path, newBytes); }};
    case Keep:
    case KeepIf:
        put(path, newBytes);
        put(backupPathFor(path), oldBytes);
        return {backupPathFor(path), oldBytes, newBytes, [=] {
                    return op == Keep ? keepLastGood(path, newBytes)
                                      : keepLastGoodIf(path, newBytes, [] { return true; });
                }};
    case Restore:
        put(backupPathFor(path), newBytes);
        return {path, kMissing, newBytes, [=] { return restoreLastGood(path); }};
    case LinkOrCopy: {
        const QString from = dir.filePath(QStringLiteral("From.ltk"));
        put(from, newBytes);
        put(path, oldBytes);
        return {path, oldBytes, newBytes, [=] { return linkOrCopy(from, path); }};
    }
    case Remove:
        put(path, oldBytes);
        return {path, oldBytes, kMissing, [=] { return removeFile(path); }};
    }
    return {};
}

// Runs @p scene on @p fs, failing its call @p at of @p kind (none for 0).
Status runOn(FaultyFileSystem &fs, const Scene &scene, FaultyFileSystem::Kind kind = {}, int at = 0,
             int err = EIO)
{
    fs.failKind = kind;
    fs.failAt = at;
    fs.failErrno = err;
    setFileSystem(&fs);
    const Status s = scene.run();
    setFileSystem(nullptr);
    return s;
}
} // namespace

class tst_AtomicFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Whichever call fails, the target holds all of its old bytes or all of the new ones, no
    // temporary file is left, and the result tells which: Failed the old, the others the new.
    void faultsLeaveOldOrNew_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("err");
        QTest::addColumn<int>("linkErrno");
        for (int op = Write; op <= Remove; ++op) {
            const char *name = kOperationNames[op];
            QTest::addRow("%s, full disk", name) << op << int(FaultyFileSystem::Any) << ENOSPC << 0;
            QTest::addRow("%s, I/O error", name) << op << int(FaultyFileSystem::Any) << EIO << 0;
            QTest::addRow("%s, lost sync", name) << op << int(FaultyFileSystem::Fsync) << EIO << 0;
        }
        for (int op : {Restore, LinkOrCopy})
            for (int linkErrno : {EXDEV, EPERM})
                QTest::addRow("%s, no links (%s)", kOperationNames[op],
                              linkErrno == EXDEV ? "EXDEV" : "EPERM")
                    << op << int(FaultyFileSystem::Any) << ENOSPC << linkErrno;
    }
    void faultsLeaveOldOrNew()
    {
        QFETCH(int, op);
        QFETCH(int, kind);
        QFETCH(int, err);
        QFETCH(int, linkErrno);
        for (int n = 1;; ++n) {
            QTemporaryDir dir;
            const Scene scene = setUp(Operation(op), dir);
            FaultyFileSystem fs;
            fs.linkErrno = linkErrno;
            const Status s = runOn(fs, scene, FaultyFileSystem::Kind(kind), n, err);
            const QByteArray now = contents(scene.target);
            const QString where = QStringLiteral("call %1 failing: ").arg(n) + s.message();
            QVERIFY2(now == (s.landed() ? scene.after : scene.before), qPrintable(where));
            QVERIFY2(leftovers(dir).isEmpty(), qPrintable(where));
            QVERIFY2(s.ok() == s.message().isEmpty(), qPrintable(where));
            if (!fs.failed) {
                QVERIFY2(s.ok(), qPrintable(where));
                // A second name where links can be made, a copy where they cannot.
                if (op == Restore || op == LinkOrCopy) {
                    const struct stat a = statOf(scene.target);
                    const struct stat b = statOf(op == Restore ? backupPathFor(scene.target)
                                                               : dir.filePath("From.ltk"));
                    QCOMPARE(a.st_ino == b.st_ino, linkErrno == 0);
                }
                break;
            }
        }
    }

    // Each failure says what failed; a file in place whose folder was not synced is not
    // reported as a failure.
    void messagesSayWhatFailed_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("says");
        const auto row = [](const char *name, Operation op, FaultyFileSystem::Kind kind, int n,
                            Status::Code code, const char *says) {
            QTest::newRow(name) << int(op) << int(kind) << n << int(code) << says;
        };
        using F = FaultyFileSystem;
        const Status::Code failed = Status::Code::Failed, notDurable = Status::Code::NotDurable;
        row("no temporary", Write, F::Mkostemp, 1, failed, "cannot create a temporary file beside");
        row("write", Write, F::Write, 1, failed, "cannot write");
        row("mode", Write, F::Fchmod, 1, failed, "cannot set the mode of");
        row("file sync", Write, F::Fsync, 1, failed, "cannot sync");
        row("rename", Write, F::Rename, 1, failed, "cannot replace");
        row("folder open", Write, F::Open, 1, notDurable,
            "User.ltk was replaced, but the folder could not be synced");
        row("folder sync", Write, F::Fsync, 2, notDurable,
            "User.ltk was replaced, but the folder could not be synced");
        row("link rename", LinkOrCopy, F::Rename, 1, failed, "cannot replace");
        row("unlink", Remove, F::Unlink, 1, failed, "cannot remove");
        row("removal sync", Remove, F::Fsync, 1, notDurable,
            "User.ltk was removed, but the folder could not be synced");
    }
    void messagesSayWhatFailed()
    {
        QFETCH(int, op);
        QFETCH(int, kind);
        QFETCH(int, n);
        QFETCH(int, code);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const Scene scene = setUp(Operation(op), dir);
        FaultyFileSystem fs;
        const Status s = runOn(fs, scene, FaultyFileSystem::Kind(kind), n);
        QVERIFY2(int(s.code()) == code && s.message().contains(says), qPrintable(s.message()));
        QCOMPARE(contents(scene.target),
                 code == int(Status::Code::Failed) ? scene.before : scene.after);
    }

    // A file's bytes are on disk before it takes the old one's place, and the folder after.
    void syncsSurroundEveryChange_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("linkErrno");
        for (int op = Write; op <= Remove; ++op)
            QTest::addRow("%s", kOperationNames[op]) << op << 0;
        QTest::newRow("linkOrCopy, copied") << int(LinkOrCopy) << EXDEV;
    }
    void syncsSurroundEveryChange()
    {
        QFETCH(int, op);
        QFETCH(int, linkErrno);
        QTemporaryDir dir;
        const Scene scene = setUp(Operation(op), dir);
        FaultyFileSystem fs;
        fs.linkErrno = linkErrno;
        QVERIFY(runOn(fs, scene).ok());
        using F = FaultyFileSystem;
        const QByteArray folder = QFile::encodeName(dir.path());
        const QByteArray target = QFile::encodeName(scene.target);
        QByteArrayList written; // made by mkostemp, so written here
        int changes = 0;
        for (qsizetype i = 0; i < fs.calls.size(); ++i) {
            const F::Call &c = fs.calls[i];
            if (c.kind == F::Mkostemp)
                written.append(c.path);
            const bool change = (c.kind == F::Rename && c.to == target) ||
                                (c.kind == F::Unlink && c.path == target);
            if (!change)
                continue;
            ++changes;
            if (written.contains(c.path)) {
                const auto synced =
                    std::find_if(fs.calls.begin(), fs.calls.begin() + i, [&](const F::Call &s) {
                        return s.kind == F::Fsync && s.path == c.path;
                    });
                QVERIFY2(synced != fs.calls.begin() + i, "the file was not synced before");
            }
            QVERIFY2(std::any_of(
                         fs.calls.begin() + i, fs.calls.end(),
                         [&](const F::Call &s) { return s.kind == F::Fsync && s.path == folder; }),
                     "the folder was not synced after");
        }
        QCOMPARE(changes, 1);
        const bool writes = op == Write || op == Keep || op == KeepIf || linkErrno;
        QCOMPARE(!written.isEmpty(), writes);
    }

    // A replaced file keeps the bits the user gave it; a new one gets those of a document.
    void modeOfTheFile_data()
    {
        QTest::addColumn<int>("existing"); // -1: none
        QTest::addColumn<int>("mask");
        QTest::addColumn<int>("expected");
        QTest::newRow("private file") << 0600 << 022 << 0600;
        QTest::newRow("group readable") << 0640 << 077 << 0640;
        QTest::newRow("new, usual mask") << -1 << 022 << 0644;
        QTest::newRow("new, private mask") << -1 << 077 << 0600;
    }
    void modeOfTheFile()
    {
        QFETCH(int, existing);
        QFETCH(int, mask);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        if (existing >= 0) {
            QVERIFY(writeFileAtomically(path, "old").ok());
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(existing)), 0);
        }
        const mode_t before = ::umask(mode_t(mask));
        const Status s = writeFileAtomically(path, "new");
        ::umask(before);
        QVERIFY2(s.ok(), qPrintable(s.message()));
        QCOMPARE(int(statOf(path).st_mode & 0777), expected);
    }

    // The last good version outlives the file's deletion and its replacement, and comes back.
    void lastGoodOutlivesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        QVERIFY(writeFileAtomically(path, "one").ok());
        QVERIFY(!QFile::exists(backupPathFor(path)));
        QVERIFY(keepLastGood(path, "one").ok());
        QVERIFY(removeFile(path).ok()); // as a save does first
        QVERIFY(writeFileAtomically(path, "two").ok());
        QCOMPARE(contents(backupPathFor(path)), QByteArray("one"));
        QVERIFY(keepLastGood(path, "two").ok());
        // Damage done in place does not reach the backup.
        QFile inPlace(path);
        QVERIFY(inPlace.open(QIODevice::WriteOnly | QIODevice::Truncate));
        inPlace.close();
        QCOMPARE(contents(backupPathFor(path)), QByteArray("two"));
        QVERIFY(removeFile(path).ok());
        QVERIFY(removeFile(path).ok()); // already gone
        QVERIFY(restoreLastGood(path).ok());
        QCOMPARE(contents(path), QByteArray("two"));
        // Already a second name of the backup: a rename between the two would do nothing.
        QVERIFY(restoreLastGood(path).ok());
        QVERIFY(leftovers(dir).isEmpty());
    }

    // The copy is written while the bytes are checked; only bytes that pass replace the
    // backup, and a check that fails or throws leaves the old one and no temporary file.
    void backupWaitsForTheCheck()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        QVERIFY(writeFileAtomically(path, "good").ok());
        QVERIFY(keepLastGood(path, "good").ok());
        QVERIFY(writeFileAtomically(path, "damaged").ok());
        QVERIFY(keepLastGoodIf(path, "damaged", [] { return false; }).ok());
        QCOMPARE(contents(backupPathFor(path)), QByteArray("good"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError,
                                 static_cast<void>(keepLastGoodIf(
                                     path, "damaged", []() -> bool { throw RuntimeError(62); })));
        QCOMPARE(contents(backupPathFor(path)), QByteArray("good"));
        QVERIFY(leftovers(dir).isEmpty());
    }

    void damagedFilesAreNeverOverwritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        for (const char *bytes : {"first", "second", "third"}) {
            QVERIFY(writeFileAtomically(path, bytes).ok());
            QVERIFY(!moveAside(path).isEmpty());
        }
        QCOMPARE(contents(path + QStringLiteral(".damaged")), QByteArray("first"));
        QCOMPARE(contents(path + QStringLiteral(".damaged.2")), QByteArray("second"));
        QCOMPARE(contents(path + QStringLiteral(".damaged.3")), QByteArray("third"));
        QVERIFY(moveAside(path).isEmpty()); // nothing left to move
    }

    // Only regular files named exactly as the writers of the file and of its backup name their
    // temporary files go; a link of such a name, and what it points to, stay.
    void leftoversOfKilledWritersGo()
    {
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        const QStringList stay = {"Other.ltk.tmp-a1B2c3", "User.ltk.tmp-long-name",
                                  "User.ltk.tmp-a1B-c3", "User.ltk.tmp-a1B2c"};
        for (const QString &name :
             stay + QStringList{"User.ltk.tmp-a1B2c3", "User.ltk.bak.tmp-zz9zzz"})
            QVERIFY(writeFileAtomically(dir.filePath(name), "x").ok());
        const QString outside = elsewhere.filePath(QStringLiteral("theirs"));
        QVERIFY(writeFileAtomically(outside, "theirs").ok());
        QVERIFY(QFile::link(outside, dir.filePath(QStringLiteral("User.ltk.tmp-Link00"))));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("User.ltk.tmp-Dir000")));
        QCOMPARE(removeLeftovers(path), 2);
        QStringList expected = stay + QStringList{"User.ltk.tmp-Dir000", "User.ltk.tmp-Link00"};
        expected.sort();
        QCOMPARE(QDir(dir.path())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name),
                 expected);
        QCOMPARE(contents(outside), QByteArray("theirs"));
    }

    void missingFolderIsAClearError()
    {
        QTemporaryDir dir;
        const Status s = writeFileAtomically(dir.filePath(QStringLiteral("no/such/User.ltk")), "x");
        QVERIFY2(s.code() == Status::Code::Failed &&
                     s.message().contains(QStringLiteral("cannot create a temporary file beside")),
                 qPrintable(s.message()));
        DrawCollection draws(LotteryShape{});
        const QString error =
            test::errorText([&] { draws.SaveData(dir.filePath(QStringLiteral("no/User.ltk"))); });
        QVERIFY2(error.startsWith(u"75: The draws were not saved: "), qPrintable(error));
    }

    // Killed at any moment, a writer leaves the whole old file or the whole new one.
    void killedWriterLeavesOldOrNew()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        const QByteArray a(2 << 20, 'a');
        const QByteArray b(2 << 20, 'b');
        QVERIFY(writeFileAtomically(path, a).ok());
        for (int round = 0; round < 8; ++round) {
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                for (int i = 0;; ++i)
                    static_cast<void>(writeFileAtomically(path, i % 2 ? a : b));
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
