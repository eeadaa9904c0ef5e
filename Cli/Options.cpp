#include "Options.h"

#include <QCoreApplication>

namespace Metaloom::Cli::Options {

const QList<Option> &all()
{
    static const QList<Option> options{
        {{QStringLiteral("tag"), QChar(), QStringLiteral("KEY=VALUE")},
         QT_TRANSLATE_NOOP(
             "Cli", "set the tag KEY to VALUE; a key given again adds an item to a list tag")},
        {{QStringLiteral("remove"), QChar(), QStringLiteral("KEY")},
         QT_TRANSLATE_NOOP("Cli", "delete the tag KEY (\"GPS:all\" deletes a whole group)")},
        {{QStringLiteral("format"), QChar(), QStringLiteral("json|yaml|toml")},
         QT_TRANSLATE_NOOP("Cli", "the format of the metadata printed (json when not given)")},
        {{QStringLiteral("profile"), QChar(), QStringLiteral("NAME")},
         QT_TRANSLATE_NOOP("Cli", "strip by a profile: everything, keep-orientation-colour, "
                                  "location, personal, or one of your own")},
        {{QStringLiteral("shift"), QChar(), QStringLiteral("[+-][D ]HH:MM[:SS]")},
         QT_TRANSLATE_NOOP("Cli", "move the dates by this amount, forwards or back")},
        {{QStringLiteral("set"), QChar(), QStringLiteral("\"YYYY:MM:DD HH:MM:SS\"")},
         QT_TRANSLATE_NOOP("Cli", "set the dates to this date and time")},
        {{QStringLiteral("tags"), QChar(), QStringLiteral("capture|modify|all")},
         QT_TRANSLATE_NOOP("Cli", "which dates: of the capture (when not given), of the last "
                                  "change, or both")},
        {{QStringLiteral("file-dates"), QChar(), QString()},
         QT_TRANSLATE_NOOP("Cli", "change the file's own modification date too")},
        {{QStringLiteral("quicktime"), QChar(), QStringLiteral("utc|local")},
         QT_TRANSLATE_NOOP("Cli", "how a video's QuickTime dates are stored (when not given: "
                                  "as the file tells, otherwise local)")},
        {{QStringLiteral("recursive"), QLatin1Char('r'), QString()},
         QT_TRANSLATE_NOOP("Cli", "with a folder, take the files of its subfolders too")},
        {{QStringLiteral("json"), QChar(), QString()},
         QT_TRANSLATE_NOOP("Cli", "report as JSON Lines, one object per file")},
        {{QStringLiteral("dry-run"), QChar(), QString()},
         QT_TRANSLATE_NOOP("Cli", "say what would change in each file; change nothing")},
        {{QStringLiteral("help"), QLatin1Char('h'), QString()},
         QT_TRANSLATE_NOOP("Cli", "show this help and end")},
        {{QStringLiteral("version"), QChar(), QString()},
         QT_TRANSLATE_NOOP("Cli", "show the version and end")},
    };
    return options;
}

QList<ArgumentParser::KnownOption> knownOptions()
{
    QList<ArgumentParser::KnownOption> list;
    for (const Option &option : all())
        list << option.declared;
    return list;
}

QString helpLine(const QString &longName)
{
    for (const Option &option : all()) {
        if (option.declared.longName != longName)
            continue;
        QString names =
            option.declared.shortName.isNull()
                ? QStringLiteral("    ")
                : QStringLiteral("-") + option.declared.shortName + QStringLiteral(", ");
        names += QStringLiteral("--") + option.declared.longName;
        if (option.declared.takesValue())
            names += u' ' + option.declared.valueName;
        return QStringLiteral("  ") + names.leftJustified(28) + u' ' +
               QCoreApplication::translate("Cli", option.description);
    }
    return QString();
}

} // namespace Metaloom::Cli::Options
