#pragma once

#include <qrt/refhost/Status.h>

#include <QByteArray>
#include <QObject>
#include <QUrl>

class QNetworkReply;

namespace qrt::domain
{

/// Fetches a lottery's published result file over HTTP or HTTPS: redirects followed, a
/// timeout while nothing arrives, every HTTP or network error said plainly, a body shorter
/// than announced or larger than 1 GB refused, and a zipped file unpacked.
class Downloader : public QObject
{
    Q_OBJECT
public:
    explicit Downloader(QObject *parent = nullptr);

    /// At most this many bytes, packed or unpacked.
    void setLimit(qint64 bytes) { m_limit = bytes; }

    struct Result {
        ref::Status status;
        QByteArray body;
    };
    /// Downloads @p url, running a local event loop until it is over or cancel() is called.
    Result fetch(const QUrl &url);
    /// Ends a fetch under way: it fails, changing nothing.
    void cancel();

    /// The file a zip archive holds (the first that is not a folder), or why it cannot be read.
    static Result unzip(const QByteArray &archive, qint64 limit);

Q_SIGNALS:
    void progress(qint64 received, qint64 total);
    /// The fetch is over, whatever its result: what the file is read into comes next.
    void finished();

private:
    // How long the server may send nothing before the download is given up: 30 s, or
    // QRT_UPDATE_TIMEOUT seconds when that is set.
    int m_timeoutMs = 30000;
    qint64 m_limit = qint64(1) << 30;
    QNetworkReply *m_reply = nullptr;
    bool m_cancelled = false;
};

} // namespace qrt::domain
