#pragma once

#include <qrt/refhost/Status.h>

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace qrt::domain
{

/// The earlier saves of a lottery, kept in its folder under versions/: each save keeps the
/// user data file it replaces as a second name of that file (no copy), numbered by an id that
/// only grows. Kept are the last 20, or for a large history the last 3 and as many more as fit
/// in ten times the size of the newest.
class VersionShelf
{
public:
    struct Version {
        int id = 0;
        QDateTime saved;
        int draws = -1; // -1 when the file does not say
        qint64 size = 0;
        QString path;
    };

    /// @p lotteryFolder ends with a separator.
    explicit VersionShelf(const QString &lotteryFolder);

    /// Oldest first.
    QList<Version> list() const;
    std::optional<Version> find(int id) const;
    /// Keeps @p file as it is now as the next version, unless the newest version is that very
    /// file already, then drops versions past what is kept.
    ref::Status keep(const QString &file);

    static constexpr int kMostKept = 20;
    static constexpr int kAlwaysKept = 3;

private:
    void prune(qint64 newestSize);
    QString m_folder;
};

} // namespace qrt::domain
