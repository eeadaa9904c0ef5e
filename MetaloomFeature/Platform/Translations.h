#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTranslator>

namespace Metaloom {

// The program's texts in the user's language: while it lives, the running
// application translates through the program's own translation (compiled
// into the resource folder :/i18n) and through Qt's, for the dialogs and
// messages Qt writes itself. English is the language of the sources and
// needs no translation.
class Translations {
public:
    // The resource folder holding metaloom_<language>.qm.
    static inline const QString ownFolder = QStringLiteral(":/i18n");

    // Installs the translations for the first of the locale's languages
    // (QLocale::system() honours LANGUAGE, LC_ALL, LC_MESSAGES and LANG)
    // that the program speaks. Needs the application object.
    explicit Translations(const QLocale &locale = QLocale::system());
    ~Translations();

    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // The language installed ("de"), or empty when the texts stay English.
    QString language() const { return m_language; }

    // The first of the languages named (QLocale::uiLanguages(), best first:
    // "de-DE", "de") that has a translation in `folder`, as the name its
    // file carries; empty when English comes first or none has one.
    static QString chooseLanguage(const QStringList &uiLanguages,
                                  const QString &folder = ownFolder);

private:
    QTranslator m_own;
    QTranslator m_qt;
    QString m_language;
    bool m_ownInstalled = false;
    bool m_qtInstalled = false;
};

} // namespace Metaloom
