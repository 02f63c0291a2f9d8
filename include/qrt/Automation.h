#pragma once

#include <qrt/qrt_export.h>

#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>
#include <initializer_list>
#include <tuple>

namespace qrt
{

/// Registers the factory that createObject() uses for @p progId. A later registration for
/// the same name replaces the earlier one; an empty factory removes it.
QRT_EXPORT void registerClass(const QString &progId, std::function<QObject *()> factory);

/// Creates an object of a registered host class. Throws RuntimeError 429 for an unknown
/// name or a factory that yields nothing. The caller owns the object unless it has a parent.
QRT_EXPORT QObject *createObject(const QString &progId);

/// Reaches a member of a host object by name: a declared Q_PROPERTY of that name is read when
/// no arguments are given; otherwise a Q_INVOKABLE method or public slot of that name taking
/// exactly as many parameters as @p args holds is called. Each argument is converted to the
/// parameter's declared type, or passed as sent to a QVariant parameter. An object result
/// comes back as a QVariant holding a QObject pointer.
///
/// Throws RuntimeError 91 when @p obj is null, 438 when no such member exists, 13 when an
/// argument cannot be converted; an exception thrown by the member itself passes through
/// (anything but a RuntimeError arrives as RuntimeError 440).
QRT_EXPORT QVariant callByName(QObject *obj, const QString &name, const QVariantList &args = {});

/// Assigns @p value to the property @p name of @p obj (same errors as callByName()).
QRT_EXPORT void setByName(QObject *obj, const QString &name, const QVariant &value);

/// A member name with its lookup remembered for the last class it was used on, for call sites
/// that reach the same member of the same class many times in a row.
class QRT_EXPORT Member
{
public:
    /// The member called @p name, as the host object spells it.
    explicit Member(const char *name) : m_name(QString::fromLatin1(name)) {}

    /// Reads or calls the member on @p obj with @p args, as callByName() does.
    QVariant operator()(QObject *obj, std::initializer_list<QVariant> args = {}) const
    {
        return invoke(obj, args.begin(), int(args.size()));
    }
    /// The same with one 32-bit argument, passed without boxing when the member takes one.
    QVariant operator()(QObject *obj, qint32 arg) const;
    /// The same with the arguments in a list.
    QVariant call(QObject *obj, const QVariantList &args) const
    {
        return invoke(obj, args.constData(), int(args.size()));
    }
    /// Writes the member, as setByName() does.
    void set(QObject *obj, const QVariant &value) const;
    /// The member's name.
    const QString &name() const { return m_name; }

    /// The calls above with their result taken as toInt32(), toObject(), toText() or
    /// equalsTrue() would take it, and the same errors. A method that already returns that
    /// type is called without boxing its result: a third of the cost of a getter call.
    ///@{
    qint32 int32(QObject *obj) const;
    qint32 int32(QObject *obj, qint32 arg) const;
    QObject *object(QObject *obj, qint32 arg) const;
    QString text(QObject *obj) const;
    bool isTrue(QObject *obj) const;
    ///@}
    /// For call sites that treat a 32-bit integer result apart from others: true with
    /// @p value set when the result is a 32-bit integer (returned as one, or in a QVariant),
    /// otherwise false with @p other holding the result exactly as operator() gives it.
    ///@{
    bool int32Or(QObject *obj, qint32 &value, QVariant &other) const;
    bool int32Or(QObject *obj, qint32 arg, qint32 &value, QVariant &other) const;
    ///@}

    /// Calls with the given arguments and drops the result, as a statement call does. When
    /// the method's parameters have exactly the arguments' types, the arguments are passed in
    /// place; otherwise they are boxed and converted as operator() would.
    template <typename... Args> void send(QObject *obj, const Args &...args) const
    {
        static_assert(sizeof...(Args) > 0 && sizeof...(Args) <= 6);
        // Copies, so that a member taking a reference cannot write to the caller's values.
        std::tuple<Args...> copies(args...);
        std::apply(
            [&](Args &...values) {
                void *argv[] = {nullptr, static_cast<void *>(&values)...};
                const QMetaType types[] = {QMetaType::fromType<Args>()...};
                sendArgs(obj, argv, types, int(sizeof...(Args)));
            },
            copies);
    }

private:
    const void *resolved(QObject *obj, int argc) const;
    void sendArgs(QObject *obj, void **argv, const QMetaType *types, int argc) const;
    QVariant invoke(QObject *obj, const QVariant *args, int argc) const;

    struct Slot {
        const QMetaObject *mo = nullptr;
        const void *resolved = nullptr;
    };
    QString m_name;
    mutable Slot m_get;
    mutable Slot m_set;
    mutable Slot m_call[6]; // by number of arguments, 1 to 6
};

/// The object that a host result holds. Throws RuntimeError 91 for an empty value or a null
/// object and 424 for a value that is not an object.
QRT_EXPORT QObject *toObject(const QVariant &value);

/// How host results are used. Each throws RuntimeError as documented.
///
/// Integers are range-checked (6), `bool` gives -1 or 0, floating values are rounded half to
/// even, strings may hold a decimal number with blanks around it, an invalid QVariant is 0;
/// anything else is a type mismatch (13).
QRT_EXPORT qint32 toInt32(const QVariant &value);
/// The same for a text, without boxing it first.
QRT_EXPORT qint32 toInt32(const QString &text);
/// Strings as they are, integers in decimal, `bool` as "True"/"False", an invalid QVariant as
/// ""; an object is a type mismatch (13).
QRT_EXPORT QString toText(const QVariant &value);
/// A `bool` true or a number equal to -1.
QRT_EXPORT bool equalsTrue(const QVariant &value);
/// A `bool` false, a number equal to 0, or an invalid QVariant.
QRT_EXPORT bool equalsFalse(const QVariant &value);

/// The wire types of host calls.
///@{
inline QVariant int16(qint16 v)
{
    return QVariant::fromValue<qint16>(v);
}
inline QVariant int32(qint32 v)
{
    return QVariant::fromValue<qint32>(v);
}
inline QVariant object(QObject *o)
{
    return QVariant::fromValue<QObject *>(o);
}
///@}

} // namespace qrt
