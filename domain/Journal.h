#pragma once

#include <qrt/refhost/Status.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace qrt::domain
{

/// Draws typed or pasted but not saved yet, kept beside the user data file so that a crash or
/// a power loss does not take them: the grid rows between the saved draws it still holds at
/// its top and at its bottom, as cell texts joined by "|". It belongs to the saved file it was
/// written against (its header) and is dropped by every save and every discard.
class Journal
{
public:
    struct Entry {
        int keep = 0;     // leading saved draws the grid still held unchanged
        QStringList rows; // the grid rows after them, cells joined by "|"
        int tail = 0;     // trailing saved draws the grid still held unchanged, after the rows
    };

    /// @p userFile is the user data file the journal belongs beside.
    explicit Journal(const QString &userFile);

    QString path() const { return m_path; }
    ref::Status write(const Entry &entry) const;
    /// The journal, when there is one that belongs to the user data file as it is now.
    std::optional<Entry> read() const;
    void clear() const;

private:
    QByteArray base() const;
    QString m_userFile;
    QString m_path;
};

} // namespace qrt::domain
