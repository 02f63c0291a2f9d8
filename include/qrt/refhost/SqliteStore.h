#pragma once

#include <qrt/refhost/qrt_refhost_export.h>

#include <QObject>
#include <QString>
#include <QVariant>

#include <optional>

namespace qrt::ref
{

/// The system store on SQLite. A record is addressed by six values (see HostContract.h);
/// the first, third, fourth and fifth are kept as text, so 0 and "0" address the same record.
class QRT_REFHOST_EXPORT SqliteStore : public QObject
{
    Q_OBJECT
public:
    /// Opens or creates the store at @p path. Throws RuntimeError 75 with the reason when the
    /// file cannot be opened or is not a record store.
    explicit SqliteStore(const QString &path, QObject *parent = nullptr);
    ~SqliteStore() override;

    /// Selects the record at that address (the sixth value is not used).
    Q_INVOKABLE void QueryRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                                 const QVariant &a4, const QVariant &a5, const QVariant &a6);
    /// The number of records the last query selected: 0 or 1.
    Q_INVOKABLE qint32 GetRSSize() const { return m_size; }
    /// The content of the record the last query selected.
    Q_INVOKABLE QString GetRSContent() const { return m_content; }
    /// RuntimeError 75 when the record exists already.
    Q_INVOKABLE void AddRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                               const QVariant &a4, const QVariant &a5, const QVariant &content);
    /// RuntimeError 75 when there is no such record.
    Q_INVOKABLE void EditRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                                const QVariant &a4, const QVariant &a5, const QVariant &content);

    /// The content of the record (0, key, third, 0, 0), if there is one.
    std::optional<QString> record(const QString &key, const QString &third = QStringLiteral("0"));
    /// Adds or replaces that record.
    void setRecord(const QString &key, const QString &content,
                   const QString &third = QStringLiteral("0"));
    /// Deletes that record, if there is one.
    void removeRecord(const QString &key, const QString &third = QStringLiteral("0"));

private:
    void exec(const QString &sql, const QVariantList &values, const char *what);
    QString m_connection;
    QString m_path;
    qint32 m_size = 0;
    QString m_content;
};

} // namespace qrt::ref
