#include "FileOperations.h"

#include "MetadataEngine.h"

#include "Copying/CopyMetadata.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/ServiceError.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace Metaloom {

bool FileOutcome::stoppedAtMinorError() const
{
    if (!error)
        return false;
    try {
        std::rethrow_exception(error);
    } catch (const ServiceError &serviceError) {
        return serviceError.kind() == ServiceError::Kind::minorError;
    } catch (...) {
    }
    return false;
}

namespace FileOperations {

namespace {

void recordFailure(FileOutcome &outcome, std::exception_ptr error)
{
    outcome.error = error;
    outcome.failure = describeException(error);
    outcome.report = {};
    outcome.proof.reset();
}

// ExifTool would refuse the change with words of its own ("Can't write MKV
// files"); said before it runs, the reason is the same for every such file.
QCoro::Task<void> requireWritableFormat(std::shared_ptr<MetadataEngine> engine, QUrl file)
{
    if (!co_await formatIsWritable(engine, file))
        throw PlatformError(unwritableFormatMessage(file));
}

} // namespace

QCoro::Task<bool> formatIsWritable(std::shared_ptr<MetadataEngine> engine, QUrl file)
{
    if (!engine)
        co_return true;
    if (const std::optional<bool> known = engine->canWriteFormatNow(file))
        co_return *known;
    try {
        co_return co_await engine->canWriteFormat(file);
    } catch (...) {
        // Not knowing is no reason to refuse.
    }
    co_return true;
}

QString engineStoppedMessage()
{
    return QCoreApplication::translate("FileOperations",
                                       "The metadata engine of this window has stopped.");
}

QString unwritableFormatMessage(const QUrl &file)
{
    const QString format = ExifToolService::formatName(file);
    if (format.isEmpty())
        return QCoreApplication::translate(
            "FileOperations", "ExifTool can't write such files, so this file was left as it was.");
    return QCoreApplication::translate(
               "FileOperations", "ExifTool can't write %1 files, so this file was left as it was.")
        .arg(format);
}

QList<TagAssignment> presetAssignments(const PresetAction &action)
{
    QList<TagAssignment> assignments;
    for (const QString &key : action.removals) {
        if (!action.overrides.contains(key))
            assignments.append({key, {}});
    }
    for (auto it = action.overrides.cbegin(); it != action.overrides.cend(); ++it)
        assignments.append({it.key(), it.value()});
    return assignments;
}

QCoro::Task<FileOutcome> stripForSharing(std::shared_ptr<MetadataEngine> engine, QUrl file,
                                         StripProfile profile, ChangeOptions options)
{
    FileOutcome outcome = outcomeFor(file);
    try {
        co_await requireWritableFormat(engine, file);
        outcome.proof = co_await engine->stripForSharing(file, profile, options);
    } catch (...) {
        recordFailure(outcome, std::current_exception());
    }
    co_return outcome;
}

QCoro::Task<FileOutcome> applyPreset(std::shared_ptr<MetadataEngine> engine, PresetAction action,
                                     QUrl file, ChangeOptions options)
{
    FileOutcome outcome = outcomeFor(file);
    try {
        co_await requireWritableFormat(engine, file);
        outcome.report = co_await engine->changeTags(file, presetAssignments(action), options);
    } catch (...) {
        recordFailure(outcome, std::current_exception());
    }
    co_return outcome;
}

QCoro::Task<FileOutcome> copyFrom(std::shared_ptr<MetadataEngine> engine,
                                  std::optional<QUrl> source, CopyFamily family, QUrl file,
                                  ChangeOptions options)
{
    FileOutcome outcome = outcomeFor(file);
    try {
        if (!source) {
            const std::optional<QString> partner = partnerFile(file.toLocalFile());
            if (!partner)
                throw ServiceError::invalidInput(QCoreApplication::translate(
                    "FileOperations", "There is no RAW or JPEG file of the same name beside it."));
            source = QUrl::fromLocalFile(*partner);
        }
        co_await requireWritableFormat(engine, file);
        outcome.report = co_await engine->copyTags(*source, file, family, options);
    } catch (...) {
        recordFailure(outcome, std::current_exception());
    }
    co_return outcome;
}

FileOutcome outcomeFor(const QUrl &file)
{
    FileOutcome outcome;
    outcome.file = file;
    outcome.fileName = QFileInfo(file.toLocalFile()).fileName();
    return outcome;
}

} // namespace FileOperations

} // namespace Metaloom
