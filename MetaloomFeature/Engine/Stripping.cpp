// Stripping every tag ExifTool can remove, and the report of what stays.

#include "ExifToolService.h"

#include "GuardedChange.h"
#include "ServiceError.h"
#include "StripAll.h"

#include "MetaloomFeature/Engine/Dialect/MetadataJson.h"
#include "MetaloomFeature/Engine/Dialect/WriteArguments.h"
#include "MetaloomFeature/Engine/Dialect/WriteReport.h"
#include "MetaloomFeature/Engine/FileSafety/PosixFile.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

#include <exception>
#include <optional>

namespace Metaloom {

namespace {

using namespace GuardedChange;

struct StripRequest {
    ChangeOptions options;
    QStringList keptTags;
    std::shared_ptr<const RecentReads> recentReads;
};

QList<MetadataEntry> entriesOfTheFile(const CommandOutput &read)
{
    const QList<QList<MetadataEntry>> files =
        MetadataJson::entriesOfEachFile(read.standardOutput, true);
    if (files.size() != 1)
        throw ServiceError::invalidResponse();
    return files.first();
}

// A recent read of the file in place of a read of the original: the same
// tags without the composite ones, which the strip's own read leaves out.
QList<MetadataEntry> withoutComposite(QList<MetadataEntry> entries)
{
    entries.removeIf([](const MetadataEntry &entry) {
        return entry.group.compare(QLatin1String("Composite"), Qt::CaseInsensitive) == 0;
    });
    return entries;
}

// A read that may still be running, awaited: its output, or nothing with
// its failure kept in `failure` unless an earlier one is there.
QCoro::Task<std::optional<CommandOutput>> settled(std::optional<QCoro::Task<CommandOutput>> read,
                                                  std::exception_ptr &failure)
{
    if (!read)
        co_return std::nullopt;
    try {
        co_return co_await std::move(*read);
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    co_return std::nullopt;
}

// Stripping: ExifTool keeps, without a word, what a format does not let it
// remove, so the file and the stripped copy are read and compared. A file
// ExifTool copied unchanged had nothing left to strip and stays exactly as
// it is. The original is read while ExifTool strips it, in a second
// process, and the stripped copy as soon as it is there: reading a camera's
// maker notes costs more than the strip and the second read together, and
// the file stays unchanged under the guard until the end. Where the window
// read this very version of the file already, that read stands in for the
// original's.
QCoro::Task<StripReport> stripGuarded(ResourceBundle bundle, TargetPath::ChangeTarget target,
                                      StripRequest request, ChangeGuard::Paths paths)
{
    const QString targetPath = target.path;
    const QString fileName = chosenName(target);
    const std::optional<QList<MetadataEntry>> known =
        request.recentReads ? request.recentReads->entriesFor(targetPath) : std::nullopt;
    std::optional<QCoro::Task<CommandOutput>> originalRead;
    if (!known)
        originalRead.emplace(ExifToolRunner::run(
            bundle, MetadataJson::storedTagsReadArguments({targetPath}), std::nullopt));
    CommandOutput output;
    std::exception_ptr stripFailure;
    try {
        QStringList heldKeys;
        for (const MetadataEntry &entry : known.value_or(QList<MetadataEntry>()))
            heldKeys << entry.rawKey;
        output = co_await StripAll::run(
            bundle, targetPath, paths.output, paths.retryOutput, paths.temporaryDirectory,
            request.options, request.keptTags,
            known ? WriteArguments::needlessStripDeletions(targetPath, heldKeys) : QStringList());
    } catch (...) {
        stripFailure = std::current_exception();
    }
    const WriteReport::FileCounts counts =
        stripFailure ? WriteReport::FileCounts{} : WriteReport::filesReported(output);
    const bool stripped = counts.created > 0;
    std::optional<QCoro::Task<CommandOutput>> strippedRead;
    if (stripped) {
        PosixFile::startWritingOut(paths.output); // to disk while both are read
        strippedRead.emplace(ExifToolRunner::run(
            bundle, MetadataJson::storedTagsReadArguments({paths.output}), std::nullopt));
    }
    // Both reads are awaited whatever happens, so that none outlives the guard.
    std::exception_ptr readFailure;
    const std::optional<CommandOutput> before =
        co_await settled(std::move(originalRead), readFailure);
    const std::optional<CommandOutput> afterRead =
        co_await settled(std::move(strippedRead), readFailure);
    if (stripFailure) {
        try {
            std::rethrow_exception(stripFailure);
        } catch (const ServiceError &error) {
            rethrowAsMinorError(error, target);
        }
    }
    if (readFailure)
        std::rethrow_exception(readFailure);
    if (counts.created == 0 && counts.copied == 0)
        throw ServiceError::nothingWritten(fileName, {},
                                           WriteReport::warningLines(output.standardError));
    const QList<MetadataEntry> original =
        known ? withoutComposite(*known) : entriesOfTheFile(*before);
    const QList<MetadataEntry> after = stripped ? entriesOfTheFile(*afterRead) : original;
    StripReport report = StripReport::compare(original, after, writeWarnings(output, targetPath));
    report.entriesBefore = MetadataEntry::shownOnly(original);
    report.entriesAfter = MetadataEntry::shownOnly(after);
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
        m_bundle, target, StripRequest{options, keptTags, m_recentReads}, &stripGuarded);
}

} // namespace Metaloom
