// The loop every file command shares: the files on the one engine of the
// run, a report for each in their order, and the exit status from them all.

#include "Command.h"
#include "Console.h"
#include "Operations.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Library/BatchRun.h"
#include "MetaloomFeature/Library/InOrderLanes.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace Metaloom::Cli {

namespace {

// ExifTool would say "File not found" with the whole path; a mistyped name
// is common enough on a command line to deserve a plain sentence.
QString nothingThereMessage(const QUrl &file)
{
    const QFileInfo info(file.toLocalFile());
    if (info.isSymLink())
        return QCoreApplication::translate(
                   "Cli", "No such file: the link leads to “%1”, which does not exist.")
            .arg(info.symLinkTarget());
    return QCoreApplication::translate("Cli", "No such file or folder.");
}

// The window shows such a file read-only; here nothing can be done to it.
QString unwritableFormatMessage(const QUrl &file)
{
    const QString format = ExifToolService::formatName(file);
    if (format.isEmpty())
        return QCoreApplication::translate(
            "Cli", "ExifTool can't write files of this kind, so their metadata "
                   "cannot be changed.");
    return QCoreApplication::translate(
               "Cli", "ExifTool can't write %1 files, so their metadata cannot be changed.")
        .arg(format);
}

} // namespace

QCoro::Task<FileReport> FileCommand::reportFor(FileOperands::File file)
{
    // A name that is not UTF-8 lost its bytes on the way in: nothing
    // exists under the name the program has.
    if (const std::optional<QString> reason = ExifToolService::unhandledNameMessage(file.url))
        co_return FileReport::failure(file.shownPath, *reason);
    if (!QFileInfo::exists(file.url.toLocalFile()))
        co_return FileReport::failure(file.shownPath, nothingThereMessage(file.url));
    if (!QFileInfo(file.url.toLocalFile()).isReadable())
        co_return FileReport::failure(
            file.shownPath,
            QCoreApplication::translate("Cli", "This file cannot be read: permission denied."));
    try {
        if (changesFiles() && !co_await m_session->files->canWrite(file.url))
            co_return FileReport::failure(file.shownPath, unwritableFormatMessage(file.url));
        co_return co_await handle(file);
    } catch (...) {
        co_return FileReport::failure(file.shownPath, describeException(std::current_exception()));
    }
}

std::optional<QString> FileCommand::prepareFiles(const ArgumentParser::Arguments &arguments,
                                                 Session *session, qsizetype leadingOperands)
{
    m_session = session;
    m_json = arguments.has(QStringLiteral("json"));
    m_dryRun = arguments.has(QStringLiteral("dry-run"));
    const QStringList operands = arguments.operands.mid(leadingOperands);
    if (operands.isEmpty())
        return QCoreApplication::translate("Cli", "'%1' needs at least one file or folder")
            .arg(name());
    m_expansion = FileOperands::expand(operands, arguments.has(QStringLiteral("recursive")));
    return std::nullopt;
}

QCoro::Task<int> FileCommand::run()
{
    Console *console = m_session->console;
    for (const QString &note : std::as_const(m_expansion.notes))
        console->error(printable(note) + u'\n');

    const QList<FileOperands::File> files = m_expansion.files;
    QList<FileReport> reports;
    bool stopped = false;
    // Changes go side by side, one file per core, and are reported in order;
    // a command that prints each file's content as it goes takes them one
    // after another.
    InOrderLanes::Jobs<FileReport> jobs;
    jobs.stopBefore = [&](qsizetype) {
        stopped = m_session->stopRequested();
        return stopped;
    };
    jobs.start = [&](qsizetype index) {
        console->progress(progressLine(index + 1, files.size(), files.at(index).shownPath,
                                       console->errorColumns()));
        return reportFor(files.at(index));
    };
    jobs.finished = [&](qsizetype, FileReport report) {
        if (m_json) {
            const QString line = jsonLine(report, reportsRemaining()) + u'\n';
            if (reportsOnStandardError())
                console->error(line);
            else
                console->output(line);
        } else if (!quietWhenFine() || !report.ok()) {
            console->error(report.line + u'\n');
        }
        reports << report;
    };
    co_await InOrderLanes::run(files.size(), changesFiles() ? BatchRun::defaultLanes() : 1,
                               std::move(jobs));
    console->wipeProgress();
    finished(reports);

    const bool allFine = std::all_of(reports.cbegin(), reports.cend(),
                                     [](const FileReport &r) { return r.complete(); });
    const bool anyFailed =
        std::any_of(reports.cbegin(), reports.cend(), [](const FileReport &r) { return !r.ok(); });
    if (!m_json && (!quietWhenFine() || anyFailed || stopped)) {
        QString text = Cli::summary(reports, words());
        if (stopped)
            text += QCoreApplication::translate("Cli", "; stopped after %1 of %2 files")
                        .arg(reports.size())
                        .arg(files.size());
        console->error(text + u'\n');
    }
    if (stopped)
        co_return ExitStatus::interrupted;
    co_return allFine ? ExitStatus::success : ExitStatus::incomplete;
}

} // namespace Metaloom::Cli
