#include "CleanDraws.h"
#include "DrawRules.h"

#include <QRandomGenerator>
#include <QTest>

#include <algorithm>

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
        for (const QString &r : rows)
            m_cells.push_back(r.toUtf8().split('|'));
    }
    int rowCount() const override { return int(m_cells.size()); }
    int colCount() const override { return m_cells.empty() ? 0 : int(m_cells.front().size()); }
    void cell(int row, int col, QString &out) const override
    {
        out = QString::fromUtf8(m_cells[size_t(row)].at(col));
    }
    bool cellBytes(int row, int col, const char *&data, qsizetype &size) const override
    {
        if (!m_asBytes)
            return false;
        const QByteArray &b = m_cells[size_t(row)].at(col);
        data = b.constData();
        size = b.size();
        return true;
    }

private:
    std::vector<QByteArrayList> m_cells;
    bool m_asBytes;
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
        return !s.isEmpty() &&
               std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
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
    if (own)
        l.bonusMini = 1, l.bonusMax = 12;
    return l;
}

} // namespace

class tst_DrawRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Two basic numbers from 1 to 49 unless a row says otherwise; a bound of -1 is none.
    void firstBrokenRule_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<bool>("bonus");
        QTest::addColumn<int>("total");
        QTest::addColumn<int>("mini");
        QTest::addColumn<int>("maxi");
        const auto row = [](const char *name, const QStringList &rows, const char *expected,
                            bool bonus = true, int total = 2, int mini = 1, int maxi = 49) {
            QTest::newRow(name) << rows << QString::fromLatin1(expected) << bonus << total << mini
                                << maxi;
        };
        // One row for each rule's message; the order in which rules and cells are visited, the
        // bounds and the odd spellings of numbers are left to the comparison with the reference.
        row("empty issue", {"2001|01|02|03", "|||"}, "19 at 1,0");
        row("issues as text", {"2001|01|02|03", "02001|01|02|03"}, "ok");
        row("the lower repeat", {"1|01|02|03", "2|01|02|03", "1|01|02|03"}, "21 at 2,0");
        row("long issues repeat",
            {"123456789012345678901|01|02|03", "123456789012345678901|01|02|03"}, "21 at 1,0");
        row("long issues differ",
            {"123456789012345678901|01|02|03", "123456789012345678902|01|02|03"}, "ok");
        row("above", {"1|01|50|03"}, "23 at 0,2");
        row("sign", {"1|+1|02|03"}, "22 at 0,1");
        row("bonus digits", {"1|01|02|", "2|01|02|3x"}, "24 at 0,3");
        row("bonus range", {"1|01|02|50"}, "25 at 0,3");
        row("same value, other text", {"1|07|7|03", "2|01|02|03"}, "26 at 0,2");
        row("007", {"1|01|007|07"}, "26 at 0,3");
        row("bonus repeats a number", {"1|05|06|05"}, "26 at 0,3");
        row("no repeats without bonus", {"1|05|05"}, "ok", false);
        // "Row 4 holds 05 in column 2 and 5 in column 4": the later cell is the one reported.
        row("a repeat found at the later cell",
            {"1|01|02|03|04|05", "2|01|02|03|04|05", "3|01|02|03|04|05", "4|01|02|03|04|05",
             "5|01|05|03|5|06"},
            "26 at 4,4", true, 4);
        // A missing bound fails every range, after the digits.
        row("no lower bound", {"1|01|02|03"}, "23 at 0,1", true, 2, -1);
        row("no upper bound", {"1|01|02|03"}, "23 at 0,1", true, 2, 1, -1);
        row("digits before a missing bound", {"1|x|02|03"}, "22 at 0,1", true, 2, -1);
    }
    void firstBrokenRule()
    {
        QFETCH(QStringList, rows);
        QFETCH(bool, bonus);
        QFETCH(int, total);
        QFETCH(int, mini);
        QFETCH(int, maxi);
        const auto bound = [](int b) { return b < 0 ? std::nullopt : std::optional<int>(b); };
        QTEST(first(rows, limits(total, bonus, bound(mini), bound(maxi))), "expected");
    }

    // Each rule with bonus numbers from a drum of their own, and with one or two from the basic
    // drum; the first broken rule and all of them.
    void secondDrum_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<int>("bonuses");
        QTest::addColumn<bool>("own");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("all");
        const auto row = [](const char *name, const QStringList &rows, int bonuses, bool own,
                            const char *expected, const char *all) {
            QTest::newRow(name) << rows << bonuses << own << QString::fromLatin1(expected)
                                << QString::fromLatin1(all);
        };
        row("bonus equals a basic number, own drum", {"1|05|07|05"}, 1, true, "ok", "");
        row("bonus equals a basic number, basic drum", {"1|05|07|05"}, 1, false, "26 at 0,3",
            "26 at 0,3");
        row("bonus above its drum", {"1|05|07|13"}, 1, true, "25 at 0,3", "25 at 0,3");
        row("bonus below its drum", {"1|05|07|00"}, 1, true, "25 at 0,3", "25 at 0,3");
        row("the basic bounds are not the bonus's", {"1|05|07|49"}, 1, true, "25 at 0,3",
            "25 at 0,3");
        row("two from their drum", {"1|05|07|05|07"}, 2, true, "ok", "");
        row("second repeats the first", {"1|05|07|03|3"}, 2, true, "26 at 0,4", "26 at 0,4");
        row("second not digits", {"1|05|07|03|"}, 2, true, "24 at 0,4", "24 at 0,4");
        row("bonus columns left to right", {"1|05|07|03|x", "2|05|07|13|04"}, 2, true, "25 at 1,3",
            "25 at 1,3;24 at 0,4");
        row("basic repeats, then bonus repeats", {"1|05|05|03|03", "2|09|09|04|05"}, 2, true,
            "26 at 0,2", "26 at 0,2;26 at 0,4;26 at 1,2");
        row("two from the basic drum, all distinct", {"1|05|07|03|05"}, 2, false, "26 at 0,4",
            "26 at 0,4");
        row("two from the basic drum, its bounds", {"1|05|07|03|49", "2|05|07|03|50"}, 2, false,
            "25 at 1,4", "25 at 1,4");
        row("every rule, one bonus from the basic drum", {"1|01|02|03", "1|x|50|", "a|05|05|05"}, 1,
            false, "19 at 2,0",
            "19 at 2,0;21 at 1,0;22 at 1,1;23 at 1,2;24 at 1,3;26 at 2,2;26 at 2,3");
    }
    void secondDrum()
    {
        QFETCH(QStringList, rows);
        QFETCH(int, bonuses);
        QFETCH(bool, own);
        QFETCH(QString, expected);
        const DrawLimits l = drum(bonuses, own);
        for (bool asBytes : {false, true})
            QCOMPARE(first(rows, l, asBytes), expected);
        QStringList found;
        for (const RuleBreak &b : checkDraws(Table(rows), l, false))
            found << QStringLiteral("%1 at %2,%3").arg(b.message).arg(b.row).arg(b.col);
        QTEST(found.join(u';'), "all");
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
            const DrawLimits l = limits(total, bonus, mini, maxi);
            // A reader that saw every draw pass skips the full check: the witness may doubt a
            // clean table, but never pass one that breaks a rule, and hands out the values.
            if (witnessPasses(lines, l)) {
                QCOMPARE(QStringLiteral("ok"), expected);
                ++passed;
            }
            for (bool asBytes : {false, true})
                QVERIFY2(
                    first(lines, l, asBytes) == expected,
                    qPrintable(expected + u' ' + lines.join(u' ') + (asBytes ? " bytes" : "")));
        }
        QVERIFY2(passed > 500, qPrintable(QString::number(passed)));
    }
};

QTEST_GUILESS_MAIN(tst_DrawRules)
#include "tst_drawrules.moc"
