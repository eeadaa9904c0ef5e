// metaloom-cli: Metaloom's engine, presets and reports for scripts and file
// managers. QCoreApplication only: it runs where no display is.

#include "Command.h"
#include "Console.h"
#include "Operations.h"
#include "Program.h"
#include "StopSignals.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "MetaloomFeature/Model/StoredListChange.h"
#include "MetaloomFeature/Platform/Error.h"
#include "MetaloomFeature/Platform/Translations.h"

#include <QCoreApplication>
#include <QTimer>

namespace {

using namespace Metaloom;

QCoro::Task<void> runToExit(std::shared_ptr<Cli::Command> command, Cli::Console *console,
                            const Cli::StopSignals *stopSignals)
{
    int status = Cli::ExitStatus::incomplete;
    try {
        status = co_await command->run();
    } catch (...) {
        console->error(QStringLiteral("metaloom-cli: ") +
                       describeException(std::current_exception()) + u'\n');
    }
    // 128 + the signal, as shells report a program a signal ended.
    if (status == Cli::ExitStatus::interrupted)
        status = 128 + stopSignals->received();
    QCoreApplication::exit(status);
}

QList<Preset> storedPresets()
{
    // The preferences the window uses.
    const PresetsStore store(Preferences::standard());
    return store.presets();
}

// An absent or unreadable list counts as empty, as for the presets.
QList<StripProfile> storedStripProfiles()
{
    return readableDataList(Preferences::standard(), StripProfiles::preferencesKey,
                            &StripProfiles::decode)
        .value_or(QList<StripProfile>());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("metaloom-cli"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quillforge"));
    const Translations translations;

    Cli::StopSignals stopSignals;

    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    const std::unique_ptr<Cli::Console> console = Cli::standardConsole();
    Cli::Session session;
    session.console = console.get();
    session.presets = storedPresets;
    session.stripProfiles = storedStripProfiles;
    session.stopRequested = [&stopSignals] { return stopSignals.received() != 0; };

    const Cli::Program::Prepared prepared = Cli::Program::prepare(arguments, &session);
    if (!prepared.command) {
        console->output(prepared.output);
        console->error(prepared.error);
        return prepared.exitStatus;
    }

    // The engine starts only for a command line without mistakes: until
    // here nothing, not even the sweep of a crashed run's leftovers, has
    // touched a file.
    ExifToolService engine;
    const std::unique_ptr<Cli::Operations> files = Cli::engineOperations(&engine);
    session.files = files.get();

    QTimer::singleShot(0, &application, [&prepared, &console, &stopSignals] {
        runToExit(prepared.command, console.get(), &stopSignals);
    });
    return QCoreApplication::exec();
}
