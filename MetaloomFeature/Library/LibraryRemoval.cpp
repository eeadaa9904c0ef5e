// Stripping all metadata from one file or from every loaded file, each after
// a confirmation the window shows for the published request; the whole
// library goes on past files that fail.

#include "LibraryViewModel.h"

#include "FileOperations.h"
#include "PrivacyReportTexts.h"

#include "MetaloomFeature/Engine/PrivacyFindings.h"

namespace Metaloom {

void LibraryViewModel::presentRemoveAllMetadataConfirmation()
{
    if (m_items.isEmpty()) {
        setStatus(tr("No files loaded to remove metadata from."));
        return;
    }
    if (refuseWhileBatchRuns())
        return;
    m_removeAllMetadataRequest = RemoveAllMetadataRequest{};
    if (const std::optional<StripProfile> profile = sharingProfile())
        m_removeAllMetadataRequest->profileTitle = PrivacyReportTexts::profileTitle(*profile);
    Q_EMIT removeAllMetadataRequestChanged();
}

void LibraryViewModel::confirmRemoveAllMetadata()
{
    if (!m_removeAllMetadataRequest)
        return;
    m_removeAllMetadataRequest.reset();
    Q_EMIT removeAllMetadataRequestChanged();
    if (refuseWhileBatchRuns())
        return;
    removeAllMetadataFromLoadedFiles();
}

void LibraryViewModel::cancelRemoveAllMetadata()
{
    if (!m_removeAllMetadataRequest)
        return;
    m_removeAllMetadataRequest.reset();
    Q_EMIT removeAllMetadataRequestChanged();
}

void LibraryViewModel::presentRemoveMetadataConfirmation()
{
    if (isMultiSelection()) {
        if (refuseWhileBatchRuns())
            return;
        m_removeMetadataRequest = RemoveMetadataRequest{
            QUuid::createUuid(), *m_selectedItemID,
            tr("%n selected files", nullptr, int(m_selection.size())), m_selection.ids()};
        if (const std::optional<StripProfile> profile = sharingProfile())
            m_removeMetadataRequest->profileTitle = PrivacyReportTexts::profileTitle(*profile);
        Q_EMIT removeMetadataRequestChanged();
        return;
    }
    const std::optional<MediaItem> item = selectedItem();
    if (!item) {
        setStatus(tr("Select a file to remove metadata from."));
        return;
    }
    m_removeMetadataRequest = RemoveMetadataRequest{QUuid::createUuid(), item->id, item->fileName};
    if (const std::optional<StripProfile> profile = sharingProfile())
        m_removeMetadataRequest->profileTitle = PrivacyReportTexts::profileTitle(*profile);
    Q_EMIT removeMetadataRequestChanged();
}

void LibraryViewModel::confirmRemoveMetadata()
{
    if (!m_removeMetadataRequest)
        return;
    const QUuid itemID = m_removeMetadataRequest->itemID;
    const QList<QUuid> several = m_removeMetadataRequest->itemIDs;
    m_removeMetadataRequest.reset();
    Q_EMIT removeMetadataRequestChanged();
    if (!several.isEmpty()) {
        if (refuseWhileBatchRuns())
            return;
        QList<MediaItem> items;
        for (const MediaItem &item : std::as_const(m_items)) {
            if (several.contains(item.id))
                items.append(item);
        }
        if (const std::optional<StripProfile> profile = sharingProfile()) {
            stripForSharing(items, *profile);
            return;
        }
        stripEverything(items);
        return;
    }
    for (const MediaItem &item : std::as_const(m_items)) {
        if (item.id == itemID) {
            if (const std::optional<StripProfile> profile = sharingProfile())
                stripForSharing({item}, *profile);
            else
                removeAllMetadata(item, ChangeOptions{});
            return;
        }
    }
}

void LibraryViewModel::cancelRemoveMetadata()
{
    if (!m_removeMetadataRequest)
        return;
    m_removeMetadataRequest.reset();
    Q_EMIT removeMetadataRequestChanged();
}

QCoro::Task<void> LibraryViewModel::removeAllMetadataFromLoadedFiles()
{
    if (const std::optional<StripProfile> profile = sharingProfile()) {
        co_await stripForSharing(m_items, *profile);
        co_return;
    }
    co_await stripEverything(m_items);
}

QCoro::Task<void> LibraryViewModel::stripEverything(QList<MediaItem> items)
{
    QPointer<LibraryViewModel> self(this);
    co_await performBatch(
        BatchProgress{}, items,
        [engine = m_engine](QUrl url, ChangeOptions options) {
            return FileOperations::strip(engine, url, options);
        },
        ChangeOptions{},
        [self, items](const BatchRun::Outcome &outcome) {
            // What a strip left is what the file now holds, so no file needs
            // reading again for its badge.
            for (qsizetype index = 0; self && index < outcome.files.size(); ++index) {
                if (const auto &strip = outcome.files.at(index).strip)
                    self->setPrivacyFlag(items.at(index).id,
                                         !PrivacyFindings::of(strip->remaining).isEmpty());
            }
            return BatchReportTexts::stripReport(outcome);
        });
}

QCoro::Task<void> LibraryViewModel::removeAllMetadata(MediaItem item, ChangeOptions options)
{
    QPointer<LibraryViewModel> self(this);
    const BusyScope busy(this);
    storeBookmark(item.url);
    const auto strip = co_await callEngine(item.url, [options](const auto &engine, QUrl url) {
        return FileOperations::strip(engine, url, options);
    });
    if (strip.libraryGone)
        co_return;
    // The strip itself never throws: a failure is part of its outcome.
    FileOutcome outcome = *strip.value;
    outcome.fileName = item.fileName;
    if (outcome.strip)
        setPrivacyFlag(item.id, !PrivacyFindings::of(outcome.strip->remaining).isEmpty());
    // Stripped in part, the file still changed: the alert says what is left
    // and the editor shows it.
    showReport(BatchReportTexts::stripFileReport(outcome), [self, item] {
        if (self)
            self->removeAllMetadata(item, ChangeOptions{true});
    });
    if (outcome.succeeded()) {
        fileDidChange(item.id);
        reloadAfterChange(item.id);
    }
}

} // namespace Metaloom
