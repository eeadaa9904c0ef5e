#include "Program.h"

#include "Options.h"

#include "MetaloomFeature/Platform/AppInfo.h"
#include <QCoreApplication>

namespace Metaloom::Cli::Program {

namespace {

const QString programName = QStringLiteral("metaloom-cli");

Prepared mistake(const QString &message)
{
    Prepared prepared;
    prepared.exitStatus = ExitStatus::usage;
    prepared.error =
        QCoreApplication::translate("Cli", "%1: %2\nTry '%1 --help' for more information.\n")
            .arg(programName, message);
    return prepared;
}

Prepared printing(const QString &text)
{
    Prepared prepared;
    prepared.output = text;
    return prepared;
}

std::shared_ptr<Command> commandNamed(const QString &name)
{
    for (const std::shared_ptr<Command> &command : allCommands()) {
        if (command->name() == name)
            return command;
    }
    return nullptr;
}

QString written(const QString &longName)
{
    return QStringLiteral("--") + longName;
}

} // namespace

QString helpText()
{
    QString text = QCoreApplication::translate(
                       "Cli", "Usage: %1 COMMAND [options] FILE...\n\n"
                              "Reads, changes and strips the metadata of photos, videos and "
                              "other media files\nwith the engine, presets and safety of "
                              "Metaloom. Files are never changed in place:\na changed copy "
                              "replaces a file only once it was written and checked.\n\n"
                              "Commands:\n")
                       .arg(programName);
    for (const std::shared_ptr<Command> &command : allCommands())
        text += QStringLiteral("  %1\n      %2\n").arg(command->synopsis(), command->summary());
    text += QCoreApplication::translate("Cli", "\nOptions:\n");
    for (const Options::Option &option : Options::all())
        text += Options::helpLine(option.declared.longName) + u'\n';
    text +=
        QCoreApplication::translate(
            "Cli",
            "\nA folder stands for the files directly inside it; -r adds those of its subfolders.\n"
            "'--' ends the options: a file whose name starts with '-' goes after it.\n"
            "Exit status: 0 when every file took everything asked, 1 when a file failed or\n"
            "did not take everything, 2 when the command line was wrong (nothing is touched).\n"
            "Run '%1 COMMAND --help' for one command, and 'man %1' for the whole story.\n")
            .arg(programName);
    return text;
}

QString commandHelpText(const Command &command)
{
    QString text = QCoreApplication::translate("Cli", "Usage: %1 %2\n\n%3.\n")
                       .arg(programName, command.synopsis(),
                            command.summary().left(1).toUpper() + command.summary().mid(1));
    QStringList options = command.options();
    options << QStringLiteral("help");
    text += QCoreApplication::translate("Cli", "\nOptions:\n");
    for (const QString &name : options)
        text += Options::helpLine(name) + u'\n';
    return text;
}

QString versionText()
{
    const AppInfo &info = AppInfo::main();
    return QStringLiteral("%1 (Metaloom) %2 (%3)\n")
        .arg(programName, info.textOrHyphen(AppInfo::shortVersionKey),
             info.textOrHyphen(AppInfo::buildNumberKey));
}

Prepared prepare(const QStringList &arguments, Session *session)
{
    const ArgumentParser::Result parsed = ArgumentParser::parse(arguments, Options::knownOptions());
    if (const auto *error = std::get_if<ArgumentParser::Mistake>(&parsed))
        return mistake(error->message);
    const ArgumentParser::Arguments &given = std::get<ArgumentParser::Arguments>(parsed);

    const bool help = given.has(QStringLiteral("help"));
    if (given.command.isEmpty()) {
        if (help)
            return printing(helpText());
        if (given.has(QStringLiteral("version")) && given.options.size() == 1)
            return printing(versionText());
        if (given.options.isEmpty())
            return mistake(QCoreApplication::translate("Cli", "no command given"));
        return mistake(QCoreApplication::translate("Cli", "'%1' needs a command before it")
                           .arg(written(given.options.first().name)));
    }
    const std::shared_ptr<Command> command = commandNamed(given.command);
    if (!command)
        return mistake(
            QCoreApplication::translate("Cli", "unknown command '%1'").arg(given.command));
    if (help)
        return printing(commandHelpText(*command));
    const QStringList accepted = command->options();
    for (const QString &name : given.names()) {
        if (!accepted.contains(name))
            return mistake(QCoreApplication::translate("Cli", "'%1' takes no option '%2'")
                               .arg(command->name(), written(name)));
    }
    if (const std::optional<QString> problem = command->prepare(given, session))
        return mistake(*problem);
    Prepared prepared;
    prepared.command = command;
    return prepared;
}

} // namespace Metaloom::Cli::Program
