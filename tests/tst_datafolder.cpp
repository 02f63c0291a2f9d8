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

using qrt::RuntimeError;
using qrt::app::DataFolder;

class tst_DataFolder : public QObject
{
    Q_OBJECT

    static QByteArray lockNaming(qint64 pid)
    {
        return QByteArray::number(pid) + "\nqrt-datamanager\n" +
               QSysInfo::machineHostName().toUtf8() + '\n';
    }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }
    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    // The error a DataFolder on @p path throws, as "number: message", or "" when it locks; a
    // folder that locks must find its lock intact.
    static QString openFolder(const QString &path)
    {
        try {
            DataFolder folder(path);
            const qrt::ref::Status held = folder.checkLock();
            return held.ok() ? QString() : QStringLiteral("checkLock: ") + held.message();
        } catch (const RuntimeError &e) {
            return QStringLiteral("%1: %2").arg(e.number()).arg(e.description());
        }
    }

private Q_SLOTS:
    void takeover_data()
    {
        QTest::addColumn<QByteArray>("holds");
        QTest::addColumn<bool>("flocked");
        QTest::addColumn<QString>("refused");
        const pid_t child = fork();
        if (child == 0)
            _exit(0);
        waitpid(child, nullptr, 0);
        const QString inUse = QStringLiteral("70: The data folder %1 is in use by ");
        QTest::newRow("empty") << QByteArray() << false << QString();
        QTest::newRow("garbage") << QByteArray("\xff\x01garbage\n\n\n\n") << false << QString();
        QTest::newRow("dead pid") << lockNaming(child) << false << QString();
        // Only a process that dies or is killed leaves the file unlocked with its pid in it;
        // the pid may be another process's by now.
        QTest::newRow("live pid, not held")
            << lockNaming(QCoreApplication::applicationPid()) << false << QString();
        QTest::newRow("live holder")
            << lockNaming(QCoreApplication::applicationPid()) << true
            << inUse + QStringLiteral("qrt-datamanager (process %1 on %2); close it first.")
                           .arg(QCoreApplication::applicationPid())
                           .arg(QSysInfo::machineHostName());
        QTest::newRow("holder that wrote nothing yet")
            << QByteArray() << true << inUse + QStringLiteral("another program; close it first.");
    }
    void takeover()
    {
        QFETCH(QByteArray, holds);
        QFETCH(bool, flocked);
        QFETCH(QString, refused);
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("lock"));
        write(lock, holds);
        // Old enough not to be one that its creator is about to lock.
        QFile aged(lock);
        QVERIFY(aged.open(QIODevice::ReadOnly));
        QVERIFY(aged.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime));
        const int holder = ::open(QFile::encodeName(lock).constData(), O_RDONLY | O_CLOEXEC);
        QVERIFY(holder >= 0);
        QVERIFY(!flocked || ::flock(holder, LOCK_EX | LOCK_NB) == 0);
        const QString error = openFolder(dir.path());
        ::close(holder);
        QVERIFY2(refused.isEmpty() ? error.isEmpty() : error.startsWith(refused.arg(dir.path())),
                 qPrintable(error));
        // A refused lock is left as it was, and a taken one is gone with the program.
        QCOMPARE(contents(lock), refused.isEmpty() ? QByteArray("<missing>") : holds);
    }

    // An empty lock file may be one whose creator has not locked it yet: it is left to it.
    void lockBeingMadeIsLeftToItsCreator()
    {
        QTemporaryDir dir;
        const QString lock = dir.filePath(QStringLiteral("lock"));
        write(lock, QByteArray());
        // As the creator has it: made, and not yet locked.
        const int fd = ::open(QFile::encodeName(lock).constData(), O_RDWR | O_CLOEXEC);
        QVERIFY(fd >= 0);
        std::atomic<bool> answered = false;
        std::thread creator([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            const QByteArray holds = lockNaming(QCoreApplication::applicationPid());
            if (::flock(fd, LOCK_EX) == 0 &&
                ::write(fd, holds.constData(), size_t(holds.size())) == holds.size())
                while (!answered)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
            ::close(fd);
        });
        const QString error = openFolder(dir.path());
        answered = true;
        creator.join();
        QVERIFY2(
            error.startsWith(QStringLiteral("70: The data folder %1 is in use by qrt-datamanager")
                                 .arg(dir.path())),
            qPrintable(error));
    }

    void checkLock_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("lost");
        QTest::newRow("intact") << ""
                                << "";
        QTest::newRow("deleted") << "delete"
                                 << "its lock file was deleted";
        QTest::newRow("replaced by another process's lock")
            << "replace"
            << "its lock file was replaced by that of process 1";
        QTest::newRow("rewritten with another pid") << "rewrite"
                                                    << "its lock file now names process 1";
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
                write(lock, lockNaming(1));
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
