#include <qrt/Automation.h>
#include <qrt/RuntimeError.h>
#include <qrt/refhost/SqliteStore.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace qrt::ref
{

namespace
{
constexpr int kSchemaVersion = 1;

QVariantList address(const QVariant &a1, const QVariant &key, const QVariant &a3,
                     const QVariant &a4, const QVariant &a5)
{
    return {toText(a1), toText(key), toText(a3), toText(a4), toText(a5)};
}
} // namespace

SqliteStore::SqliteStore(const QString &path, QObject *parent)
    : QObject(parent), m_connection(QStringLiteral("qrt-store-") + QUuid::createUuid().toString()),
      m_path(path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    auto fail = [&](const QString &why) {
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connection);
        throw RuntimeError(75,
                           QStringLiteral("Cannot open the record store %1: %2").arg(path, why));
    };
    if (!db.isValid())
        fail(QStringLiteral("the SQLite driver is missing (install libqt6sql6-sqlite)"));
    if (!db.open())
        fail(db.lastError().text());
    // The layout is versioned, so that a store of another program or of a later version is
    // refused with a plain word instead of failing at its first record.
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        fail(q.lastError().text());
    const int version = q.value(0).toInt();
    if (version > kSchemaVersion)
        fail(QStringLiteral("it was written by a later version of the program (layout %1; this "
                            "program reads layout %2)")
                 .arg(version)
                 .arg(kSchemaVersion));
    QStringList columns;
    if (!q.exec(QStringLiteral("PRAGMA table_info(records)")))
        fail(q.lastError().text());
    while (q.next())
        columns << q.value(1).toString();
    const QStringList expected = {"a1", "key", "a3", "a4", "a5", "content"};
    if (!columns.isEmpty() && columns != expected)
        fail(QStringLiteral("it is not a QRT record store: its table \"records\" has the "
                            "columns %1")
                 .arg(columns.join(QStringLiteral(", "))));
    // A store that is already set up is only read here: a full disk must not keep the program
    // from starting on it.
    if (version == kSchemaVersion && !columns.isEmpty())
        return;
    if (!q.exec(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS records (a1 TEXT NOT NULL, key TEXT NOT NULL, "
            "a3 TEXT NOT NULL, a4 TEXT NOT NULL, a5 TEXT NOT NULL, content TEXT, "
            "PRIMARY KEY (a1, key, a3, a4, a5))")) ||
        !q.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion)))
        fail(q.lastError().text());
}

SqliteStore::~SqliteStore()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

void SqliteStore::exec(const QString &sql, const QVariantList &values, const char *what)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    if (!q.exec())
        throw RuntimeError(75, QStringLiteral("Cannot %1 in the record store %2: %3")
                                   .arg(QLatin1String(what), m_path, q.lastError().text()));
}

void SqliteStore::QueryRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                              const QVariant &a4, const QVariant &a5, const QVariant &)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral(
        "SELECT content FROM records WHERE a1 = ? AND key = ? AND a3 = ? AND a4 = ? AND a5 = ?"));
    for (const QVariant &v : address(a1, key, a3, a4, a5))
        q.addBindValue(v);
    if (!q.exec())
        throw RuntimeError(75, QStringLiteral("Cannot read the record store %1: %2")
                                   .arg(m_path, q.lastError().text()));
    m_size = 0;
    m_content.clear();
    while (q.next()) {
        if (m_size == 0)
            m_content = q.value(0).toString();
        ++m_size;
    }
}

void SqliteStore::AddRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                            const QVariant &a4, const QVariant &a5, const QVariant &content)
{
    exec(QStringLiteral(
             "INSERT INTO records (a1, key, a3, a4, a5, content) VALUES (?, ?, ?, ?, ?, ?)"),
         address(a1, key, a3, a4, a5) << toText(content), "add a record");
}

void SqliteStore::EditRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                             const QVariant &a4, const QVariant &a5, const QVariant &content)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("UPDATE records SET content = ? WHERE a1 = ? AND key = ? AND a3 = ? "
                             "AND a4 = ? AND a5 = ?"));
    q.addBindValue(toText(content));
    for (const QVariant &v : address(a1, key, a3, a4, a5))
        q.addBindValue(v);
    if (!q.exec() || q.numRowsAffected() != 1)
        throw RuntimeError(75,
                           QStringLiteral("Cannot edit the record %1 in %2: %3")
                               .arg(toText(key), m_path,
                                    q.lastError().isValid() ? q.lastError().text()
                                                            : QStringLiteral("no such record")));
}

std::optional<QString> SqliteStore::record(const QString &key, const QString &third)
{
    QueryRecord(0, key, third, 0, 0, 0);
    if (m_size == 0)
        return std::nullopt;
    return m_content;
}

void SqliteStore::setRecord(const QString &key, const QString &content, const QString &third)
{
    exec(QStringLiteral(
             "INSERT INTO records (a1, key, a3, a4, a5, content) VALUES ('0', ?, ?, '0', '0', ?) "
             "ON CONFLICT (a1, key, a3, a4, a5) DO UPDATE SET content = excluded.content"),
         {key, third, content}, "write a record");
}

void SqliteStore::removeRecord(const QString &key, const QString &third)
{
    exec(QStringLiteral(
             "DELETE FROM records WHERE a1 = '0' AND key = ? AND a3 = ? AND a4 = '0' AND a5 = '0'"),
         {key, third}, "remove a record");
}

} // namespace qrt::ref
