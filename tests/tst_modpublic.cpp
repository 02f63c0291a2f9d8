#include "TestSupport.h"
#include "modPublic.h"
#include <qrt/RuntimeError.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>

using namespace qrt;

class tst_ModPublic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // PadString, and the fast two-digit writer, which must agree with it for every whole
    // number.
    void padding()
    {
        auto pad = [](const char *text, const char *fill, bool left) {
            return PadString(QString::fromLatin1(text), QString::fromLatin1(fill), 2, left);
        };
        QCOMPARE(pad("", "0", true), QLatin1String("00"));
        QCOMPARE(pad("7", "0", true), QLatin1String("07"));
        QCOMPARE(pad("49", "0", true), QLatin1String("49"));
        QCOMPARE(pad("100", "0", true), QLatin1String("100"));
        QCOMPARE(pad("7", "0", false), QLatin1String("70"));
        QCOMPARE(pad("7", "ab", true), QLatin1String("ab7"));
        for (qint32 v : {0, 7, 9, 10, 49, 100, 2026001, -1, -10, 2147483647, -2147483647 - 1}) {
            const QString padded = PadString(QString::number(v), QStringLiteral("0"), 2, true);
            char bytes[11];
            char16_t units[11];
            QCOMPARE(QLatin1StringView(bytes, writeTwoDigits(bytes, v)), padded);
            QCOMPARE(QStringView(units, writeTwoDigits(units, v)), padded);
        }
    }

    // The catalogue is read from the built-in resource: texts keep their leading blanks and
    // every number the control uses has one; a number without an entry is error 326, one
    // past the catalogue's offset an overflow.
    void catalogue()
    {
        for (int n = 1; n <= 31; ++n)
            QVERIFY2(!LoadMessage(n).isEmpty(), qPrintable(QString::number(n)));
        QCOMPARE(LoadMessage(1), QStringLiteral("        Date"));
        QCOMPARE(LoadMessage(14), QStringLiteral(" +"));
        for (int missing : {0, 32, -10000})
            QCOMPARE(test::errorOf([&] { LoadMessage(missing); }), 326);
        QCOMPARE(test::errorOf([] { LoadMessage(2147483647); }), 6);
    }

    // Files and folders found, and a folder created only when both flags ask for it.
    void pathExistsFindsAndCreates()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral(".hidden.ltk"));
        test::writeBytes(file, "x");
        QVERIFY(PathExists(file, false, false, false));
        // A folder is not a file unless folders are asked for, and is never deleted.
        QVERIFY(!PathExists(dir.path(), false, false, true));
        QVERIFY(PathExists(dir.path(), true, false, true));
        QVERIFY(PathExists(file, true, false, true));
        QVERIFY(QDir(dir.path()).exists() && QFile::exists(file));
        QVERIFY(!PathExists(QString(), false, false, true));
        const QString sub = dir.filePath(QStringLiteral("data"));
        QVERIFY(!PathExists(sub, false, true, false));
        QVERIFY(!PathExists(sub, true, false, false));
        QVERIFY(!QDir(sub).exists());
        QVERIFY(!PathExists(sub, true, true, false)); // created, but it was not there
        QVERIFY(PathExists(sub, true, true, false));
        // A parent that is missing makes the creation fail quietly.
        QVERIFY(!PathExists(dir.filePath(QStringLiteral("a/b")), true, true, false));
    }

    // A read-only file is made writable and deleted, and still counts as found. A link is
    // deleted itself, and what it points to, outside the folder, keeps its mode.
    void pathExistsDeletes()
    {
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        const QString file = dir.filePath(QStringLiteral("a.ltk"));
        const QString target = elsewhere.filePath(QStringLiteral("a.ltk"));
        const QString link = dir.filePath(QStringLiteral("User.ltk"));
        for (const QString &f : {file, target}) {
            test::writeBytes(f, "x");
            QVERIFY(QFile::setPermissions(f, QFileDevice::ReadOwner));
        }
        QVERIFY(QFile::link(target, link));
        for (const QString &name : {file, link}) {
            QVERIFY(PathExists(name, false, false, true));
            QVERIFY(!QFileInfo(name).exists() && !QFileInfo(name).isSymLink());
            QVERIFY(!PathExists(name, false, false, false));
        }
        QVERIFY(QFile::exists(target));
        QCOMPARE(std::filesystem::status(target.toStdString()).permissions(),
                 std::filesystem::perms::owner_read);
    }
};

QTEST_GUILESS_MAIN(tst_ModPublic)
#include "tst_modpublic.moc"
