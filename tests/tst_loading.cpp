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

    void childrenByName()
    {
        for (const char *name : {"btnInput", "btnOutput", "btnSave", "btnInsert", "btnDel",
                                 "btnOpenFile", "btnDataValidate"})
            QVERIFY2(control->findChild<QPushButton *>(QLatin1String(name)), name);
        for (int i = 0; i < 4; ++i)
            QVERIFY(control->findChild<QWidget *>(QStringLiteral("picContainer_%1").arg(i)));
        QVERIFY(control->findChild<QLineEdit *>(QStringLiteral("txtEdit")));
        QVERIFY(control->findChild<QObject *>(QStringLiteral("dlgOpenSave")));
        QCOMPARE(grid->Rows(), 2);
        QCOMPARE(grid->Cols(), 1);
        QCOMPARE(grid->FixedRows(), 0);
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

    // A load batches the grid's repaints and signals, then leaves both as the host had them.
    void loadKeepsTheGridsState()
    {
        auto lottery = make(1, 9, false, {"1 1"});
        grid->setRedraw(false);
        grid->blockSignals(true);
        control->InitData(lottery.get());
        QCOMPARE(grid->Rows(), 3);
        QVERIFY(!grid->Redraw());
        QVERIFY(grid->signalsBlocked());
        grid->blockSignals(false);
        grid->setRedraw(true);
    }

    void emptyLottery()
    {
        auto lottery = make(6, 49, false);
        control->InitData(lottery.get());
        QCOMPARE(grid->Rows(), 2);
        QCOMPARE(grid->Row(), 1);
        QCOMPARE(grid->Col(), 0);
        QCOMPARE(rows().first(), QStringLiteral("        Date|  B1|  B2|  B3|  B4|  B5|  B6"));
    }

    void hostValuesAreConverted()
    {
        auto lottery = make(1, 49, false, {"1 2"});
        lottery->totalNumber = QStringLiteral(" 1 ");
        lottery->countOverride = 1.0;
        lottery->draws[0].issue = qint64(2026);
        lottery->draws[0].numbers = {true};
        control->InitData(lottery.get());
        QCOMPARE(rows().at(1), QStringLiteral("2026|True"));
    }

    // A host text holding the separator splits as AddItem splits it: the parts past the last
    // column are dropped.
    void hostTextHoldingTheSeparator()
    {
        auto lottery = make(1, 49, false, {"1 2", "3 4"});
        lottery->draws[0].issue = QStringLiteral("20|26");
        control->InitData(lottery.get());
        QCOMPARE(rows().at(1), QStringLiteral("20|26"));
        QCOMPARE(rows().at(2), QStringLiteral("3|04"));
    }

    void badHostValues_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<int>("error");
        QTest::newRow("count not a number") << "count" << QVariant(QStringLiteral("many")) << 13;
        QTest::newRow("count overflows") << "count" << QVariant(qint64(1) << 40) << 6;
        QTest::newRow("total overflows") << "total" << QVariant(2147483647) << 6;
        QTest::newRow("total negative") << "total" << QVariant(-5) << 380;
        QTest::newRow("issue is an object")
            << "issue" << QVariant::fromValue<QObject *>(this) << 13;
    }
    void badHostValues()
    {
        QFETCH(QString, member);
        QFETCH(QVariant, value);
        QFETCH(int, error);
        auto lottery = make(1, 49, false, {"1 2"});
        if (member == QLatin1String("count"))
            lottery->countOverride = value;
        else if (member == QLatin1String("total"))
            lottery->totalNumber = value;
        else
            lottery->draws[0].issue = value;
        QCOMPARE(test::errorOf([&] { control->InitData(lottery.get()); }), error);
        QVERIFY(!probe(control.get()).loaded);
    }

    // A host call failing part way leaves the grid as far as it got, the control not loaded,
    // and a later call starts the load again.
    void failureInTheMiddle()
    {
        auto lottery = make(2, 49, false, {"1 1 2", "2 3 4", "3 5 6"});
        failOn(QStringLiteral("Item"), QStringLiteral("GetNumber"),
               3); // the second number of draw 2
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

    void captions()
    {
        auto caption = [&](const char *name) {
            return control->findChild<QPushButton *>(QLatin1String(name))->text();
        };
        QCOMPARE(caption("btnInput"), QStringLiteral("&Input"));
        QCOMPARE(caption("btnDataValidate"), QStringLiteral("Data Vilidate"));
        QCOMPARE(caption("btnOpenFile"), QStringLiteral("Edit Text File"));
        control->ChangeLocale(2052);
        const QStringList after = {caption("btnInput"),       caption("btnOutput"),
                                   caption("btnSave"),        caption("btnInsert"),
                                   caption("btnDel"),         caption("btnOpenFile"),
                                   caption("btnDataValidate")};
        QCOMPARE(after, QStringList({"&Import", "Exp&ort", "&Save", "Ins&ert", "&Delete",
                                     "Edit &Text File", "Check &Validity"}));
        control->ChangeLocale();
        QCOMPARE(caption("btnOutput"), QStringLiteral("Exp&ort"));
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
