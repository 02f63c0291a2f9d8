#include "MainWindow.h"
#include "TestSupport.h"
#include "Translations.h"

#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>

using namespace qrt::app;

namespace
{
struct Message {
    QString context, source, translation, type;
};

// The messages of a .ts file that lupdate has not marked as gone from the sources.
QList<Message> readTs(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Message> messages;
    Message m;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"name")
            m.context = xml.readElementText();
        else if (xml.name() == u"source")
            m.source = xml.readElementText();
        else if (xml.name() == u"translation") {
            m.type = xml.attributes().value(QStringLiteral("type")).toString();
            m.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            if (m.type != u"vanished" && m.type != u"obsolete")
                messages << m;
        }
    }
    return xml.hasError() ? QList<Message>() : messages;
}

QStringList placeholders(const QString &text)
{
    QStringList found;
    for (const QRegularExpressionMatch &match :
         QRegularExpression(QStringLiteral("%\\d")).globalMatch(text))
        found << match.captured();
    found.sort();
    return found;
}
} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { qDeleteAll(qApp->findChildren<QTranslator *>()); }

    void everyTextIsTranslated_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("German") << QStringLiteral("de");
        QTest::newRow("Simplified Chinese") << QStringLiteral("zh_CN");
    }
    // Every text has a translation that keeps its placeholders and its shortcut mark, and a
    // text added to the program but not to the .ts file would show in English: lupdate, run on
    // the same sources, leaves the file as it is.
    void everyTextIsTranslated()
    {
        QFETCH(QString, language);
        const QString ts = QStringLiteral(QRT_TRANSLATIONS "/qrt-datamanager_%1.ts").arg(language);
        const QList<Message> messages = readTs(ts);
        QVERIFY2(!messages.isEmpty(), qPrintable(ts));
        for (const Message &m : messages) {
            const QString where = m.context + QStringLiteral(": ") + m.source;
            QVERIFY2(m.type.isEmpty(), qPrintable(m.type + QStringLiteral(" ") + where));
            QVERIFY2(!m.translation.trimmed().isEmpty(), qPrintable(where));
            // A lost or doubled %1 shows the wrong value, or none, in the message.
            QVERIFY2(placeholders(m.translation) == placeholders(m.source), qPrintable(where));
            QVERIFY2(m.source.contains(u'&') == m.translation.contains(u'&'), qPrintable(where));
        }
        // The compiled translation is the one embedded in the program.
        QVERIFY(translatedLanguages().contains(language));

        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.ts"));
        QVERIFY(QFile::copy(ts, copy));
        QProcess lupdate;
        lupdate.start(QStringLiteral(QRT_LUPDATE),
                      QStringLiteral(QRT_TRANSLATED_SOURCES).split(u'|') +
                          QStringList{"-no-obsolete", "-locations", "none", "-ts", copy});
        QVERIFY(lupdate.waitForFinished(60000));
        QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());
        QVERIFY2(qrt::test::fileBytes(copy) == qrt::test::fileBytes(ts),
                 "run the target update_translations; lupdate: " + lupdate.readAllStandardOutput());
    }

    // The translation chosen, "" for none, or "<refused>" for a language the program lacks.
    void choosesTheLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QString>("translation");
        QTest::newRow("English first") << QString() << QStringList{"en-US", "de-DE"} << QString();
        QTest::newRow("Austrian German") << QString() << QStringList{"de-AT", "en-US"} << "de";
        QTest::newRow("Chinese after French")
            << QString() << QStringList{"fr-FR", "zh-Hans-CN"} << "zh_CN";
        QTest::newRow("Traditional Chinese") << QString() << QStringList{"zh-Hant-TW"} << QString();
        QTest::newRow("named German") << "de" << QStringList{"en-US"} << "de";
        QTest::newRow("named English") << "en" << QStringList{"de-DE"} << QString();
        QTest::newRow("named French") << "fr" << QStringList() << "<refused>";
    }
    void choosesTheLanguage()
    {
        QFETCH(QString, language);
        QFETCH(QStringList, preferred);
        QFETCH(QString, translation);
        QString why;
        QCOMPARE(chooseTranslation(language, preferred, &why).value_or("<refused>"), translation);
        // A refusal names the language asked for and those the program speaks.
        QCOMPARE(why.contains(language) && why.contains(QStringLiteral("zh_CN")),
                 translation == u"<refused>");
    }

    // The menus, and the widget-free layer's messages, follow the language installed (Alt+D is
    // the control's Delete button). Every language is embedded: everyTextIsTranslated.
    void menusFollowTheLanguage_data()
    {
        QTest::addColumn<QStringList>("texts"); // language, File menu, a message of the layer
        QTest::newRow("German") << QStringList{"de", "D&atei", "der Datenträger ist voll"};
        QTest::newRow("English") << QStringList{"en", "&File", "the disk is full"};
    }
    void menusFollowTheLanguage()
    {
        QFETCH(QStringList, texts);
        QVERIFY(installTranslation(qApp, texts[0]));
        QTemporaryDir data;
        MainWindow window(data.path());
        const QList<QAction *> menus = window.menuBar()->actions();
        QVERIFY(!menus.isEmpty());
        QCOMPARE(menus.first()->text(), texts[1]);
        QCOMPARE(QCoreApplication::translate("DataFolder", "the disk is full"), texts[2]);
    }
};

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
