#include "modPublic.h"
#include <qrt/RuntimeError.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace qrt;

class tst_ModPublic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void padString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("fill");
        QTest::addColumn<bool>("left");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QString() << QStringLiteral("0") << true << QStringLiteral("00");
        QTest::newRow("one digit")
            << QStringLiteral("7") << QStringLiteral("0") << true << QStringLiteral("07");
        QTest::newRow("two digits")
            << QStringLiteral("49") << QStringLiteral("0") << true << QStringLiteral("49");
        QTest::newRow("three digits")
            << QStringLiteral("100") << QStringLiteral("0") << true << QStringLiteral("100");
        QTest::newRow("right") << QStringLiteral("7") << QStringLiteral("0") << false
                               << QStringLiteral("70");
        QTest::newRow("long fill")
            << QStringLiteral("7") << QStringLiteral("ab") << true << QStringLiteral("ab7");
    }
    void padString()
    {
        QFETCH(QString, text);
        QFETCH(QString, fill);
        QFETCH(bool, left);
        QFETCH(QString, expected);
        QCOMPARE(PadString(text, fill, 2, left), expected);
    }

    void catalogue()
    {
        const QStringList expected = {QStringLiteral("        Date"),
                                      QStringLiteral("  B"),
                                      QStringLiteral("Bonus"),
                                      QStringLiteral("&Import"),
                                      QStringLiteral("Exp&ort"),
                                      QStringLiteral("&Save"),
                                      QStringLiteral("Ins&ert"),
                                      QStringLiteral("&Delete"),
                                      QStringLiteral("Edit &Text File"),
                                      QStringLiteral("Check &Validity"),
                                      QStringLiteral("Text File(*.txt)|*.txt"),
                                      QStringLiteral("Edit Text File"),
                                      QStringLiteral("/"),
                                      QStringLiteral(" +"),
                                      QStringLiteral("Are you sure of deleting "),
                                      QStringLiteral(" lines?"),
                                      QStringLiteral("Data Manager"),
                                      QStringLiteral("Data Errors"),
                                      QStringLiteral("The dates should be digits!"),
                                      QStringLiteral("Curren data have no errors!"),
                                      QStringLiteral("Could not repeat the date!"),
                                      QStringLiteral("Basic numbers should be digits"),
                                      QStringLiteral("Basic number is out of range!"),
                                      QStringLiteral("The bonus should be digits!"),
                                      QStringLiteral("The bonus is out of range!"),
                                      QStringLiteral("Existed numbers,please type another!"),
                                      QStringLiteral("Find no line to be saved!"),
                                      QStringLiteral("Finish!"),
                                      QStringLiteral("Saving ..."),
                                      QStringLiteral("Checking..."),
                                      QStringLiteral("Updating...")};
        QCOMPARE(expected.size(), 31);
        for (int n = 1; n <= 31; ++n)
            QCOMPARE(LoadMessage(n), expected[n - 1]);
        for (int missing : {0, 32, -10000}) {
            try {
                LoadMessage(missing);
                QFAIL("a missing message must fail");
            } catch (const RuntimeError &e) {
                QCOMPARE(e.number(), 326);
            }
        }
        QVERIFY_THROWS_EXCEPTION(RuntimeError, LoadMessage(2147483647));
    }

    void pathExistsFiles()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral(".hidden.ltk"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.close();
        QVERIFY(f.setPermissions(QFileDevice::ReadOwner));

        QVERIFY(PathExists(file, false, false, false));
        QVERIFY(QFile::exists(file));
        // A folder is not a file unless folders are asked for, and is never deleted.
        QVERIFY(!PathExists(dir.path(), false, false, true));
        QVERIFY(PathExists(dir.path(), true, false, true));
        QVERIFY(QDir(dir.path()).exists());
        QVERIFY(PathExists(file, true, false, true));
        QVERIFY(QFile::exists(file));
        // A read-only file is made writable and deleted, and still counts as found.
        QVERIFY(PathExists(file, false, false, true));
        QVERIFY(!QFile::exists(file));
        QVERIFY(!PathExists(file, false, false, false));
        QVERIFY(!PathExists(QString(), false, false, true));
    }

    void pathExistsCreatesFolderOnlyWithBothFlags()
    {
        QTemporaryDir dir;
        const QString sub = dir.filePath(QStringLiteral("data"));
        QVERIFY(!PathExists(sub, false, true, false));
        QVERIFY(!QDir(sub).exists());
        QVERIFY(!PathExists(sub, true, false, false));
        QVERIFY(!QDir(sub).exists());
        QVERIFY(!PathExists(sub, true, true, false)); // created, but it was not there
        QVERIFY(QDir(sub).exists());
        QVERIFY(PathExists(sub, true, true, false));
        // A parent that is missing makes the creation fail quietly.
        QVERIFY(!PathExists(dir.filePath(QStringLiteral("a/b")), true, true, false));
    }
};

QTEST_GUILESS_MAIN(tst_ModPublic)
#include "tst_modpublic.moc"
