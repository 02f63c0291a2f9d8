#include "FaultyFileSystem.h"
#include "TestSupport.h"
#include <qrt/RuntimeError.h>
#include <qrt/refhost/AtomicFile.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

using namespace qrt;
using namespace qrt::ref;
using qrt::test::FaultyFileSystem;
using qrt::test::fileBytes;
using F = FaultyFileSystem;

namespace
{
const QByteArray kMissing("<missing>"); // what fileBytes() gives for a file that is not there

QStringList leftovers(const QTemporaryDir &dir)
{
    return QDir(dir.path())
        .entryList(QStringList(QStringLiteral("*.tmp-*")), QDir::Files | QDir::Hidden);
}

int modeOf(const QString &path)
{
    return int(std::filesystem::status(QFile::encodeName(path).toStdString()).permissions());
}

enum Operation { Write, Keep, KeepIf, Restore, LinkOrCopy, Remove, MoveAside };
const char *const kOperationNames[] = {"write over a file", "keepLastGood", "keepLastGoodIf",
                                       "restoreLastGood",   "linkOrCopy",   "removeFile",
                                       "moveAside"};

// An operation on files laid out in a folder: what its target holds before and should hold
// after, the file it takes a second name of or copies, and how to run it.
struct Scene {
    QString target;
    QByteArray before;
    QByteArray after;
    QString source;
    std::function<Status()> run;
};

Scene setUp(Operation op, const QTemporaryDir &dir)
{
    const QString path = dir.filePath(QStringLiteral("User.ltk"));
    const QString backup = backupPathFor(path);
    const QString from = op == Restore ? backup : dir.filePath(QStringLiteral("From.ltk"));
    const QByteArray oldBytes("old draws\n");
    const QByteArray newBytes("new draws, one more\n");
    const bool keep = op == Keep || op == KeepIf;
    if (op != Restore)
        test::writeBytes(path, keep ? newBytes : oldBytes);
    if (keep)
        test::writeBytes(backup, oldBytes);
    if (op == Restore || op == LinkOrCopy)
        test::writeBytes(from, newBytes);
    const std::function<Status()> runs[] = {
        [=] { return writeFileAtomically(path, newBytes); },
        [=] { return keepLastGood(path, newBytes); },
        [=] { return keepLastGoodIf(path, newBytes, [] { return true; }); },
        [=] { return restoreLastGood(path); },
        [=] { return linkOrCopy(from, path); },
        [=] { return removeFile(path); },
        [=] {
            QString aside;
            return moveAside(path, aside);
        }};
    return {keep ? backup : path, op == Restore ? kMissing : oldBytes,
            op >= Remove ? kMissing : newBytes, from, runs[op]};
}

// Runs @p scene on @p fs, failing its call @p at of @p kind (none for 0).
Status runOn(FaultyFileSystem &fs, const Scene &scene, int kind = F::Any, int at = 0, int err = EIO)
{
    fs.failKind = F::Kind(kind);
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
        for (int op = Write; op <= MoveAside; ++op) {
            const char *name = kOperationNames[op];
            QTest::addRow("%s, full disk", name) << op << int(F::Any) << ENOSPC << 0;
            QTest::addRow("%s, lost sync", name) << op << int(F::Fsync) << EIO << 0;
        }
        for (int op : {Restore, LinkOrCopy})
            for (int linkErrno : {EXDEV, EPERM})
                QTest::addRow("%s, no links (%d)", kOperationNames[op], linkErrno)
                    << op << int(F::Any) << ENOSPC << linkErrno;
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
            const Status s = runOn(fs, scene, kind, n, err);
            const QString where = QStringLiteral("call %1 failing: ").arg(n) + s.message();
            QVERIFY2(fileBytes(scene.target) == (s.landed() ? scene.after : scene.before),
                     qPrintable(where));
            QVERIFY2(leftovers(dir).isEmpty(), qPrintable(where));
            QVERIFY2(s.ok() == s.message().isEmpty(), qPrintable(where));
            if (fs.failed)
                continue;
            QVERIFY2(s.ok(), qPrintable(where));
            // A second name where links can be made, a copy where they cannot.
            if (op == Restore || op == LinkOrCopy)
                QCOMPARE(std::filesystem::equivalent(scene.target.toStdString(),
                                                     scene.source.toStdString()),
                         linkErrno == 0);
            break;
        }
    }

    // Each failure says what failed; a file in place whose folder was not synced is not
    // reported as a failure.
    void messagesSayWhatFailed_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("says");
        const auto row = [](const char *name, Operation op, F::Kind kind, int n, const char *says) {
            QTest::newRow(name) << int(op) << int(kind) << n << says;
        };
        const char *replaced = "User.ltk was replaced, but the folder could not be synced";
        row("no temporary", Write, F::Mkostemp, 1, "cannot create a temporary file beside");
        row("write", Write, F::Write, 1, "cannot write");
        row("mode", Write, F::Fchmod, 1, "cannot set the mode of");
        row("file sync", Write, F::Fsync, 1, "cannot sync");
        row("rename", Write, F::Rename, 1, "cannot replace");
        row("folder open", Write, F::Open, 1, replaced);
        row("folder sync", Write, F::Fsync, 2, replaced);
        row("link rename", LinkOrCopy, F::Rename, 1, "cannot replace");
        row("unlink", Remove, F::Unlink, 1, "cannot remove");
        row("removal sync", Remove, F::Fsync, 1,
            "User.ltk was removed, but the folder could not be synced");
        row("move aside", MoveAside, F::Rename, 1, "cannot rename");
        row("move aside, sync", MoveAside, F::Fsync, 1,
            "User.ltk.damaged was moved aside, but the folder could not be synced");
    }
    void messagesSayWhatFailed()
    {
        QFETCH(int, op);
        QFETCH(int, kind);
        QFETCH(int, n);
        QFETCH(QString, says);
        QTemporaryDir dir;
        const Scene scene = setUp(Operation(op), dir);
        FaultyFileSystem fs;
        const Status s = runOn(fs, scene, kind, n);
        // In place, but the folder not synced: not a failure.
        const bool landed = says.contains(u"could not be synced");
        const auto code = landed ? Status::Code::NotDurable : Status::Code::Failed;
        QVERIFY2(s.code() == code && s.message().contains(says), qPrintable(s.message()));
        QCOMPARE(fileBytes(scene.target), landed ? scene.after : scene.before);
    }

    // A file's bytes are on disk before it takes the old one's place, and the folder after,
    // whether a second name can be made or a copy is written. Nothing fails here: of the rows
    // above only the operation and the links matter.
    void syncsSurroundEveryChange_data() { faultsLeaveOldOrNew_data(); }
    void syncsSurroundEveryChange()
    {
        QFETCH(int, op);
        QFETCH(int, linkErrno);
        QTemporaryDir dir;
        const Scene scene = setUp(Operation(op), dir);
        FaultyFileSystem fs;
        fs.linkErrno = linkErrno;
        QVERIFY(runOn(fs, scene).ok());
        const QByteArray folder = QFile::encodeName(dir.path());
        const QByteArray target = QFile::encodeName(scene.target);
        const auto synced = [&](qsizetype from, qsizetype to, const QByteArray &path) {
            return std::any_of(
                fs.calls.begin() + from, fs.calls.begin() + to,
                [&](const F::Call &c) { return c.kind == F::Fsync && c.path == path; });
        };
        QByteArrayList written; // made by mkostemp, so written here
        int changes = 0;
        for (qsizetype i = 0; i < fs.calls.size(); ++i) {
            const F::Call &c = fs.calls[i];
            if (c.kind == F::Mkostemp)
                written.append(c.path);
            if ((c.kind != F::Rename || (c.to != target && c.path != target)) &&
                (c.kind != F::Unlink || c.path != target))
                continue;
            ++changes;
            QVERIFY2(!written.contains(c.path) || synced(0, i, c.path),
                     "the file was not synced before");
            QVERIFY2(synced(i, fs.calls.size(), folder), "the folder was not synced after");
        }
        QCOMPARE(changes, 1);
        QCOMPARE(!written.isEmpty(), op == Write || op == Keep || op == KeepIf || linkErrno);
    }

    // A replaced file keeps the bits the user gave it, whatever the mask; a new one gets those
    // of a document under the mask.
    void modeOfTheFile()
    {
        QTemporaryDir dir;
        const QString kept = dir.filePath(QStringLiteral("Kept.ltk"));
        const QString made = dir.filePath(QStringLiteral("New.ltk"));
        QVERIFY(writeFileAtomically(kept, "old").ok());
        QCOMPARE(::chmod(QFile::encodeName(kept).constData(), 0640), 0);
        const mode_t before = ::umask(077);
        const bool written =
            writeFileAtomically(kept, "new").ok() && writeFileAtomically(made, "new").ok();
        ::umask(before);
        QVERIFY(written);
        QCOMPARE(modeOf(kept), 0640);
        QCOMPARE(modeOf(made), 0600);
    }

    // The last good version outlives the file's deletion, its replacement and damage done in
    // place, and comes back; only bytes that pass the check replace it, and a check that fails
    // or throws leaves the old one and no temporary file.
    void lastGoodOutlivesTheFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        const QString backup = backupPathFor(path);
        QVERIFY(writeFileAtomically(path, "one").ok());
        QVERIFY(keepLastGood(path, "one").ok());
        QVERIFY(removeFile(path).ok()); // as a save does first
        QVERIFY(writeFileAtomically(path, "two").ok());
        QVERIFY(keepLastGoodIf(path, "two", [] { return false; }).ok());
        QVERIFY_THROWS_EXCEPTION(RuntimeError,
                                 static_cast<void>(keepLastGoodIf(
                                     path, "two", []() -> bool { throw RuntimeError(62); })));
        QCOMPARE(fileBytes(backup), QByteArray("one"));
        QVERIFY(keepLastGood(path, "two").ok());
        test::writeBytes(path, {});
        QCOMPARE(fileBytes(backup), QByteArray("two"));
        QVERIFY(removeFile(path).ok());
        QVERIFY(removeFile(path).ok()); // already gone
        QVERIFY(restoreLastGood(path).ok());
        QCOMPARE(fileBytes(path), QByteArray("two"));
        // Already a second name of the backup: a rename between the two would do nothing.
        QVERIFY(restoreLastGood(path).ok());
        QVERIFY(leftovers(dir).isEmpty());
    }

    // Only regular files named exactly as the writers of the file and of its backup name their
    // temporary files go; a link of such a name, and what it points to, stay.
    void leftoversOfKilledWritersGo()
    {
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        const QStringList stay = {"Other.ltk.tmp-a1B2c3", "User.ltk.tmp-long-name",
                                  "User.ltk.tmp-a1B-c3", "User.ltk.tmp-a1B2c"};
        for (const QString &name :
             stay + QStringList{"User.ltk.tmp-a1B2c3", "User.ltk.bak.tmp-zz9zzz"})
            QVERIFY(writeFileAtomically(dir.filePath(name), "x").ok());
        const QString outside = elsewhere.filePath(QStringLiteral("theirs"));
        QVERIFY(writeFileAtomically(outside, "theirs").ok());
        QVERIFY(QFile::link(outside, dir.filePath(QStringLiteral("User.ltk.tmp-Link00"))));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("User.ltk.tmp-Dir000")));
        QCOMPARE(removeLeftovers(dir.filePath(QStringLiteral("User.ltk"))), 2);
        QStringList expected = stay + QStringList{"User.ltk.tmp-Dir000", "User.ltk.tmp-Link00"};
        expected.sort();
        QCOMPARE(QDir(dir.path())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System, QDir::Name),
                 expected);
        QCOMPARE(fileBytes(outside), QByteArray("theirs"));
    }
};

QTEST_GUILESS_MAIN(tst_AtomicFile)
#include "tst_atomicfile.moc"
