#include "DateField.h"

#include <QByteArray>
#include <QDate>

#include <algorithm>
#include <array>
#include <cstring>

namespace qrt::domain
{

namespace
{
struct Name {
    const char *text;
    int month; // 0 for a weekday
};

// English, German, Spanish, French, Hungarian and Portuguese spellings without accents; a
// token names the month when it is at least three letters long and begins one of these.
constexpr Name kNames[] = {
    {"january", 1},   {"januar", 1},     {"enero", 1},      {"janvier", 1},   {"janeiro", 1},
    {"february", 2},  {"februar", 2},    {"febrero", 2},    {"fevrier", 2},   {"fevereiro", 2},
    {"march", 3},     {"maerz", 3},      {"marzo", 3},      {"mars", 3},      {"marcius", 3},
    {"marco", 3},     {"april", 4},      {"abril", 4},      {"avril", 4},     {"aprilis", 4},
    {"may", 5},       {"mai", 5},        {"mayo", 5},       {"majus", 5},     {"maio", 5},
    {"june", 6},      {"juni", 6},       {"junio", 6},      {"juin", 6},      {"junius", 6},
    {"junho", 6},     {"july", 7},       {"juli", 7},       {"julio", 7},     {"juillet", 7},
    {"julius", 7},    {"julho", 7},      {"august", 8},     {"agosto", 8},    {"aout", 8},
    {"augusztus", 8}, {"september", 9},  {"septiembre", 9}, {"setembro", 9},  {"szeptember", 9},
    {"october", 10},  {"oktober", 10},   {"octubre", 10},   {"octobre", 10},  {"outubro", 10},
    {"november", 11}, {"noviembre", 11}, {"novembre", 11},  {"novembro", 11}, {"december", 12},
    {"dezember", 12}, {"diciembre", 12}, {"decembre", 12},  {"dezembro", 12}, {"monday", 0},
    {"tuesday", 0},   {"wednesday", 0},  {"thursday", 0},   {"friday", 0},    {"saturday", 0},
    {"sunday", 0},    {"montag", 0},     {"dienstag", 0},   {"mittwoch", 0},  {"donnerstag", 0},
    {"freitag", 0},   {"samstag", 0},    {"sonntag", 0},    {"lunes", 0},     {"martes", 0},
    {"miercoles", 0}, {"jueves", 0},     {"viernes", 0},    {"sabado", 0},    {"domingo", 0},
};

// The month of a name, 0 for a weekday, -1 for anything else.
int monthOf(const char *p, qsizetype n)
{
    if (n < 2 || n > 12)
        return -1;
    char lower[16];
    for (qsizetype i = 0; i < n; ++i)
        lower[i] = char(p[i] | 0x20);
    for (const Name &name : kNames) {
        const qsizetype len = qsizetype(std::strlen(name.text));
        // Two letters name a weekday only ("Sa", "Mo"); months need three.
        if (n <= len && (n >= 3 || name.month == 0) &&
            std::memcmp(lower, name.text, size_t(n)) == 0)
            return name.month;
    }
    return -1;
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
} // namespace

bool DateField::valid(int year, int month, int day)
{
    return year >= 1 && month >= 1 && month <= 12 && day >= 1 &&
           day <= QDate(year, month, 1).daysInMonth();
}

std::optional<DateField> DateField::parse(const char *text, qsizetype size)
{
    // 20250829, in a column named as a date.
    if (size == 8 && std::all_of(text, text + size, isDigit)) {
        const auto two = [&](int at) { return (text[at] - '0') * 10 + (text[at + 1] - '0'); };
        DateField d;
        d.year = two(0) * 100 + two(2);
        d.first = two(4);
        d.second = two(6);
        return d;
    }
    struct Token {
        qsizetype at, size;
        bool digits;
    };
    std::array<Token, 3> numbers{};
    int count = 0, month = -1;
    bool dots = false, other = false;
    qsizetype i = 0;
    while (i < size) {
        const char c = text[i];
        if (isDigit(c)) {
            const qsizetype at = i;
            while (i < size && isDigit(text[i]))
                ++i;
            // A time of day ends the date.
            if (i < size && text[i] == ':') {
                if (count < 3)
                    return std::nullopt;
                break;
            }
            if (count == 3 || i - at > 4)
                return std::nullopt;
            numbers[size_t(count++)] = {at, i - at, true};
            continue;
        }
        if (isLetter(c)) {
            const qsizetype at = i;
            while (i < size && isLetter(text[i]))
                ++i;
            // "T" between date and time, AM/PM after a time.
            if (i - at == 1 && (c == 'T' || c == 't') && count == 3)
                break;
            const int m = monthOf(text + at, i - at);
            if (m < 0 || (m > 0 && month > 0))
                return std::nullopt;
            if (m > 0) {
                month = m;
                if (count == 3)
                    return std::nullopt;
                numbers[size_t(count++)] = {at, i - at, false};
            }
            continue;
        }
        if (c == '.')
            dots = true;
        else if (c == '/' || c == '-')
            other = true;
        else if (c != ' ' && c != ',' && c != '\t')
            return std::nullopt;
        ++i;
    }
    if (count != 3)
        return std::nullopt;
    auto value = [&](const Token &t) {
        int v = 0;
        for (qsizetype k = 0; k < t.size; ++k)
            v = v * 10 + (text[t.at + k] - '0');
        return v;
    };
    DateField d;
    if (month > 0) {
        // The year has four digits, the day one or two, the month is the name.
        int year = -1, day = -1;
        for (const Token &t : numbers) {
            if (!t.digits)
                continue;
            if (t.size == 4 && year < 0)
                year = value(t);
            else if (t.size <= 2 && day < 0)
                day = value(t);
            else
                return std::nullopt;
        }
        if (year < 0 || day < 0)
            return std::nullopt;
        d.year = year;
        d.first = month;
        d.second = day;
        return d;
    }
    if (numbers[0].size == 4 && numbers[1].size <= 2 && numbers[2].size <= 2) {
        d.year = value(numbers[0]);
        d.first = value(numbers[1]);
        d.second = value(numbers[2]);
        return d;
    }
    if (numbers[2].size == 4 && numbers[0].size <= 2 && numbers[1].size <= 2) {
        d.year = value(numbers[2]);
        d.first = value(numbers[0]);
        d.second = value(numbers[1]);
        d.order = dots && !other ? Order::DotsEither : Order::Either;
        return d;
    }
    return std::nullopt;
}

} // namespace qrt::domain
