#pragma once

#include <qrt/qrt_export.h>

#include <QString>

namespace qrt
{

/// Pads @p text with copies of @p fill up to @p width characters, in front when @p blnLeft is
/// true and behind otherwise. A text already that wide comes back unchanged.
QRT_EXPORT QString PadString(const QString &text, const QString &fill, qint32 width, bool blnLeft);

/// Writes @p v in decimal with at least two digits, as PadString(text, "0", 2, true) pads a
/// whole number, at @p p (at most 11 characters) and returns the end of what was written. One
/// routine for the grid's texts (char16_t) and the draw files (char).
template <typename Ch> Ch *writeTwoDigits(Ch *p, qint32 v)
{
    if (v >= 0 && v < 10)
        *p++ = Ch('0');
    Ch digits[10];
    int n = 0;
    quint32 rest = v < 0 ? 0u - quint32(v) : quint32(v);
    do {
        digits[n++] = Ch('0' + rest % 10);
        rest /= 10;
    } while (rest > 0);
    if (v < 0)
        *p++ = Ch('-');
    while (n > 0)
        *p++ = digits[--n];
    return p;
}

/// Message n of the catalogue (entry 10000 + n). Throws RuntimeError 326 for a number
/// without an entry and 6 when 10000 + n overflows.
QRT_EXPORT QString LoadMessage(qint32 n);

/// Whether @p strPath names an existing file (@p blnFolder false) or an existing file or
/// folder (@p blnFolder true); hidden files count. With @p blnDelete and not @p blnFolder an
/// existing file is made writable and deleted; with @p blnFolder and @p blnCreate a missing
/// folder is created. Never throws: a failing file-system operation ends it with the result
/// reached so far.
QRT_EXPORT bool PathExists(const QString &strPath, bool blnFolder, bool blnCreate, bool blnDelete);

} // namespace qrt
