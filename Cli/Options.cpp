#include "Options.h"

namespace Metaloom::Cli::Options {

const QList<Option> &all()
{
    static const QList<Option> options{
        {{QStringLiteral("tag"), QChar(), QStringLiteral("KEY=VALUE")},
         QStringLiteral("set the tag KEY to VALUE; a key given again adds an item to a list tag")},
        {{QStringLiteral("remove"), QChar(), QStringLiteral("KEY")},
         QStringLiteral("delete the tag KEY (\"GPS:all\" deletes a whole group)")},
        {{QStringLiteral("format"), QChar(), QStringLiteral("json|yaml|toml")},
         QStringLiteral("the format of the metadata printed (json when not given)")},
        {{QStringLiteral("recursive"), QLatin1Char('r'), QString()},
         QStringLiteral("with a folder, take the files of its subfolders too")},
        {{QStringLiteral("json"), QChar(), QString()},
         QStringLiteral("report as JSON Lines, one object per file")},
        {{QStringLiteral("dry-run"), QChar(), QString()},
         QStringLiteral("say what would change in each file; change nothing")},
        {{QStringLiteral("help"), QLatin1Char('h'), QString()},
         QStringLiteral("show this help and end")},
        {{QStringLiteral("version"), QChar(), QString()},
         QStringLiteral("show the version and end")},
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
        return QStringLiteral("  ") + names.leftJustified(28) + u' ' + option.description;
    }
    return QString();
}

} // namespace Metaloom::Cli::Options
