#include "ArgumentParser.h"
#include <QCoreApplication>

namespace Metaloom::Cli::ArgumentParser {

namespace {

const KnownOption *findLong(const QList<KnownOption> &known, QStringView name)
{
    for (const KnownOption &option : known) {
        if (option.longName == name)
            return &option;
    }
    return nullptr;
}

const KnownOption *findShort(const QList<KnownOption> &known, QChar letter)
{
    for (const KnownOption &option : known) {
        if (!option.shortName.isNull() && option.shortName == letter)
            return &option;
    }
    return nullptr;
}

QString written(const KnownOption &option)
{
    return QStringLiteral("--") + option.longName;
}

Mistake unknownOption(const QString &argument)
{
    // The likeliest reason for an unknown option that looks like a name.
    if (argument.contains(QLatin1Char('.')) || argument.contains(QLatin1Char('/')))
        return {QCoreApplication::translate(
                    "Cli", "unknown option '%1' (a file whose name starts with '-' goes after "
                           "'--', as in 'metaloom-cli strip -- %1')")
                    .arg(argument)};
    return {QCoreApplication::translate("Cli", "unknown option '%1'").arg(argument)};
}

} // namespace

bool Arguments::has(const QString &name) const
{
    for (const GivenOption &option : options) {
        if (option.name == name)
            return true;
    }
    return false;
}

QStringList Arguments::values(const QString &name) const
{
    QStringList found;
    for (const GivenOption &option : options) {
        if (option.name == name)
            found << option.value;
    }
    return found;
}

QStringList Arguments::names() const
{
    QStringList found;
    for (const GivenOption &option : options) {
        if (!found.contains(option.name))
            found << option.name;
    }
    return found;
}

Result parse(const QStringList &arguments, const QList<KnownOption> &known)
{
    Arguments result;
    QStringList operands;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        // "-" alone is an operand by long custom (standard input), and
        // everything after "--" is one.
        if (optionsEnded || argument.size() < 2 || argument.front() != QLatin1Char('-')) {
            operands << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }

        const KnownOption *option = nullptr;
        QString value;
        bool valueAttached = false;
        if (argument.startsWith(QLatin1String("--"))) {
            const qsizetype equals = argument.indexOf(QLatin1Char('='));
            const QStringView name = QStringView(argument).mid(2, equals < 0 ? -1 : equals - 2);
            option = findLong(known, name);
            if (!option)
                return unknownOption(equals < 0 ? argument : argument.left(equals));
            if (equals >= 0) {
                value = argument.mid(equals + 1);
                valueAttached = true;
            }
        } else {
            option = argument.size() == 2 ? findShort(known, argument.at(1)) : nullptr;
            if (!option)
                return unknownOption(argument);
        }

        if (!option->takesValue()) {
            if (valueAttached)
                return Mistake{QCoreApplication::translate("Cli", "option '%1' takes no value")
                                   .arg(written(*option))};
            result.options.append({option->longName, QString()});
            continue;
        }
        if (!valueAttached) {
            if (i + 1 >= arguments.size())
                return Mistake{QCoreApplication::translate("Cli", "option '%1' needs a value (%2)")
                                   .arg(written(*option), option->valueName)};
            value = arguments.at(++i);
        }
        result.options.append({option->longName, value});
    }
    if (!operands.isEmpty())
        result.command = operands.takeFirst();
    result.operands = operands;
    return result;
}

} // namespace Metaloom::Cli::ArgumentParser
