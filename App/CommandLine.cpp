#include "CommandLine.h"

#include "MetaloomFeature/Platform/AppInfo.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace Metaloom {

namespace {

struct ToolkitOption {
    const char *name;
    bool takesValue;
};

// The options Qt itself reads from the command line when the application
// object is created (QCoreApplication, QGuiApplication, QApplication and the
// X11 platform plugin). They are declared, hidden, so that they are not taken
// for typing mistakes and their values are not taken for files.
constexpr ToolkitOption toolkitOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"geometry", true},
    {"title", true},           {"icon", true},
    {"display", true},         {"name", true},
    {"visual", true},          {"session", true},
    {"style", true},           {"stylesheet", true},
    {"qmljsdebugger", true},   {"reverse", false},
    {"widgetcount", false},    {"testability", false},
    {"sync", false},
};

QString versionText()
{
    const AppInfo &info = AppInfo::main();
    return QStringLiteral("Metaloom %1 (%2)\n")
        .arg(info.textOrHyphen(AppInfo::shortVersionKey),
             info.textOrHyphen(AppInfo::buildNumberKey));
}

// Qt's help names the program only once an application object exists,
// which is not the case here: the usage line is written anew.
QString helpText(const QString &programName, const QString &parserHelp)
{
    return QCoreApplication::translate("CommandLine", "Usage: %1 [options] [files...]\n")
               .arg(programName) +
           parserHelp.section(QLatin1Char('\n'), 1);
}

QString mistakeText(const QString &programName, const QString &error)
{
    return QCoreApplication::translate("CommandLine",
                                       "%1: %2\nTry '%1 --help' for more information.\n")
        .arg(programName, error);
}

} // namespace

CommandLine CommandLine::parse(const QStringList &arguments)
{
    const QString programName =
        arguments.isEmpty() ? QStringLiteral("metaloom") : QFileInfo(arguments.first()).fileName();

    QCommandLineParser parser;
    // Qt's options are written with one dash, so "-style" must not read as
    // the letters s, t, y, l and e.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "Inspect, edit and strip the metadata of photos and videos."));
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help")},
        QCoreApplication::translate("CommandLine", "Displays this help and exits."));
    const QCommandLineOption version(
        {QStringLiteral("v"), QStringLiteral("version")},
        QCoreApplication::translate("CommandLine", "Displays the version and exits."));
    parser.addOption(help);
    parser.addOption(version);
    for (const ToolkitOption &toolkit : toolkitOptions) {
        QCommandLineOption option(QString::fromLatin1(toolkit.name));
        if (toolkit.takesValue)
            option.setValueName(QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    parser.addPositionalArgument(
        QCoreApplication::translate("CommandLine", "files"),
        QCoreApplication::translate("CommandLine", "Files to open in the first window."),
        QCoreApplication::translate("CommandLine", "[files...]"));

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.request = Request::Mistake;
        result.text = mistakeText(programName, parser.errorText());
    } else if (parser.isSet(help)) {
        result.request = Request::ShowHelp;
        result.text = helpText(programName, parser.helpText());
    } else if (parser.isSet(version)) {
        result.request = Request::ShowVersion;
        result.text = versionText();
    } else {
        result.files = parser.positionalArguments();
    }
    return result;
}

} // namespace Metaloom
