#pragma once

#include <qrt/refhost/DrawList.h>
#include <qrt/refhost/LotteryShape.h>

#include <QtGlobal>

#include <vector>

namespace qrt::app
{

/// What a range of draws says about each number and pair: plain counting, apart from any
/// widget, so that it can be checked against a count done another way.
struct DrawStatistics {
    struct Number {
        qint32 value = 0;
        qint64 count = 0;
        /// Draws after the last one it came in, to the end of the range; -1 when it never came.
        qint64 sinceLast = -1;
        /// The longest run of draws in the range without it.
        qint64 longestGap = 0;
        /// Its count against the expected one in standard deviations: above 2 it is hot, below
        /// -2 cold.
        double deviation = 0;
    };
    struct Pair {
        qint32 a = 0;
        qint32 b = 0;
        qint64 count = 0;
    };

    qint64 draws = 0;
    double expected = 0; // of each number, if every number were as likely
    std::vector<Number> numbers;
    std::vector<Pair> topPairs; // most frequent first
    /// A drum of its own, counted apart from the basic numbers, each against its own expected
    /// count (bonus numbers per draw over the drum's size); empty when the bonus numbers share
    /// the basic drum.
    double bonusExpected = 0;
    std::vector<Number> bonusNumbers;

    /// The basic numbers of draws @p first to @p last (0-based, inclusive). Pairs are counted
    /// for games of at most 400 numbers, and the @p pairs most frequent kept.
    static DrawStatistics of(const ref::LotteryShape &shape, const ref::DrawList &draws, int first,
                             int last, int pairs = 10);
};

} // namespace qrt::app
