#pragma once

#include <QString>

#include <optional>

namespace qrt::domain
{

/// What makes a file the one that was read: its path, its inode and device, its size, its
/// modification time and a CRC-32 of its bytes. Another program that rewrites, appends to or
/// replaces the file changes at least one of them.
struct FileIdentity {
    QString path;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    quint32 crc = 0;

    /// The identity of the regular file at @p path now (a symlink is not followed: it has
    /// none), or nothing.
    static std::optional<FileIdentity> of(const QString &path);
    /// One line of text for the record store, and back.
    QString toRecord() const;
    static std::optional<FileIdentity> fromRecord(const QString &record);

    bool operator==(const FileIdentity &) const = default;
};

} // namespace qrt::domain
