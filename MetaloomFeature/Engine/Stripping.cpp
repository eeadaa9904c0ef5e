// Stripping every tag ExifTool can remove, and the report of what stays.

#include "ExifToolService.h"

#include "GuardedChange.h"
#include "ServiceError.h"
#include "StripAll.h"

#include "MetaloomFeature/Engine/Dialect/MetadataJson.h"
#include "MetaloomFeature/Engine/Dialect/WriteReport.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

#include <QSet>

#include <exception>
#include <optional>

namespace Metaloom {

namespace {

using namespace GuardedChange;

struct StripRequest {
    ChangeOptions options;
    QStringList keptTags;
};

QStringList fullRead(const QString &path)
{
    return {QStringLiteral("-json"), QStringLiteral("-G:1"), QStringLiteral("-all"), path};
}

QList<MetadataEntry> entriesOfTheFile(const CommandOutput &read)
{
    const QList<QList<MetadataEntry>> files =
        MetadataJson::entriesOfEachFile(read.standardOutput, true);
    if (files.size() != 1)
        throw ServiceError::invalidResponse();
    return files.first();
}

// The entries as a read for the editor gives them: without hidden groups.
QList<MetadataEntry> shownEntries(QList<MetadataEntry> entries)
{
    const QSet<QString> &hidden = MetadataEntry::hiddenGroups();
    entries.removeIf(
        [&hidden](const MetadataEntry &entry) { return hidden.contains(entry.group); });
    return entries;
}

// Stripping: ExifTool keeps, without a word, what a format does not let it
// remove, so the file and the stripped copy are read and compared. A file
// ExifTool copied unchanged had nothing left to strip and stays exactly as
// it is. The original is read while ExifTool strips it, in a second
// process: reading a camera's maker notes costs more than the strip itself,
// and the file stays unchanged under the guard until the end.
QCoro::Task<StripReport> stripGuarded(ResourceBundle bundle, TargetPath::ChangeTarget target,
                                      StripRequest request, ChangeGuard::Paths paths)
{
    const QString targetPath = target.path;
    const QString fileName = chosenName(target);
    QCoro::Task<CommandOutput> originalRead =
        ExifToolRunner::run(bundle, fullRead(targetPath), std::nullopt);
    CommandOutput output;
    std::exception_ptr stripFailure;
    try {
        output =
            co_await StripAll::run(bundle, targetPath, paths.output, paths.retryOutput,
                                   paths.temporaryDirectory, request.options, request.keptTags);
    } catch (...) {
        stripFailure = std::current_exception();
    }
    // Awaited either way, so that no read outlives the guard.
    std::optional<CommandOutput> before;
    try {
        before = co_await std::move(originalRead);
    } catch (...) {
        if (!stripFailure)
            throw;
    }
    if (stripFailure) {
        try {
            std::rethrow_exception(stripFailure);
        } catch (const ServiceError &error) {
            rethrowAsMinorError(error, target);
        }
    }
    const WriteReport::FileCounts counts = WriteReport::filesReported(output);
    if (counts.created == 0 && counts.copied == 0)
        throw ServiceError::nothingWritten(fileName, {},
                                           WriteReport::warningLines(output.standardError));
    const bool stripped = counts.created > 0;
    const QList<MetadataEntry> original = entriesOfTheFile(*before);
    const QList<MetadataEntry> after = stripped ? entriesOfTheFile(co_await ExifToolRunner::run(
                                                      bundle, fullRead(paths.output), std::nullopt))
                                                : original;
    StripReport report = StripReport::compare(original, after, writeWarnings(output, targetPath));
    report.entriesBefore = shownEntries(original);
    report.entriesAfter = shownEntries(after);
    if (stripped)
        co_await replace(target, paths.output, paths.targetVersion,
                         FileReplacement::KeptDate::original);
    co_return report;
}

} // namespace

QCoro::Task<StripReport> ExifToolService::removeAllMetadata(QUrl fileUrl, ChangeOptions options,
                                                            QStringList keptTags)
{
    const TargetPath::ChangeTarget target = TargetPath::forChange(fileUrl);
    co_return co_await underGuard<StripReport, StripRequest>(
        m_bundle, target, StripRequest{options, keptTags}, &stripGuarded);
}

} // namespace Metaloom
