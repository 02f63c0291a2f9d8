#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QCoreApplication;

namespace qrt::app
{

// The languages the program's own texts are translated into, as "de" or "zh_CN"; English is
// the language of the source and needs no translation.
QStringList translatedLanguages();

// Which translation shows the program's texts: the one of `language` ("de", "zh_CN", "de_AT"
// falls back to "de") when it is named, else that of the first of the `preferred` languages
// (as QLocale::uiLanguages() lists them) that the program speaks. English, the C locale, and
// English coming before any translated language among the preferred, all mean no translation:
// an empty string. A named language without a translation gives nothing, with the reason in
// `why`.
std::optional<QString> chooseTranslation(const QString &language, const QStringList &preferred,
                                         QString *why = nullptr);

// Installs the translation chooseTranslation() picks for `language` and the system's preferred
// languages, with Qt's own (the buttons of its dialogs) where Qt's translations are installed.
// Returns false, with the reason in `why`, only for a named language the program cannot show.
bool installTranslation(QCoreApplication *app, const QString &language, QString *why = nullptr);

} // namespace qrt::app
