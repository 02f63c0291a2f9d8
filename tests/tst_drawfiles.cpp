#include "CsvFiles.h"

#include "TestSupport.h"
#include <qrt/RuntimeError.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/Lottery.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace qrt;
using namespace qrt::ref;

namespace
{
LotteryShape shape(const char *id)
{
    QString why;
    const auto s = LotteryShape::parse(QString::fromLatin1(id), &why);
    if (!s)
        qFatal("%s", qPrintable(why));
    return *s;
}

QStringList errorLines(const ReadResult &r)
{
    QStringList out;
    for (const ReadError &e : r.errors)
        out << QStringLiteral("%1: %2").arg(e.line).arg(e.reason);
    return out;
}

// The first errors of @p r, for a failure message.
QByteArray why(const ReadResult &r)
{
    return errorLines(r).mid(0, 5).join(u'\n').toUtf8();
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}
} // namespace

class tst_DrawFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Written back in the writer's form byte for byte, as text and as a user data file; blanks,
    // commas and a bonus glued to its "+" read the same.
    void textRoundTrip()
    {
        const QByteArray text =
            "0001 01 02 150 + 07\n0002 149 09 03 + 100\n2026123 05 06 07 + 08\n";
        const ReadResult r = readTextDraws(text, shape("3:1-150+"));
        QVERIFY2(r.ok(), why(r).constData());
        QCOMPARE(r.draws.issue(0), QStringLiteral("0001"));
        QCOMPARE(r.draws.number(1, 0), 149);
        QCOMPARE(r.draws.bonus(1), 100);
        QCOMPARE(formatTextDraws(r.draws), text);
        const ReadResult loose = readTextDraws(
            "0001,1, 2 150 +7\n# comment\n\n0002\t149 9 3+100\r\n2026123 5 6 7 +8", r.shape);
        QVERIFY2(loose.ok(), why(loose).constData());
        QCOMPARE(loose.draws, r.draws);
        const QByteArray file = formatUserData(r.shape, r.draws);
        QVERIFY(file.startsWith(
            "QRTDraws 1\nlottery: 3 of 1-150 with a bonus number\nshape: 3:1-150+\ndraws: 3\n"));
        const ReadResult back = readUserData(file);
        QVERIFY2(back.ok(), why(back).constData());
        QCOMPARE(back.draws, r.draws);
        QCOMPARE(formatUserData(back.shape, back.draws), file);
        // The example in the README must be what the reader takes.
        QCOMPARE(readUserData("QRTDraws 1\nlottery: 6 of 49 with a bonus number\nshape: 6:1-49+\n"
                              "draws: 2\ncrc32: e250e6b9\n2026001 03 12 13 16 23 41 + 07\n"
                              "2026002 05 06 31 39 44 49 + 01\n")
                     .draws.size(),
                 2);
    }

    // The real history must read, check clean and come back byte for byte.
    void realHistory()
    {
        QFile f(QStringLiteral(QRT_TEST_DATA "/de-6of49-1955-2026.txt"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray original = f.readAll();
        const ReadResult r = readTextDraws(original, shape("6:1-49"));
        QVERIFY2(r.ok(), why(r).constData());
        QCOMPARE(r.draws.size(), 5031);
        QCOMPARE(formatTextDraws(r.draws), original);
        QCOMPARE(readUserData(formatUserData(r.shape, r.draws)).draws, r.draws);
    }

    // Lines no draw can be are bad lines, found without splitting them into every field they
    // hold, and reading goes on after them; the longest line a draw may take still reads.
    void badLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("csv");
        QTest::addColumn<QString>("lottery");
        QTest::addColumn<QStringList>("firstErrors");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("draws");
        const auto row = [](const char *name, const QByteArray &bytes, bool csv,
                            const char *lottery, const QStringList &errors, int count,
                            int draws = 0) {
            QTest::newRow(name) << bytes << csv << QString::fromLatin1(lottery) << errors << count
                                << draws;
        };
        row("every rule",
            "1 01 02 03 + 04\n2 01 02 + 04\n3 01 02 03 04\n4 01 02 03 + 04 + 5\n1 05 06 07 + 08\n"
            "6 01 99 03 + 04\n7 01 02 03 + 02\nx8 01 02 03 + 04\n",
            false, "3:1-49+",
            {"2: expected 3 numbers after the issue, found 2",
             "3: the bonus number is missing: write it after a \"+\"",
             "4: more than one \"+\": only the bonus number follows a \"+\"",
             "5: Could not repeat the date! (issue: \"1\")",
             "6: Basic number is out of range! (number 2: \"99\")",
             "7: Existed numbers,please type another! (bonus: \"02\")",
             "8: The dates should be digits! (issue: \"x8\")"},
            7);
        row("a bonus where the lottery has none", "1 01 02 03 + 04\n", false, "3:1-49",
            {"1: this lottery has no bonus number, but the line has a \"+\""}, 1);
        const QByteArray good = "2 01 02 03 04 05 06\n";
        const QByteArray huge = QByteArray("1,").repeated(10 << 20);
        const QString hugeWhy =
            QStringLiteral("the line is 20971520 bytes long; a draw line holds at most 4320");
        row("20 MB line", huge + "\n" + good + "3 01 02\n", false, "6:1-49",
            {"1: " + hugeWhy, "3: expected 6 numbers after the issue, found 2"}, 2);
        row("20 MB record", "issue\r\n" + huge + "\r\n2,1,2,3,4,5,6\r\n3,1\r\n", true, "6:1-49",
            {"2: the line is 20971521 bytes long; a draw line holds at most 4320",
             "4: expected 6 numbers after the issue, found 1"},
            2);
        row("20 MB line, no end", good + huge, false, "6:1-49", {"2: " + hugeWhy}, 1);
        const qsizetype most = maxDrawLineBytes(shape("6:1-49"));
        const QByteArray longest = "1 01 02 03 04 05 06" + QByteArray(most - 19, ' ');
        row("longest line", longest + "\n" + good, false, "6:1-49", {}, 0, 2);
        row("a byte longer", longest + " \n" + good, false, "6:1-49",
            {QStringLiteral("1: the line is %1 bytes long; a draw line holds at most %2")
                 .arg(most + 1)
                 .arg(most)},
            1);
        QByteArray keno = QByteArray(1000, '7');
        for (int n = 1; n <= 20; ++n)
            keno += QByteArray(100, ' ') + QByteArray::number(n * 4);
        row("keno, long issue, wide blanks", keno, false, "keno", {}, 0, 1);
        row("fields past a draw's", good + QByteArray("1 ").repeated(1000) + "\n", false, "6:1-49",
            {"2: expected 6 numbers after the issue, found 999"}, 1);
        row("two bonus numbers", "1 01 02 03 + 04 05\n", false, "3:1-49+",
            {"1: expected one bonus number after the \"+\", found 2"}, 1);
        row("NUL byte", QByteArray("1 01 02\0 03 04 05 06\n", 21) + good, false, "6:1-49",
            {"1: the line holds a NUL byte: the file is binary or damaged"}, 1);
        row("NUL byte in CSV", QByteArray("issue\n1,1,2\0,3,4,5,6\n", 21), true, "6:1-49",
            {"2: the line holds a NUL byte: the file is binary or damaged"}, 1);
        // A doubled quote in a quoted field is one quote of the field's text.
        row("doubled quote in CSV", "issue\n\"2026\"\"001\",1,2,3,4,5,6\n", true, "6:1-49",
            {"2: The dates should be digits! (issue: \"2026\"001\")"}, 1);
        row("150 rule breaks", QByteArray("x 01 02 03 04 05 06\n").repeated(150), false, "6:1-49",
            {"1: The dates should be digits! (issue: \"x\")"}, 150);
    }
    void badLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, csv);
        QFETCH(QString, lottery);
        QFETCH(QStringList, firstErrors);
        QFETCH(int, count);
        const LotteryShape s = shape(qPrintable(lottery));
        const ReadResult r = csv ? app::readCsv(std::move(bytes), s) : readTextDraws(bytes, s);
        QCOMPARE(errorLines(r).mid(0, firstErrors.size()), firstErrors);
        QCOMPARE(r.errorCount(), count);
        QCOMPARE(qsizetype(r.errors.size()), std::min(count, 100));
        QTEST(r.draws.size(), "draws");
    }

    // A CSV names every column, the bonus ones too, and reads back as it was written.
    void csvHeader_data()
    {
        QTest::addColumn<QString>("lottery");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("no bonus") << "4:1-20" << QByteArray("1 01 02 03 04\n")
                                  << QByteArray("issue,n1,n2,n3,n4");
        QTest::newRow("a bonus") << "4:1-20+" << QByteArray("1 01 02 03 04 + 05\n")
                                 << QByteArray("issue,n1,n2,n3,n4,bonus");
        QTest::newRow("two bonus numbers")
            << "4:1-20+2:1-12" << QByteArray("1 01 02 03 04 + 05 12\n")
            << QByteArray("issue,n1,n2,n3,n4,bonus,bonus2");
    }
    void csvHeader()
    {
        QFETCH(QString, lottery);
        QFETCH(QByteArray, text);
        const LotteryShape s = shape(qPrintable(lottery));
        const QByteArray csv = app::formatCsv(readTextDraws(text, s).draws);
        QTEST(csv.left(csv.indexOf("\r\n")), "header");
        QCOMPARE(formatTextDraws(app::readCsv(csv, s).draws), text);
    }

    void damagedUserData_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("firstError");
        const auto row = [](const char *name, const QByteArray &bytes, const char *error) {
            QTest::newRow(name) << bytes << QString::fromLatin1(error);
        };
        const ReadResult r =
            readTextDraws("1 01 02 03 + 04\n2 05 06 07 + 08\n3 09 10 11 + 12\n", shape("3:1-49+"));
        const QByteArray good = formatUserData(r.shape, r.draws);
        QByteArray flipped = good;
        flipped[flipped.size() - 3] = '9';
        const char *changed =
            "5: checksum mismatch: the draws were changed or damaged after they were saved";
        row("truncated", good.left(good.size() - 10), changed);
        row("changed digit", flipped, changed);
        row("header cut", good.left(30), "2: the header ends early: the file is truncated");
        row("long header line", QByteArray(10000, 'Q') + "\n",
            "1: the line is 10000 bytes long; a header line holds at most 4096");
        row("empty", {}, "1: not a QRT draw file (the file is empty or has no header)");
        row("other file", "1 2 3\n4 5 6\n7 8 9\n1 1 1\n2 2 2\n",
            "1: not a QRT draw file (it should start with \"QRTDraws 1\")");
        row("newer version", QByteArray(good).replace("QRTDraws 1", "QRTDraws 3"),
            "1: format version 3 is not supported; this program reads versions 1 and 2");
        // Version 2 is kept for the shapes version 1 cannot name, and the reverse.
        row("one drum as version 2", QByteArray(good).replace("QRTDraws 1", "QRTDraws 2"),
            "3: the shape 3:1-49+ cannot be in a file of format version 2");
        row("second drum as version 1",
            QByteArray(good).replace("shape: 3:1-49+", "shape: 3:1-49+1:1-49"),
            "3: the shape 3:1-49+1:1-49 cannot be in a file of format version 1");
        row("count", QByteArray(good).replace("draws: 3", "draws: 4"),
            "4: the header promises 4 draws but the file holds 3");
        // The count sizes the reading; a huge one must not be taken at its word.
        row("huge count", QByteArray(good).replace("draws: 3", "draws: 2000000000"),
            "4: the header promises 2000000000 draws but the file holds 3");
        row("shape", QByteArray(good).replace("shape: 3:1-49+", "shape: 3:9-1+"),
            "3: lottery \"3:9-1+\" cannot be drawn: 4 numbers from 9 to 1");
    }
    void damagedUserData()
    {
        QFETCH(QByteArray, bytes);
        const ReadResult r = readUserData(bytes);
        QVERIFY(!r.ok());
        QTEST(errorLines(r).first(), "firstError");
        QCOMPARE(r.draws.size(), 0);
    }

    // A bad file leaves the lottery's draws as they were.
    void readDataKeepsOldDraws()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        Lottery lottery(shape("3:1-49+"));
        const ReadResult good = readTextDraws("1 01 02 03 + 04\n", lottery.shape());
        lottery.setDraws(good.draws);
        put(path, formatUserData(lottery.shape(), good.draws).replace("01 02", "01 77"));
        const QString error = test::errorText([&] { lottery.ReadData(path); });
        QVERIFY2(error.startsWith(u"62: ") && error.contains(u"User.ltk:5: checksum mismatch"),
                 qPrintable(error));
        QCOMPARE(lottery.Count(), 1);
        // A file of another lottery is refused too.
        put(path,
            formatUserData(shape("3:1-49"), readTextDraws("5 01 02 03\n", shape("3:1-49")).draws));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, lottery.ReadData(path));
        QCOMPARE(lottery.draws().issue(0), QStringLiteral("1"));
    }

    // The text format of both kinds of second drum: exactly the lottery's bonus numbers after
    // the "+", a bonus of its own drum free to equal a basic number.
    void secondDrumText_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QStringList>("errors");
        const auto row = [](const char *name, const char *shape, const QByteArray &text,
                            const QStringList &errors = {}) {
            QTest::newRow(name) << QString::fromLatin1(shape) << text << errors;
        };
        row("own drum, one", "3:1-49+1:1-12", "1 01 02 03 + 03\n");
        row("same range, own drum", "3:1-49+1:1-49", "1 01 02 03 + 03\n");
        row("same drum", "3:1-49+", "1 01 02 03 + 03\n",
            {"1: Existed numbers,please type another! (bonus: \"03\")"});
        row("own drum, two", "3:1-49+2:1-12", "1 01 02 03 + 03 09\n2 04,05,06 + 01,02\n");
        row("bonus counts", "3:1-49+2:1-12", "1 01 02 03 + 03\n2 01 02 03 + 01 02 03\n3 01 02 03\n",
            {"1: expected 2 bonus numbers after the \"+\", found 1",
             "2: expected 2 bonus numbers after the \"+\", found 3",
             "3: the bonus numbers are missing: write them after a \"+\""});
        row("one bonus too many", "3:1-49+1:1-12", "1 01 02 03 + 03 04\n",
            {"1: expected one bonus number after the \"+\", found 2"});
        row("drum rules", "3:1-49+2:1-12", "1 01 02 03 + 13 01\n2 01 02 03 + 05 5\n",
            {"1: The bonus is out of range! (bonus: \"13\")",
             "2: Existed numbers,please type another! (bonus 2: \"5\")"});
        row("two from the basic drum", "3:1-49+2", "1 01 02 03 + 04 03\n",
            {"1: Existed numbers,please type another! (bonus 2: \"03\")"});
    }
    void secondDrumText()
    {
        QFETCH(QString, shape);
        QFETCH(QByteArray, text);
        const LotteryShape s = ::shape(qPrintable(shape));
        const ReadResult r = readTextDraws(text, s);
        QTEST(errorLines(r), "errors");
        if (!r.ok())
            return;
        // Written back in the writer's form and read again, as a user data file too.
        QCOMPARE(readTextDraws(formatTextDraws(r.draws), s).draws, r.draws);
        const ReadResult back = readUserData(formatUserData(s, r.draws));
        QVERIFY2(back.ok(), why(back).constData());
        QCOMPARE(back.draws, r.draws);
        QCOMPARE(back.shape.id(), s.id());
    }

    void secondDrumFiles()
    {
        const LotteryShape two = shape("5:1-50+2:1-12");
        const ReadResult r = readTextDraws("2026001 01 02 03 04 05 + 03 09\n", two);
        // A file of one kind opened by a lottery of the other names both shapes.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        put(path, formatUserData(two, r.draws));
        Lottery one(shape("5:1-50+"));
        const ReadResult refused = one.load(path);
        QCOMPARE(errorLines(refused),
                 QStringList("3: the file holds draws of 5 of 1-50 + 2 of 1-12 "
                             "(5:1-50+2:1-12), not of 5 of 1-50 with a bonus number (5:1-50+)"));
        Lottery drum(two);
        QVERIFY(drum.load(path).ok());
        QCOMPARE(drum.SpecialCount(), 2);
        QCOMPARE(drum.SpecialMaxNumber(), 12);
        qint32 second = 0;
        QVERIFY(QMetaObject::invokeMethod(drum.Item(1), "GetSpecialAt",
                                          Q_RETURN_ARG(qint32, second), Q_ARG(qint32, 2)));
        QCOMPARE(second, 9);
        put(path, formatUserData(one.shape(),
                                 readTextDraws("1 01 02 03 04 05 + 06\n", one.shape()).draws));
        QCOMPARE(errorLines(drum.load(path)).size(), 1);
        // The one-drum lottery has no bounds of a second drum, as if it lacked the members.
        QCOMPARE(test::errorOf([&] { one.SpecialMiniNumber(); }), 438);
    }

    // A game whose ranges widened: the smallest shape that holds the whole file.
    void shapeHoldingTheFile_data()
    {
        QTest::addColumn<QString>("shape");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("holding");
        QTest::newRow("bonus drum widened")
            << "5:1-50+2:1-12" << QByteArray("1 01 02 03 04 50 + 01 09\n2 01 02 03 04 05 + 11 12\n")
            << "";
        QTest::newRow("older draws outside")
            << "megamillions"
            << QByteArray("1 01 02 03 04 75 + 01 \n2 01 02 03 04 05 + 25\n3 01 02 03 04 05 + 24\n")
            << "5:1-75+1:1-25";
        QTest::newRow("to a preset")
            << "5:1-50+2:1-10" << QByteArray("1 01 02 03 04 50 + 01 12\n") << "5:1-50+2:1-12";
        QTest::newRow("not only ranges")
            << "5:1-50+2:1-10" << QByteArray("1 01 01 03 04 50 + 01 12\n") << "";
    }
    void shapeHoldingTheFile()
    {
        QFETCH(QString, shape);
        QFETCH(QByteArray, text);
        QFETCH(QString, holding);
        const LotteryShape s = ::shape(qPrintable(shape));
        LotteryShape wide = s;
        wide.mini = wide.bonusMini = 0;
        wide.maxi = wide.bonusMaxi = 999999999;
        const ReadResult r = readTextDraws(text, wide);
        const LotteryShape found = s.holding(r.draws);
        QCOMPARE(r.ok() && !found.sameDraws(s) ? found.id() : QString(), holding);
        if (!holding.isEmpty())
            QVERIFY(readTextDraws(text, found).ok());
    }

    void shapes()
    {
        QString why;
        const auto parse = [&why](const char *id) {
            return LotteryShape::parse(QString::fromLatin1(id), &why);
        };
        QCOMPARE(parse("keno")->total, 20);
        QCOMPARE(parse("6:1-49+")->key(), QStringLiteral("6of49"));
        QCOMPARE(parse("5:1-69+1:1-26")->key(), QStringLiteral("powerball"));
        QCOMPARE(parse("4:1-20")->key(), QStringLiteral("4:1-20"));
        for (const char *id : {"5:1-69+1:1-26", "5:1-50+2:1-12", "6:1-49+1:1-49", "6:1-49+2"})
            QCOMPARE(parse(id)->id(), QString::fromLatin1(id));
        QVERIFY(!parse("lotto") && why.contains(QStringLiteral("6of49")));
        QVERIFY(!parse("7:1-6+") && why.contains(QStringLiteral("cannot be drawn")));
        for (const char *id : {"5:1-50+3:1-12", "5:1-50+2:5-5", "5:1-6+2"})
            QVERIFY2(!parse(id), id);
        QVERIFY(!shape("6:1-49+1:1-49").sameDraws(shape("6:1-49+")));
        QVERIFY(!shape("6:1-49+").secondDrum() && shape("6:1-49+1:1-49").secondDrum());
        // Each preset is what its key names and reads back from its own id.
        for (const QString &key : LotteryShape::presetKeys()) {
            const LotteryShape preset = shape(qPrintable(key));
            QVERIFY(preset.sameDraws(shape(qPrintable(preset.id()))));
        }
    }
};

QTEST_GUILESS_MAIN(tst_DrawFiles)
#include "tst_drawfiles.moc"
