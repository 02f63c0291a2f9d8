#include "Downloader.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QScopeGuard>
#include <QTimer>
#include <QtEndian>

#include <zlib.h>

namespace qrt::domain
{

Downloader::Downloader(QObject *parent) : QObject(parent)
{
    // A server that stops sending is given up after 30 s, or what QRT_UPDATE_TIMEOUT says.
    if (const int seconds = qEnvironmentVariableIntValue("QRT_UPDATE_TIMEOUT"); seconds > 0)
        m_timeoutMs = seconds * 1000;
}

void Downloader::cancel()
{
    m_cancelled = true;
    if (m_reply)
        m_reply->abort();
}

Downloader::Result Downloader::fetch(const QUrl &url)
{
    const auto over = qScopeGuard([this] { Q_EMIT finished(); });
    const auto fail = [](const QString &why) { return Result{ref::Status::failure(why), {}}; };
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return fail(QCoreApplication::translate("Downloader", "%1 is not an http or https address")
                        .arg(url.toDisplayString()));
    m_cancelled = false;
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    QNetworkReply *reply = manager.get(request);
    m_reply = reply;
    QByteArray body;
    QString tooMuch;
    bool timedOut = false;
    QEventLoop loop;
    QTimer silence;
    silence.setSingleShot(true);
    silence.setInterval(m_timeoutMs);
    connect(&silence, &QTimer::timeout, reply, [&] {
        timedOut = true;
        reply->abort();
    });
    connect(reply, &QNetworkReply::metaDataChanged, reply, [&] {
        // Room for an announced body at once: growing by doubling would hold up to twice it.
        const qint64 length = reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (length > 0 && length <= m_limit)
            body.reserve(length);
    });
    connect(reply, &QNetworkReply::readyRead, reply, [&] {
        silence.start();
        // Read as it comes: a body over the limit is stopped, never held whole.
        if (body.size() + reply->bytesAvailable() > m_limit) {
            tooMuch = QCoreApplication::translate("Downloader", "the file is larger than %1 MB")
                          .arg(m_limit >> 20);
            reply->abort();
            return;
        }
        body += reply->readAll();
    });
    connect(reply, &QNetworkReply::downloadProgress, this, [&](qint64 received, qint64 total) {
        silence.start();
        Q_EMIT progress(received, total);
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    silence.start();
    loop.exec();
    m_reply = nullptr;
    body += reply->readAll();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const QString reason = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    const QVariant announced = reply->header(QNetworkRequest::ContentLengthHeader);
    const QNetworkReply::NetworkError error = reply->error();
    const QString errorText = reply->errorString();
    const QString where = reply->url().toDisplayString();
    reply->deleteLater();
    if (m_cancelled)
        return fail(QCoreApplication::translate("Downloader", "the download was cancelled"));
    if (!tooMuch.isEmpty())
        return fail(tooMuch);
    if (timedOut)
        return fail(QCoreApplication::translate("Downloader", "%1 sent nothing for %2 s")
                        .arg(where)
                        .arg(m_timeoutMs / 1000.0));
    if (status >= 400)
        return fail(QCoreApplication::translate("Downloader", "the server answered %1 %2 for %3")
                        .arg(status)
                        .arg(reason, where));
    if (announced.isValid() && body.size() < announced.toLongLong())
        return fail(QCoreApplication::translate("Downloader",
                                                "the download of %1 ended after %2 of %3 bytes")
                        .arg(where)
                        .arg(body.size())
                        .arg(announced.toLongLong()));
    if (error != QNetworkReply::NoError)
        return fail(QStringLiteral("%1: %2").arg(where, errorText));
    if (body.startsWith("PK\x03\x04"))
        return unzip(body, m_limit);
    return {ref::Status::success(), std::move(body)};
}

namespace
{
quint32 u32(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 u16(const QByteArray &b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}
} // namespace

Downloader::Result Downloader::unzip(const QByteArray &zip, qint64 limit)
{
    const auto fail = [](const QString &why) {
        return Result{ref::Status::failure(QCoreApplication::translate(
                                               "Downloader", "the zip archive cannot be read: %1")
                                               .arg(why)),
                      {}};
    };
    // The central directory, found from the end, holds the sizes that a streamed entry's
    // local header leaves out.
    qsizetype end = -1;
    for (qsizetype at = zip.size() - 22; at >= 0 && at >= zip.size() - 22 - 65535; --at)
        if (u32(zip, at) == 0x06054b50) {
            end = at;
            break;
        }
    if (end < 0)
        return fail(QCoreApplication::translate("Downloader", "it has no central directory"));
    const quint16 entries = u16(zip, end + 10);
    qsizetype at = qsizetype(u32(zip, end + 16));
    for (int e = 0; e < entries; ++e) {
        if (at + 46 > zip.size() || u32(zip, at) != 0x02014b50)
            return fail(QCoreApplication::translate("Downloader", "its directory is damaged"));
        const quint16 method = u16(zip, at + 10);
        const quint32 packed = u32(zip, at + 20);
        const quint32 size = u32(zip, at + 24);
        const quint16 nameLength = u16(zip, at + 28);
        const qsizetype next = at + 46 + nameLength + u16(zip, at + 30) + u16(zip, at + 32);
        const QByteArray name = zip.mid(at + 46, nameLength);
        const qsizetype local = qsizetype(u32(zip, at + 42));
        at = next;
        if (name.endsWith('/'))
            continue;
        if (local + 30 > zip.size() || u32(zip, local) != 0x04034b50)
            return fail(QCoreApplication::translate("Downloader", "an entry is damaged"));
        const qsizetype data = local + 30 + u16(zip, local + 26) + u16(zip, local + 28);
        if (data + qsizetype(packed) > zip.size())
            return fail(QCoreApplication::translate("Downloader", "it is cut short"));
        if (qint64(size) > limit)
            return fail(QCoreApplication::translate("Downloader", "%1 is larger than %2 MB")
                            .arg(QString::fromUtf8(name))
                            .arg(limit >> 20));
        if (method == 0)
            return {ref::Status::success(), zip.mid(data, packed)};
        if (method != 8)
            return fail(QCoreApplication::translate(
                            "Downloader", "%1 is packed in a way this program cannot unpack")
                            .arg(QString::fromUtf8(name)));
        QByteArray out(qsizetype(size), Qt::Uninitialized);
        z_stream z{};
        if (inflateInit2(&z, -MAX_WBITS) != Z_OK)
            return fail(QCoreApplication::translate("Downloader", "zlib cannot start"));
        z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(zip.constData() + data));
        z.avail_in = packed;
        z.next_out = reinterpret_cast<Bytef *>(out.data());
        z.avail_out = size;
        const int r = inflate(&z, Z_FINISH);
        inflateEnd(&z);
        if (r != Z_STREAM_END || z.total_out != size)
            return fail(QCoreApplication::translate("Downloader", "%1 is damaged")
                            .arg(QString::fromUtf8(name)));
        return {ref::Status::success(), std::move(out)};
    }
    return fail(QCoreApplication::translate("Downloader", "it holds no file"));
}

} // namespace qrt::domain
