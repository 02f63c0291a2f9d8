#include "CallLog.h"
#include <qrt/RuntimeError.h>

namespace qrt::doubles
{

namespace
{
QString describe(const QVariant &v)
{
    static const QHash<int, QString> wire{{QMetaType::Short, QStringLiteral("i16")},
                                          {QMetaType::Int, QStringLiteral("i32")},
                                          {QMetaType::Bool, QStringLiteral("bool")}};
    if (v.metaType().flags() & QMetaType::PointerToQObject)
        return QStringLiteral("obj");
    if (v.userType() == QMetaType::QString)
        return QStringLiteral("str \"%1\"").arg(v.toString());
    return wire.value(v.userType(), QString::fromLatin1(v.typeName())) + u' ' + v.toString();
}
} // namespace

void CallLog::add(const QString &call, const QVariantList &args)
{
    QStringList parts;
    for (const QVariant &a : args)
        parts << describe(a);
    m_entries << QStringLiteral("%1(%2)").arg(call, parts.join(QStringLiteral(", ")));
    auto it = failures.find(call);
    if (it == failures.end() || it.value()-- > 0)
        return;
    failures.erase(it);
    throw RuntimeError(440, QStringLiteral("Injected failure in %1").arg(call));
}

} // namespace qrt::doubles
