// Stripping all metadata from one file or from every loaded file, each after
// a confirmation the window shows for the published request; the whole
// library goes on past files that fail.

#include "LibraryViewModel.h"

#include "PrivacyReportTexts.h"

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
        stripForSharing(items, chosenStripProfile());
        return;
    }
    for (const MediaItem &item : std::as_const(m_items)) {
        if (item.id == itemID) {
            stripForSharing({item}, chosenStripProfile());
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
    co_await stripForSharing(m_items, chosenStripProfile());
}

} // namespace Metaloom
