#include "ImportText.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <cstring>

namespace qrt::domain
{

namespace
{
enum class Utf16 { None, Little, Big };

Utf16 utf16Kind(const QByteArray &b)
{
    if (b.startsWith("\xFF\xFE"))
        return Utf16::Little;
    if (b.startsWith("\xFE\xFF"))
        return Utf16::Big;
    // Without a mark, digits and separators leave a NUL in every other byte.
    if (b.size() >= 4 && b[0] != 0 && b[1] == 0 && b[2] != 0 && b[3] == 0)
        return Utf16::Little;
    if (b.size() >= 4 && b[0] == 0 && b[1] != 0 && b[2] == 0 && b[3] != 0)
        return Utf16::Big;
    return Utf16::None;
}

// Writes UTF-8 over the UTF-16 it was read from: UTF-8 is never longer than the UTF-16 read
// so far for ASCII, which is nearly all of a result file. Where a run of long characters would
// overtake the reading, the rest is converted into a copy instead.
QByteArray utf16ToUtf8(QByteArray bytes, Utf16 kind)
{
    const bool little = kind == Utf16::Little;
    qsizetype in = (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) ? 2 : 0;
    qsizetype out = 0;
    const qsizetype end = bytes.size() & ~qsizetype(1);
    char *d = bytes.data();
    while (in < end) {
        const char16_t c = little ? char16_t(uchar(d[in]) | (uchar(d[in + 1]) << 8))
                                  : char16_t(uchar(d[in + 1]) | (uchar(d[in]) << 8));
        if (c >= 0x80) {
            const QString rest =
                QStringDecoder(little ? QStringDecoder::Utf16LE
                                      : QStringDecoder::Utf16BE)(QByteArrayView(d + in, end - in));
            QByteArray result(d, out);
            bytes = QByteArray(); // the UTF-16 is no longer needed
            result += rest.toUtf8();
            return result;
        }
        d[out++] = char(c);
        in += 2;
    }
    bytes.truncate(out);
    bytes.squeeze();
    return bytes;
}
} // namespace

bool looksLikeUtf16(const QByteArray &bytes)
{
    return utf16Kind(bytes) != Utf16::None;
}

qsizetype settledEnd(const QByteArray &bytes, qsizetype from, qsizetype end)
{
    while (end > from && uchar(bytes[end - 1]) >= 0x80)
        --end;
    return end;
}

ImportText decodeImportText(QByteArray bytes, bool whole)
{
    ImportText t;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
        t.encoding = QCoreApplication::translate("ImportText", "UTF-8 with a byte order mark");
    } else if (const Utf16 kind = utf16Kind(bytes); kind != Utf16::None) {
        t.bytes = utf16ToUtf8(std::move(bytes), kind);
        t.encoding = QCoreApplication::translate("ImportText", "UTF-16 (converted)");
        return t;
    } else {
        t.encoding = QStringLiteral("UTF-8");
    }
    const char *p = bytes.constData();
    const qsizetype n = whole ? bytes.size() : settledEnd(bytes, 0, bytes.size());
    qsizetype i = 0;
    while (i < n && uchar(p[i]) < 0x80)
        ++i;
    if (i < n && !QByteArrayView(p + i, n - i).isValidUtf8()) {
        t.latin1 = true;
        t.encoding = QStringLiteral("Latin-1");
    }
    t.bytes = std::move(bytes);
    return t;
}

} // namespace qrt::domain
