#pragma once

#include "ColumnRole.h"
#include "ImportText.h"

#include <qrt/refhost/DrawFiles.h>
#include <qrt/refhost/DrawList.h>
#include <qrt/refhost/LotteryShape.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace qrt::ref
{
class DrawFileReader;
}

namespace qrt::domain
{

/// How the importer read a file, to be shown to the user and, where it guessed, changed.
struct ImportLayout {
    enum class Format { TextDraws, Table };
    enum class DayMonth { NotNeeded, DayFirst, MonthFirst, Undecided };
    enum class Order { Ascending, Descending, Mixed };

    Format format = Format::Table;
    QString encoding;
    QString lineEnds;
    /// ',', ';', '\t', '|', or ' ' for blanks; unused for the text draw file.
    char separator = ',';
    /// The line of the header row, 0 without one.
    int headerLine = 0;
    /// The header's names, or "column N" without a header.
    QStringList columns;
    QList<ColumnRole> roles;
    DayMonth dayMonth = DayMonth::NotNeeded;
    /// The order of the issues in the file.
    Order order = Order::Ascending;
    /// Lines that are no draw and no header (a title above the table), said so here.
    QStringList notes;

    /// One line for the user: "a table with ";" between fields, a header on line 1, ...".
    QString describe() const;
};

/// What the user decided where the file cannot: the day-month order of a date column, and the
/// roles of the columns instead of the ones detected.
struct ImportChoices {
    std::optional<bool> dayFirst;
    QList<ColumnRole> roles;
};

/// Reads every file that holds draws of a lottery: the text draw file, the program's CSV and
/// result files as lotteries publish them. Everything is found from the bytes: encoding, line
/// ends, separator and quoting, header row, the role of each column, date formats and the
/// order of the draws. Rows that break a rule are listed with their line, never dropped in
/// silence; the good draws come out unique and in ascending issue order, ready to merge into
/// the draws a lottery holds.
class ResultImporter
{
public:
    explicit ResultImporter(const ref::LotteryShape &shape, ImportChoices choices = {});

    /// Reads @p path (refusing what readDrawFileBytes refuses) a piece at a time: the file is
    /// never held whole, only the draws found in it. A failure says why the file cannot be
    /// used at all; bad rows are no failure.
    ref::Status readFile(const QString &path);
    /// Takes over @p bytes: a large file is not held twice.
    ref::Status read(QByteArray bytes);

    /// The size of the first piece of a file, which holds the rows the layout is found from, and
    /// of the pieces after it: 8 MB each unless a test wants a piece to end elsewhere.
    void setPieceBytes(qsizetype first, qsizetype next)
    {
        Q_ASSERT(first > 0 && next > 0);
        m_firstPiece = first;
        m_nextPiece = next;
    }

    const ImportLayout &layout() const { return m_layout; }
    /// The good draws, each issue once, ascending.
    const ref::DrawList &draws() const { return m_draws; }
    /// The first bad rows (at most a hundred) by line, then how many there are in all.
    const std::vector<ref::ReadError> &badRows() const { return m_bad; }
    qsizetype badCount() const { return qsizetype(m_bad.size()) + m_unlisted; }
    /// Rows that repeat another row of the file exactly, counted once.
    qsizetype repeats() const { return m_repeats; }
    /// "FILE:LINE: reason" for the listed bad rows, at most @p most, then how many more.
    QStringList describeBad(const QString &file, int most = -1) const;

    /// When every bad row is bad only for the lottery's shape (numbers beyond its ranges, as
    /// for a game whose drum widened in some year, or another count of bonus numbers, as for a
    /// file of another game): the smallest shape that holds the whole file. With the same count
    /// of bonus numbers it holds the ranges of the lottery's shape too.
    const std::optional<ref::LotteryShape> &holdingShape() const { return m_holding; }
    /// The bonus numbers a draw of the file has where holdingShape() was found for another
    /// count than the lottery's; -1 otherwise.
    int fileBonuses() const { return m_fileBonuses; }
    /// holdingShape() as a hint for the command line ("... use --lottery KEY"); empty without
    /// one.
    QString shapeHint() const;

    struct Conflict {
        QString issue;
        QString held;
        QString file;
    };
    struct Merge {
        ref::DrawList draws;
        int added = 0;
        int alreadyHeld = 0;
        qsizetype conflictCount = 0;
        /// The first hundred, in issue order.
        std::vector<Conflict> conflicts;
    };
    /// The draws of @p held with the file's new issues placed by ascending issue; held draws
    /// keep their order. A held issue with the same numbers (as a set, in order for a game
    /// whose order matters) is already held; one with other numbers a conflict, kept as held.
    /// Hands the file's draws over: draws() is empty afterwards.
    Merge mergeInto(const ref::DrawList &held);
    /// The same with the held draws given up: when every new issue comes after the last held
    /// one, they are extended in place instead of copied; otherwise they are freed once copied.
    Merge mergeInto(ref::DrawList &&held);

    /// "FILE: issue 12 is held as "..." but the file has "..."" for the listed conflicts, then
    /// how many more there are.
    static QStringList describeConflicts(const QString &file, const Merge &m);
    /// "3 new, 5031 already held, 0 conflicting, 2 bad": what an import found, for the user.
    QString counts(const Merge &m) const;

    /// "03 12 13 16 23 41 + 07", or "01 02 03 04 05 + 03 09", as the text draw file has it.
    static QString drawText(const ref::DrawList &draws, int i);
    /// Issues compared as numbers; equal values by length, so "7" before "007".
    static int compareIssues(QStringView a, QStringView b);

private:
    Merge merge(const ref::DrawList &held, ref::DrawList *spare);
    struct Parsed;
    bool readText(QByteArray bytes);
    bool detect(Parsed &p, bool *cut);
    bool detectTable(Parsed &p, bool *cut);
    bool parseAll(Parsed &p);
    bool readOn(qsizetype from, bool &last);
    bool readMore(bool grow);
    bool finish(Parsed &p);
    void findHoldingShape(const Parsed &p);

    ref::LotteryShape m_shape;
    ImportChoices m_choices;
    ImportText m_text;
    // While a file is read a piece at a time: the rest of it, and how far m_text has been
    // found to be UTF-8.
    ref::DrawFileReader *m_more = nullptr;
    qsizetype m_checked = 0;
    qsizetype m_firstPiece;
    qsizetype m_nextPiece;
    QString m_error;
    ImportLayout m_layout;
    ref::DrawList m_draws;
    std::vector<ref::ReadError> m_bad;
    qsizetype m_unlisted = 0;
    qsizetype m_repeats = 0;
    std::optional<ref::LotteryShape> m_holding;
    int m_fileBonuses = -1;
};

} // namespace qrt::domain
