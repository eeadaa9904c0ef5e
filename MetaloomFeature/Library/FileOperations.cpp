#include "FileOperations.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QFileInfo>

namespace Metaloom::FileOperations {

namespace {

ExifToolService *requireEngine(const QPointer<ExifToolService> &engine)
{
    if (!engine)
        throw PlatformError(engineStoppedMessage());
    return engine;
}

FileOutcome outcomeFor(const QUrl &file)
{
    FileOutcome outcome;
    outcome.file = file;
    outcome.fileName = QFileInfo(file.toLocalFile()).fileName();
    return outcome;
}

// The engine's applyOverrides takes one text per tag.
QMap<QString, QString> singleTexts(const QMap<QString, QStringList> &overrides)
{
    QMap<QString, QString> texts;
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it)
        texts.insert(it.key(), MetadataEntry::listText(it.value()));
    return texts;
}

void recordFailure(FileOutcome &outcome, std::exception_ptr error)
{
    outcome.error = error;
    outcome.failure = describeException(error);
    outcome.report = {};
}

} // namespace

QString engineStoppedMessage()
{
    return QStringLiteral("The metadata engine of this window has stopped.");
}

QCoro::Task<FileOutcome> strip(QPointer<ExifToolService> engine, QUrl file)
{
    FileOutcome outcome = outcomeFor(file);
    try {
        co_await requireEngine(engine)->removeAllMetadata(file);
    } catch (...) {
        recordFailure(outcome, std::current_exception());
    }
    co_return outcome;
}

QCoro::Task<FileOutcome> applyPreset(QPointer<ExifToolService> engine, PresetAction action,
                                     QUrl file)
{
    FileOutcome outcome = outcomeFor(file);
    try {
        if (!action.removals.isEmpty()) {
            const ChangeReport removed =
                co_await requireEngine(engine)->removeMetadata(action.removals, file);
            outcome.report.tagsNotRemoved += removed.tagsNotRemoved;
            outcome.report.tagsNotWritten += removed.tagsNotWritten;
        }
        if (!action.overrides.isEmpty()) {
            const ChangeReport written =
                co_await requireEngine(engine)->applyOverrides(singleTexts(action.overrides), file);
            outcome.report.tagsNotWritten += written.tagsNotWritten;
            outcome.report.tagsNotRemoved += written.tagsNotRemoved;
        }
    } catch (...) {
        recordFailure(outcome, std::current_exception());
    }
    co_return outcome;
}

} // namespace Metaloom::FileOperations
