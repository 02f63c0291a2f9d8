#include "MainWindow.h"
#include "Translations.h"

#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
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
QList<Message> readTs(const QString &path, QString *language = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QList<Message> messages;
    QString context;
    Message m;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"TS" && language)
            *language = xml.attributes().value(QStringLiteral("language")).toString();
        else if (xml.name() == u"name")
            context = xml.readElementText();
        else if (xml.name() == u"message")
            m = {context, {}, {}, {}};
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

QString tsFile(const QString &language)
{
    return QStringLiteral(QRT_TRANSLATIONS "/qrt-datamanager_%1.ts").arg(language);
}
} // namespace

class tst_Translations : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { qDeleteAll(qApp->findChildren<QTranslator *>()); }

    void everyTextIsTranslated_data();
    void everyTextIsTranslated();
    void translationsAreCurrent_data() { everyTextIsTranslated_data(); }
    void translationsAreCurrent();
    void choosesTheLanguage_data();
    void choosesTheLanguage();
    void menusFollowTheLanguage_data();
    void menusFollowTheLanguage();
};

void tst_Translations::everyTextIsTranslated_data()
{
    QTest::addColumn<QString>("language");
    QTest::newRow("German") << QStringLiteral("de");
    QTest::newRow("Simplified Chinese") << QStringLiteral("zh_CN");
}

void tst_Translations::everyTextIsTranslated()
{
    QFETCH(QString, language);
    QString declared;
    const QList<Message> messages = readTs(tsFile(language), &declared);
    QVERIFY2(!messages.isEmpty(), qPrintable(tsFile(language)));
    QVERIFY2(declared.startsWith(language), qPrintable(declared));
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
}

// A text added to the program but not to the .ts files would show in English: lupdate, run on
// the same sources, finds exactly the texts the files hold.
void tst_Translations::translationsAreCurrent()
{
    QFETCH(QString, language);
    QTemporaryDir dir;
    const QString fresh = dir.filePath(QStringLiteral("fresh.ts"));
    QStringList args = QStringLiteral(QRT_TRANSLATED_SOURCES).split(u'|');
    args << QStringLiteral("-locations") << QStringLiteral("none") << QStringLiteral("-ts")
         << fresh;
    QProcess lupdate;
    lupdate.start(QStringLiteral(QRT_LUPDATE), args);
    QVERIFY(lupdate.waitForFinished(60000));
    QVERIFY2(lupdate.exitCode() == 0, lupdate.readAllStandardError().constData());

    const auto keys = [](const QList<Message> &messages) {
        QSet<QString> set;
        for (const Message &m : messages)
            set << m.context + QStringLiteral(": ") + m.source;
        return set;
    };
    const QSet<QString> inSources = keys(readTs(fresh));
    const QSet<QString> inFile = keys(readTs(tsFile(language)));
    QVERIFY(!inSources.isEmpty());
    const QStringList missing = (inSources - inFile).values();
    const QStringList stale = (inFile - inSources).values();
    QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not in the .ts file (run the target "
                                                          "update_translations): ") +
                                           missing.join(QStringLiteral(" | "))));
    QVERIFY2(stale.isEmpty(), qPrintable(QStringLiteral("no longer in the sources: ") +
                                         stale.join(QStringLiteral(" | "))));
}

void tst_Translations::choosesTheLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QStringList>("preferred");
    QTest::addColumn<bool>("known");
    QTest::addColumn<QString>("translation");
    const QStringList none;
    QTest::newRow("C locale") << QString() << QStringList{"C"} << true << QString();
    QTest::newRow("nothing preferred") << QString() << none << true << QString();
    QTest::newRow("English first")
        << QString() << QStringList{"en-US", "de-DE"} << true << QString();
    QTest::newRow("Austrian German") << QString() << QStringList{"de-AT", "en-US"} << true << "de";
    QTest::newRow("Chinese after French")
        << QString() << QStringList{"fr-FR", "zh-Hans-CN"} << true << "zh_CN";
    QTest::newRow("Traditional Chinese")
        << QString() << QStringList{"zh-Hant-TW"} << true << QString();
    QTest::newRow("named German") << "de" << QStringList{"en-US"} << true << "de";
    QTest::newRow("named Chinese") << "zh_CN" << QStringList{"de-DE"} << true << "zh_CN";
    QTest::newRow("named English") << "en" << QStringList{"de-DE"} << true << QString();
    QTest::newRow("named French") << "fr" << none << false << QString();
    QTest::newRow("named nonsense") << "xx" << none << false << QString();
}

void tst_Translations::choosesTheLanguage()
{
    QFETCH(QString, language);
    QFETCH(QStringList, preferred);
    QFETCH(bool, known);
    QFETCH(QString, translation);
    QString why;
    const std::optional<QString> chosen = chooseTranslation(language, preferred, &why);
    QCOMPARE(chosen.has_value(), known);
    if (chosen)
        QCOMPARE(*chosen, translation);
    else
        QVERIFY(why.contains(language) && why.contains(QStringLiteral("zh_CN")));
}

void tst_Translations::menusFollowTheLanguage_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("fileMenu");
    QTest::addColumn<QString>("diskFull");
    // Alt+D is the control's Delete button.
    QTest::newRow("German") << "de"
                            << "D&atei"
                            << "der Datenträger ist voll";
    QTest::newRow("Simplified Chinese") << "zh_CN"
                                        << "文件(&F)"
                                        << "磁盘已满";
    QTest::newRow("English") << "en"
                             << "&File"
                             << "the disk is full";
}

void tst_Translations::menusFollowTheLanguage()
{
    QFETCH(QString, language);
    QFETCH(QString, fileMenu);
    QFETCH(QString, diskFull);
    QVERIFY(installTranslation(qApp, language));
    QTemporaryDir data;
    MainWindow window(data.path());
    const QList<QAction *> menus = window.menuBar()->actions();
    QVERIFY(!menus.isEmpty());
    QCOMPARE(menus.first()->text(), fileMenu);
    // The widget-free layer's messages follow too.
    QCOMPARE(QCoreApplication::translate("DataFolder", "the disk is full"), diskFull);
}

QTEST_MAIN(tst_Translations)
#include "tst_translations.moc"
