#include "MetaloomApp.h"
#include "MetaloomFeature/Views/SymbolIcons.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Metaloom"));
    QApplication::setOrganizationName(QStringLiteral("Quillforge"));
    QApplication::setDesktopFileName(QStringLiteral("app.quillforge.Metaloom"));
    QApplication::setWindowIcon(Metaloom::applicationIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Inspect, edit and strip the metadata of photos and videos."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Files to open."),
                                 QStringLiteral("[files...]"));
    parser.process(application);

    Metaloom::MetaloomApp app;
    app.openFirstWindow(Metaloom::filesFromArguments(parser.positionalArguments()));
    return QApplication::exec();
}
