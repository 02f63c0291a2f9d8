#include <qrt/Automation.h>
#include <qrt/RuntimeError.h>

#include <QHash>
#include <QLocale>
#include <QMetaMethod>
#include <QMetaProperty>
#include <QVarLengthArray>

#include <cmath>
#include <limits>
#include <memory>
#include <unordered_map>

namespace qrt
{

namespace
{

enum class Access { Get, Set, Call };

// How a method's result is received; worked out once per member so that a call does not ask
// the meta-type system again.
enum class Ret { Void, Variant, Object, Int, Bool, String, Other };

struct Resolved {
    enum Kind { None, Property, Method } kind = None;
    int index = -1; // absolute, as qt_metacall expects it
    QMetaType type; // property type or method return type
    Ret ret = Ret::Other;
    bool int32Param = false;   // exactly one parameter, a 32-bit integer
    bool variantParam = false; // exactly one parameter, a QVariant
    QVarLengthArray<QMetaType, 3> params;
    // The declaring class's own dispatcher and the method's index in it: a call through it
    // skips the chain of virtual qt_metacall overrides, which a million-draw load makes tens
    // of millions of times.
    // That dispatcher is read from QMetaObject's private data, which Qt does not promise to
    // keep; without it the call goes through the documented QMetaMethod::invoke.
    QMetaObject::Data::StaticMetacallFunction direct = nullptr;
    int directIndex = -1;
    QMetaMethod method;

    void invoke(QObject *obj, void **argv) const
    {
        if (direct)
            direct(obj, QMetaObject::InvokeMetaMethod, directIndex, argv);
        else
            invokeThroughMetaMethod(obj, argv);
    }

    // argv as qt_metacall takes it: the result's storage (or null), then each argument's.
    void invokeThroughMetaMethod(QObject *obj, void **argv) const
    {
        const QList<QByteArray> names = method.parameterTypes();
        if (names.size() > 10)
            throw RuntimeError(5); // QMetaMethod::invoke passes ten arguments at most
        QGenericArgument args[10];
        for (qsizetype i = 0; i < names.size(); ++i)
            args[i] = QGenericArgument(names[i].constData(), argv[i + 1]);
        const QGenericReturnArgument result =
            argv[0] && ret != Ret::Void ? QGenericReturnArgument(method.typeName(), argv[0])
                                        : QGenericReturnArgument();
        if (!method.invoke(obj, Qt::DirectConnection, result, args[0], args[1], args[2], args[3],
                           args[4], args[5], args[6], args[7], args[8], args[9]))
            throw RuntimeError(440);
    }
};

// QRT_LATE_BINDING=metamethod in the environment sends every call through
// QMetaMethod::invoke, as a Qt without the private dispatcher would; the tests run once so.
bool dispatcherAllowed()
{
    static const bool allowed = qgetenv("QRT_LATE_BINDING") != "metamethod";
    return allowed;
}

Ret returnKind(QMetaType type)
{
    if (!type.isValid() || type.id() == QMetaType::Void)
        return Ret::Void;
    if (type == QMetaType::fromType<QVariant>())
        return Ret::Variant;
    if (type.flags() & QMetaType::PointerToQObject)
        return Ret::Object;
    switch (type.id()) {
    case QMetaType::Int:
        return Ret::Int;
    case QMetaType::Bool:
        return Ret::Bool;
    case QMetaType::QString:
        return Ret::String;
    default:
        return Ret::Other;
    }
}

struct Key {
    const QMetaObject *mo;
    QString name;
    int argc;
    Access access;
    bool operator==(const Key &o) const
    {
        return mo == o.mo && argc == o.argc && access == o.access && name == o.name;
    }
};

struct KeyHash {
    size_t operator()(const Key &k) const noexcept
    {
        return qHash(k.name, size_t(k.argc) * 3 + size_t(k.access)) ^
               std::hash<const void *>()(k.mo);
    }
};

// Host classes are few, so entries are never evicted; nodes keep their address, which lets
// Member point at them.
std::unordered_map<Key, std::unique_ptr<Resolved>, KeyHash> &cache()
{
    static std::unordered_map<Key, std::unique_ptr<Resolved>, KeyHash> c;
    return c;
}

QHash<QString, std::function<QObject *()>> &registry()
{
    static QHash<QString, std::function<QObject *()>> r;
    return r;
}

Resolved resolveUncached(const QMetaObject *mo, const QString &name, int argc, Access access)
{
    Resolved r;
    const QByteArray latin = name.toLatin1();
    if (access != Access::Call || argc == 0) {
        const int p = mo->indexOfProperty(latin.constData());
        if (p >= 0) {
            const QMetaProperty prop = mo->property(p);
            if (access != Access::Set || prop.isWritable()) {
                r.kind = Resolved::Property;
                r.index = p;
                r.type = prop.metaType();
                return r;
            }
        }
    }
    if (access == Access::Set)
        return r;
    // Scan from the most derived class down so that a host subclass can shadow a member.
    for (int i = mo->methodCount() - 1; i >= 0; --i) {
        const QMetaMethod m = mo->method(i);
        const bool callable =
            m.methodType() == QMetaMethod::Method ||
            (m.methodType() == QMetaMethod::Slot && m.access() == QMetaMethod::Public);
        if (!callable || m.parameterCount() != argc || m.name() != latin)
            continue;
        r.kind = Resolved::Method;
        r.index = m.methodIndex();
        r.type = m.returnMetaType();
        r.ret = returnKind(r.type);
        for (int a = 0; a < argc; ++a)
            r.params.append(m.parameterMetaType(a));
        r.int32Param = argc == 1 && r.params[0] == QMetaType::fromType<qint32>();
        r.variantParam = argc == 1 && r.params[0] == QMetaType::fromType<QVariant>();
        // A meta-object built at run time has no dispatcher of its own and is answered
        // through qt_metacall.
        r.method = m;
        const QMetaObject *owner = m.enclosingMetaObject();
        if (owner && owner->d.static_metacall && dispatcherAllowed()) {
            r.direct = owner->d.static_metacall;
            r.directIndex = r.index - owner->methodOffset();
        }
        return r;
    }
    return r;
}

const Resolved *resolve(const QMetaObject *mo, const QString &name, int argc, Access access)
{
    auto &c = cache();
    Key key{mo, name, argc, access};
    auto it = c.find(key);
    if (it == c.end())
        it = c.emplace(std::move(key),
                       std::make_unique<Resolved>(resolveUncached(mo, name, argc, access)))
                 .first;
    return it->second.get();
}

const Resolved *resolveWithSlot(const QMetaObject *mo, const QString &name, int argc, Access access,
                                const void *&slotResolved, const QMetaObject *&slotMo)
{
    if (slotMo == mo)
        return static_cast<const Resolved *>(slotResolved);
    const Resolved *r = resolve(mo, name, argc, access);
    slotMo = mo;
    slotResolved = r;
    return r;
}

// A result holding a pointer to a QObject subclass comes back holding a QObject pointer. The
// pointer flag is looked at first: it is read in place, where comparing meta-types may look
// up their ids, a cost a boxing host pays on every one of millions of calls.
void normalizeResult(QVariant &v)
{
    const QMetaType type = v.metaType();
    if ((type.flags() & QMetaType::PointerToQObject) && type != QMetaType::fromType<QObject *>())
        v = QVariant::fromValue(*static_cast<QObject *const *>(v.constData()));
}

// Host members signal failure by throwing; whatever they throw reaches the control as a
// RuntimeError so that one catch at a handler's edge covers every host.
template <typename F> void guardHost(F &&f)
{
    try {
        f();
    } catch (const RuntimeError &) {
        throw;
    } catch (const std::exception &e) {
        throw RuntimeError(440, QString::fromUtf8(e.what()));
    }
}

QVariant readProperty(QObject *obj, const Resolved &r)
{
    QVariant value;
    int status = -1;
    void *argv[] = {nullptr, &value, &status};
    if (r.type == QMetaType::fromType<QVariant>()) {
        argv[0] = &value;
    } else {
        value = QVariant(r.type, nullptr);
        argv[0] = value.data();
    }
    guardHost([&] { obj->qt_metacall(QMetaObject::ReadProperty, r.index, argv); });
    normalizeResult(value);
    return value;
}

void writeProperty(QObject *obj, const Resolved &r, const QVariant &value)
{
    QVariant v = value;
    if (r.type != QMetaType::fromType<QVariant>() && v.metaType() != r.type && !v.convert(r.type))
        throw RuntimeError(13);
    int status = -1;
    int flags = 0;
    void *argv[] = {nullptr, &v, &status, &flags};
    argv[0] = r.type == QMetaType::fromType<QVariant>() ? static_cast<void *>(&v) : v.data();
    guardHost([&] { obj->qt_metacall(QMetaObject::WriteProperty, r.index, argv); });
}

// Calls the method with its arguments already in place (argv[1] on); argv[0] is set here.
QVariant callWithArgv(QObject *obj, const Resolved &r, void **argv)
{
    QVariant result;
    // The common result types land in plain locals and are boxed once afterwards.
    switch (r.ret) {
    case Ret::Object: {
        QObject *value = nullptr; // any QObject subclass pointer has the same representation
        argv[0] = &value;
        guardHost([&] { r.invoke(obj, argv); });
        return QVariant::fromValue(value);
    }
    case Ret::Int: {
        qint32 value = 0;
        argv[0] = &value;
        guardHost([&] { r.invoke(obj, argv); });
        return QVariant(value);
    }
    case Ret::String: {
        QString value;
        argv[0] = &value;
        guardHost([&] { r.invoke(obj, argv); });
        return QVariant(value);
    }
    case Ret::Void:
        argv[0] = nullptr;
        break;
    case Ret::Variant:
        argv[0] = &result;
        break;
    case Ret::Bool:
    case Ret::Other:
        result = QVariant(r.type, nullptr);
        argv[0] = result.data();
        break;
    }
    guardHost([&] { r.invoke(obj, argv); });
    normalizeResult(result);
    return result;
}

// The typed calls: a method whose result already has the wanted type is called without
// boxing; any other member goes the general way and its result is converted as usual.
template <typename T> bool callTyped(QObject *obj, const Resolved &r, Ret want, void *arg, T &out)
{
    if (r.kind != Resolved::Method || r.ret != want || (arg && !r.int32Param))
        return false;
    void *argv[2] = {&out, arg};
    guardHost([&] { r.invoke(obj, argv); });
    return true;
}

QVariant invokeMethod(QObject *obj, const Resolved &r, const QVariant *args, int argc)
{
    const QMetaType variantType = QMetaType::fromType<QVariant>();
    // Arguments already of the parameter's type are passed in place; only the others are
    // copied and converted, into storage that never moves once pointed to.
    QVarLengthArray<QVariant, 6> converted;
    converted.reserve(argc);
    QVarLengthArray<void *, 7> argv(argc + 1);
    for (int i = 0; i < argc; ++i) {
        if (r.params[i] == variantType) {
            argv[i + 1] = const_cast<QVariant *>(&args[i]);
        } else if (args[i].metaType() == r.params[i]) {
            argv[i + 1] = const_cast<void *>(args[i].constData());
        } else {
            converted.append(args[i]);
            if (!converted.last().convert(r.params[i]))
                throw RuntimeError(13);
            argv[i + 1] = converted.last().data();
        }
    }
    return callWithArgv(obj, r, argv.data());
}

QVariant dispatch(QObject *obj, const Resolved *r, const QVariant *args, int argc)
{
    switch (r->kind) {
    case Resolved::Property:
        return readProperty(obj, *r);
    case Resolved::Method:
        return invokeMethod(obj, *r, args, argc);
    case Resolved::None:
        break;
    }
    throw RuntimeError(438);
}

bool isIntegral(int id)
{
    switch (id) {
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

bool isFloating(int id)
{
    return id == QMetaType::Double || id == QMetaType::Float;
}

qint32 roundToInt32(double d)
{
    if (!std::isfinite(d))
        throw RuntimeError(6);
    // nearbyint honours the default rounding mode, which rounds halves to even.
    const double r = std::nearbyint(d);
    if (r < double(std::numeric_limits<qint32>::min()) ||
        r > double(std::numeric_limits<qint32>::max()))
        throw RuntimeError(6);
    return qint32(r);
}

bool parseDecimal(const QString &text, double &out)
{
    const QString t = text.trimmed();
    int i = 0;
    const int n = int(t.size());
    if (i < n && (t[i] == u'+' || t[i] == u'-'))
        ++i;
    int digits = 0;
    while (i < n && t[i].isDigit() && t[i].unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && t[i] == u'.') {
        ++i;
        while (i < n && t[i] >= u'0' && t[i] <= u'9') {
            ++i;
            ++digits;
        }
    }
    if (digits == 0 || i != n)
        return false;
    bool ok = false;
    out = t.toDouble(&ok);
    return ok;
}

} // namespace

void registerClass(const QString &progId, std::function<QObject *()> factory)
{
    if (factory)
        registry()[progId] = std::move(factory);
    else
        registry().remove(progId);
}

QObject *createObject(const QString &progId)
{
    const auto it = registry().constFind(progId);
    if (it == registry().constEnd())
        throw RuntimeError(429);
    QObject *obj = nullptr;
    guardHost([&] { obj = (*it)(); });
    if (!obj)
        throw RuntimeError(429);
    return obj;
}

QVariant callByName(QObject *obj, const QString &name, const QVariantList &args)
{
    if (!obj)
        throw RuntimeError(91);
    const int argc = int(args.size());
    const Resolved *r =
        resolve(obj->metaObject(), name, argc, argc == 0 ? Access::Get : Access::Call);
    return dispatch(obj, r, args.constData(), argc);
}

void setByName(QObject *obj, const QString &name, const QVariant &value)
{
    if (!obj)
        throw RuntimeError(91);
    const Resolved *r = resolve(obj->metaObject(), name, 1, Access::Set);
    if (r->kind != Resolved::Property)
        throw RuntimeError(438);
    writeProperty(obj, *r, value);
}

namespace
{
// A call with one 32-bit argument, its member looked up already.
QVariant callWithInt32(QObject *obj, const Resolved *r, qint32 arg)
{
    // A 32-bit parameter takes the argument as it is, without boxing it first.
    if (r->kind == Resolved::Method && r->int32Param) {
        void *argv[2] = {nullptr, &arg};
        return callWithArgv(obj, *r, argv);
    }
    QVariant boxed(arg);
    // A QVariant parameter takes the box as it is, without a general dispatch.
    if (r->kind == Resolved::Method && r->variantParam) {
        void *argv[2] = {nullptr, &boxed};
        return callWithArgv(obj, *r, argv);
    }
    return dispatch(obj, r, &boxed, 1);
}

// A host that boxes its numbers still hands back a plain 32-bit integer, nearly always.
bool boxedInt32(const QVariant &result, qint32 &value)
{
    if (result.metaType() != QMetaType::fromType<qint32>())
        return false;
    value = *static_cast<const qint32 *>(result.constData());
    return true;
}
} // namespace

QVariant Member::operator()(QObject *obj, qint32 arg) const
{
    return callWithInt32(obj, static_cast<const Resolved *>(resolved(obj, 1)), arg);
}

QVariant Member::invoke(QObject *obj, const QVariant *args, int argc) const
{
    const auto *r = static_cast<const Resolved *>(resolved(obj, argc));
    return dispatch(obj, r, args, argc);
}

const void *Member::resolved(QObject *obj, int argc) const
{
    if (!obj)
        throw RuntimeError(91);
    const Access access = argc == 0 ? Access::Get : Access::Call;
    if (argc > 6) // beyond the remembered slots
        return resolve(obj->metaObject(), m_name, argc, access);
    Slot &slot = argc == 0 ? m_get : m_call[argc - 1];
    return resolveWithSlot(obj->metaObject(), m_name, argc, access, slot.resolved, slot.mo);
}

qint32 Member::int32(QObject *obj) const
{
    const auto *r = static_cast<const Resolved *>(resolved(obj, 0));
    qint32 value = 0;
    if (callTyped(obj, *r, Ret::Int, nullptr, value))
        return value;
    return toInt32(dispatch(obj, r, nullptr, 0));
}

qint32 Member::int32(QObject *obj, qint32 arg) const
{
    const auto *r = static_cast<const Resolved *>(resolved(obj, 1));
    qint32 value = 0;
    if (callTyped(obj, *r, Ret::Int, &arg, value))
        return value;
    return toInt32(callWithInt32(obj, r, arg));
}

QObject *Member::object(QObject *obj, qint32 arg) const
{
    const auto *r = static_cast<const Resolved *>(resolved(obj, 1));
    QObject *value = nullptr;
    if (!callTyped(obj, *r, Ret::Object, &arg, value))
        return toObject(callWithInt32(obj, r, arg));
    if (!value)
        throw RuntimeError(91);
    return value;
}

QString Member::text(QObject *obj) const
{
    const auto *r = static_cast<const Resolved *>(resolved(obj, 0));
    QString value;
    if (callTyped(obj, *r, Ret::String, nullptr, value))
        return value;
    return toText(dispatch(obj, r, nullptr, 0));
}

bool Member::isTrue(QObject *obj) const
{
    const auto *r = static_cast<const Resolved *>(resolved(obj, 0));
    bool value = false;
    if (callTyped(obj, *r, Ret::Bool, nullptr, value))
        return value;
    return equalsTrue(dispatch(obj, r, nullptr, 0));
}

void Member::sendArgs(QObject *obj, void **argv, const QMetaType *types, int argc) const
{
    const auto *r = static_cast<const Resolved *>(resolved(obj, argc));
    bool inPlace = r->kind == Resolved::Method;
    for (int i = 0; i < argc && inPlace; ++i)
        inPlace = r->params[i] == types[i];
    if (inPlace) {
        argv[0] = nullptr; // moc-generated code skips a result nobody asked for
        guardHost([&] { r->invoke(obj, argv); });
        return;
    }
    QVarLengthArray<QVariant, 6> boxed;
    for (int i = 0; i < argc; ++i)
        boxed.append(QVariant(types[i], argv[i + 1]));
    dispatch(obj, r, boxed.constData(), argc);
}

bool Member::int32Or(QObject *obj, qint32 &value, QVariant &other) const
{
    const auto *r = static_cast<const Resolved *>(resolved(obj, 0));
    if (callTyped(obj, *r, Ret::Int, nullptr, value))
        return true;
    other = dispatch(obj, r, nullptr, 0);
    return boxedInt32(other, value);
}

bool Member::int32Or(QObject *obj, qint32 arg, qint32 &value, QVariant &other) const
{
    const auto *r = static_cast<const Resolved *>(resolved(obj, 1));
    if (callTyped(obj, *r, Ret::Int, &arg, value))
        return true;
    other = callWithInt32(obj, r, arg);
    return boxedInt32(other, value);
}

void Member::set(QObject *obj, const QVariant &value) const
{
    if (!obj)
        throw RuntimeError(91);
    const Resolved *r =
        resolveWithSlot(obj->metaObject(), m_name, 1, Access::Set, m_set.resolved, m_set.mo);
    if (r->kind != Resolved::Property)
        throw RuntimeError(438);
    writeProperty(obj, *r, value);
}

QObject *toObject(const QVariant &value)
{
    if (!(value.metaType().flags() & QMetaType::PointerToQObject))
        throw RuntimeError(value.isValid() ? 424 : 91);
    QObject *obj = *static_cast<QObject *const *>(value.constData());
    if (!obj)
        throw RuntimeError(91);
    return obj;
}

qint32 toInt32(const QVariant &value)
{
    if (!value.isValid())
        return 0;
    const int id = value.metaType().id();
    if (id == QMetaType::Int)
        return *static_cast<const int *>(value.constData());
    if (id == QMetaType::Bool)
        return value.toBool() ? -1 : 0;
    if (isIntegral(id)) {
        if (id == QMetaType::ULongLong || id == QMetaType::ULong || id == QMetaType::UInt) {
            const qulonglong u = value.toULongLong();
            if (u > qulonglong(std::numeric_limits<qint32>::max()))
                throw RuntimeError(6);
            return qint32(u);
        }
        const qlonglong v = value.toLongLong();
        if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
            throw RuntimeError(6);
        return qint32(v);
    }
    if (isFloating(id))
        return roundToInt32(value.toDouble());
    if (id == QMetaType::QString)
        return toInt32(*static_cast<const QString *>(value.constData()));
    throw RuntimeError(13);
}

qint32 toInt32(const QString &text)
{
    // Whole numbers, by far the common case, without a detour through floating point.
    const QStringView t = QStringView(text).trimmed();
    qsizetype i = t.startsWith(u'-') || t.startsWith(u'+') ? 1 : 0;
    if (i < t.size()) {
        qint64 v = 0;
        for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
            v = v * 10 + (t[i].unicode() - u'0');
            if (v > qint64(std::numeric_limits<qint32>::max()) + 1)
                throw RuntimeError(6);
        }
        if (i == t.size()) {
            v = t.startsWith(u'-') ? -v : v;
            if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
                throw RuntimeError(6);
            return qint32(v);
        }
    }
    double d = 0;
    if (!parseDecimal(text, d))
        throw RuntimeError(13);
    return roundToInt32(d);
}

QString toText(const QVariant &value)
{
    if (!value.isValid())
        return QString();
    const int id = value.metaType().id();
    if (id == QMetaType::QString)
        return *static_cast<const QString *>(value.constData());
    if (id == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (isIntegral(id)) {
        if (id == QMetaType::ULongLong || id == QMetaType::ULong || id == QMetaType::UInt)
            return QString::number(value.toULongLong());
        return QString::number(value.toLongLong());
    }
    if (isFloating(id))
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    if (value.metaType().flags() & QMetaType::PointerToQObject)
        throw RuntimeError(13);
    if (value.canConvert<QString>())
        return value.toString();
    throw RuntimeError(13);
}

bool equalsTrue(const QVariant &value)
{
    const int id = value.metaType().id();
    if (id == QMetaType::Bool)
        return value.toBool();
    if (isIntegral(id))
        return value.toLongLong() == -1;
    if (isFloating(id))
        return value.toDouble() == -1.0;
    return false;
}

bool equalsFalse(const QVariant &value)
{
    if (!value.isValid())
        return true;
    const int id = value.metaType().id();
    if (id == QMetaType::Bool)
        return !value.toBool();
    if (isIntegral(id))
        return value.toLongLong() == 0;
    if (isFloating(id))
        return value.toDouble() == 0.0;
    return false;
}

} // namespace qrt
