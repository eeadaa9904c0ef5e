// The commands of metaloom-cli. A command is one file defining its class
// and a function that makes it; adding one is that file and a line here.

#include "Command.h"

namespace Metaloom::Cli {

std::shared_ptr<Command> readCommand();
std::shared_ptr<Command> setCommand();
std::shared_ptr<Command> stripCommand();
std::shared_ptr<Command> applyPresetCommand();
std::shared_ptr<Command> presetsCommand();
std::shared_ptr<Command> checkCommand();
std::shared_ptr<Command> datesCommand();

QList<std::shared_ptr<Command>> allCommands()
{
    return {readCommand(),        checkCommand(), setCommand(),    stripCommand(),
            applyPresetCommand(), datesCommand(), presetsCommand()};
}

} // namespace Metaloom::Cli
