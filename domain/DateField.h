#pragma once

#include <QtGlobal>

#include <optional>

namespace qrt::domain
{

/// A draw date as a result file writes it: 8/29/2025, 08/29/2025, 2025-08-29, 29-Aug-2025,
/// 2025.08.29., 29.8.2025, Aug 29, 2025, each with a time part or a weekday name allowed.
/// Only dates with a four-digit year are dates: "1-2-3" is three numbers.
struct DateField {
    enum class Order {
        Known,      // year first, or the month by its name
        Either,     // day and month both numbers after each other, year last: the column decides
        DotsEither, // as Either, with dots, where the day comes first unless the column says not
    };
    int year = 0;
    /// The month and the day when the order is Known; else the two numbers as written.
    int first = 0;
    int second = 0;
    Order order = Order::Known;

    /// Nothing when the text is no date.
    static std::optional<DateField> parse(const char *text, qsizetype size);
    /// A real day of the Gregorian calendar.
    static bool valid(int year, int month, int day);
};

} // namespace qrt::domain
