// The data folder's lock: taken over when no live process holds it, whatever the file holds;
// refused while one does; and known to be lost once it is deleted or replaced.
#include "DataFolder.h"
#include "TestSupport.h"

#include <qrt/RuntimeError.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include <climits>
#include <sys/file.h>

using qrt::domain::DataFolder;
using qrt::test::writeBytes;

class tst_DataFolder : public QObject
{
    Q_OBJECT

    static QByteArray lockNaming(qint64 pid)
    {
        return QByteArray::number(pid) + "\nqrt-datamanager\n" +
               QSysInfo::machineHostName().toUtf8() + '\n';
    }

private Q_SLOTS:
    // "held" is how a holder has the file before the folder is opened: not at all, flock()ed,
    // or made a moment ago and flock()ed and written by its creator while the folder is being
    // opened. "change" is what becomes of the lock while the folder is open. "refused" is why
    // the folder cannot be had, or why its lock is lost.
    void lock_data()
    {
        QTest::addColumn<QByteArray>("holds");
        QTest::addColumn<QString>("held");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("refused");
        const auto row = [](const char *name, const QByteArray &holds, const char *held,
                            const QString &refused, const char *change = "") {
            QTest::newRow(name) << holds << QString::fromLatin1(held) << QString::fromLatin1(change)
                                << refused;
        };
        const auto lost = [](const char *why) {
            return QStringLiteral("The lock on the data folder <dir> was lost (%1), so another "
                                  "program may have changed the draws there. Nothing was saved.")
                .arg(QLatin1String(why));
        };
        const QByteArray ours = lockNaming(QCoreApplication::applicationPid());
        const QString byUs = QStringLiteral("70: The data folder <dir> is in use by "
                                            "qrt-datamanager (process %1 on %2); close it first.")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QSysInfo::machineHostName());
        row("empty", "", "", {});
        row("garbage", "\xff\x01garbage\n\n\n\n", "", {});
        row("dead pid", lockNaming(INT_MAX), "", {}); // above any pid the kernel gives
        // Only a process that died leaves the file unlocked with its pid in it; the pid may be
        // another process's by now.
        row("live pid, not held", ours, "", {});
        row("live holder", ours, "flock", byUs);
        row("holder that wrote nothing yet", "", "flock",
            "70: The data folder <dir> is in use by another program; close it first.");
        row("creator about to lock it", ours, "creator", byUs);
        row("deleted", "", "", lost("its lock file was deleted"), "delete");
        row("replaced by another process's lock", "", "",
            lost("its lock file was replaced by that of process 1"), "replace");
        row("rewritten with another pid", "", "", lost("its lock file now names process 1"),
            "rewrite");
    }
    void lock()
    {
        QFETCH(QByteArray, holds);
        QFETCH(QString, held);
        QFETCH(QString, change);
        QFETCH(QString, refused);
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("lock"));
        const bool creator = held == QLatin1String("creator");
        writeBytes(lock, creator ? QByteArray() : holds);
        QFile holder(lock);
        QVERIFY(holder.open(QIODevice::ReadWrite));
        // Old enough not to be one that its creator is about to lock, unless it is.
        QVERIFY(creator || holder.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                              QFileDevice::FileModificationTime));
        QVERIFY(held != QLatin1String("flock") || ::flock(holder.handle(), LOCK_EX) == 0);
        std::atomic<bool> answered = false;
        std::thread creatorThread([&] {
            if (!creator)
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (::flock(holder.handle(), LOCK_EX) == 0 && holder.write(holds) == holds.size() &&
                holder.flush())
                while (!answered)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
        });
        QString error;
        bool opened = false;
        try {
            DataFolder folder(dir.path());
            opened = true;
            if (change == QLatin1String("delete") || change == QLatin1String("replace"))
                QVERIFY(QFile::remove(lock));
            if (change == QLatin1String("replace") || change == QLatin1String("rewrite"))
                writeBytes(lock, lockNaming(1));
            error = folder.checkLock().message();
        } catch (const qrt::RuntimeError &e) {
            error = QStringLiteral("%1: %2").arg(e.number()).arg(e.description());
        }
        answered = true;
        creatorThread.join();
        QVERIFY2(refused.isEmpty()
                     ? error.isEmpty()
                     : error.startsWith(refused.replace(QStringLiteral("<dir>"), dir.path())),
                 qPrintable(error));
        // A refused lock is left as it was, and one taken over is gone with the program,
        // unless another program's lock stands in its place.
        QCOMPARE(QFile::exists(lock), !opened || change == QLatin1String("replace"));
    }
};

QTEST_GUILESS_MAIN(tst_DataFolder)
#include "tst_datafolder.moc"
