#include "TestSupport.h"
#include <qrt/Automation.h>
#include <qrt/RuntimeError.h>
#include <qrt/refhost/SqliteStore.h>

#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

using namespace qrt;
using namespace qrt::ref;

class tst_SqliteStore : public QObject
{
    Q_OBJECT

    // The calls exactly as the control makes them, by name and with its wire types: the
    // record's key, the sixth argument and the third part of its address.
    static QVariant call(QObject *store, const char *member, const char *key = nullptr,
                         const QVariant &sixth = int16(0),
                         const QVariant &third = QStringLiteral("0"))
    {
        if (!key)
            return callByName(store, QString::fromLatin1(member));
        return callByName(store, QString::fromLatin1(member),
                          {int16(0), QString::fromLatin1(key), third, int16(0), int16(0), sixth});
    }

private Q_SLOTS:
    // The calls by name as the control makes them: a record is added once and edited after,
    // and a 16-bit 0 and the text "0" address the same one. (Records surviving a restart:
    // tst_app, which reads the program's store after it quits.)
    void recordsByName()
    {
        QTemporaryDir dir;
        SqliteStore store(dir.filePath(QStringLiteral("store.db")));
        call(&store, "QueryRecord", "LastDataPath");
        QCOMPARE(toInt32(call(&store, "GetRSSize")), 0);
        call(&store, "AddRecord", "LastDataPath", QStringLiteral("/srv/a"));
        QVERIFY_THROWS_EXCEPTION(RuntimeError,
                                 call(&store, "AddRecord", "LastDataPath", QStringLiteral("x")));
        QVERIFY_THROWS_EXCEPTION(RuntimeError,
                                 call(&store, "EditRecord", "Missing", QStringLiteral("x")));
        QCOMPARE(store.record(QStringLiteral("LastDataPath")),
                 std::optional<QString>(QStringLiteral("/srv/a")));
        call(&store, "EditRecord", "LastDataPath", QStringLiteral("/srv/b"));
        call(&store, "QueryRecord", "LastDataPath", int16(0), int16(0));
        QCOMPARE(toInt32(call(&store, "GetRSSize")), 1);
        QCOMPARE(toText(call(&store, "GetRSContent")), QStringLiteral("/srv/b"));
    }

    // A store that cannot be opened, one of a later layout or of another program is refused in
    // plain words that name it; one from before the layout had a number is taken as it is.
    void refusals_data()
    {
        QTest::addColumn<QStringList>("setup"); // SQL, or "<junk>" or "<no folder>"
        QTest::addColumn<QString>("refusal");
        const QString table = QStringLiteral(
            "CREATE TABLE records (a1 TEXT NOT NULL, key TEXT NOT NULL, a3 TEXT NOT NULL, "
            "a4 TEXT NOT NULL, a5 TEXT NOT NULL, content TEXT, PRIMARY KEY (a1, key, a3, a4, a5))");
        QTest::newRow("before numbering") << QStringList{table} << QString();
        QTest::newRow("later layout") << QStringList{table, "PRAGMA user_version = 7"}
                                      << "written by a later version of the program (layout 7";
        QTest::newRow("another program")
            << QStringList{"CREATE TABLE records (id INTEGER, name TEXT)"}
            << "not a QRT record store: its table \"records\" has the columns id, name";
        QTest::newRow("no folder") << QStringList{"<no folder>"} << "unable to open";
        QTest::newRow("junk") << QStringList{"<junk>"} << "not a database";
    }
    void refusals()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, refusal);
        QTemporaryDir dir;
        const QString path = dir.filePath(setup[0] == u"<no folder>" ? "no/store.db" : "store.db");
        QFile junk(path);
        if (setup[0] == u"<junk>")
            QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write(QByteArray(4096, 'j')) == 4096);
        junk.close();
        if (!setup[0].startsWith(u'<')) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "setup");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery q(db);
            for (const QString &sql : setup)
                QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
            if (refusal.isEmpty())
                QVERIFY(q.exec(QStringLiteral(
                    "INSERT INTO records VALUES ('0', 'Kept', '0', '0', '0', 'yes')")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("setup"));
        std::optional<QString> kept;
        const QString error =
            test::errorText([&] { kept = SqliteStore(path).record(QStringLiteral("Kept")); });
        QVERIFY2(
            refusal.isEmpty()
                ? error.isEmpty() && kept == u"yes"
                : error.startsWith(QStringLiteral("75: Cannot open the record store ") + path) &&
                      error.contains(refusal),
            qPrintable(error));
    }
};

QTEST_GUILESS_MAIN(tst_SqliteStore)
#include "tst_sqlitestore.moc"
