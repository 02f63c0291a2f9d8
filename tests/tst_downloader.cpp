#include "Downloader.h"
#include "TestSupport.h"
#include "TinyServer.h"

#include <QTest>

using qrt::domain::Downloader;
using qrt::test::TinyServer;

namespace
{
const QByteArray kCsv = "Draw,Date,N1,N2,N3,N4,N5,N6,Bonus\n2,2026-01-08,1,2,3,4,5,6,7\n";

// kCsv as r.csv in zip archives of tests/data.
const QByteArray kStored =
    qrt::test::fileBytes(QStringLiteral(QRT_TEST_DATA "/results-stored.zip"));
const QByteArray kDeflated =
    qrt::test::fileBytes(QStringLiteral(QRT_TEST_DATA "/results-deflated.zip"));
} // namespace

class tst_Downloader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A server that stops sending is given up after the seconds QRT_UPDATE_TIMEOUT says, as
    // the window and the command line leave it to the downloader to read it.
    void initTestCase() { qputenv("QRT_UPDATE_TIMEOUT", "1"); }

    // "status" is the server's, or "302 Found" for one that sends the file on to another;
    // an address other than the server's is asked for where "url" is set.
    void outcomes_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("announce");
        QTest::addColumn<bool>("stall");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QByteArray>("expected"); // the body, or empty for a failure
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("limit");
        const auto row = [](const char *name, const char *status, const QByteArray &body,
                            const QByteArray &expected, const char *message, int announce = -1,
                            bool stall = false, const char *url = "", int limit = 0) {
            QTest::newRow(name) << QByteArray(status) << body << announce << stall
                                << QString::fromLatin1(url) << expected
                                << QString::fromLatin1(message) << limit;
        };
        row("a file", "200 OK", kCsv, kCsv, "");
        row("a file moved", "302 Found", kCsv, kCsv, "");
        row("not found", "404 Not Found", "gone", {}, "answered 404 Not Found");
        row("cut short", "200 OK", kCsv.left(20), {}, "ended after 20 of 400 bytes", 400);
        row("silent server", "200 OK", kCsv, {}, "sent nothing for 1 s", -1, true);
        row("stored zip", "200 OK", kStored, kCsv, "");
        row("deflated zip", "200 OK", kDeflated, kCsv, "");
        QByteArray broken = kDeflated;
        broken[40] = char(broken[40] ^ 0x55);
        row("damaged zip", "200 OK", broken, {}, "zip archive");
        row("a file of this machine", "200 OK", kCsv, {}, "not an http or https", -1, false,
            "file:///etc/passwd");
        // Over the limit, a download or a zipped file is refused before it is held whole.
        row("over the limit", "200 OK", kCsv, {}, "larger", -1, false, "", 10);
    }
    void outcomes()
    {
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, body);
        QFETCH(int, announce);
        QFETCH(bool, stall);
        QFETCH(QString, url);
        QFETCH(QByteArray, expected);
        QFETCH(QString, message);
        QFETCH(int, limit);
        TinyServer server, target;
        if (status.startsWith('3')) {
            target.body = std::exchange(body, "moved");
            server.extraHeaders = "Location: " + target.url().toEncoded() + "\r\n";
        }
        server.status = status;
        server.body = body;
        server.announce = announce;
        server.stall = stall;
        Downloader d;
        if (limit) {
            d.setLimit(limit);
            QVERIFY(!Downloader::unzip(kDeflated, limit).status.ok());
        }
        const Downloader::Result r = d.fetch(url.isEmpty() ? server.url() : QUrl(url));
        QVERIFY2(r.status.ok() == !expected.isEmpty(), qPrintable(r.status.message()));
        QCOMPARE(r.body, expected);
        QVERIFY2(r.status.message().contains(message), qPrintable(r.status.message()));
    }
};

QTEST_GUILESS_MAIN(tst_Downloader)
#include "tst_downloader.moc"
