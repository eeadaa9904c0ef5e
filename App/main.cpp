#include "MainWindow.h"
#include "MetaloomApp.h"
#include "MetaloomFeature/Views/SymbolIcons.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QEvent>

#include <cstdio>

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

} // namespace

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
    QWidget *window =
        app.openFirstWindow(Metaloom::filesFromArguments(parser.positionalArguments()));
    if (qEnvironmentVariableIsSet("METALOOM_EXIT_WHEN_SHOWN"))
        window->installEventFilter(new FirstPaintReporter(window));
    return QApplication::exec();
}
