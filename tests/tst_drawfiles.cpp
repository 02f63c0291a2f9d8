#include "CsvFiles.h"

#include "TestSupport.h"
#include <qrt/RuntimeError.h>
#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/Lottery.h>

#include <QTemporaryDir>
#include <QTest>

using namespace qrt;
using namespace qrt::ref;
using qrt::test::shape;

namespace
{
QStringList errorLines(const ReadResult &r)
{
    QStringList out;
    for (const ReadError &e : r.errors)
        out << QStringLiteral("%1: %2").arg(e.line).arg(e.reason);
    return out;
}

enum Format { Text, Csv, UserData };

} // namespace

class tst_DrawFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Written back in the writer's form byte for byte, as text and as a user data file; blanks,
    // commas and a bonus glued to its "+" read the same.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("lottery");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("loose");
        QTest::newRow("wide numbers")
            << "3:1-150+"
            << QByteArray("0001 01 02 150 + 07\n0002 149 09 03 + 100\n2026123 05 06 07 + 08\n")
            << QByteArray("0001,1, 2 150 +7\n# comment\n\n0002\t149 9 3+100\r\n2026123 5 6 7 +8");
        QTest::newRow("the real history")
            << "6:1-49" << test::fileBytes(QStringLiteral(QRT_TEST_DATA "/de-6of49-1955-2026.txt"))
            << QByteArray();
        // A bonus of its own drum is free to equal a basic number.
        QTest::newRow("own drum, two")
            << "3:1-49+2:1-12" << QByteArray("1 01 02 03 + 03 09\n2 04 05 06 + 01 02\n")
            << QByteArray("1 1 2 3 +3 9\n2 04,05,06 + 01,02");
    }
    void roundTrip()
    {
        QFETCH(QString, lottery);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, loose);
        const ReadResult r = readTextDraws(text, shape(lottery));
        QVERIFY2(r.ok(), qPrintable(errorLines(r).join(u'\n')));
        QCOMPARE(formatTextDraws(r.draws), text);
        if (!loose.isEmpty())
            QCOMPARE(readTextDraws(loose, r.shape).draws, r.draws);
        const QByteArray file = formatUserData(r.shape, r.draws);
        const ReadResult back = readUserData(file);
        QCOMPARE(back.draws, r.draws);
        QCOMPARE(formatUserData(back.shape, back.draws), file);
        // Draws that differ in one number only are not the same.
        QByteArray changed = text;
        changed[text.size() - 2] = text.at(text.size() - 2) == '1' ? '2' : '1';
        QVERIFY(!(readTextDraws(changed, r.shape).draws == r.draws));
    }

    // The example in the README is what the reader takes and the writer writes.
    void userDataAsDocumented()
    {
        const QByteArray readme =
            "QRTDraws 1\nlottery: 6 of 49 with a bonus number\nshape: 6:1-49+\n"
            "draws: 2\ncrc32: e250e6b9\n2026001 03 12 13 16 23 41 + 07\n"
            "2026002 05 06 31 39 44 49 + 01\n";
        const ReadResult r = readUserData(readme);
        QCOMPARE(formatUserData(r.shape, r.draws), readme);
    }

    // Lines no draw can be are bad lines, found without splitting them into every field they
    // hold, and reading goes on after them; the longest line a draw may take still reads. A
    // user data file that is not as it was written is refused whole.
    void badLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        QTest::addColumn<QString>("lottery");
        QTest::addColumn<QStringList>("firstErrors");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("draws");
        const auto row = [](const char *name, const QByteArray &bytes, int format,
                            const char *lottery, const QStringList &errors, int draws = 0,
                            int count = -1) {
            QTest::newRow(name) << bytes << format << QString::fromLatin1(lottery) << errors
                                << (count < 0 ? int(errors.size()) : count) << draws;
        };
        row("every rule",
            "1 01 02 03 + 04\n2 01 02 + 04\n3 01 02 03 04\n4 01 02 03 + 04 + 5\n1 05 06 07 + 08\n"
            "6 01 99 03 + 04\n7 01 02 03 + 02\nx8 01 02 03 + 04\n9 01 02 03 + 04 05\n",
            Text, "3:1-49+",
            {"2: expected 3 numbers after the issue, found 2",
             "3: the bonus number is missing: write it after a \"+\"",
             "4: more than one \"+\": only the bonus number follows a \"+\"",
             "5: Could not repeat the date! (issue: \"1\")",
             "6: Basic number is out of range! (number 2: \"99\")",
             "7: Existed numbers,please type another! (bonus: \"02\")",
             "8: The dates should be digits! (issue: \"x8\")",
             "9: expected one bonus number after the \"+\", found 2"});
        row("a bonus where the lottery has none", "1 01 02 03 + 04\n", Text, "3:1-49",
            {"1: this lottery has no bonus number, but the line has a \"+\""});
        const QByteArray good = "2 01 02 03 04 05 06\n";
        const QByteArray huge = QByteArray("1,").repeated(10 << 20);
        const QString hugeWhy =
            QStringLiteral("the line is 20971520 bytes long; a draw line holds at most 4320");
        row("20 MB line", huge + "\n" + good + "3 01 02\n", Text, "6:1-49",
            {"1: " + hugeWhy, "3: expected 6 numbers after the issue, found 2"});
        row("20 MB record", "issue\r\n" + huge + "\r\n2,1,2,3,4,5,6\r\n3,1\r\n", Csv, "6:1-49",
            {"2: the line is 20971521 bytes long; a draw line holds at most 4320",
             "4: expected 6 numbers after the issue, found 1"});
        row("20 MB line, no end", good + huge, Text, "6:1-49", {"2: " + hugeWhy});
        const qsizetype most = maxDrawLineBytes(shape("6:1-49"));
        const QByteArray longest = "1 01 02 03 04 05 06" + QByteArray(most - 19, ' ');
        row("longest line", longest + "\n" + good, Text, "6:1-49", {}, 2);
        row("a byte longer", longest + " \n" + good, Text, "6:1-49",
            {QStringLiteral("1: the line is %1 bytes long; a draw line holds at most %2")
                 .arg(most + 1)
                 .arg(most)});
        QByteArray keno = QByteArray(1000, '7');
        for (int n = 1; n <= 20; ++n)
            keno += QByteArray(100, ' ') + QByteArray::number(n * 4);
        row("keno, long issue, wide blanks", keno, Text, "keno", {}, 1);
        row("fields past a draw's", good + QByteArray("1 ").repeated(1000) + "\n", Text, "6:1-49",
            {"2: expected 6 numbers after the issue, found 999"});
        row("NUL byte", QByteArray("1 01 02\0 03 04 05 06\n", 21) + good, Text, "6:1-49",
            {"1: the line holds a NUL byte: the file is binary or damaged"});
        row("NUL byte in CSV", QByteArray("issue\n1,1,2\0,3,4,5,6\n", 21), Csv, "6:1-49",
            {"2: the line holds a NUL byte: the file is binary or damaged"});
        // A doubled quote in a quoted field is one quote of the field's text.
        row("doubled quote in CSV", "issue\n\"2026\"\"001\",1,2,3,4,5,6\n", Csv, "6:1-49",
            {"2: The dates should be digits! (issue: \"2026\"001\")"});
        row("150 rule breaks", QByteArray("x 01 02 03 04 05 06\n").repeated(150), Text, "6:1-49",
            {"1: The dates should be digits! (issue: \"x\")"}, 0, 150);
        // The text format of both kinds of second drum: exactly the lottery's bonus numbers
        // after the "+", checked by their drum's rules.
        row("bonus counts", "1 01 02 03 + 03\n2 01 02 03 + 01 02 03\n3 01 02 03\n", Text,
            "3:1-49+2:1-12",
            {"1: expected 2 bonus numbers after the \"+\", found 1",
             "2: expected 2 bonus numbers after the \"+\", found 3",
             "3: the bonus numbers are missing: write them after a \"+\""});
        row("drum rules", "1 01 02 03 + 13 01\n2 01 02 03 + 05 5\n", Text, "3:1-49+2:1-12",
            {"1: The bonus is out of range! (bonus: \"13\")",
             "2: Existed numbers,please type another! (bonus 2: \"5\")"});
        row("two from the basic drum", "1 01 02 03 + 04 03\n", Text, "3:1-49+2",
            {"1: Existed numbers,please type another! (bonus 2: \"03\")"});
        // Damaged user data files.
        const QByteArray saved = formatUserData(
            shape("3:1-49+"),
            readTextDraws("1 01 02 03 + 04\n2 05 06 07 + 08\n3 09 10 11 + 12\n", shape("3:1-49+"))
                .draws);
        const auto damaged = [&](const char *name, const QByteArray &bytes, const QString &error) {
            row(name, bytes, UserData, "3:1-49+", {error});
        };
        damaged("changed digit", QByteArray(saved).replace("+ 12", "+ 13"),
                "5: checksum mismatch: the draws were changed or damaged after they were saved");
        damaged("header cut", saved.left(30), "2: the header ends early: the file is truncated");
        damaged("long header line", QByteArray(10000, 'Q') + "\n",
                "1: the line is 10000 bytes long; a header line holds at most 4096");
        damaged("empty", {}, "1: not a QRT draw file (the file is empty or has no header)");
        damaged("other file", "1 2 3\n4 5 6\n7 8 9\n1 1 1\n2 2 2\n",
                "1: not a QRT draw file (it should start with \"QRTDraws 1\")");
        damaged("newer version", QByteArray(saved).replace("QRTDraws 1", "QRTDraws 3"),
                "1: format version 3 is not supported; this program reads versions 1 and 2");
        // Version 2 is kept for the shapes version 1 cannot name, and the reverse.
        damaged("one drum as version 2", QByteArray(saved).replace("QRTDraws 1", "QRTDraws 2"),
                "3: the shape 3:1-49+ cannot be in a file of format version 2");
        damaged("second drum as version 1",
                QByteArray(saved).replace("shape: 3:1-49+", "shape: 3:1-49+1:1-49"),
                "3: the shape 3:1-49+1:1-49 cannot be in a file of format version 1");
        // The count sizes the reading; a huge one must not be taken at its word.
        damaged("huge count", QByteArray(saved).replace("draws: 3", "draws: 2000000000"),
                "4: the header promises 2000000000 draws but the file holds 3");
        damaged("shape", QByteArray(saved).replace("shape: 3:1-49+", "shape: 3:9-1+"),
                "3: lottery \"3:9-1+\" cannot be drawn: 4 numbers from 9 to 1");
    }
    void badLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QFETCH(QString, lottery);
        QFETCH(QStringList, firstErrors);
        QFETCH(int, count);
        const LotteryShape s = shape(lottery);
        const ReadResult r = format == Csv        ? app::readCsv(std::move(bytes), s)
                             : format == UserData ? readUserData(bytes)
                                                  : readTextDraws(bytes, s);
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
        const LotteryShape s = shape(lottery);
        const QByteArray csv = app::formatCsv(readTextDraws(text, s).draws);
        QTEST(csv.left(csv.indexOf("\r\n")), "header");
        QCOMPARE(formatTextDraws(app::readCsv(csv, s).draws), text);
    }

    // A lottery takes only a sound file of its own shape, naming both shapes otherwise, and
    // keeps its draws when it refuses one.
    void lotteryLoads()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("User.ltk"));
        const auto save = [&](const char *id, const QByteArray &text) {
            const ReadResult r = readTextDraws(text, shape(id));
            test::writeBytes(path, formatUserData(r.shape, r.draws));
        };
        Lottery one(shape("5:1-50+"));
        save("5:1-50+", "1 01 02 03 04 05 + 06\n");
        QCOMPARE(one.ReadData(path), 1);
        save("5:1-50+2:1-12", "2026001 01 02 03 04 05 + 03 09\n");
        QCOMPARE(test::errorText([&] { one.ReadData(path); }),
                 "62: " + path +
                     ":3: the file holds draws of 5 of 1-50 + 2 of 1-12 (5:1-50+2:1-12), not of 5 "
                     "of 1-50 with a bonus number (5:1-50+)");
        QCOMPARE(one.draws().issue(0), QStringLiteral("1"));
        Lottery drum(shape("5:1-50+2:1-12"));
        QCOMPARE(drum.ReadData(path), 1);
        QCOMPARE(drum.SpecialMaxNumber(), 12);
        qint32 second = 0;
        QVERIFY(QMetaObject::invokeMethod(drum.Item(1), "GetSpecialAt",
                                          Q_RETURN_ARG(qint32, second), Q_ARG(qint32, 2)));
        QCOMPARE(second, 9);
        // The one-drum lottery has no bounds of a second drum, as if it lacked the members.
        QCOMPARE(test::errorOf([&] { one.SpecialMiniNumber(); }), 438);
    }

    // Shapes by key or by form: each names itself back, a preset by its key too, and one no
    // draw can have is refused.
    void shapes()
    {
        for (const char *id : {"5:1-69+1:1-26", "5:1-50+2:1-12", "6:1-49+1:1-49", "6:1-49+2"})
            QCOMPARE(shape(id).id(), QString::fromLatin1(id));
        QCOMPARE(shape("6:1-49+").key(), QStringLiteral("6of49"));
        QCOMPARE(shape("5:1-69+1:1-26").key(), QStringLiteral("powerball"));
        QVERIFY(!shape("6:1-49+1:1-49").sameDraws(shape("6:1-49+")));
        QString why;
        QVERIFY(!LotteryShape::parse(QStringLiteral("lotto"), &why) && why.contains(u"6of49"));
        for (const char *id : {"7:1-6+", "5:1-50+3:1-12", "5:1-50+2:5-5", "5:1-6+2"})
            QVERIFY2(!LotteryShape::parse(QString::fromLatin1(id), &why) &&
                         why.contains(u"cannot be drawn"),
                     id);
        for (const QString &key : LotteryShape::presetKeys()) {
            const LotteryShape preset = shape(key);
            QVERIFY(preset.sameDraws(shape(qPrintable(preset.id()))));
        }
    }
};

QTEST_GUILESS_MAIN(tst_DrawFiles)
#include "tst_drawfiles.moc"
