#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QUrl>

#include <functional>
#include <future>

namespace qrt::test
{

// A server on 127.0.0.1 that answers every request the way a test asks: a status, headers,
// a body, and whether it then hangs up early or never answers at all.
class TinyServer : public QTcpServer
{
public:
    QByteArray status = "200 OK";
    QByteArray body;
    QByteArray extraHeaders;
    qsizetype announce = -1; // the Content-Length sent, -1 for the body's own size
    bool stall = false;

    TinyServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    if (!s->readAll().contains("\r\n\r\n") || stall)
                        return;
                    const qsizetype length = announce < 0 ? body.size() : announce;
                    s->write("HTTP/1.1 " + status +
                             "\r\nContent-Length: " + QByteArray::number(length) + "\r\n" +
                             extraHeaders + "Connection: close\r\n\r\n" + body);
                    s->disconnectFromHost();
                });
            }
        });
    }
    QUrl url(const QString &path = QStringLiteral("/results.csv")) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path));
    }
};

// A TinyServer on a thread of its own, for a test that waits on a child process while the
// server answers it.
class ServerThread : public QThread
{
public:
    explicit ServerThread(std::function<void(TinyServer &)> setUp) : m_setUp(std::move(setUp))
    {
        start();
        m_port = m_ready.get_future().get();
    }
    ~ServerThread() override
    {
        quit();
        wait();
    }
    QUrl url(const QString &path = QStringLiteral("/results.csv")) const
    {
        return QUrl(QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(path));
    }

protected:
    void run() override
    {
        TinyServer server;
        m_setUp(server);
        m_ready.set_value(server.serverPort());
        exec();
    }

private:
    std::function<void(TinyServer &)> m_setUp;
    std::promise<quint16> m_ready;
    quint16 m_port = 0;
};

} // namespace qrt::test
