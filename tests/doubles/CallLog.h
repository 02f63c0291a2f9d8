#pragma once

#include <QHash>
#include <QStringList>
#include <QVariant>

namespace qrt::doubles
{

/// The calls that the recording host objects received, in order, one line each, written as
/// `Object.Member(type value, ...)` with the wire type of every argument (i16, i32, str,
/// bool, obj; anything else by its Qt type name), for example `Store.QueryRecord(i16 0,
/// str "LastReadFile", str "0", i16 0, i16 0, i16 0)`.
class CallLog
{
public:
    static CallLog &instance()
    {
        static CallLog log;
        return log;
    }

    /// Logs @p call ("Object.Member"), then throws the RuntimeError 440 failOn() planned for it.
    void add(const QString &call, const QVariantList &args = {});
    QStringList entries() const { return m_entries; }
    /// The entries that contain @p text.
    QStringList filtered(const QString &text) const { return m_entries.filter(text); }
    /// Forgets the entries and the failures planned.
    void clear()
    {
        m_entries.clear();
        failures.clear();
    }
    /// Calls ("Object.Member") that fail once, after the given number of successful ones.
    QHash<QString, int> failures;

private:
    QStringList m_entries;
};

/// Makes the next @p call ("Draws.SaveData") fail, after @p skip successful ones.
inline void failOn(const QString &call, int skip = 0)
{
    CallLog::instance().failures.insert(call, skip);
}
/// Logs a call of a recording member and hands back its @p result.
inline QVariant logged(const char *call, const QVariantList &args = {}, const QVariant &result = {})
{
    CallLog::instance().add(QString::fromLatin1(call), args);
    return result;
}

} // namespace qrt::doubles
