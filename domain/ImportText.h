#pragma once

#include <QByteArray>
#include <QString>

namespace qrt::domain
{

/// A result file's bytes made readable as single-byte text: digits, separators and quotes are
/// ASCII in every encoding the importer takes, so only names (of columns, of months) need the
/// encoding again.
struct ImportText {
    /// UTF-8 or Latin-1 bytes, without a byte order mark.
    QByteArray bytes;
    /// The bytes are Latin-1 because they are not valid UTF-8.
    bool latin1 = false;
    /// "UTF-8", "UTF-8 with a byte order mark", "UTF-16 (converted)" or "Latin-1".
    QString encoding;

    QString decode(const char *data, qsizetype size) const
    {
        return latin1 ? QString::fromLatin1(data, size) : QString::fromUtf8(data, size);
    }
};

/// Takes over @p bytes: strips a UTF-8 byte order mark, converts UTF-16 (with a byte order mark,
/// or recognised by its NUL bytes) to UTF-8 in the same buffer where it fits, and marks text
/// that is not valid UTF-8 as Latin-1. A large file is never held twice. Without @p whole, the
/// bytes are the start of a longer text, and a character cut at their end is not a fault.
ImportText decodeImportText(QByteArray bytes, bool whole = true);

/// The bytes are UTF-16, by a byte order mark or by the NUL bytes of ASCII in UTF-16.
bool looksLikeUtf16(const QByteArray &bytes);

/// Where the bytes before @p end stop being a character that may go on after @p end: at the
/// last ASCII byte, or @p from.
qsizetype settledEnd(const QByteArray &bytes, qsizetype from, qsizetype end);

} // namespace qrt::domain
