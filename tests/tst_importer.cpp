// The importer on result files as lotteries publish them: every layout rule, the rows it must
// list instead of taking, and the merge into a held history.
#include "DrawGaps.h"
#include "ResultImporter.h"
#include "TestSupport.h"

#include <qrt/refhost/DrawFiles.h>

#include <QTemporaryFile>
#include <QTest>

using namespace qrt;
using namespace qrt::domain;
using qrt::test::shape;

namespace
{
// The draws read: in the text draw format when they are a few, else counted with their first
// and last issue.
QString outcome(const ref::DrawList &draws)
{
    if (draws.size() <= 12)
        return QString::fromLatin1(ref::formatTextDraws(draws));
    return QStringLiteral("%1 draws, %2 to %3")
        .arg(draws.size())
        .arg(draws.issue(0), draws.issue(draws.size() - 1));
}

// What an importer made of a file, for comparing two reads of it.
QString readBack(const ResultImporter &imp, const ref::Status &read)
{
    return QStringLiteral("%1|%2|%3|%4")
        .arg(read.ok() ? imp.layout().describe() : read.message(),
             imp.describeBad(QStringLiteral("f")).join(u'\n'))
        .arg(imp.repeats())
        .arg(QString::fromLatin1(ref::formatTextDraws(imp.draws())));
}

// @p bytes read whole, then from a file a piece at a time, the first piece @p head bytes and
// each one after it @p piece bytes: the same must come out.
void comparePieces(const ref::LotteryShape &s, const QByteArray &bytes, qsizetype head,
                   std::initializer_list<qsizetype> pieces)
{
    QTemporaryFile f;
    QVERIFY(f.open() && f.write(bytes) == bytes.size() && f.flush());
    ResultImporter whole(s);
    const QString expected = readBack(whole, whole.read(bytes));
    for (const qsizetype piece : pieces) {
        ResultImporter inPieces(s);
        inPieces.setPieceBytes(head, piece);
        QCOMPARE(readBack(inPieces, inPieces.readFile(f.fileName())), expected);
    }
}

} // namespace

class tst_Importer : public QObject
{
    Q_OBJECT
private slots:
    // Each row: a file as some publisher writes it ("@name" for a file of tests/data, read
    // whole as downloaded), the draws that must come out, the bad lines listed, what the first
    // of them says or why the file cannot be used at all, and the shape that holds the file.
    // At most a hundred bad rows are listed, the first by line, and all are counted; the
    // reasons name the line, the column and the value. A file refused only for the lottery's
    // shape names the smallest shape that holds it: a game whose drum widened in some year, or
    // a file of a game with another count of bonus numbers. Any other broken rule leaves the
    // choice to the user.
    void files_data()
    {
        QTest::addColumn<QString>("lottery");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("draws"); // see outcome()
        QTest::addColumn<QString>("bad");   // the lines listed, or "N bad" for more than 12
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("holding"); // the key of the shape, empty for none
        const auto row = [](const char *name, const char *lottery, const QByteArray &file,
                            const QByteArray &draws, const char *bad = "", const char *said = "",
                            const char *holding = "") {
            QTest::newRow(name) << QString::fromLatin1(lottery) << file
                                << QString::fromLatin1(draws) << QString::fromLatin1(bad)
                                << QString::fromLatin1(said) << QString::fromLatin1(holding);
        };
        const QByteArray two = "101 01 02 03 04 05 06\n102 07 08 09 10 11 12\n";
        row("text draw file, comments, CR LF, bonus", "6of49",
            "# mine\r\n\r\n1 06 05 04 03 02 01 + 07\r\n2,1,2,3,4,5,6 +8\r\n",
            "1 01 02 03 04 05 06 + 07\n2 01 02 03 04 05 06 + 08\n");
        row("BOM, empty lines, a title, then the header", "6:1-49",
            "\xEF\xBB\xBF\n\nResults of the game\nDraw,N1,N2,N3,N4,N5,N6\n101,1,2,3,4,5,6\n"
            "102,7,8,9,10,11,12\n",
            two);
        row("semicolons, Latin-1 names, issue not first, extra columns", "6:1-49",
            "Jackpot;Bola 1;Bola 2;Bola 3;Bola 4;Bola 5;Bola 6;N\xFAmero Sorteo;Machine\n"
            "1,5;1;2;3;4;5;6;101;Arthur\n2,0;7;8;9;10;11;12;102;Guinevere\n",
            two);
        row("the program's own CSV export, two bonus numbers", "euromillions",
            "issue,n1,n2,n3,n4,n5,bonus,bonus2\r\n1,01,02,03,04,05,03,09\r\n",
            "1 01 02 03 04 05 + 03 09\n");
        row("pipes, quoted", "6:1-49",
            "\"Draw\"|\"Numbers\"\n\"101\"|\"1 2 3 4 5 6\"\n102|\"7 8 9 10 11 12\"\n", two);
        row("blanks, no header: the first row is a draw", "6:1-49",
            "  101   1 2 3 4 5 6\n102 7 8 9 10 11 12\n", two);
        row("one number more gives the bonus", "5:1-69+",
            "Draw Date,Winning Numbers,Multiplier\n09/23/2025,03 16 29 61 69 22,2\n",
            "20250923 03 16 29 61 69 + 22\n");
        row("date formats, time part ignored", "2:1-49",
            "date,n1,n2\n2025-08-29 20:30:00,1,2\n30-Aug-2025,1,2\n2025.08.31.,1,2\n1.9.2025,1,2\n"
            "\"Sep 2, 2025\",1,2\n20250903,1,2\n",
            "20250829 01 02\n20250830 01 02\n20250831 01 02\n20250901 01 02\n20250902 01 02\n"
            "20250903 01 02\n");
        row("month first, decided by the column", "2:1-49",
            "Draw Date,N1,N2\n8/9/2025,1,2\n08/29/2025,3,4\n", "20250809 01 02\n20250829 03 04\n");
        row("day first, decided by the column", "2:1-49",
            "Draw Date,N1,N2\n8/9/2025,1,2\n29/08/2025,3,4\n", "20250829 03 04\n20250908 01 02\n");
        row("the draw number wins over the date", "2:1-49",
            "Draw Date,Draw Number,N1,N2\n2025-08-29,7,1,2\n", "7 01 02\n");
        row("no header: the game's name, month, day and year in columns", "6:1-54",
            "Lotto Texas,11,18,1992,7,8,10,12,36,44\nLotto Texas,11,14,1992,3,19,20,21,26,28\n",
            "19921114 03 19 20 21 26 28\n19921118 07 08 10 12 36 44\n");
        row("number fields like 1-2-3 are no dates, digits keep their order", "daily3",
            "draw,digits\n1,1-2-3\n2,0-0-7\n3,9-0-9\n", "1 01 02 03\n2 00 00 07\n3 09 00 09\n");
        row("newest first and mixed, by value then length", "2:1-49",
            "id,n1,n2\n10,1,2\n9,1,2\n0010,3,4\n1,5,6\n",
            "1 05 06\n9 01 02\n10 01 02\n0010 03 04\n");
        // A # row is a bad row outside the text draw file.
        row("rows breaking rules of their own", "3:1-49",
            "id,n1,n2,n3\n1,1,2,3\n2,1,2,50\n3,1,1,3\n4,1,x,3\n5,1,2\n#6,1,2,3\n", "1 01 02 03\n",
            "3,4,5,6,7");
        row("identical repeats count once, differing ones and bad ones are all bad", "2:1-49",
            "id,n1,n2\n1,1,2\n1,2,1\n2,1,2\n2,1,3\n3,5,6\n3,5,0\n", "1 01 02\n3 05 06\n", "4,5,7");
        row("an impossible date", "2:1-49", "date,n1,n2\n2025-02-30,1,2\n31/12/2025,1,2\n",
            "20251231 01 02\n", "2");
        row("nothing to find the numbers by", "6:1-49", "name,remark\nAnna,Bob\n", {}, "",
            "no column holds the draw number");
        row("an empty file", "2:1-49", {}, {});
        row("CR alone ends lines", "2:1-49", "id,n1,n2\r1,1,2\r2,3,4\r", "1 01 02\n2 03 04\n");
        row("a quoted line break counts as a line", "2:1-49", "id,n1,n2\n\"1\n\",1,2\n2,3,x\n", {},
            "2,4");
        row("a quote left open is a bad line, not the rest of the file", "2:1-49",
            QByteArray("id,n1,n2\n\"1,1,2\n") + QByteArray(" \n").repeated(35000) + "2,3,4\n",
            "2 03 04\n", "2");
        // UTF-16 arrives converted, with or without a byte order mark.
        QByteArray utf16 = "\xFF\xFE";
        for (const QChar c : QStringLiteral("Número,n1,n2\r\n7,1,2\r\n"))
            utf16 += char(c.unicode() & 0xFF), utf16 += char(c.unicode() >> 8);
        row("UTF-16 with a byte order mark", "2:1-49", utf16, "7 01 02\n");
        row("UTF-16 without one", "2:1-49", utf16.mid(2), "7 01 02\n");
        row("numbers above 255, repeats compared", "2:1-300",
            "id,n1,n2\n1,300,256\n1,256,300\n2,1,299\n", "1 256 300\n2 01 299\n");
        // Bonus numbers from a drum of their own: checked against that drum, and they may
        // equal a basic number but not one another.
        row("5 of 69 + 1 of 26, the bonus last in the winning numbers", "powerball",
            "Draw Date,Winning Numbers,Multiplier\r\n09/27/2025,03 16 29 61 69 16,2\r\n"
            "09/24/2025,01 02 03 04 05 26,3\r\n09/20/2025,01 02 03 04 05 27,2\r\n"
            "09/17/2025,01 02 03 04 70 07,2\r\n09/13/2025,01 01 03 04 05 07,2\r\n",
            "20250924 01 02 03 04 05 + 26\n20250927 03 16 29 61 69 + 16\n", "4,5,6");
        row("a Mega Ball column", "5:1-70+1:1-25",
            "Draw,N1,N2,N3,N4,N5,Mega Ball\n1,1,2,3,4,70,25\n", "1 01 02 03 04 70 + 25\n");
        row("5 of 50 + 2 of 12: Lucky Star 1 and 2, newest first, DD-Mon-YYYY", "euromillions",
            "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Lucky Star 1,Lucky Star 2,"
            "UK Millionaire Maker\n29-Aug-2025,04,11,17,25,41,11,07,\"XJRD12345\"\n"
            "26-Aug-2025,04,11,17,25,41,07,07,\"XJRD12344\"\n"
            "22-Aug-2025,04,11,17,25,41,07,13,\"XJRD12343\"\n"
            "19-Aug-2025,04,11,17,25,41,07,\"\",\"XJRD12342\"\n"
            "15-Aug-2025,50,11,17,25,01,12,01,\"XJRD12341\"\n",
            "20250815 01 11 17 25 50 + 12 01\n20250829 04 11 17 25 41 + 11 07\n", "3,4,5");
        row("5+2 in the winning numbers", "euromillions",
            "Date,Winning Numbers\n2025-08-29,03-09-17-28-41-05-09\n",
            "20250829 03 09 17 28 41 + 05 09\n");
        row("Star 1/2 in one field", "5:1-35+2:1-12",
            "issue,numbers,Star 1/2\n25001,1 2 3 4 5,3/9\n", "25001 01 02 03 04 05 + 03 09\n");
        row("no header: the two bonus numbers end the row", "euromillions",
            "2025-08-29,3,9,17,28,41,5,9,1\n2025-09-02,1,2,3,4,5,1,2,0\n",
            "20250829 03 09 17 28 41 + 05 09\n20250902 01 02 03 04 05 + 01 02\n");
        row("text draw file: exactly two bonus numbers", "euromillions",
            "1 01 02 03 04 05 + 03 09\n2 1,2,3,4,5 + 3\n3 1 2 3 4 5 + 3 9 10\n",
            "1 01 02 03 04 05 + 03 09\n", "2,3");
        row("US 5+1, newest first, date and joined numbers", "5:1-69", "@published-us-5plus1.csv",
            "60 draws, 20250101 to 20250519");
        row("UK 6 of 59 with a bonus ball, extra columns", "6:1-59+", "@published-uk-lotto.csv",
            "40 draws, 3001 to 3040");
        row("Hungarian 5 of 90, no header, semicolons", "5:1-90", "@published-hu-5of90.csv",
            "30 draws, 20250201 to 20250823");
        row("Canadian 6 of 49, junk repeats of a draw number", "6of49", "@published-ca-649.csv",
            "45 draws, 4001 to 4045", "7,17,27,37,47",
            "7: number 0 is out of range 1 to 49 (column \"BONUS NUMBER\")", "6:0-49+");
        row("Chinese 6 of 33 + 1 of 16, issue YYYYNNN, tabs", "ssq", "@published-cn-ssq.csv",
            "50 draws, 2025001 to 2025050");
        row("US 5 of 69 + 1 of 26, white balls joined by |", "powerball", "@us-powerball-2015.csv",
            "1390 draws, 20151007 to 20260805");
        row("US 5 of 70 + 1 of 25, dates without leading zeros", "5:1-70+1:1-25",
            "@us-megamillions-2017.csv", "916 draws, 20171031 to 20260807");
        QByteArray halfBad = "Draw,Ball 1,Ball 2\n";
        for (int i = 1; i <= 500; ++i)
            halfBad += QByteArray::number(i) + (i % 2 ? ",1,2\n" : ",1,99\n");
        row("every other row bad", "2:1-49", halfBad, "250 draws, 1 to 499", "250 bad",
            "3: number 99 is out of range 1 to 49 (column \"Ball 2\")", "2:1-99");
        row("a published history reaching back past a wider bonus drum", "megamillions",
            "@us-megamillions-2017.csv", "880 draws, 20171031 to 20260807", "36 bad",
            "18: bonus 25 is out of range 1 to 24 (column \"yellow_ball\")", "5:1-70+1:1-25");
        row("a number beyond the drum and a repeat: no shape helps", "powerball",
            "Draw Date,Winning Numbers\n10/03/2015,01 02 03 04 70 5\n10/17/2015,01 01 03 04 69 "
            "26\n",
            {}, "2,3", "2: number 70 is out of range 1 to 69 (column \"Winning Numbers\")");
        // A line longer than any draw is refused without splitting it, and reading goes on.
        row("a 20 MB line", "6:1-49",
            QByteArray("1,").repeated(10 << 20) + "\n2 01 02 03 04 05 06\n3\n",
            "2 01 02 03 04 05 06\n", "1,3",
            "1: the line is 20971520 bytes long; a draw line holds at most 65536");
        row("a NUL byte", "6:1-49", QByteArray("1 01 02 03 04 05 06\n2 01\0 02\n", 29),
            "1 01 02 03 04 05 06\n", "2",
            "2: the line holds a NUL byte: the file is binary or damaged");
        const QByteArray euro = "Draw Date,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Lucky Star 1,"
                                "Lucky Star 2\n02-Sep-2025,1,2,3,4,50,3,12\n"
                                "29-Aug-2025,5,6,7,8,9,1,2\n";
        const char *twoBonuses =
            "2: expected one bonus number, found 2 (columns \"Lucky Star 1\", \"Lucky Star 2\")";
        row("a two-drum file for a one-drum shape", "megamillions", euro, {}, "2,3", twoBonuses,
            "euromillions");
        row("a one-drum file for a two-drum shape", "euromillions",
            "Draw Date,Winning Numbers,Multiplier\n09/27/2025,03 16 29 61 69 26,2\n"
            "09/24/2025,01 02 03 04 05 1,2\n",
            {}, "2,3", "2: expected 2 bonus numbers, found 1", "powerball");
        row("two bonus numbers in a text file for one from the same drum", "5:1-50+",
            "1 01 02 03 04 50 + 03 12\n2 01 02 03 04 05 + 01 12\n", {}, "1,2",
            "1: expected one bonus number after the \"+\", found 2", "euromillions");
        row("a row that fits the lottery: the file is not of another game", "megamillions",
            euro + "26-Aug-2025,5,6,7,8,9,1\n", "20250826 05 06 07 08 09 + 01\n", "2,3",
            twoBonuses);
    }
    void files()
    {
        QFETCH(QString, lottery);
        QFETCH(QByteArray, file);
        QFETCH(QString, said);
        QFETCH(QString, holding);
        const QByteArray bytes =
            file.startsWith('@')
                ? test::fileBytes(QRT_TEST_DATA "/" + QString::fromLatin1(file.mid(1)))
                : file;
        comparePieces(shape(lottery), bytes, 64, {7, 509});
        ResultImporter imp(shape(lottery));
        if (const ref::Status s = imp.read(bytes); !s.ok()) {
            QVERIFY2(!said.isEmpty() && s.message().contains(said), qPrintable(s.message()));
            return;
        }
        QStringList bad;
        for (const ref::ReadError &e : imp.badRows())
            bad << QString::number(e.line);
        QTEST(outcome(imp.draws()), "draws");
        QTEST(imp.badCount() > 12 ? QStringLiteral("%1 bad").arg(imp.badCount()) : bad.join(u','),
              "bad");
        QCOMPARE(imp.badRows().size(), std::min<qsizetype>(imp.badCount(), 100));
        const QStringList lines = imp.describeBad(QStringLiteral("f"), 1);
        if (!said.isEmpty())
            QCOMPARE(lines.value(0), QStringLiteral("f:") + said);
        QCOMPARE(lines.value(1), imp.badCount() > 1
                                     ? QStringLiteral("... and %1 more").arg(imp.badCount() - 1)
                                     : QString());
        QCOMPARE(imp.holdingShape() ? imp.holdingShape()->key() : QString(), holding);
        QCOMPARE(imp.shapeHint().isEmpty(), holding.isEmpty());
        // Both shapes named: the lottery's and the one that holds the file.
        if (!holding.isEmpty())
            QVERIFY2(imp.shapeHint().contains(shape(lottery).id()) &&
                         imp.shapeHint().endsWith(QStringLiteral("use --lottery ") + holding),
                     qPrintable(imp.shapeHint()));
    }

    // New issues go in by ascending issue between held ones; held draws keep their order;
    // the same numbers in another order are held already, other numbers a conflict.
    void merge_data()
    {
        QTest::addColumn<QString>("lottery");
        QTest::addColumn<QByteArray>("held");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QByteArray>("merged");
        QTest::addColumn<QString>("counts");   // added, already held, conflicts
        QTest::addColumn<QString>("conflict"); // the file's side of the first conflict
        const auto row = [](const char *name, const char *lottery, const QByteArray &held,
                            const QByteArray &file, const QByteArray &merged, const char *counts,
                            const char *conflict = "") {
            QTest::newRow(name) << QString::fromLatin1(lottery) << held << file << merged
                                << QString::fromLatin1(counts) << QString::fromLatin1(conflict);
        };
        row("into nothing, the drawn order kept", "daily3", {}, "2 0 0 7\n1 9 1 5\n",
            "1 09 01 05\n2 00 00 07\n", "2 0 0");
        row("between held ones, found far apart, a conflict kept as held", "2:1-49",
            "1 01 02\n2 01 02\n3 01 02\n5 01 02\n9 01 02\n10 01 02\n",
            "2 1 2\n4 5 6\n5 1 2\n9 2 1\n10 1 3\n11 1 2\n12 3 4\n",
            "1 01 02\n2 01 02\n3 01 02\n4 05 06\n5 01 02\n9 01 02\n10 01 02\n11 01 02\n12 03 04\n",
            "3 3 1", "01 03");
        row("held out of order stay so", "2:1-49", "5 01 02\n3 01 02\n", "4 5 6\n",
            "4 05 06\n5 01 02\n3 01 02\n", "1 0 0");
        row("order matters in the daily digits game", "daily3", "1 01 02 03\n", "1 3 2 1\n",
            "1 01 02 03\n", "0 0 1", "03 02 01");
        row("every bonus number compared", "euromillions",
            "1 01 02 03 04 05 + 03 09\n2 01 02 03 04 05 + 03 09\n",
            "1 1 2 3 4 5 + 3 9\n2 1 2 3 4 5 + 3 10\n3 1 2 3 4 5 + 9 3\n",
            "1 01 02 03 04 05 + 03 09\n2 01 02 03 04 05 + 03 09\n3 01 02 03 04 05 + 09 03\n",
            "1 1 1", "01 02 03 04 05 + 03 10");
    }
    void merge()
    {
        QFETCH(QString, lottery);
        QFETCH(QByteArray, held);
        QFETCH(QByteArray, file);
        QFETCH(QString, conflict);
        const ref::LotteryShape s = shape(lottery);
        const ref::ReadResult h = ref::readTextDraws(held, s);
        QVERIFY(h.ok());
        // Held draws lent, and held draws given up (extended in place where the file's new
        // issues all come after them): the same merge either way.
        for (const bool givenUp : {false, true}) {
            ResultImporter imp(s);
            QVERIFY(imp.read(file).ok());
            ref::DrawList lent = h.draws;
            const ResultImporter::Merge m =
                givenUp ? imp.mergeInto(std::move(lent)) : imp.mergeInto(std::as_const(lent));
            QTEST(QStringLiteral("%1 %2 %3").arg(m.added).arg(m.alreadyHeld).arg(m.conflictCount),
                  "counts");
            QTEST(ref::formatTextDraws(m.draws), "merged");
            if (m.conflictCount > 0)
                QCOMPARE(m.conflicts.front().file, conflict);
        }
    }

    // Holes in a history: plain draw numbers, a long run of them in one line, per year for
    // YYYYNNN issues, and dates of the usual draw weekdays without a draw.
    void gaps_data()
    {
        QTest::addColumn<QByteArray>("held");
        QTest::addColumn<QStringList>("missing");
        QTest::newRow("draw numbers, a long hole")
            << QByteArray("4045 1 2\n4048 1 2\n4049 1 2\n6050 1 2\n")
            << QStringList{"4046", "4047", "4050 to 6049 (2000 missing)"};
        QTest::newRow("a year and a count")
            << QByteArray("2024103 1 2\n2024105 1 2\n2025002 1 2\n2025003 1 2\n")
            << QStringList{"2024104", "2025001"};
        // Wednesdays and Saturdays; a Monday draw once is no usual day.
        QTest::newRow("dates") << QByteArray(
                                      "20250802 1 2\n20250806 1 2\n20250813 1 2\n20250816 1 2\n"
                                      "20250818 1 2\n20250820 1 2\n20250823 1 2\n20250827 1 2\n"
                                      "20250830 1 2\n20250903 1 2\n20250906 1 2\n20250910 1 2\n")
                               << QStringList{"20250809"};
    }
    void gaps()
    {
        QFETCH(QByteArray, held);
        const ref::ReadResult r = ref::readTextDraws(held, shape(QStringLiteral("2:1-49")));
        QVERIFY(r.ok());
        QTEST(DrawGaps::of(r.draws), "missing");
    }

    // A file is read a piece at a time; wherever a piece ends (in a quoted field, between CR
    // and LF, in a character of several bytes, before the rows that decide the day-month order
    // or the encoding), the same comes out as from the whole file.
    void piecesReadAsWhole_data()
    {
        QTest::addColumn<QString>("lottery");
        QTest::addColumn<QByteArray>("file");
        const auto row = [](const char *name, const char *lottery, const QByteArray &head,
                            const char *rowText, const QByteArray &tail) {
            QByteArray file = head;
            for (int i = 1; i <= 400; ++i)
                file += QString::fromLatin1(rowText).arg(i).toLatin1();
            QTest::newRow(name) << QString::fromLatin1(lottery) << file + tail;
        };
        row("quoted, CR LF", "3:1-49", "Draw,\"Numbers\",Note\r\n",
            "%1,\"1 2 3\",\"a,\"\"b\"\"\"\r\n", "599,\"4\r\n5 6\",x\r\n600,\"7 8 9\",\"open\r\n");
        row("a late Latin-1 byte", "3:1-49", "Draw,N1,N2,N3\n", "%1,1,2,3\n",
            "660,4,5,\xE9\n661,7,8,9");
        row("a late UTF-8 character", "3:1-49", "Draw,N1,N2,N3\n", "%1,1,2,3\n",
            "660,4,5,\xC3\xA9\xE2\x82\xAC\n661,7,8,9\n");
        row("late dates decide the day", "3:1-49", "Date,N1,N2,N3,Note\n", "01/02/2020,1,2,3,%1\n",
            "13/03/2020,4,5,6,x\n");
        row("text draws, NUL and comments", "3:1-49+", "# mine\n", "%1 1 2 3 + 4\n",
            "# late\n670 4 5 6 + 7\n671 1\0 2 3 + 4\n672 1 2 3\n");
    }
    void piecesReadAsWhole()
    {
        QFETCH(QString, lottery);
        QFETCH(QByteArray, file);
        comparePieces(shape(lottery), file, 64, {1, 2, 3, 5, 8, 4096});
    }
};

QTEST_GUILESS_MAIN(tst_Importer)
#include "tst_importer.moc"
