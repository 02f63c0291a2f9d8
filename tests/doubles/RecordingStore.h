#pragma once

#include "CallLog.h"

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
    using QObject::QObject;

    Q_INVOKABLE QVariant QueryRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                                     const QVariant &a4, const QVariant &a5, const QVariant &a6)
    {
        m_selected = logged("Store.QueryRecord", {a1, key, a3, a4, a5, a6}, key).toString();
        return {};
    }
    Q_INVOKABLE QVariant GetRSSize()
    {
        logged("Store.GetRSSize");
        return sizeOverride.isValid() ? sizeOverride
                                      : QVariant(qint32(records.contains(m_selected)));
    }
    Q_INVOKABLE QVariant GetRSContent()
    {
        return logged("Store.GetRSContent", {}, records.value(m_selected));
    }
    Q_INVOKABLE QVariant AddRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                                   const QVariant &a4, const QVariant &a5, const QVariant &content)
    {
        return write("Store.AddRecord", {a1, key, a3, a4, a5, content});
    }
    Q_INVOKABLE QVariant EditRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                                    const QVariant &a4, const QVariant &a5, const QVariant &content)
    {
        return write("Store.EditRecord", {a1, key, a3, a4, a5, content});
    }

    QHash<QString, QVariant> records;
    QVariant sizeOverride; // when valid, "GetRSSize" answers this

private:
    QVariant write(const char *call, const QVariantList &address)
    {
        logged(call, address);
        records.insert(address[1].toString(), address[5]);
        return {};
    }
    QString m_selected;
};

} // namespace qrt::doubles
