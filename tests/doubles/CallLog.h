#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace qrt::doubles
{

/// The calls that the recording host objects received, in order, one line each, written as
/// `Object.Member(type value, ...)` with the wire type of every argument (i16, i32, str,
/// bool, obj; anything else by its Qt type name), for example `Store.QueryRecord(i16 0,
/// str "LastReadFile", str "0", i16 0, i16 0, i16 0)`.
class CallLog
{
public:
    static CallLog &instance();

    void add(const QString &object, const QString &member, const QVariantList &args = {});
    QStringList entries() const { return m_entries; }
    /// The entries that start with @p prefix.
    QStringList filtered(const QString &prefix) const;
    void clear() { m_entries.clear(); }
    void setEnabled(bool on) { m_enabled = on; }
    /// Called with every new entry, for tests that look at the world at the moment of a call.
    std::function<void(const QString &entry)> onAdd;

    static QString describe(const QVariant &value);

private:
    QStringList m_entries;
    bool m_enabled = true;
};

/// Makes the next @p member call on @p object (the name used in the log) throw a
/// RuntimeError 440, after @p skip successful calls. Cleared by clearFailures().
void failOn(const QString &object, const QString &member, int skip = 0);
void clearFailures();
/// Throws when a failure was planned for this call; called by every recording member.
void maybeFail(const QString &object, const QString &member);

} // namespace qrt::doubles
