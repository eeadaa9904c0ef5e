// The operations over the library's per-file operations (the window's
// batches run the same) and the engine's calls. Where the engine has no
// single call yet for what a command asks, the calls the window makes are
// made in the same order (a removal, then the values).

#include "Operations.h"
#include "StoredTagMatching.h"

#include "MetaloomFeature/Engine/ExifToolRunner.h"
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/ServiceError.h"
#include "MetaloomFeature/Engine/TargetPath.h"
#include "MetaloomFeature/Library/EntryListMerge.h"
#include "MetaloomFeature/Library/FileOperations.h"

#include <QPointer>
#include <QSet>

namespace Metaloom::Cli {

namespace {

// The groups every file has: what the file system, ExifTool itself and its
// computed tags say about the file. A strip cannot remove them and a strip
// that left only them removed everything.
bool belongsToEveryFile(const MetadataEntry &entry)
{
    static const QSet<QString> groups{QStringLiteral("File"), QStringLiteral("System"),
                                      QStringLiteral("Composite"), QStringLiteral("ExifTool")};
    return groups.contains(entry.group);
}

QStringList keysStrippable(const QList<MetadataEntry> &entries)
{
    QStringList keys;
    for (const MetadataEntry &entry : entries) {
        if (!belongsToEveryFile(entry) && !keys.contains(entry.rawKey))
            keys << entry.rawKey;
    }
    return keys;
}

class EngineOperations : public Operations {
public:
    explicit EngineOperations(ExifToolService *service) : m_service(service) {}

    QCoro::Task<QList<MetadataEntry>> read(QUrl file) override
    {
        QList<MetadataEntry> entries = co_await engine()->readMetadata(file);
        // The window's list of the file before any pinned tag or custom
        // field is merged in: empty tags dropped, display order.
        EntryListMerge::mergeFieldSettings(entries, {});
        co_return entries;
    }

    QCoro::Task<ChangeResult> change(QUrl file, QList<TagAssignment> assignments) override
    {
        QStringList removals;
        QMap<QString, QString> values;
        for (const TagAssignment &assignment : assignments) {
            if (assignment.deletes())
                removals << assignment.key;
            else if (assignment.values.size() == 1)
                values.insert(assignment.key, assignment.values.first());
            else
                throw ServiceError::invalidInput(
                    QStringLiteral("This version of Metaloom cannot write several items into "
                                   "%1 yet; give one value.")
                        .arg(assignment.key));
        }
        ChangeResult result;
        if (!removals.isEmpty()) {
            const ChangeReport removed = co_await engine()->removeMetadata(removals, file);
            result.notWritten += removed.tagsNotWritten;
            result.notRemoved += removed.tagsNotRemoved;
        }
        if (!values.isEmpty()) {
            const ChangeReport written = co_await engine()->applyOverrides(values, file);
            result.notWritten += written.tagsNotWritten;
            result.notRemoved += written.tagsNotRemoved;
        }
        co_return result;
    }

    QCoro::Task<ChangeResult> applyPreset(QUrl file, PresetAction action) override
    {
        const FileOutcome outcome = co_await FileOperations::applyPreset(m_service, action, file);
        if (outcome.error)
            std::rethrow_exception(outcome.error);
        co_return ChangeResult{outcome.report.tagsNotWritten, outcome.report.tagsNotRemoved};
    }

    QCoro::Task<StripResult> strip(QUrl file) override
    {
        const FileOutcome outcome = co_await FileOperations::strip(m_service, file);
        if (outcome.error)
            std::rethrow_exception(outcome.error);
        const QList<MetadataEntry> after = co_await engine()->readMetadata(file);
        co_return StripResult{keysStrippable(after)};
    }

    QCoro::Task<StoredTags> stored(QUrl file, QStringList keys) override
    {
        const QString path = TargetPath::forFile(file);
        const CommandOutput output = co_await ExifToolRunner::run(
            engine()->bundle(), StoredTagMatching::arguments(keys, path), std::nullopt);
        co_return StoredTagMatching::match(keys,
                                           StoredTagMatching::printedObject(output.standardOutput));
    }

    QCoro::Task<QStringList> strippable(QUrl file) override
    {
        const QList<MetadataEntry> entries = co_await engine()->readMetadata(file);
        co_return keysStrippable(entries);
    }

    QCoro::Task<bool> canWrite(QUrl file) override
    {
        co_return co_await engine()->canWriteFormat(file);
    }

private:
    ExifToolService *engine() const
    {
        if (!m_service)
            throw ServiceError::executionFailed(QStringLiteral("The engine has stopped."));
        return m_service;
    }

    QPointer<ExifToolService> m_service;
};

} // namespace

std::unique_ptr<Operations> engineOperations(ExifToolService *service)
{
    return std::make_unique<EngineOperations>(service);
}

} // namespace Metaloom::Cli
