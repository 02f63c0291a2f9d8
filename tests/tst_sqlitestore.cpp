#include <qrt/Automation.h>
#include <qrt/RuntimeError.h>
#include <qrt/refhost/SqliteStore.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace qrt;
using namespace qrt::ref;

class tst_SqliteStore : public QObject
{
    Q_OBJECT

    // The calls exactly as the control makes them, by name and with its wire types.
    static QVariantList address(const char *key, const QVariant &third, const QVariant &sixth)
    {
        return {int16(0), QString::fromLatin1(key), third, int16(0), int16(0), sixth};
    }

private Q_SLOTS:
    void recordsByName()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("store.db"));
        {
            SqliteStore store(path);
            callByName(&store, QStringLiteral("QueryRecord"),
                       address("LastDataPath", QStringLiteral("0"), int16(0)));
            QCOMPARE(toInt32(callByName(&store, QStringLiteral("GetRSSize"))), 0);
            callByName(&store, QStringLiteral("AddRecord"),
                       address("LastDataPath", QStringLiteral("0"), QStringLiteral("/srv/a")));
            callByName(&store, QStringLiteral("QueryRecord"),
                       address("LastDataPath", QStringLiteral("0"), int16(0)));
            QCOMPARE(toInt32(callByName(&store, QStringLiteral("GetRSSize"))), 1);
            QCOMPARE(toText(callByName(&store, QStringLiteral("GetRSContent"))),
                     QStringLiteral("/srv/a"));
            callByName(&store, QStringLiteral("EditRecord"),
                       address("LastDataPath", QStringLiteral("0"), QStringLiteral("/srv/b")));
            QVERIFY_THROWS_EXCEPTION(
                RuntimeError,
                callByName(&store, QStringLiteral("AddRecord"),
                           address("LastDataPath", QStringLiteral("0"), QStringLiteral("x"))));
            QVERIFY_THROWS_EXCEPTION(
                RuntimeError,
                callByName(&store, QStringLiteral("EditRecord"),
                           address("Missing", QStringLiteral("0"), QStringLiteral("x"))));
            store.setRecord(QStringLiteral("QRTManagerCaption"), QStringLiteral("QRTDataManager"));
        }
        // Records survive a restart; a 16-bit 0 and the text "0" address the same record.
        SqliteStore again(path);
        QCOMPARE(again.record(QStringLiteral("LastDataPath")),
                 std::optional<QString>(QStringLiteral("/srv/b")));
        callByName(&again, QStringLiteral("QueryRecord"),
                   address("QRTManagerCaption", int16(0), int16(0)));
        QCOMPARE(toText(callByName(&again, QStringLiteral("GetRSContent"))),
                 QStringLiteral("QRTDataManager"));
    }

    void openFailuresAreClear()
    {
        QTemporaryDir dir;
        try {
            SqliteStore store(dir.filePath(QStringLiteral("missing/store.db")));
            QFAIL("a store in a missing folder must not open");
        } catch (const RuntimeError &e) {
            QCOMPARE(e.number(), 75);
            QVERIFY2(e.description().startsWith(QStringLiteral("Cannot open the record store ")),
                     e.what());
        }
        const QString junk = dir.filePath(QStringLiteral("junk.db"));
        QFile f(junk);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(4096, 'j'));
        f.close();
        try {
            SqliteStore store(junk);
            QFAIL("a file that is no database must not open");
        } catch (const RuntimeError &e) {
            QVERIFY2(e.description().contains(QStringLiteral("junk.db")), e.what());
        }
    }
};

QTEST_GUILESS_MAIN(tst_SqliteStore)
#include "tst_sqlitestore.moc"
