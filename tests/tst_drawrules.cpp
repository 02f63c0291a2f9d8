#include "CleanDraws.h"
#include "DrawRules.h"

#include <QRandomGenerator>
#include <QTest>

#include <set>

using namespace qrt;

namespace
{

// Draw rows written as "issue|n|n|bonus". With @p asBytes the table hands out its cells as
// UTF-8 bytes, as the file reader does, instead of as text.
class Table : public DrawTable
{
public:
    explicit Table(const QStringList &rows, bool asBytes = false) : m_asBytes(asBytes)
    {
        for (const QString &r : rows) {
            m_cells.push_back(r.split(u'|'));
            QList<QByteArray> bytes;
            for (const QString &c : m_cells.back())
                bytes << c.toUtf8();
            m_bytes.push_back(bytes);
        }
        m_cols = m_cells.empty() ? 0 : int(m_cells.front().size());
    }
    int rowCount() const override { return int(m_cells.size()); }
    int colCount() const override { return m_cols; }
    void cell(int row, int col, QString &out) const override { out = m_cells[size_t(row)].at(col); }
    bool cellBytes(int row, int col, const char *&data, qsizetype &size) const override
    {
        if (!m_asBytes)
            return false;
        const QByteArray &b = m_bytes[size_t(row)].at(col);
        data = b.constData();
        size = b.size();
        return true;
    }

private:
    std::vector<QStringList> m_cells;
    std::vector<QList<QByteArray>> m_bytes;
    bool m_asBytes;
    int m_cols = 0;
};

DrawLimits limits(int total, bool bonus, std::optional<int> mini = 1, std::optional<int> maxi = 49)
{
    DrawLimits l;
    l.totalNumber = total;
    l.checkBonus = bonus;
    l.miniNumber = mini;
    l.maxNumber = maxi;
    return l;
}

QString first(const QStringList &rows, const DrawLimits &l, bool asBytes = false)
{
    const auto found = checkDraws(Table(rows, asBytes), l, true);
    if (found.empty())
        return QStringLiteral("ok");
    return QStringLiteral("%1 at %2,%3").arg(found[0].message).arg(found[0].row).arg(found[0].col);
}

// The rules again, written the plain way for the comparison below: one pass per step,
// QString comparisons and qlonglong values, no shortcuts.
QString reference(const std::vector<QStringList> &rows, int total, bool bonus, int mini, int maxi)
{
    auto digits = [](const QString &s) {
        if (s.isEmpty())
            return false;
        for (QChar c : s)
            if (!QStringLiteral("0123456789").contains(c))
                return false;
        return true;
    };
    auto inRange = [&](const QString &s) {
        if (s.size() > 10)
            return false;
        const qlonglong v = s.toLongLong();
        return v <= 2147483647LL && v >= mini && v <= maxi;
    };
    auto at = [](int m, int r, int c) {
        return QStringLiteral("%1 at %2,%3").arg(m).arg(r).arg(c);
    };
    const int n = int(rows.size());
    for (int r = 0; r < n; ++r)
        if (!digits(rows[size_t(r)][0]))
            return at(19, r, 0);
    QStringList seen;
    for (int r = 0; r < n; ++r) {
        if (seen.contains(rows[size_t(r)][0]))
            return at(21, r, 0);
        seen << rows[size_t(r)][0];
    }
    for (int c = 1; c <= total; ++c) {
        for (int r = 0; r < n; ++r)
            if (!digits(rows[size_t(r)][c]))
                return at(22, r, c);
        for (int r = 0; r < n; ++r)
            if (!inRange(rows[size_t(r)][c]))
                return at(23, r, c);
    }
    if (!bonus)
        return QStringLiteral("ok");
    const int b = total + 1;
    for (int r = 0; r < n; ++r)
        if (!digits(rows[size_t(r)][b]))
            return at(24, r, b);
    for (int r = 0; r < n; ++r)
        if (!inRange(rows[size_t(r)][b]))
            return at(25, r, b);
    for (int r = 0; r < n; ++r) {
        QStringList keys;
        for (int c = 1; c <= b; ++c) {
            QString key = QString::number(rows[size_t(r)][c].toLongLong());
            if (key.size() < 2)
                key.prepend(u'0');
            if (keys.contains(key))
                return at(26, r, c);
            keys << key;
        }
    }
    return QStringLiteral("ok");
}

// Whether the witness a reader keeps passes every row of "issue|n|...", checking the values it
// hands out on the way.
bool witnessPasses(const QStringList &lines, const DrawLimits &l)
{
    CleanDraws witness(l);
    for (const QString &text : lines) {
        const QByteArray line = text.toUtf8();
        std::vector<std::pair<qsizetype, qsizetype>> spans;
        for (qsizetype at = 0; at <= line.size();) {
            const qsizetype bar = line.indexOf('|', at);
            const qsizetype end = bar < 0 ? line.size() : bar;
            spans.emplace_back(at, end - at);
            at = end + 1;
        }
        std::vector<qint32> values(spans.size());
        if (!witness.add(line.constData(), spans.data(), int(spans.size()), values.data()))
            return false;
        const QStringList cells = text.split(u'|');
        for (size_t c = 1; c < spans.size(); ++c)
            if (values[c - 1] != cells[qsizetype(c)].toInt())
                return false;
    }
    return witness.clean();
}

// Two basic numbers from 1 to 49; @p bonuses bonus numbers, from 1 to 12 when @p own.
DrawLimits drum(int bonuses, bool own)
{
    DrawLimits l = limits(2, true);
    l.bonusCount = bonuses;
    l.ownDrum = own;
    if (own) {
        l.bonusMini = 1;
        l.bonusMax = 12;
    }
    return l;
}

} // namespace

class tst_DrawRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstBrokenRule_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("bonus");
        QTest::addColumn<QString>("expected");
        QTest::newRow("valid") << QStringList({"2001|01|02|03", "2002|04|05|06"}) << true << "ok";
        QTest::newRow("no rows") << QStringList() << true << "ok";
        QTest::newRow("empty issue")
            << QStringList({"2001|01|02|03", "|||"}) << true << "19 at 1,0";
        QTest::newRow("blank in issue") << QStringList({" 2001|01|02|03"}) << true << "19 at 0,0";
        QTest::newRow("letter in issue") << QStringList({"20a1|01|02|03"}) << true << "19 at 0,0";
        QTest::newRow("digits before repeats")
            << QStringList({"1|01|02|03", "1|01|02|03", "x|01|02|03"}) << true << "19 at 2,0";
        QTest::newRow("issues as text")
            << QStringList({"2001|01|02|03", "02001|01|02|03"}) << true << "ok";
        QTest::newRow("the lower repeat")
            << QStringList({"1|01|02|03", "2|01|02|03", "1|01|02|03"}) << true << "21 at 2,0";
        QTest::newRow("long issues repeat")
            << QStringList({"123456789012345678901|01|02|03", "123456789012345678901|01|02|03"})
            << true << "21 at 1,0";
        QTest::newRow("long issues differ")
            << QStringList({"123456789012345678901|01|02|03", "123456789012345678902|01|02|03"})
            << true << "ok";
        QTest::newRow("digits pass before range pass")
            << QStringList({"1|50|02|03", "2|01|02|03", "3|x|02|03"}) << true << "22 at 2,1";
        QTest::newRow("column by column")
            << QStringList({"1|01|x|03", "2|50|02|03"}) << true << "23 at 1,1";
        QTest::newRow("bounds inclusive") << QStringList({"1|01|49|03"}) << true << "ok";
        QTest::newRow("below") << QStringList({"1|00|02|03"}) << true << "23 at 0,1";
        QTest::newRow("above") << QStringList({"1|01|50|03"}) << true << "23 at 0,2";
        QTest::newRow("eleven nines")
            << QStringList({"1|99999999999|02|03"}) << true << "23 at 0,1";
        QTest::newRow("sign") << QStringList({"1|+1|02|03"}) << true << "22 at 0,1";
        QTest::newRow("bonus digits")
            << QStringList({"1|01|02|", "2|01|02|3x"}) << true << "24 at 0,3";
        QTest::newRow("bonus range") << QStringList({"1|01|02|50"}) << true << "25 at 0,3";
        QTest::newRow("same value, other text")
            << QStringList({"1|07|7|03", "2|01|02|03"}) << true << "26 at 0,2";
        QTest::newRow("007") << QStringList({"1|01|007|07"}) << true << "26 at 0,3";
        QTest::newRow("bonus repeats a number")
            << QStringList({"1|05|06|05"}) << true << "26 at 0,3";
        QTest::newRow("no repeats without bonus") << QStringList({"1|05|05"}) << false << "ok";
        QTest::newRow("no bonus steps without bonus") << QStringList({"1|05|06"}) << false << "ok";
    }
    void firstBrokenRule()
    {
        QFETCH(QStringList, rows);
        QFETCH(bool, bonus);
        QFETCH(QString, expected);
        QCOMPARE(first(rows, limits(2, bonus)), expected);
    }

    // Each rule with bonus numbers from a drum of their own, and with two from the basic drum.
    void secondDrum_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("bonuses");
        QTest::addColumn<bool>("own");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("all");
        QTest::newRow("bonus equals a basic number, own drum")
            << QStringList{"1|05|07|05"} << 1 << true << "ok"
            << "";
        QTest::newRow("bonus equals a basic number, basic drum")
            << QStringList{"1|05|07|05"} << 1 << false << "26 at 0,3"
            << "26 at 0,3";
        QTest::newRow("bonus above its drum")
            << QStringList{"1|05|07|13"} << 1 << true << "25 at 0,3"
            << "25 at 0,3";
        QTest::newRow("bonus below its drum")
            << QStringList{"1|05|07|00"} << 1 << true << "25 at 0,3"
            << "25 at 0,3";
        QTest::newRow("the basic bounds are not the bonus's")
            << QStringList{"1|05|07|49"} << 1 << true << "25 at 0,3"
            << "25 at 0,3";
        QTest::newRow("two from their drum") << QStringList{"1|05|07|05|07"} << 2 << true << "ok"
                                             << "";
        QTest::newRow("second repeats the first")
            << QStringList{"1|05|07|03|3"} << 2 << true << "26 at 0,4"
            << "26 at 0,4";
        QTest::newRow("second not digits") << QStringList{"1|05|07|03|"} << 2 << true << "24 at 0,4"
                                           << "24 at 0,4";
        QTest::newRow("bonus columns left to right")
            << QStringList{"1|05|07|03|x", "2|05|07|13|04"} << 2 << true << "25 at 1,3"
            << "25 at 1,3;24 at 0,4";
        QTest::newRow("basic repeats, then bonus repeats")
            << QStringList{"1|05|05|03|03", "2|09|09|04|05"} << 2 << true << "26 at 0,2"
            << "26 at 0,2;26 at 0,4;26 at 1,2";
        QTest::newRow("two from the basic drum, all distinct")
            << QStringList{"1|05|07|03|05"} << 2 << false << "26 at 0,4"
            << "26 at 0,4";
        QTest::newRow("two from the basic drum, its bounds")
            << QStringList{"1|05|07|03|49", "2|05|07|03|50"} << 2 << false << "25 at 1,4"
            << "25 at 1,4";
    }
    void secondDrum()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, bonuses);
        QFETCH(bool, own);
        QFETCH(QString, expected);
        QFETCH(QString, all);
        const DrawLimits l = drum(bonuses, own);
        for (bool asBytes : {false, true})
            QCOMPARE(first(rows, l, asBytes), expected);
        QStringList found;
        for (const RuleBreak &b : checkDraws(Table(rows), l, false))
            found << QStringLiteral("%1 at %2,%3").arg(b.message).arg(b.row).arg(b.col);
        QCOMPARE(found.join(u';'), all);
        // A reader's witness passes exactly the clean histories (these rise in issue order).
        QCOMPARE(witnessPasses(rows, l), expected == u"ok");
    }

    void secondDrumWithoutBounds()
    {
        DrawLimits l = drum(1, true);
        l.bonusMax.reset();
        QCOMPARE(first({"1|05|07|03"}, l), QStringLiteral("25 at 0,3"));
        QVERIFY(!witnessPasses({"1|05|07|03"}, l));
    }

    // "Row 4 holds 05 in column 2 and 5 in column 4": the later cell is the one reported.
    void repeatFoundAtTheLaterCell()
    {
        const QStringList rows = {"1|01|02|03|04|05", "2|01|02|03|04|05", "3|01|02|03|04|05",
                                  "4|01|02|03|04|05", "5|01|05|03|5|06"};
        QCOMPARE(first(rows, limits(4, true)), QStringLiteral("26 at 4,4"));
    }

    void missingBoundFailsEveryRange()
    {
        QCOMPARE(first({"1|01|02|03"}, limits(2, true, std::nullopt)), QStringLiteral("23 at 0,1"));
        QCOMPARE(first({"1|01|02|03"}, limits(2, true, 1, std::nullopt)),
                 QStringLiteral("23 at 0,1"));
        QCOMPARE(first({"1|x|02|03"}, limits(2, true, std::nullopt)), QStringLiteral("22 at 0,1"));
    }

    void everyBrokenRule()
    {
        const QStringList rows = {"1|01|02|03", "1|x|50|", "a|05|05|05"};
        const auto found = checkDraws(Table(rows), limits(2, true), false);
        const std::vector<RuleBreak> expected = {{19, 2, 0}, {21, 1, 0}, {22, 1, 1}, {23, 1, 2},
                                                 {24, 1, 3}, {26, 2, 2}, {26, 2, 3}};
        QCOMPARE(found.size(), expected.size());
        for (size_t i = 0; i < found.size(); ++i)
            QVERIFY2(found[i] == expected[i], qPrintable(QStringLiteral("break %1: %2 at %3,%4")
                                                             .arg(i)
                                                             .arg(found[i].message)
                                                             .arg(found[i].row)
                                                             .arg(found[i].col)));
    }

    // Random small tables, mostly valid, with one or two faults of every kind sprinkled in.
    void agreesWithReference()
    {
        QRandomGenerator rng(4711);
        int passed = 0;
        const QStringList faults = {
            "", " 1", "x", "0", "50", "99999999999", "007", "+3", "١", "123456789012345678901"};
        for (int round = 0; round < 3000; ++round) {
            const int total = 1 + int(rng.bounded(4));
            const bool bonus = rng.bounded(2) == 1;
            // Now and then a range around 1024, where the check for a value repeated in a
            // draw changes how it remembers values.
            const bool wide = rng.bounded(4) == 0;
            const int mini = wide ? 1018 + int(rng.bounded(3)) : int(rng.bounded(3));
            const int maxi = wide ? 1026 + int(rng.bounded(4)) : 5 + int(rng.bounded(45));
            const int cols = total + 1 + (bonus ? 1 : 0);
            const int n = int(rng.bounded(6));
            std::vector<QStringList> rows;
            QStringList lines;
            for (int r = 0; r < n; ++r) {
                QStringList cells = {QString::number(rng.bounded(8))};
                for (int c = 1; c < cols; ++c)
                    cells << QString::number(mini + int(rng.bounded(maxi - mini + 1)));
                if (rng.bounded(3) == 0)
                    cells[int(rng.bounded(cols))] = faults[int(rng.bounded(int(faults.size())))];
                rows.push_back(cells);
                lines << cells.join(u'|');
            }
            const QString expected = reference(rows, total, bonus, mini, maxi);
            // A reader that saw every draw pass skips the full check: the witness may doubt a
            // clean table, but never pass one that breaks a rule, and hands out the values.
            const bool clean = witnessPasses(lines, limits(total, bonus, mini, maxi));
            if (clean) {
                QCOMPARE(QStringLiteral("ok"), expected);
                ++passed;
            }
            for (bool asBytes : {false, true}) {
                const QString actual = first(lines, limits(total, bonus, mini, maxi), asBytes);
                QVERIFY2(actual == expected,
                         qPrintable(
                             QStringLiteral("%1 vs %2 for %3 (%4)")
                                 .arg(actual, expected, lines.join(u' '),
                                      asBytes ? QStringLiteral("bytes") : QStringLiteral("text"))));
            }
        }
        QVERIFY2(passed > 500, qPrintable(QString::number(passed)));
    }
};

QTEST_GUILESS_MAIN(tst_DrawRules)
#include "tst_drawrules.moc"
