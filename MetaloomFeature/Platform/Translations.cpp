#include "Translations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>

namespace Metaloom {

namespace {

const QString ownPrefix = QStringLiteral("metaloom_");

bool isEnglish(const QString &language)
{
    return language == u"en" || language.startsWith(u"en_");
}

} // namespace

QString Translations::chooseLanguage(const QStringList &uiLanguages, const QString &folder)
{
    for (QString language : uiLanguages) {
        language.replace(u'-', u'_');
        // A user who put English before another language reads the source
        // texts, even when a translation of a later one exists.
        if (isEnglish(language))
            return QString();
        // "de_DE" is served by metaloom_de.qm.
        for (QString name = language; !name.isEmpty();
             name = name.left(std::max<qsizetype>(name.lastIndexOf(u'_'), 0))) {
            if (QFileInfo::exists(folder + u'/' + ownPrefix + name + QStringLiteral(".qm")))
                return name;
        }
    }
    return QString();
}

Translations::Translations(const QLocale &locale) : m_language(chooseLanguage(locale.uiLanguages()))
{
    if (m_language.isEmpty())
        return;
    if (m_own.load(ownPrefix + m_language, ownFolder))
        m_ownInstalled = QCoreApplication::installTranslator(&m_own);
    // Qt's texts in the same language as ours, so a dialog speaks one
    // language; a system without Qt's translations keeps them English.
    if (m_qt.load(QStringLiteral("qtbase_") + m_language,
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        m_qtInstalled = QCoreApplication::installTranslator(&m_qt);
}

Translations::~Translations()
{
    if (m_qtInstalled)
        QCoreApplication::removeTranslator(&m_qt);
    if (m_ownInstalled)
        QCoreApplication::removeTranslator(&m_own);
}

} // namespace Metaloom
