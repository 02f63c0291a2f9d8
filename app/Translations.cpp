#include "Translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace qrt::app
{

namespace
{
const QString kResources = QStringLiteral(":/i18n");
const QString kPrefix = QStringLiteral("qrt-datamanager_");

bool isEnglish(const QLocale &locale)
{
    return locale.language() == QLocale::English || locale.language() == QLocale::C;
}

// The translation of `locale`, falling back from "de_AT" to "de" as QTranslator does; empty
// when there is none.
QString translationOf(const QLocale &locale)
{
    QTranslator translator;
    if (!translator.load(kPrefix + locale.name(), kResources))
        return {};
    const QString file = QFileInfo(translator.filePath()).completeBaseName();
    return file.mid(kPrefix.size());
}
} // namespace

QStringList translatedLanguages()
{
    QStringList languages;
    const QStringList files = QDir(kResources).entryList({kPrefix + QStringLiteral("*.qm")});
    for (const QString &file : files)
        languages << file.mid(kPrefix.size()).chopped(3);
    return languages;
}

std::optional<QString> chooseTranslation(const QString &language, const QStringList &preferred,
                                         QString *why)
{
    if (!language.isEmpty()) {
        // QLocale reads a name it does not know as the C locale, which must not pass for English.
        const QLocale locale(language);
        if (locale.language() == QLocale::English)
            return QString();
        const QString found = isEnglish(locale) ? QString() : translationOf(locale);
        if (found.isEmpty()) {
            if (why)
                *why = QStringLiteral("there is no translation into \"%1\"; the program speaks "
                                      "en, %2")
                           .arg(language, translatedLanguages().join(QStringLiteral(", ")));
            return std::nullopt;
        }
        return found;
    }
    for (const QString &name : preferred) {
        const QLocale locale(name);
        if (isEnglish(locale))
            return QString();
        if (const QString found = translationOf(locale); !found.isEmpty())
            return found;
    }
    return QString();
}

bool installTranslation(QCoreApplication *app, const QString &language, QString *why)
{
    const std::optional<QString> chosen =
        chooseTranslation(language, QLocale::system().uiLanguages(), why);
    if (!chosen)
        return false;
    if (chosen->isEmpty())
        return true;
    auto *own = new QTranslator(app);
    if (!own->load(kPrefix + *chosen, kResources)) {
        delete own;
        return true;
    }
    QCoreApplication::installTranslator(own);
    // Without Qt's own translation, the Yes and Cancel of a German question stay English.
    auto *qt = new QTranslator(app);
    if (qt->load(QLocale(*chosen), QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;
    return true;
}

} // namespace qrt::app
