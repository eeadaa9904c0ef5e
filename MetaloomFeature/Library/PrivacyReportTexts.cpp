#include "PrivacyReportTexts.h"

#include <QCoreApplication>

#include <algorithm>

namespace Metaloom::PrivacyReportTexts {

namespace {

using enum PrivacyClass;

QString text(const char *source)
{
    return QCoreApplication::translate("PrivacyReportTexts", source);
}

// A count with its noun; the singular is a text of its own, so the English
// texts need no translation loaded.
QString counted(qsizetype count, const char *one, const char *many)
{
    if (count == 1)
        return text(one);
    return QCoreApplication::translate("PrivacyReportTexts", many, nullptr, int(count));
}

QString nothingLeftOf(PrivacyClass privacyClass)
{
    switch (privacyClass) {
    case location:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "no location"));
    case people:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "no people"));
    case device:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "no device serial"));
    case time:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "no dates"));
    case pictures:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "no hidden pictures"));
    case history:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "no edit history"));
    }
    return {};
}

QString leftCount(PrivacyClass privacyClass, qsizetype count)
{
    switch (privacyClass) {
    case location:
        return counted(count, QT_TRANSLATE_NOOP("PrivacyReportTexts", "1 location detail"),
                       QT_TRANSLATE_N_NOOP("PrivacyReportTexts", "%n location details"));
    case people:
        return counted(count, QT_TRANSLATE_NOOP("PrivacyReportTexts", "1 personal detail"),
                       QT_TRANSLATE_N_NOOP("PrivacyReportTexts", "%n personal details"));
    case device:
        return counted(count, QT_TRANSLATE_NOOP("PrivacyReportTexts", "1 device detail"),
                       QT_TRANSLATE_N_NOOP("PrivacyReportTexts", "%n device details"));
    case time:
        return counted(count, QT_TRANSLATE_NOOP("PrivacyReportTexts", "1 date"),
                       QT_TRANSLATE_N_NOOP("PrivacyReportTexts", "%n dates"));
    case pictures:
        return counted(count, QT_TRANSLATE_NOOP("PrivacyReportTexts", "1 hidden picture"),
                       QT_TRANSLATE_N_NOOP("PrivacyReportTexts", "%n hidden pictures"));
    case history:
        return counted(count, QT_TRANSLATE_NOOP("PrivacyReportTexts", "1 edit history detail"),
                       QT_TRANSLATE_N_NOOP("PrivacyReportTexts", "%n edit history details"));
    }
    return {};
}

// The tag names of the keys, without their groups, each once.
QStringList tagNames(const QStringList &keys)
{
    QStringList names;
    for (const QString &key : keys) {
        const QString name = key.section(u':', -1);
        if (!names.contains(name))
            names << name;
    }
    return names;
}

// "A, B, C": the first few names of a long list, "… and 12 more".
QString someOf(const QStringList &names)
{
    constexpr qsizetype shown = 8;
    const QString first = names.mid(0, shown).join(QStringLiteral(", "));
    if (names.size() <= shown)
        return first;
    return QCoreApplication::translate("PrivacyReportTexts", "%1 and %n more", nullptr,
                                       int(names.size() - shown))
        .arg(first);
}

// What the kept tags are to the user: "orientation", "colour profile", or
// the tag's own name.
QStringList keptWords(const QStringList &keys)
{
    static const QStringList colour{QStringLiteral("ColorSpace"), QStringLiteral("InteropIndex"),
                                    QStringLiteral("Gamma"), QStringLiteral("SRGBRendering")};
    QStringList words;
    const auto add = [&words](const QString &word) {
        if (!words.contains(word))
            words << word;
    };
    // Orientation and colour first, as the profile that keeps them names them.
    QStringList ordered = keys;
    std::stable_sort(ordered.begin(), ordered.end(), [](const QString &a, const QString &b) {
        const auto rank = [](const QString &key) {
            const QString name = key.section(u':', -1);
            if (name.compare(QLatin1String("Orientation"), Qt::CaseInsensitive) == 0)
                return 0;
            return key.startsWith(QLatin1String("ICC_Profile:"), Qt::CaseInsensitive) ||
                           colour.contains(name, Qt::CaseInsensitive)
                       ? 1
                       : 2;
        };
        return rank(a) < rank(b);
    });
    for (const QString &key : ordered) {
        const QString group = key.section(u':', 0, 0);
        const QString name = key.section(u':', -1);
        if (name.compare(QLatin1String("Orientation"), Qt::CaseInsensitive) == 0)
            add(text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "orientation")));
        else if (group.compare(QLatin1String("ICC_Profile"), Qt::CaseInsensitive) == 0 ||
                 colour.contains(name, Qt::CaseInsensitive))
            add(text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "colour profile")));
        else
            add(name);
    }
    return words;
}

} // namespace

QString classTitle(PrivacyClass privacyClass)
{
    switch (privacyClass) {
    case location:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "Location"));
    case people:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "People and owners"));
    case device:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "Device"));
    case time:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "Time"));
    case pictures:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "Hidden pictures"));
    case history:
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "Edit history"));
    }
    return {};
}

QString proof(const QString &fileName, const PrivacyStripReport &report)
{
    // The classes gone are named when the file held them; a file that held
    // none of them is told that none is there.
    QList<PrivacyClass> gone;
    QList<PrivacyClass> goneOfTheFile;
    for (PrivacyClass privacyClass : report.checkedClasses) {
        if (!report.leftOf(privacyClass).isEmpty())
            continue;
        gone << privacyClass;
        if (!report.before.of(privacyClass).isEmpty())
            goneOfTheFile << privacyClass;
    }
    if (!goneOfTheFile.isEmpty())
        gone = goneOfTheFile;

    QStringList sentences;
    if (!gone.isEmpty()) {
        QStringList parts;
        for (PrivacyClass privacyClass : gone)
            parts << nothingLeftOf(privacyClass);
        sentences << text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "%1 left."))
                         .arg(parts.join(QStringLiteral(", ")));
    }
    for (PrivacyClass privacyClass : report.checkedClasses) {
        const QStringList names = tagNames(report.leftOf(privacyClass));
        if (names.isEmpty())
            continue;
        sentences << text(QT_TRANSLATE_NOOP("PrivacyReportTexts",
                                            "%1 could not be removed from this file type: %2."))
                         .arg(leftCount(privacyClass, names.size()),
                              names.join(QStringLiteral(", ")));
    }
    const QStringList blanked = tagNames(report.blanked);
    if (blanked.size() == 1)
        sentences << text(QT_TRANSLATE_NOOP("PrivacyReportTexts",
                                            "Blanked, since this file type keeps it: %1."))
                         .arg(blanked.first());
    else if (!blanked.isEmpty())
        sentences << text(QT_TRANSLATE_NOOP("PrivacyReportTexts",
                                            "Blanked, since this file type keeps them: %1."))
                         .arg(blanked.join(QStringLiteral(", ")));
    const QStringList others = tagNames(report.otherLeft);
    if (!others.isEmpty())
        sentences << text(QT_TRANSLATE_NOOP("PrivacyReportTexts",
                                            "%1 could not be removed from this file type: %2."))
                         .arg(counted(others.size(),
                                      QT_TRANSLATE_NOOP("PrivacyReportTexts", "1 other tag"),
                                      QT_TRANSLATE_N_NOOP("PrivacyReportTexts", "%n other tags")),
                              someOf(others));
    if (!report.kept.isEmpty())
        sentences << text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "Kept: %1."))
                         .arg(keptWords(report.kept).join(QStringLiteral(", ")));
    if (sentences.isEmpty())
        sentences << text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "stripped."));
    return fileName + QStringLiteral(": ") + sentences.join(u' ');
}

QString profileTitle(const StripProfile &profile)
{
    if (profile.name == StripProfile::everything().name)
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "Everything"));
    if (profile.name == StripProfile::keepOrientationAndColour().name)
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts",
                                      "Everything except orientation and colour profile"));
    if (profile.name == StripProfile::location().name)
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "Location only"));
    if (profile.name == StripProfile::personal().name)
        return text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "Personal and device details"));
    return profile.name;
}

BatchReportTexts::Report proofReport(const QString &title, const BatchRun::Outcome &outcome)
{
    // One file that could not be stripped at all: nothing was removed, and
    // the alert says why as for any other change of one file.
    if (outcome.total == 1 && outcome.files.size() == 1 && !outcome.files.first().succeeded())
        return BatchReportTexts::stripFailureReport(outcome.files.first());
    QList<PrivacyStripReport> proofs;
    QStringList proofLines;
    QStringList failures;
    for (const FileOutcome &file : outcome.files) {
        if (!file.succeeded()) {
            failures << file.fileName + QStringLiteral(": ") + file.failure.value_or(QString());
        } else if (file.proof) {
            proofs << *file.proof;
            proofLines << proof(file.fileName, *file.proof);
        }
    }
    const bool clean = std::all_of(proofs.cbegin(), proofs.cend(),
                                   [](const PrivacyStripReport &r) { return r.isClean(); });
    if (failures.isEmpty() && clean) {
        if (outcome.stoppedEarly())
            // Stopped by the user, with nothing gone wrong: no alert.
            return {text(QT_TRANSLATE_NOOP("PrivacyReportTexts",
                                           "Stripped %1 of %2 with “%3”: nothing of it left."))
                            .arg(QString::number(proofLines.size()),
                                 BatchReportTexts::itemCount(outcome.total), title) +
                        u' ' + BatchReportTexts::stoppedSentence(outcome),
                    {},
                    {}};
        if (proofLines.size() == 1)
            return {proofLines.first(), {}, {}};
        return {text(QT_TRANSLATE_NOOP("PrivacyReportTexts",
                                       "Stripped %1 with “%2”: nothing of it left."))
                    .arg(BatchReportTexts::itemCount(proofLines.size()), title),
                {},
                {}};
    }
    QStringList lines;
    for (qsizetype index : leftFirst(proofs))
        lines << proofLines.at(index);
    lines << failures;
    return BatchReportTexts::closed(
        {{},
         text(QT_TRANSLATE_NOOP("PrivacyReportTexts", "Not Everything Could Be Removed")),
         lines.join(u'\n')},
        outcome);
}

QList<qsizetype> leftFirst(const QList<PrivacyStripReport> &reports)
{
    QList<qsizetype> order;
    for (bool clean : {false, true}) {
        for (qsizetype i = 0; i < reports.size(); ++i) {
            if (reports.at(i).isClean() == clean)
                order << i;
        }
    }
    return order;
}

} // namespace Metaloom::PrivacyReportTexts
