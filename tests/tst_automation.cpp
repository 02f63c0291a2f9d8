#include "TestSupport.h"
#include <qrt/Automation.h>
#include <qrt/RuntimeError.h>

#include <QTest>

#include <limits>

using namespace qrt;

namespace
{

class HostA : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int Size READ size WRITE setSize)
public:
    int size() const { return m_size; }
    void setSize(int v) { m_size = v; }
    Q_INVOKABLE QVariant Echo(const QVariant &v) { return v; }
    Q_INVOKABLE int Add(int a, int b) { return a + b; }
    Q_INVOKABLE int Add(int a, int b, int c) { return a + b + c; }
    Q_INVOKABLE QString Name() { return QStringLiteral("A"); }
    Q_INVOKABLE int Twice(int v) { return 2 * v; }
    Q_INVOKABLE QString Label(short v) { return QString::number(v); }
    Q_INVOKABLE void Fail() { throw RuntimeError(5); }
    Q_INVOKABLE void FailStd() { throw std::runtime_error("disk on fire"); }
    Q_INVOKABLE HostA *Self() { return this; }
    Q_INVOKABLE bool Flag() { return true; }
    Q_INVOKABLE void Store(int a, int b) { m_log << QStringLiteral("Store %1 %2").arg(a).arg(b); }
    Q_INVOKABLE int StoreShort(short a)
    {
        m_log << QStringLiteral("short %1").arg(a);
        return a;
    }
    Q_INVOKABLE void StoreText(const QString &t) { m_log << QStringLiteral("text ") + t; }
    Q_INVOKABLE void StoreObject(QObject *o) { m_log << (o == this ? "self" : "other"); }
    Q_INVOKABLE void StoreVariant(const QVariant &v) { m_log << QString::fromLatin1(v.typeName()); }
    Q_INVOKABLE void Refuse(int) { throw RuntimeError(75); }
    QStringList m_log;
    Q_INVOKABLE QString Spaced() { return QStringLiteral(" 42 "); }
    Q_INVOKABLE QObject *Child(int i) { return i == 0 ? nullptr : this; }
    Q_INVOKABLE QVariant Boxed(int i) { return i == 1 ? QVariant::fromValue<QObject *>(this) : i; }
    int m_size = 3;
};

class HostB : public QObject
{
    Q_OBJECT
public:
    Q_INVOKABLE QString Name() { return QStringLiteral("B"); }
};

// What a call gave: its type and value ("QObject* object" or "QObject* null" for an
// object), or "error n" for the run-time error it threw.
template <typename F> QString outcome(F &&f)
{
    try {
        const QVariant v = QVariant::fromValue(f());
        if (!(v.metaType().flags() & QMetaType::PointerToQObject))
            return QStringLiteral("%1 %2").arg(QLatin1String(v.typeName()), v.toString());
        return v.value<QObject *>() ? QStringLiteral("QObject* object") : "QObject* null";
    } catch (const RuntimeError &e) {
        return QStringLiteral("error %1").arg(e.number());
    }
}

} // namespace

class tst_Automation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each value as a 32-bit whole number, as text and as True or False ("T", "F" or
    // neither); the numbers and texts expected are given without their type.
    void conversions_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("int32");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("truth");
        auto add = [](const char *name, const QVariant &v, const char *n, const char *text,
                      const char *truth = "") {
            QTest::newRow(name) << v << QString::fromUtf8(n) << QString::fromUtf8(text)
                                << QString::fromUtf8(truth);
        };
        add("i16 -1", QVariant::fromValue<qint16>(-1), "-1", "-1", "T");
        add("i64 in range", QVariant::fromValue<qint64>(2147483647), "2147483647", "2147483647");
        add("i64 overflow", QVariant::fromValue<qint64>(2147483648LL), "error 6", "2147483648");
        add("i64 underflow", QVariant::fromValue<qint64>(-2147483649LL), "error 6", "-2147483649");
        add("u32 overflow", QVariant::fromValue<quint32>(4000000000u), "error 6", "4000000000");
        add("true", true, "-1", "True", "T");
        add("false", false, "0", "False", "F");
        add("int 0", 0, "0", "0", "F");
        add("int 1 is neither", 1, "1", "1");
        add("2.5 to even", 2.5, "2", "2.5");
        add("3.5 to even", 3.5, "4", "3.5");
        add("-1.0", -1.0, "-1", "-1", "T");
        add("double overflow", 3e9, "error 6", "3e+09");
        add("nan", std::numeric_limits<double>::quiet_NaN(), "error 6", "nan");
        add("string with blanks kept", QStringLiteral("  42 "), "42", "  42 ");
        add("string decimal", QStringLiteral("12.5"), "12", "12.5");
        add("string negative", QStringLiteral("-3"), "-3", "-3");
        add("string too big", QStringLiteral("99999999999"), "error 6", "99999999999");
        add("string letters", QStringLiteral("4a"), "error 13", "4a");
        add("empty string", QString(), "error 13", "");
        add("string exponent", QStringLiteral("1e3"), "error 13", "1e3");
        add("invalid", QVariant(), "0", "", "F");
        add("object", QVariant::fromValue<QObject *>(this), "error 13", "error 13");
    }
    void conversions()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, int32);
        QFETCH(QString, text);
        auto typed = [](const char *type, const QString &v) {
            return v.startsWith(u"error ") ? v : QLatin1String(type) + u' ' + v;
        };
        QCOMPARE(outcome([&] { return qrt::toInt32(value); }), typed("int", int32));
        QCOMPARE(outcome([&] { return qrt::toText(value); }), typed("QString", text));
        QTEST(QString(equalsTrue(value) ? "T" : "") + (equalsFalse(value) ? "F" : ""), "truth");
    }

    // Members called by name and through Member, boxed and typed: the typed calls must give
    // what the boxed call and the conversion give, error for error, whether the member's
    // declared type matches (no boxing) or not. The overload is picked by the number of
    // arguments, arguments are converted to the declared types, a QVariant parameter receives
    // the wire type as sent and an object result is a QVariant holding a QObject pointer.
    void calls_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariantList>("args");
        QTest::addColumn<QString>("expected");
        auto add = [](const char *name, const char *member, const QVariantList &args,
                      const char *expected) {
            QTest::newRow(name) << QString::fromLatin1(member) << args
                                << QString::fromUtf8(expected);
        };
        add("property", "Size", {}, "int 3");
        add("text", "Name", {}, "QString A");
        add("flag", "Flag", {}, "bool true");
        add("spaced", "Spaced", {}, "QString  42 ");
        add("object", "Self", {}, "QObject* object");
        add("run-time error", "Fail", {}, "error 5");
        add("other exception", "FailStd", {}, "error 440");
        add("missing", "Missing", {}, "error 438");
        add("missing with an argument", "Missing", {1}, "error 438");
        add("no object", "Child", {0}, "QObject* null");
        add("an object", "Child", {1}, "QObject* object");
        add("boxed number", "Boxed", {0}, "int 0");
        add("boxed object", "Boxed", {1}, "QObject* object");
        add("int parameter", "Twice", {21}, "int 42");
        add("short parameter", "Label", {12}, "QString 12");
        add("converted arguments", "Add", {int16(2), QStringLiteral("3")}, "int 5");
        add("overload by count", "Add", {1, 2, 3}, "int 6");
        add("no overload of that count", "Add", {1}, "error 438");
        add("argument not a number", "Add", {QStringLiteral("x"), 1}, "error 13");
        add("wire type kept", "Echo", {int16(4)}, "short 4");
        add("32-bit boxed", "Echo", {7}, "int 7");
    }
    void calls()
    {
        QFETCH(QString, member);
        QFETCH(QVariantList, args);
        QFETCH(QString, expected);
        HostA a;
        const Member m(qPrintable(member));
        auto boxed = [&] { return m.call(&a, args); };
        QCOMPARE(outcome([&] { return callByName(&a, member, args); }), expected);
        QCOMPARE(outcome(boxed), expected);
        QCOMPARE(test::errorOf([&] { callByName(nullptr, member, args); }), 91);
        if (args.isEmpty()) {
            QCOMPARE(outcome([&] { return m.int32(&a); }),
                     outcome([&] { return toInt32(boxed()); }));
            QCOMPARE(outcome([&] { return m.text(&a); }), outcome([&] { return toText(boxed()); }));
            QCOMPARE(outcome([&] { return m.isTrue(&a); }),
                     outcome([&] { return equalsTrue(boxed()); }));
            QCOMPARE(test::errorOf([&] { m.int32(nullptr); }), 91);
        } else if (args.size() == 1 && args[0].metaType() == QMetaType::fromType<int>()) {
            const int arg = args[0].toInt();
            QCOMPARE(outcome([&] { return m(&a, arg); }), expected);
            QCOMPARE(outcome([&] { return m.int32(&a, arg); }),
                     outcome([&] { return toInt32(boxed()); }));
            QCOMPARE(outcome([&] { return m.object(&a, arg); }),
                     outcome([&] { return toObject(boxed()); }));
            QCOMPARE(test::errorOf([&] { m.object(nullptr, arg); }), 91);
        }
    }

    // The remembered lookup must follow the object's class, not the last call site's.
    void memberCacheFollowsClass()
    {
        static const Member name("Name"), add("Add");
        HostA a;
        HostB b;
        for (QObject *o : std::initializer_list<QObject *>{&a, &b, &a})
            QCOMPARE(name(o).toString(), QLatin1String(o == &a ? "A" : "B"));
        QCOMPARE(add(&a, {1, 2}).toInt(), 3);
        QCOMPARE(add(&a, {1, 2, 3}).toInt(), 6);
    }

    // Arguments of the parameters' own types go in place, others are boxed and converted as
    // by a boxed call; the result is dropped either way.
    void sendDropsResult()
    {
        HostA a;
        static const Member store("Store"), storeShort("StoreShort"), text("StoreText"),
            object("StoreObject"), variant("StoreVariant"), refuse("Refuse"), missing("Missing");
        store.send(&a, 4, 5);
        storeShort.send(&a, 7);
        text.send(&a, QStringLiteral("x"));
        object.send(&a, static_cast<QObject *>(&a));
        variant.send(&a, 3);
        variant.send(&a, QStringLiteral("y"));
        QCOMPARE(a.m_log.join(u'/'), QStringLiteral("Store 4 5/short 7/text x/self/int/QString"));
        QCOMPARE(test::errorOf([&] { store.send(&a, QStringLiteral("x"), 1); }), 13);
        QCOMPARE(test::errorOf([&] { store.send(&a, 1); }), 438);
        QCOMPARE(test::errorOf([&] { missing.send(&a, 1); }), 438);
        QCOMPARE(test::errorOf([&] { store.send(nullptr, 1, 2); }), 91);
        QCOMPARE(test::errorOf([&] { refuse.send(&a, 1); }), 75);
        QCOMPARE(a.m_log.size(), 6);
    }

    void setAndCreateByName()
    {
        HostA a;
        setByName(&a, QStringLiteral("Size"), int16(9));
        QCOMPARE(a.m_size, 9);
        QCOMPARE(test::errorOf([&] { setByName(&a, QStringLiteral("Name"), 1); }), 438);
        QCOMPARE(test::errorOf([&] { toObject(QVariant(3)); }), 424);
        QCOMPARE(test::errorOf([&] { toObject(QVariant()); }), 91);
        registerClass(QStringLiteral("Test.HostA"), [] { return new HostA; });
        std::unique_ptr<QObject> obj(createObject(QStringLiteral("Test.HostA")));
        QVERIFY(qobject_cast<HostA *>(obj.get()));
        registerClass(QStringLiteral("Test.HostA"), {});
        QCOMPARE(test::errorOf([&] { createObject(QStringLiteral("Test.HostA")); }), 429);
    }
};

QTEST_GUILESS_MAIN(tst_Automation)
#include "tst_automation.moc"
