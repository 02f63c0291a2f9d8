#include "CallLog.h"
#include <qrt/RuntimeError.h>

#include <QHash>

namespace qrt::doubles
{

namespace
{
QHash<QString, int> &failures()
{
    static QHash<QString, int> f;
    return f;
}
} // namespace

CallLog &CallLog::instance()
{
    static CallLog log;
    return log;
}

void CallLog::add(const QString &object, const QString &member, const QVariantList &args)
{
    if (!m_enabled)
        return;
    QStringList parts;
    for (const QVariant &a : args)
        parts << describe(a);
    m_entries << QStringLiteral("%1.%2(%3)").arg(object, member, parts.join(QStringLiteral(", ")));
    if (onAdd)
        onAdd(m_entries.last());
}

QStringList CallLog::filtered(const QString &prefix) const
{
    QStringList out;
    for (const QString &e : m_entries)
        if (e.startsWith(prefix))
            out << e;
    return out;
}

QString CallLog::describe(const QVariant &v)
{
    if (!v.isValid())
        return QStringLiteral("empty");
    switch (v.metaType().id()) {
    case QMetaType::Short:
        return QStringLiteral("i16 %1").arg(v.toInt());
    case QMetaType::Int:
        return QStringLiteral("i32 %1").arg(v.toInt());
    case QMetaType::QString:
        return QStringLiteral("str \"%1\"").arg(v.toString());
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("bool true") : QStringLiteral("bool false");
    default:
        break;
    }
    if (v.metaType().flags() & QMetaType::PointerToQObject)
        return QStringLiteral("obj");
    return QString::fromLatin1(v.typeName()) + u' ' + v.toString();
}

void failOn(const QString &object, const QString &member, int skip)
{
    failures().insert(object + u'.' + member, skip);
}

void clearFailures()
{
    failures().clear();
}

void maybeFail(const QString &object, const QString &member)
{
    const QString key = object + u'.' + member;
    auto it = failures().find(key);
    if (it == failures().end())
        return;
    if (it.value() > 0) {
        --it.value();
        return;
    }
    failures().erase(it);
    throw RuntimeError(440, QStringLiteral("Injected failure in %1").arg(key));
}

} // namespace qrt::doubles
