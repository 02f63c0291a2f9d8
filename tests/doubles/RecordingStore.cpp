#include "RecordingStore.h"
#include "CallLog.h"

namespace qrt::doubles
{

namespace
{
const QString kStore = QStringLiteral("Store");

void record(const QString &member, const QVariantList &args = {})
{
    CallLog::instance().add(kStore, member, args);
    maybeFail(kStore, member);
}
} // namespace

RecordingStore::RecordingStore(QObject *parent) : QObject(parent) {}

QVariant RecordingStore::QueryRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                                     const QVariant &a4, const QVariant &a5, const QVariant &a6)
{
    record(QStringLiteral("QueryRecord"), {a1, key, a3, a4, a5, a6});
    m_selected = key.toString();
    return {};
}

QVariant RecordingStore::GetRSSize()
{
    record(QStringLiteral("GetRSSize"));
    if (sizeOverride.isValid())
        return sizeOverride;
    return qint32(records.contains(m_selected) ? 1 : 0);
}

QVariant RecordingStore::GetRSContent()
{
    record(QStringLiteral("GetRSContent"));
    return records.value(m_selected);
}

QVariant RecordingStore::AddRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                                   const QVariant &a4, const QVariant &a5, const QVariant &content)
{
    record(QStringLiteral("AddRecord"), {a1, key, a3, a4, a5, content});
    records.insert(key.toString(), content);
    return {};
}

QVariant RecordingStore::EditRecord(const QVariant &a1, const QVariant &key, const QVariant &a3,
                                    const QVariant &a4, const QVariant &a5, const QVariant &content)
{
    record(QStringLiteral("EditRecord"), {a1, key, a3, a4, a5, content});
    records.insert(key.toString(), content);
    return {};
}

} // namespace qrt::doubles
