// The operations over the library's per-file operations (the window's
// batches run the same) and the engine's calls.

#include "Operations.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/ServiceError.h"
#include "MetaloomFeature/Library/EntryListMerge.h"
#include "MetaloomFeature/Library/FileOperations.h"
#include "MetaloomFeature/Library/MetadataEngine.h"

#include <QCoreApplication>
#include <QPointer>

namespace Metaloom::Cli {

namespace {

// Keys of the tags a strip is expected to remove, those that identify a
// person, a camera or a place first, as the reports name them.
QStringList keysToStrip(const QList<MetadataEntry> &entries)
{
    QStringList keys;
    for (const MetadataEntry &entry : entries) {
        if (!StripReport::isLeftOut(entry.rawKey) && !keys.contains(entry.rawKey))
            keys << entry.rawKey;
    }
    return StripReport::identifyingFirst(keys);
}

class EngineOperations : public Operations {
public:
    explicit EngineOperations(ExifToolService *service)
        : m_service(service), m_engine(MetadataEngine::over(service))
    {}

    QCoro::Task<QList<MetadataEntry>> read(QUrl file) override
    {
        QList<MetadataEntry> entries = co_await engine()->readMetadata(file);
        // The window's list of the file before any pinned tag or custom
        // field is merged in: empty tags dropped, display order.
        EntryListMerge::mergeFieldSettings(entries, {});
        co_return entries;
    }

    QCoro::Task<ChangeReport> change(QUrl file, QList<TagAssignment> assignments) override
    {
        co_return co_await engine()->changeTags(file, assignments);
    }

    QCoro::Task<ChangeReport> applyPreset(QUrl file, PresetAction action) override
    {
        // The window's batches make the same change.
        const FileOutcome outcome = co_await FileOperations::applyPreset(m_engine, action, file);
        if (outcome.error)
            std::rethrow_exception(outcome.error);
        co_return outcome.report;
    }

    QCoro::Task<StripReport> strip(QUrl file) override
    {
        co_return co_await engine()->removeAllMetadata(file);
    }

    QCoro::Task<PrivacyFindings> check(QUrl file) override
    {
        co_return co_await engine()->checkPrivacy(file);
    }

    QCoro::Task<PrivacyStripReport> stripForSharing(QUrl file, StripProfile profile) override
    {
        co_return co_await engine()->stripForSharing(file, profile);
    }

    QCoro::Task<StoredTags> stored(QUrl file, QStringList keys) override
    {
        co_return co_await engine()->readTags(file, keys);
    }

    QCoro::Task<QStringList> strippable(QUrl file) override
    {
        const QList<MetadataEntry> entries = co_await engine()->readMetadata(file);
        co_return keysToStrip(entries);
    }

    QCoro::Task<DateValues> dates(QUrl file, bool quickTimeUtc) override
    {
        const QList<DateValues> read = co_await engine()->readDates({file}, quickTimeUtc);
        co_return read.value(0);
    }

    QCoro::Task<ChangeReport> changeDates(QUrl file, DatePlan plan) override
    {
        co_return co_await engine()->changeDates(file, plan);
    }

    QCoro::Task<bool> canWrite(QUrl file) override
    {
        co_return co_await engine()->canWriteFormat(file);
    }

private:
    ExifToolService *engine() const
    {
        if (!m_service)
            throw ServiceError::executionFailed(
                QCoreApplication::translate("Cli", "The engine has stopped."));
        return m_service;
    }

    QPointer<ExifToolService> m_service;
    // The same service as the library's per-file operations reach it.
    std::shared_ptr<MetadataEngine> m_engine;
};

} // namespace

std::unique_ptr<Operations> engineOperations(ExifToolService *service)
{
    return std::make_unique<EngineOperations>(service);
}

} // namespace Metaloom::Cli
