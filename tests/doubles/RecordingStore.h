#pragma once

#include <QHash>
#include <QObject>
#include <QVariant>

namespace qrt::doubles
{

/// An in-memory system store that logs every call as "Store.Member(...)". Records are keyed
/// by their key (the second address value); the content is kept exactly as sent.
class RecordingStore : public QObject
{
    Q_OBJECT
public:
    explicit RecordingStore(QObject *parent = nullptr);

    Q_INVOKABLE QVariant QueryRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                                     const QVariant &a4, const QVariant &a5, const QVariant &a6);
    Q_INVOKABLE QVariant GetRSSize();
    Q_INVOKABLE QVariant GetRSContent();
    Q_INVOKABLE QVariant AddRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                                   const QVariant &a4, const QVariant &a5, const QVariant &content);
    Q_INVOKABLE QVariant EditRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                                    const QVariant &a4, const QVariant &a5,
                                    const QVariant &content);

    QHash<QString, QVariant> records;
    QVariant sizeOverride; // when valid, "GetRSSize" answers this

private:
    QString m_selected;
};

} // namespace qrt::doubles
