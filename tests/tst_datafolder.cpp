// The data folder's lock: taken over when no live process holds it, whatever the file holds;
// refused while one does; and known to be lost once it is deleted or replaced.
#include "DataFolder.h"

#include <qrt/RuntimeError.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

using qrt::domain::DataFolder;

class tst_DataFolder : public QObject
{
    Q_OBJECT

    static QByteArray lockNaming(qint64 pid)
    {
        return QByteArray::number(pid) + "\nqrt-datamanager\n" +
               QSysInfo::machineHostName().toUtf8() + '\n';
    }
    static QString lockIn(const QTemporaryDir &dir, const QByteArray &holds)
    {
        const QString path = dir.filePath(QStringLiteral("lock"));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(holds) != holds.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

private Q_SLOTS:
    // "held" is how a holder has the file: not at all, flock()ed, or made a moment ago and
    // flock()ed and written by its creator while the folder is being opened.
    void takeover_data()
    {
        QTest::addColumn<QByteArray>("holds");
        QTest::addColumn<QString>("held");
        QTest::addColumn<QString>("refused");
        const pid_t child = fork();
        if (child == 0)
            _exit(0);
        waitpid(child, nullptr, 0);
        const QByteArray ours = lockNaming(QCoreApplication::applicationPid());
        const QString byUs = QStringLiteral("70: The data folder <dir> is in use by "
                                            "qrt-datamanager (process %1 on %2); close it first.")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QSysInfo::machineHostName());
        const QString free;
        QTest::newRow("empty") << QByteArray() << free << free;
        QTest::newRow("garbage") << QByteArray("\xff\x01garbage\n\n\n\n") << free << free;
        QTest::newRow("dead pid") << lockNaming(child) << free << free;
        // Only a process that died leaves the file unlocked with its pid in it; the pid may be
        // another process's by now.
        QTest::newRow("live pid, not held") << ours << free << free;
        QTest::newRow("live holder") << ours << "flock" << byUs;
        QTest::newRow("holder that wrote nothing yet")
            << QByteArray() << "flock"
            << "70: The data folder <dir> is in use by another program; close it first.";
        QTest::newRow("creator about to lock it") << ours << "creator" << byUs;
    }
    void takeover()
    {
        QFETCH(QByteArray, holds);
        QFETCH(QString, held);
        QFETCH(QString, refused);
        QTemporaryDir dir;
        const QString lock = lockIn(dir, held == QLatin1String("creator") ? QByteArray() : holds);
        QFile holder(lock);
        QVERIFY(holder.open(QIODevice::ReadWrite));
        // Old enough not to be one that its creator is about to lock, unless it is.
        QVERIFY(held == QLatin1String("creator") ||
                holder.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                   QFileDevice::FileModificationTime));
        QVERIFY(held != QLatin1String("flock") || ::flock(holder.handle(), LOCK_EX) == 0);
        std::atomic<bool> answered = false;
        std::thread creator([&] {
            if (held != QLatin1String("creator"))
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (::flock(holder.handle(), LOCK_EX) == 0 && holder.write(holds) == holds.size() &&
                holder.flush())
                while (!answered)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
        });
        QString error;
        try {
            DataFolder folder(dir.path());
            QVERIFY(folder.checkLock().ok());
        } catch (const qrt::RuntimeError &e) {
            error = QStringLiteral("%1: %2").arg(e.number()).arg(e.description());
        }
        answered = true;
        creator.join();
        QVERIFY2(refused.isEmpty()
                     ? error.isEmpty()
                     : error.startsWith(refused.replace(QStringLiteral("<dir>"), dir.path())),
                 qPrintable(error));
        // A refused lock is left as it was, and one taken over is gone with the program.
        QCOMPARE(QFile::exists(lock), !refused.isEmpty());
    }

    void checkLock_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("lost");
        QTest::newRow("intact") << QString() << QString();
        QTest::newRow("deleted") << QString("delete") << "its lock file was deleted";
        QTest::newRow("replaced by another process's lock")
            << QString("replace") << "its lock file was replaced by that of process 1";
        QTest::newRow("rewritten with another pid")
            << QString("rewrite") << "its lock file now names process 1";
    }
    void checkLock()
    {
        QFETCH(QString, change);
        QFETCH(QString, lost);
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("lock"));
        {
            DataFolder folder(dir.path());
            if (change == QLatin1String("delete") || change == QLatin1String("replace"))
                QVERIFY(QFile::remove(lock));
            if (change == QLatin1String("replace") || change == QLatin1String("rewrite"))
                lockIn(dir, lockNaming(1));
            const qrt::ref::Status held = folder.checkLock();
            QCOMPARE(held.ok(), lost.isEmpty());
            if (!lost.isEmpty())
                QCOMPARE(held.message(),
                         QStringLiteral("The lock on the data folder %1 was lost (%2), so another "
                                        "program may have changed the draws there. Nothing was "
                                        "saved.")
                             .arg(dir.path(), lost));
        }
        // The program that lost its lock leaves the other's in place.
        QCOMPARE(QFile::exists(lock), change == QLatin1String("replace"));
    }
};

QTEST_GUILESS_MAIN(tst_DataFolder)
#include "tst_datafolder.moc"
