// Stripping all metadata from one file or from every loaded file, each after
// a confirmation the window shows for the published request.

#include "LibraryViewModel.h"

#include "BatchReportTexts.h"

#include "MetaloomFeature/Platform/Error.h"

namespace Metaloom {

void LibraryViewModel::presentRemoveAllMetadataConfirmation()
{
    if (m_items.isEmpty()) {
        setStatus(QStringLiteral("No files loaded to remove metadata from."));
        return;
    }
    m_removeAllMetadataRequest = RemoveAllMetadataRequest{};
    Q_EMIT removeAllMetadataRequestChanged();
}

void LibraryViewModel::confirmRemoveAllMetadata()
{
    if (!m_removeAllMetadataRequest)
        return;
    m_removeAllMetadataRequest.reset();
    Q_EMIT removeAllMetadataRequestChanged();
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
    const std::optional<MediaItem> item = selectedItem();
    if (!item) {
        setStatus(QStringLiteral("Select a file to remove metadata from."));
        return;
    }
    m_removeMetadataRequest = RemoveMetadataRequest{QUuid::createUuid(), item->id, item->fileName};
    Q_EMIT removeMetadataRequestChanged();
}

void LibraryViewModel::confirmRemoveMetadata()
{
    if (!m_removeMetadataRequest)
        return;
    const QUuid itemID = m_removeMetadataRequest->itemID;
    m_removeMetadataRequest.reset();
    Q_EMIT removeMetadataRequestChanged();
    for (const MediaItem &item : std::as_const(m_items)) {
        if (item.id == itemID) {
            removeAllMetadata(item);
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
    QPointer<LibraryViewModel> self(this);
    QPointer<ExifToolService> service = m_service;
    setBusy(true);
    const QList<MediaItem> snapshot = m_items;
    std::optional<QUuid> selectedWasStripped;
    bool failed = false;
    for (const MediaItem &item : snapshot) {
        storeBookmark(item.url);
        try {
            co_await withSecurityScope(item.url, [service](QUrl url) {
                return requireEngine(service)->removeAllMetadata(url);
            });
        } catch (...) {
            const QString message = describeException(std::current_exception());
            if (!self)
                co_return;
            showError(message);
            failed = true;
            break;
        }
        // The window closed: the file just stripped is done, the rest stay as they are.
        if (!self)
            co_return;
        if (m_selectedItemID == item.id)
            selectedWasStripped = item.id;
    }
    if (!failed && !snapshot.isEmpty())
        setStatus(BatchReportTexts::removedFromItems(snapshot.size()));
    setBusy(false);
    if (selectedWasStripped)
        reloadAfterChange(*selectedWasStripped);
}

QCoro::Task<void> LibraryViewModel::removeAllMetadata(MediaItem item)
{
    QPointer<LibraryViewModel> self(this);
    QPointer<ExifToolService> service = m_service;
    setBusy(true);
    storeBookmark(item.url);
    std::optional<QUuid> selectedWasStripped;
    try {
        co_await withSecurityScope(item.url, [service](QUrl url) {
            return requireEngine(service)->removeAllMetadata(url);
        });
        if (!self)
            co_return;
        if (m_selectedItemID == item.id)
            selectedWasStripped = item.id;
        setStatus(BatchReportTexts::removedFromFile(item.fileName));
    } catch (...) {
        const QString message = describeException(std::current_exception());
        if (!self)
            co_return;
        showError(message);
    }
    setBusy(false);
    if (selectedWasStripped)
        reloadAfterChange(*selectedWasStripped);
}

} // namespace Metaloom
