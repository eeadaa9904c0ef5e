// Stripping every tag ExifTool can remove, and the report of what stays.

#include "ExifToolService.h"

#include "GuardedChange.h"
#include "ServiceError.h"
#include "StripAll.h"

#include "MetaloomFeature/Engine/Dialect/MetadataJson.h"
#include "MetaloomFeature/Engine/Dialect/WriteReport.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

namespace Metaloom {

namespace {

using namespace GuardedChange;

struct StripRequest {
    ChangeOptions options;
    QStringList keptTags;
};

// Stripping: ExifTool keeps, without a word, what a format does not let it
// remove, so the file and the stripped copy are read in one command and
// compared. A file ExifTool copied unchanged had nothing left to strip and
// stays exactly as it is.
QCoro::Task<StripReport> stripGuarded(ResourceBundle bundle, TargetPath::ChangeTarget target,
                                      StripRequest request, ChangeGuard::Paths paths)
{
    const QString targetPath = target.path;
    const QString fileName = chosenName(target);
    CommandOutput output;
    try {
        output =
            co_await StripAll::run(bundle, targetPath, paths.output, paths.retryOutput,
                                   paths.temporaryDirectory, request.options, request.keptTags);
    } catch (const ServiceError &error) {
        rethrowAsMinorError(error, target);
    }
    const WriteReport::FileCounts counts = WriteReport::filesReported(output);
    if (counts.created == 0 && counts.copied == 0)
        throw ServiceError::nothingWritten(fileName, {},
                                           WriteReport::warningLines(output.standardError));
    const bool stripped = counts.created > 0;
    QStringList arguments{QStringLiteral("-json"), QStringLiteral("-G:1"), QStringLiteral("-all"),
                          targetPath};
    if (stripped)
        arguments << paths.output;
    const CommandOutput read = co_await ExifToolRunner::run(bundle, arguments, std::nullopt);
    const QList<QList<MetadataEntry>> files =
        MetadataJson::entriesOfEachFile(read.standardOutput, true);
    if (files.size() != arguments.size() - 3)
        throw ServiceError::invalidResponse();
    const StripReport report =
        StripReport::compare(files.first(), files.last(), writeWarnings(output, targetPath));
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
