#pragma once

#include <QtGlobal>

#include <cstdint>
#include <limits>
#include <optional>

namespace qrt
{

// A cell as the rules read it: single bytes (Latin-1, or UTF-8 where only ASCII digits
// matter) straight from the table when it keeps them so, UTF-16 otherwise.
template <typename Ch> bool digitsOnly(const Ch *p, qsizetype size)
{
    if (size == 0)
        return false;
    for (qsizetype i = 0; i < size; ++i)
        if (p[i] < Ch('0') || p[i] > Ch('9'))
            return false;
    return true;
}

template <typename Ch> std::optional<qint32> valueOf(const Ch *digits, qsizetype size)
{
    int64_t v = 0;
    for (qsizetype i = 0; i < size; ++i) {
        v = v * 10 + (digits[i] - Ch('0'));
        if (v > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    return qint32(v);
}

} // namespace qrt
