#include "CommandLine.h"
#include "MainWindow.h"
#include "MetaloomApp.h"
#include "MetaloomFeature/Platform/AppInfo.h"
#include "MetaloomFeature/Platform/Translations.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"

#include <QApplication>
#include <QEvent>

#include <cstdio>
#include <cstdlib>

namespace {

// For the start-up benchmark: with METALOOM_EXIT_WHEN_SHOWN set, the program
// says so on its output once the first window has painted, and ends.
class FirstPaintReporter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !m_reported) {
            m_reported = true;
            std::puts("first window shown");
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool m_reported = false;
};

QStringList argumentsOf(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

} // namespace

int main(int argc, char *argv[])
{
    using Metaloom::CommandLine;
    // Read before the window's application object exists, since that one
    // needs a display; a core application of its own speaks the user's
    // language for the help and the mistakes.
    const CommandLine command = [&] {
        QCoreApplication reader(argc, argv);
        const Metaloom::Translations translations;
        return CommandLine::parse(argumentsOf(argc, argv));
    }();
    switch (command.request) {
    case CommandLine::Request::ShowHelp:
    case CommandLine::Request::ShowVersion:
        std::fputs(qPrintable(command.text), stdout);
        return EXIT_SUCCESS;
    case CommandLine::Request::Mistake:
        std::fputs(qPrintable(command.text), stderr);
        return CommandLine::usageErrorExitCode;
    case CommandLine::Request::OpenWindow:
        break;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Metaloom"));
    QApplication::setOrganizationName(QStringLiteral("Quillforge"));
    // Ties the windows to the installed desktop entry, whose icon and name
    // the desktop shows for them.
    QApplication::setDesktopFileName(
        Metaloom::AppInfo::main().string(Metaloom::AppInfo::identifierKey).value_or(QString()));
    QApplication::setWindowIcon(Metaloom::applicationIcon());
    const Metaloom::Translations translations;

    Metaloom::MetaloomApp app;
    QWidget *window = app.openFirstWindow(Metaloom::filesFromArguments(command.files));
    if (qEnvironmentVariableIsSet("METALOOM_EXIT_WHEN_SHOWN"))
        window->installEventFilter(new FirstPaintReporter(window));
    return QApplication::exec();
}
