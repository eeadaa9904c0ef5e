// The command line, read before any window system is touched: files among
// Qt's own options, and the requests answered on the terminal (the installed
// program's answers without a display are checked in tst_install_tree).
#include "App/CommandLine.h"

#include <QtTest>

using namespace Metaloom;
using Request = CommandLine::Request;

class CommandLineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void requests_data();
    void requests();
};

void CommandLineTest::requests_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Request>("request");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QString>("textPart");

    const auto row = [](const char *name, QStringList arguments, Request request, QStringList files,
                        const char *textPart) {
        arguments.prepend(QStringLiteral("/usr/bin/metaloom"));
        QTest::newRow(name) << arguments << request << files << QString::fromUtf8(textPart);
    };
    row("Qt's options and their values are not files",
        {"-platform", "xcb", "a.jpg", "-style", "fusion", "--qwindowtitle=x", "-reverse", "b.png"},
        Request::OpenWindow, {"a.jpg", "b.png"}, "");
    row("after -- a dash starts a file name", {"--", "-odd.jpg"}, Request::OpenWindow, {"-odd.jpg"},
        "");
    row("--help", {"--help"}, Request::ShowHelp, {}, "Usage: metaloom [options] [files...]");
    row("-h wins over files", {"a.jpg", "-h"}, Request::ShowHelp, {}, "--version");
    row("-v", {"-v"}, Request::ShowVersion, {}, "Metaloom ");
    row("unknown option", {"a.jpg", "--frobnicate"}, Request::Mistake, {},
        "metaloom: Unknown option 'frobnicate'.\nTry 'metaloom --help' for more information.\n");
    row("letters are not read one by one", {"-hv"}, Request::Mistake, {}, "'hv'");
    row("missing value", {"a.jpg", "-platform"}, Request::Mistake, {},
        "Missing value after '-platform'");
}

void CommandLineTest::requests()
{
    QFETCH(QStringList, arguments);
    QFETCH(Request, request);
    QFETCH(QStringList, files);
    QFETCH(QString, textPart);

    const CommandLine command = CommandLine::parse(arguments);
    QCOMPARE(command.request, request);
    QCOMPARE(command.files, files);
    QVERIFY2(command.text.contains(textPart), qPrintable(command.text));
    QCOMPARE(command.text.isEmpty(), request == Request::OpenWindow);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "tst_CommandLine.moc"
