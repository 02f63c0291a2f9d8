#include "Downloader.h"
#include "TinyServer.h"

#include <QTest>
#include <QtEndian>

#include <zlib.h>

using qrt::domain::Downloader;
using qrt::test::TinyServer;

namespace
{
template <class T> void put(QByteArray &b, T v)
{
    char raw[sizeof(T)];
    qToLittleEndian(v, raw);
    b.append(raw, sizeof(T));
}

// A one-file zip archive, its entry stored or deflated.
QByteArray zipOf(const QByteArray &name, const QByteArray &data, bool deflated)
{
    // qCompress wraps the raw deflate stream in a length and zlib's own header and trailer.
    const QByteArray packed = deflated ? qCompress(data, 9).mid(6).chopped(4) : data;
    const quint32 crc =
        quint32(crc32(0, reinterpret_cast<const Bytef *>(data.constData()), uInt(data.size())));
    const quint16 method = deflated ? 8 : 0;
    QByteArray zip;
    const auto header = [&](quint32 signature, bool central) {
        put<quint32>(zip, signature);
        if (central)
            put<quint16>(zip, 20);
        put<quint16>(zip, 20);
        put<quint16>(zip, 0);
        put<quint16>(zip, method);
        put<quint32>(zip, 0);
        put<quint32>(zip, crc);
        put<quint32>(zip, quint32(packed.size()));
        put<quint32>(zip, quint32(data.size()));
        put<quint16>(zip, quint16(name.size()));
        put<quint16>(zip, 0);
    };
    header(0x04034b50, false);
    zip += name + packed;
    const qsizetype directory = zip.size();
    header(0x02014b50, true);
    for (int i = 0; i < 3; ++i)
        put<quint16>(zip, 0);
    put<quint32>(zip, 0);
    put<quint32>(zip, 0); // the local header's offset
    zip += name;
    const qsizetype directorySize = zip.size() - directory;
    put<quint32>(zip, 0x06054b50);
    put<quint32>(zip, 0);
    put<quint16>(zip, 1);
    put<quint16>(zip, 1);
    put<quint32>(zip, quint32(directorySize));
    put<quint32>(zip, quint32(directory));
    put<quint16>(zip, 0);
    return zip;
}

const QByteArray kCsv = "Draw,Date,N1,N2,N3,N4,N5,N6,Bonus\n2,2026-01-08,1,2,3,4,5,6,7\n";
} // namespace

class tst_Downloader : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void outcomes_data()
    {
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("announce");
        QTest::addColumn<bool>("stall");
        QTest::addColumn<QByteArray>("expected"); // the body, or empty for a failure
        QTest::addColumn<QString>("message");
        const QByteArray ok = "200 OK", failed;
        QTest::newRow("a file") << ok << kCsv << -1 << false << kCsv << "";
        QTest::newRow("not found") << QByteArray("404 Not Found") << QByteArray("gone") << -1
                                   << false << failed << "answered 404 Not Found";
        QTest::newRow("cut short")
            << ok << kCsv.left(20) << 400 << false << failed << "ended after 20 of 400 bytes";
        QTest::newRow("silent server") << ok << kCsv << -1 << true << failed << "sent nothing for";
        QTest::newRow("stored zip")
            << ok << zipOf("r.csv", kCsv, false) << -1 << false << kCsv << "";
        QTest::newRow("deflated zip")
            << ok << zipOf("r.csv", kCsv, true) << -1 << false << kCsv << "";
        QByteArray broken = zipOf("r.csv", kCsv, true);
        broken[40] = char(broken[40] ^ 0x55);
        QTest::newRow("damaged zip") << ok << broken << -1 << false << failed << "zip archive";
    }
    void outcomes()
    {
        QFETCH(QByteArray, status);
        QFETCH(QByteArray, body);
        QFETCH(int, announce);
        QFETCH(bool, stall);
        QFETCH(QByteArray, expected);
        QFETCH(QString, message);
        TinyServer server;
        server.status = status;
        server.body = body;
        server.announce = announce;
        server.stall = stall;
        Downloader d;
        d.setTimeout(300);
        const Downloader::Result r = d.fetch(server.url());
        QVERIFY2(r.status.ok() == !expected.isEmpty(), qPrintable(r.status.message()));
        QCOMPARE(r.body, expected);
        QVERIFY2(r.status.message().contains(message), qPrintable(r.status.message()));
    }

    // A moved file is followed; an address of another kind, or over the limit, is refused
    // before anything is kept.
    void redirectsSchemesAndLimits()
    {
        TinyServer target;
        target.body = kCsv;
        TinyServer mover;
        mover.status = "302 Found";
        mover.extraHeaders = "Location: " + target.url().toEncoded() + "\r\n";
        Downloader d;
        QCOMPARE(d.fetch(mover.url()).body, kCsv);
        const Downloader::Result file = d.fetch(QUrl(QStringLiteral("file:///etc/passwd")));
        QVERIFY(!file.status.ok() && file.body.isEmpty());
        QVERIFY(file.status.message().contains(QStringLiteral("not an http or https")));
        d.setLimit(10);
        const Downloader::Result big = d.fetch(target.url());
        QVERIFY2(!big.status.ok() && big.status.message().contains(QStringLiteral("larger")),
                 qPrintable(big.status.message()));
        QVERIFY(!Downloader::unzip(zipOf("r.csv", kCsv, true), 10).status.ok());
    }
};

QTEST_GUILESS_MAIN(tst_Downloader)
#include "tst_downloader.moc"
