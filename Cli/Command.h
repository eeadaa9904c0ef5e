#pragma once

#include "ArgumentParser.h"
#include "FileOperands.h"
#include "FileReport.h"

#include "MetaloomFeature/Engine/StripProfile.h"
#include "MetaloomFeature/Model/Preset.h"

#include <QCoroTask>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace Metaloom::Cli {

class Console;
class Operations;

// What every command of one run works with.
struct Session {
    Console *console = nullptr;
    Operations *files = nullptr;
    // The user's presets, read when a command asks for them.
    std::function<QList<Preset>()> presets;
    // The user's own strip profiles, read the same way.
    std::function<QList<StripProfile>()> stripProfiles = [] { return QList<StripProfile>(); };
    // Whether the user asked the run to stop (Ctrl+C): a batch stops after
    // the file it is working on.
    std::function<bool()> stopRequested = [] { return false; };
};

// The exit statuses.
namespace ExitStatus {
constexpr int success = 0;
// A file failed, or did not take everything asked.
constexpr int incomplete = 1;
// The command line was wrong; nothing was touched.
constexpr int usage = 2;
// Stopped by Ctrl+C (128 + SIGINT, as shells expect).
constexpr int interrupted = 130;
} // namespace ExitStatus

// One command of the program: `metaloom-cli NAME ...`. Everything the
// command line can get wrong is found by prepare(), before run() touches a
// file.
class Command {
public:
    virtual ~Command() = default;

    virtual QString name() const = 0;
    // What follows the program's name in the usage line.
    virtual QString synopsis() const = 0;
    // One line for the list of commands.
    virtual QString summary() const = 0;
    // The long names of the options the command takes besides --help.
    virtual QStringList options() const = 0;

    // Takes the command's options and operands; answers the mistake, if any.
    virtual std::optional<QString> prepare(const ArgumentParser::Arguments &arguments,
                                           Session *session) = 0;
    // Does the work and answers the exit status.
    virtual QCoro::Task<int> run() = 0;
};

// A command that works file by file: the files named (folders expanded),
// one report for each, a progress line on a terminal, the summary.
class FileCommand : public Command {
public:
    QCoro::Task<int> run() override;

protected:
    // Takes -r, --json and --dry-run and the files after `leadingOperands`
    // other operands (a preset's name). Answers "no files given" when there
    // are none.
    std::optional<QString> prepareFiles(const ArgumentParser::Arguments &arguments,
                                        Session *session, qsizetype leadingOperands = 0);

    virtual QCoro::Task<FileReport> handle(FileOperands::File file) = 0;
    // The checks every file passes first, then handle(); never throws.
    QCoro::Task<FileReport> reportFor(FileOperands::File file);
    virtual SummaryWords words() const = 0;
    // Without --json, only failures are reported file by file, and the
    // summary only when one failed (read: its output is the point).
    virtual bool quietWhenFine() const { return false; }
    // Where the JSON Lines go: standard output, unless the command's own
    // output is there (read).
    virtual bool reportsOnStandardError() const { return false; }
    // Whether the JSON Lines say what stayed in the file (strip).
    virtual bool reportsRemaining() const { return false; }
    // Whether the command changes files (or, in a dry run, says how): a file
    // of a format ExifTool cannot write is then refused before anything runs.
    virtual bool changesFiles() const { return true; }

    Session *m_session = nullptr;
    bool m_json = false;
    bool m_dryRun = false;
    FileOperands::Expansion m_expansion;

    // The last file's report, for a command that prints after it (read).
    virtual void finished(const QList<FileReport> &) {}
};

// Every command, in the order the help lists them.
QList<std::shared_ptr<Command>> allCommands();

} // namespace Metaloom::Cli
