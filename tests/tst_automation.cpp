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

// What a call gave, or "error n" for the run-time error it threw.
template <typename F> QVariant outcome(F &&f)
{
    try {
        return QVariant(f());
    } catch (const RuntimeError &e) {
        return QVariant(QStringLiteral("error %1").arg(e.number()));
    }
}
QVariant expectedOutcome(const QVariant &value, int error)
{
    return error ? QVariant(QStringLiteral("error %1").arg(error)) : value;
}

} // namespace

class tst_Automation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toInt32_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("i16") << QVariant::fromValue<qint16>(-7) << -7 << 0;
        QTest::newRow("i64 in range") << QVariant::fromValue<qint64>(2147483647) << 2147483647 << 0;
        QTest::newRow("i64 overflow") << QVariant::fromValue<qint64>(2147483648LL) << 0 << 6;
        QTest::newRow("i64 underflow") << QVariant::fromValue<qint64>(-2147483649LL) << 0 << 6;
        QTest::newRow("u32 overflow") << QVariant::fromValue<quint32>(4000000000u) << 0 << 6;
        QTest::newRow("true") << QVariant(true) << -1 << 0;
        QTest::newRow("false") << QVariant(false) << 0 << 0;
        QTest::newRow("2.5 to even") << QVariant(2.5) << 2 << 0;
        QTest::newRow("3.5 to even") << QVariant(3.5) << 4 << 0;
        QTest::newRow("-2.5 to even") << QVariant(-2.5) << -2 << 0;
        QTest::newRow("double overflow") << QVariant(3e9) << 0 << 6;
        QTest::newRow("nan") << QVariant(std::numeric_limits<double>::quiet_NaN()) << 0 << 6;
        QTest::newRow("string with blanks") << QVariant(QStringLiteral("  42 ")) << 42 << 0;
        QTest::newRow("string decimal") << QVariant(QStringLiteral("12.5")) << 12 << 0;
        QTest::newRow("string negative") << QVariant(QStringLiteral("-3")) << -3 << 0;
        QTest::newRow("string too big") << QVariant(QStringLiteral("99999999999")) << 0 << 6;
        QTest::newRow("string letters") << QVariant(QStringLiteral("4a")) << 0 << 13;
        QTest::newRow("empty string") << QVariant(QString()) << 0 << 13;
        QTest::newRow("string exponent") << QVariant(QStringLiteral("1e3")) << 0 << 13;
        QTest::newRow("invalid") << QVariant() << 0 << 0;
        QTest::newRow("object") << QVariant::fromValue<QObject *>(this) << 0 << 13;
    }
    void toInt32()
    {
        QFETCH(QVariant, value);
        QFETCH(int, expected);
        QFETCH(int, error);
        QCOMPARE(outcome([&] { return qrt::toInt32(value); }), expectedOutcome(expected, error));
    }

    void toText_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("error");
        QTest::newRow("string kept")
            << QVariant(QStringLiteral(" 07 ")) << QStringLiteral(" 07 ") << 0;
        QTest::newRow("i16") << QVariant::fromValue<qint16>(-5) << QStringLiteral("-5") << 0;
        QTest::newRow("i32") << QVariant(49) << QStringLiteral("49") << 0;
        QTest::newRow("true") << QVariant(true) << QStringLiteral("True") << 0;
        QTest::newRow("false") << QVariant(false) << QStringLiteral("False") << 0;
        QTest::newRow("invalid") << QVariant() << QString() << 0;
        QTest::newRow("object") << QVariant::fromValue<QObject *>(this) << QString() << 13;
    }
    void toText()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, expected);
        QFETCH(int, error);
        QCOMPARE(outcome([&] { return qrt::toText(value); }), expectedOutcome(expected, error));
    }

    void trueAndFalse_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<bool>("isTrue");
        QTest::addColumn<bool>("isFalse");
        QTest::newRow("bool true") << QVariant(true) << true << false;
        QTest::newRow("bool false") << QVariant(false) << false << true;
        QTest::newRow("-1 i16") << QVariant::fromValue<qint16>(-1) << true << false;
        QTest::newRow("-1.0") << QVariant(-1.0) << true << false;
        QTest::newRow("0") << QVariant(0) << false << true;
        QTest::newRow("1 is neither") << QVariant(1) << false << false;
        QTest::newRow("string is neither") << QVariant(QStringLiteral("True")) << false << false;
        QTest::newRow("invalid is false") << QVariant() << false << true;
    }
    void trueAndFalse()
    {
        QFETCH(QVariant, value);
        QFETCH(bool, isTrue);
        QFETCH(bool, isFalse);
        QCOMPARE(equalsTrue(value), isTrue);
        QCOMPARE(equalsFalse(value), isFalse);
    }

    void membersByName()
    {
        HostA a;
        QCOMPARE(callByName(&a, QStringLiteral("Size")).toInt(), 3);
        setByName(&a, QStringLiteral("Size"), QVariant::fromValue<qint16>(9));
        QCOMPARE(a.m_size, 9);
        // The overload is picked by the number of arguments, and arguments are converted to
        // the declared parameter types.
        QCOMPARE(callByName(&a, QStringLiteral("Add"), {int16(2), QStringLiteral("3")}).toInt(), 5);
        QCOMPARE(callByName(&a, QStringLiteral("Add"), {1, 2, 3}).toInt(), 6);
        // A QVariant parameter receives the wire type as sent.
        const QVariant echoed = callByName(&a, QStringLiteral("Echo"), {int16(4)});
        QCOMPARE(echoed.metaType(), QMetaType::fromType<qint16>());
        // An object result is a QVariant holding a QObject pointer.
        const QVariant self = callByName(&a, QStringLiteral("Self"));
        QCOMPARE(self.metaType(), QMetaType::fromType<QObject *>());
        QCOMPARE(toObject(self), &a);
    }

    void memberErrors()
    {
        HostA a;
        QCOMPARE(test::errorOf([&] { callByName(&a, QStringLiteral("Missing")); }), 438);
        QCOMPARE(test::errorOf([&] { callByName(&a, QStringLiteral("Add"), {1}); }), 438);
        QCOMPARE(test::errorOf([&] { callByName(nullptr, QStringLiteral("Size")); }), 91);
        QCOMPARE(test::errorOf([&] {
                     callByName(&a, QStringLiteral("Add"), {QStringLiteral("x"), 1});
                 }),
                 13);
        QCOMPARE(test::errorOf([&] { callByName(&a, QStringLiteral("Fail")); }), 5);
        QCOMPARE(test::errorOf([&] { callByName(&a, QStringLiteral("FailStd")); }), 440);
        QCOMPARE(test::errorOf([&] { setByName(&a, QStringLiteral("Name"), 1); }), 438);
        QCOMPARE(test::errorOf([&] { createObject(QStringLiteral("No.Such")); }), 429);
        QCOMPARE(test::errorOf([&] { toObject(QVariant(3)); }), 424);
        QCOMPARE(test::errorOf([&] { toObject(QVariant()); }), 91);
    }

    // The remembered lookup must follow the object's class, not the last call site's.
    void memberCacheFollowsClass()
    {
        static const Member name("Name");
        HostA a;
        HostB b;
        QCOMPARE(name(&a).toString(), QStringLiteral("A"));
        QCOMPARE(name(&b).toString(), QStringLiteral("B"));
        QCOMPARE(name(&a).toString(), QStringLiteral("A"));
        static const Member add("Add");
        QCOMPARE(add(&a, {1, 2}).toInt(), 3);
        QCOMPARE(add(&a, {1, 2, 3}).toInt(), 6);
    }

    // One 32-bit argument goes in place to an int parameter, boxed to a QVariant one, and
    // converted for any other.
    void singleIntegerArgument()
    {
        static const Member twice("Twice"), echo("Echo"), label("Label"), missing("Missing");
        HostA a;
        QCOMPARE(twice(&a, 21).toInt(), 42);
        const QVariant echoed = echo(&a, 7);
        QCOMPARE(echoed.metaType(), QMetaType::fromType<qint32>());
        QCOMPARE(label(&a, 12).toString(), QStringLiteral("12"));
        QCOMPARE(test::errorOf([&] { missing(&a, 1); }), 438);
        QCOMPARE(test::errorOf([&] { twice(nullptr, 1); }), 91);
    }

    // The typed calls must give what the boxed call and the conversion give, error for
    // error, whether the member's declared type matches (no boxing) or not.
    void typedCallsMatchBoxedCalls_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<int>("arg"); // -1: no argument
        for (const char *name : {"Size", "Name", "Flag", "Spaced", "Fail", "FailStd", "Missing"})
            QTest::newRow(name) << QString::fromLatin1(name) << -1;
        for (int i : {0, 1, 2})
            QTest::addRow("Child %d", i) << QStringLiteral("Child") << i;
        for (int i : {0, 1, 2})
            QTest::addRow("Boxed %d", i) << QStringLiteral("Boxed") << i;
        QTest::newRow("Twice") << QStringLiteral("Twice") << 21;
        QTest::newRow("Label") << QStringLiteral("Label") << 12;
    }

    void typedCallsMatchBoxedCalls()
    {
        QFETCH(QString, member);
        QFETCH(int, arg);
        HostA a;
        const Member m(member.toLatin1().constData());
        auto boxed = [&] { return arg < 0 ? m(&a) : m(&a, arg); };
        // Each outcome as text: the value, or the error number.
        if (arg < 0) {
            QCOMPARE(outcome([&] { return m.int32(&a); }),
                     outcome([&] { return qrt::toInt32(boxed()); }));
            QCOMPARE(outcome([&] { return m.text(&a); }),
                     outcome([&] { return qrt::toText(boxed()); }));
            QCOMPARE(outcome([&] { return m.isTrue(&a); }),
                     outcome([&] { return qrt::equalsTrue(boxed()); }));
            QCOMPARE(test::errorOf([&] { m.int32(nullptr); }), 91);
        } else {
            QCOMPARE(outcome([&] { return m.int32(&a, arg); }),
                     outcome([&] { return qrt::toInt32(boxed()); }));
            QCOMPARE(outcome([&] { return QVariant::fromValue(m.object(&a, arg)); }),
                     outcome([&] { return QVariant::fromValue(toObject(boxed())); }));
            QCOMPARE(test::errorOf([&] { m.object(nullptr, arg); }), 91);
        }
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
        QCOMPARE(a.m_log, QStringList({QStringLiteral("Store 4 5"), QStringLiteral("short 7"),
                                       QStringLiteral("text x"), QStringLiteral("self"),
                                       QStringLiteral("int"), QStringLiteral("QString")}));
        QCOMPARE(test::errorOf([&] { store.send(&a, QStringLiteral("x"), 1); }), 13);
        QCOMPARE(test::errorOf([&] { store.send(&a, 1); }), 438);
        QCOMPARE(test::errorOf([&] { missing.send(&a, 1); }), 438);
        QCOMPARE(test::errorOf([&] { store.send(nullptr, 1, 2); }), 91);
        QCOMPARE(test::errorOf([&] { refuse.send(&a, 1); }), 75);
        QCOMPARE(a.m_log.size(), 6);
    }

    void createByName()
    {
        registerClass(QStringLiteral("Test.HostA"), [] { return new HostA; });
        std::unique_ptr<QObject> obj(createObject(QStringLiteral("Test.HostA")));
        QVERIFY(qobject_cast<HostA *>(obj.get()));
        registerClass(QStringLiteral("Test.HostA"), {});
        QVERIFY_THROWS_EXCEPTION(RuntimeError, createObject(QStringLiteral("Test.HostA")));
    }
};

QTEST_GUILESS_MAIN(tst_Automation)
#include "tst_automation.moc"
