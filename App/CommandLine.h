#pragma once

#include <QString>
#include <QStringList>

namespace Metaloom {

// What the command line asks of the program. It is read before any window
// system is touched, so --help, --version and a mistyped option are answered
// on the terminal even where no display is available.
struct CommandLine {
    enum class Request {
        // Start the application; `files` open in its first window.
        OpenWindow,
        // Print `text` on standard output and end successfully.
        ShowHelp,
        ShowVersion,
        // Print `text` on standard error and end with usageErrorExitCode.
        Mistake,
    };

    // The conventional exit code of a command-line usage error.
    static constexpr int usageErrorExitCode = 2;

    Request request = Request::OpenWindow;
    QStringList files;
    QString text;

    // `arguments` starts with the program's name, as argv does. Qt's own
    // options (-platform, -style, -reverse, ...) are accepted and left for
    // the toolkit.
    static CommandLine parse(const QStringList &arguments);
};

} // namespace Metaloom
