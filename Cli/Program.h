#pragma once

#include "Command.h"

#include <QString>
#include <QStringList>
#include <memory>

// The whole command line: which command runs, or what to print instead
// (the help, the version, a mistake) and with which exit status.
namespace Metaloom::Cli::Program {

struct Prepared {
    // The command to run; none when the program only prints and ends.
    std::shared_ptr<Command> command;
    int exitStatus = ExitStatus::success;
    QString output;
    QString error;
};

// `arguments` without the program's name. Everything wrong with them is
// found here, before any file is touched; the session's presets are read
// when a command needs them.
Prepared prepare(const QStringList &arguments, Session *session);

QString helpText();
QString commandHelpText(const Command &command);
QString versionText();

} // namespace Metaloom::Cli::Program
