#include "AppManagerProbe_p.h"
#include "CallLog.h"
#include "RecordingLottery.h"
#include "TestSupport.h"
#include <qrt/AppManager.h>
#include <qrt/FlexGrid.h>
#include <qrt/RuntimeError.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace qrt;
using namespace qrt::doubles;

class tst_Loading : public QObject
{
    Q_OBJECT

    std::unique_ptr<AppManager> control;
    FlexGrid *grid = nullptr;

    // Whole rows as one string each: "2001|03|07|09".
    QStringList rows() const
    {
        QStringList out;
        for (int r = 0; r < grid->Rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid->Cols(); ++c)
                cells << grid->TextArray(r * grid->Cols() + c);
            out << cells.join(u'|');
        }
        return out;
    }
    static std::unique_ptr<RecordingLottery> make(int total, int maxi, bool bonus,
                                                  const QStringList &draws = {})
    {
        return std::unique_ptr<RecordingLottery>(
            RecordingLottery::make(total, 1, maxi, bonus, draws));
    }

private Q_SLOTS:
    void init()
    {
        CallLog::instance().clear();
        clearFailures();
        control = std::make_unique<AppManager>();
        grid = control->findChild<FlexGrid *>(QStringLiteral("msfData"));
        QVERIFY(grid);
    }
    void cleanup()
    {
        control.reset();
        QCOMPARE(test::topLevelCount(), 0);
    }

    // The children hosts reach by name, the grid before a load, and the captions before and
    // after a change of language.
    void children()
    {
        for (int i = 0; i < 4; ++i)
            QVERIFY(control->findChild<QWidget *>(QStringLiteral("picContainer_%1").arg(i)));
        QVERIFY(control->findChild<QLineEdit *>(QStringLiteral("txtEdit")));
        QVERIFY(control->findChild<QObject *>(QStringLiteral("dlgOpenSave")));
        QCOMPARE(QList<int>({grid->Rows(), grid->Cols(), grid->FixedRows()}),
                 QList<int>({2, 1, 0}));
        const auto captions = [&] {
            QStringList out;
            for (const char *name : {"btnInput", "btnOutput", "btnSave", "btnInsert", "btnDel",
                                     "btnOpenFile", "btnDataValidate"}) {
                auto *button = control->findChild<QPushButton *>(QLatin1String(name));
                out << (button ? button->text() : QLatin1String(name));
            }
            return out;
        };
        QCOMPARE(captions(), QStringList({"&Input", "&Output", "&Save", "Ins&ert", "&Delete",
                                          "Edit Text File", "Data Vilidate"}));
        const QStringList changed{"&Import", "Exp&ort",         "&Save",          "Ins&ert",
                                  "&Delete", "Edit &Text File", "Check &Validity"};
        control->ChangeLocale(2052);
        QCOMPARE(captions(), changed);
        control->ChangeLocale();
        QCOMPARE(captions(), changed);
    }

    void loadWithAndWithoutBonus_data()
    {
        QTest::addColumn<QVariant>("hasSpecial");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("itemCalls");
        const QStringList with{"        Date|  B1|  B2|Bonus", "7|01|49|05", "0101|08|100|00",
                               "|||"};
        const QStringList without{"        Date|  B1|  B2", "7|01|49", "0101|08|100", "||"};
        QTest::newRow("bonus") << QVariant(true) << with << 8;
        QTest::newRow("bonus as -1") << QVariant::fromValue<qint16>(-1) << with << 8;
        QTest::newRow("1 is no bonus") << QVariant(1) << without << 6;
        QTest::newRow("false") << QVariant(false) << without << 6;
    }
    void loadWithAndWithoutBonus()
    {
        QFETCH(QVariant, hasSpecial);
        QFETCH(QStringList, expected);
        QFETCH(int, itemCalls);
        auto lottery = make(2, 49, true, {"7 1 49 +5", "0101 8 100 +"});
        lottery->hasSpecial = hasSpecial;
        control->InitData(lottery.get());
        QCOMPARE(rows(), expected);
        QCOMPARE(grid->FixedRows(), 1);
        QCOMPARE(grid->Row(), grid->Rows() - 1);
        QCOMPARE(grid->Col(), 0);
        // Every value comes through a fresh "Item" call.
        QCOMPARE(CallLog::instance().filtered(QStringLiteral("Lottery.Item(")).size(), itemCalls);
        QCOMPARE(CallLog::instance().filtered(QStringLiteral("Item.GetSpecial")).size(),
                 itemCalls == 8 ? 2 : 0);
        QCOMPARE(CallLog::instance().filtered(QStringLiteral("Lottery.Item(")).first(),
                 QStringLiteral("Lottery.Item(i32 1)"));
        QVERIFY(probe(control.get()).loaded);
    }

    // An empty lottery leaves the header and the entry row; the load batches the grid's
    // repaints and signals, then leaves both as the host had them.
    void emptyLottery()
    {
        auto lottery = make(6, 49, false);
        grid->setRedraw(false);
        grid->blockSignals(true);
        control->InitData(lottery.get());
        QVERIFY(!grid->Redraw());
        QVERIFY(grid->signalsBlocked());
        grid->blockSignals(false);
        grid->setRedraw(true);
        QCOMPARE(rows(), QStringList({"        Date|  B1|  B2|  B3|  B4|  B5|  B6", "||||||"}));
        QCOMPARE(QPoint(grid->Row(), grid->Col()), QPoint(1, 0));
    }

    // What the host hands over is converted as the control converts any host value, or fails
    // the load with its error; a text holding the separator splits as AddItem splits it, the
    // parts past the last column dropped.
    void hostValues_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("shown"); // the data rows, or the error number
        auto add = [](const char *name, const char *member, const QVariant &value,
                      const char *shown) { QTest::newRow(name) << member << value << shown; };
        add("total as text", "total", QStringLiteral(" 1 "), "1|02 3|04");
        add("count as double", "count", 1.0, "1|02");
        add("issue as 64 bits", "issue", qint64(2026), "2026|02 3|04");
        add("number as bool", "number", true, "1|True 3|04");
        add("issue holding the separator", "issue", QStringLiteral("20|26"), "20|26 3|04");
        add("count not a number", "count", QStringLiteral("many"), "13");
        add("count overflows", "count", qint64(1) << 40, "6");
        add("total overflows", "total", 2147483647, "6");
        add("total negative", "total", -5, "380");
        add("issue is an object", "issue", QVariant::fromValue<QObject *>(this), "13");
    }
    void hostValues()
    {
        QFETCH(QString, member);
        QFETCH(QVariant, value);
        auto lottery = make(1, 49, false, {"1 2", "3 4"});
        if (member == QLatin1String("count"))
            lottery->countOverride = value;
        else if (member == QLatin1String("total"))
            lottery->totalNumber = value;
        else if (member == QLatin1String("issue"))
            lottery->draws[0].issue = value;
        else
            lottery->draws[0].numbers = {value};
        const int error = test::errorOf([&] { control->InitData(lottery.get()); });
        QTEST(error ? QString::number(error) : rows().mid(1, grid->Rows() - 2).join(u' '), "shown");
        QCOMPARE(probe(control.get()).loaded, error == 0);
    }

    // A host call failing part way leaves the grid as far as it got, the control not loaded,
    // and a later call starts the load again.
    void failureInTheMiddle()
    {
        auto lottery = make(2, 49, false, {"1 1 2", "2 3 4", "3 5 6"});
        failOn(QStringLiteral("Item.GetNumber"), 3); // the second number of draw 2
        QCOMPARE(test::errorOf([&] { control->InitData(lottery.get()); }), 440);
        QCOMPARE(rows(), QStringList({"        Date|  B1|  B2", "1|01|02", "||"}));
        QCOMPARE(probe(control.get()).lottery, lottery.get());
        QVERIFY(!probe(control.get()).loaded);
        control->InitData(lottery.get());
        QCOMPARE(rows(),
                 QStringList({"        Date|  B1|  B2", "1|01|02", "2|03|04", "3|05|06", "||"}));
    }

    void loadsOnce()
    {
        auto first = make(1, 9, false, {"1 1"});
        auto second = make(1, 9, false, {"2 2"});
        control->InitData(first.get());
        const QStringList loaded = rows();
        CallLog::instance().clear();
        control->InitData(second.get());
        control->EraseALl();
        control->EraseALl();
        control->InitData(second.get());
        QCOMPARE(rows(), loaded);
        QVERIFY(CallLog::instance().entries().isEmpty());
        QVERIFY(!probe(control.get()).lottery);
    }

    void addItem()
    {
        auto lottery = make(2, 9, false, {"1 1 2"});
        control->InitData(lottery.get());
        grid->setRow(1);
        QVERIFY(!control->AddItem(QStringLiteral("a|b|c|d"), 99).isValid());
        QCOMPARE(rows().at(1), QStringLiteral("a|b|c"));
        QCOMPARE(grid->Col(), 2);
        QCOMPARE(test::errorOf([&] { control->AddItem(QStringLiteral("x|"), 1); }), 9);
        QCOMPARE(rows().at(1), QStringLiteral("x||c"));
        QCOMPARE(test::errorOf([&] { control->AddItem(QString(), 1); }), 9);
        QCOMPARE(grid->Col(), 0);
        QCOMPARE(rows().at(1), QStringLiteral("x||c"));
    }

    void issueControls()
    {
        QComboBox start, end;
        QObject notACombo;
        QCOMPARE(test::errorOf([&] { control->SetIssueControl(&start, &notACombo); }), 13);
        QCOMPARE(probe(control.get()).startList, &start);
        QVERIFY(!probe(control.get()).endList);
        QCOMPARE(test::errorOf([&] { control->SetIssueControl(&notACombo, &end); }), 13);
        control->SetIssueControl(&start, &end);
        QCOMPARE(probe(control.get()).endList, &end);
        control->EraseALl();
        QVERIFY(!probe(control.get()).startList);
    }

    // Host objects are never deleted by the control, and one destroyed early reads as not set.
    void hostObjectsStayTheHosts()
    {
        QPointer<RecordingLottery> lottery(RecordingLottery::make(1, 1, 9, false));
        QPointer<QObject> store(new QObject);
        control->SetSystemStore(store);
        control->InitData(lottery);
        control->EraseALl();
        control.reset();
        QVERIFY(lottery);
        QVERIFY(store);
        init();
        control->SetSystemStore(store);
        delete store.data();
        QVERIFY(!probe(control.get()).store);
        delete lottery.data();
        QCOMPARE(test::errorOf([&] { control->InitData(nullptr); }), 91);
    }
};

QTEST_MAIN(tst_Loading)
#include "tst_loading.moc"
