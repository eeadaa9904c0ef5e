// The list of files: import, paste, removal, clearing, and the bookmarks that
// let later operations reach the files again.

#include "LibraryViewModel.h"

#include "ImportPlanning.h"
#include "ThumbnailLoader.h"

#include <QFutureWatcher>
#include <QMimeData>
#include <QtConcurrent>

#include <algorithm>

namespace Metaloom {

ImportPlanning::Tally LibraryViewModel::importItems(const QList<QUrl> &urls,
                                                    ImportPlanning::Tally before)
{
    QList<QUrl> listed;
    listed.reserve(m_items.size());
    for (const MediaItem &item : std::as_const(m_items))
        listed.append(item.url);
    const ImportPlanning::Plan plan = ImportPlanning::plan(urls, listed);
    const ImportPlanning::Tally tally{before.added + int(plan.files.size()),
                                      before.alreadyListed + plan.alreadyListed};
    if (!plan.unhandledNames.isEmpty())
        showError(plan.unhandledNames.join(QStringLiteral("\n\n")),
                  plan.unhandledNames.size() == 1 ? tr("File Not Added") : tr("Files Not Added"));

    if (plan.files.isEmpty()) {
        if (tally.added > 0 || tally.alreadyListed > 0)
            setStatus(ImportPlanning::summary(tally.added, tally.alreadyListed));
        else if (!plan.emptyFolders.isEmpty())
            setStatus(
                tr("The folder '%1' holds no files to import.").arg(plan.emptyFolders.first()));
        else if (plan.otherAddresses > 0 && !urls.isEmpty() && plan.otherAddresses == urls.size())
            setStatus(tr("Only files on this computer can be imported."));
        return tally;
    }

    QList<MediaItem> newItems;
    newItems.reserve(plan.files.size());
    for (const QUrl &file : plan.files) {
        newItems.append(MediaItem(file));
        m_importRank.insert(newItems.last().id, m_nextImportRank++);
    }
    storeBookmarksOf(plan.files);
    m_items.append(newItems);
    Q_EMIT itemsChanged();
    QList<QUuid> newIDs;
    newIDs.reserve(newItems.size());
    for (const MediaItem &item : std::as_const(newItems))
        newIDs.append(item.id);
    checkPrivacyLater(newIDs);
    if (m_itemOrder != ItemOrder::imported)
        applyItemOrder();
    setStatus(ImportPlanning::summary(tally.added, tally.alreadyListed));
    // The first of the new files as the list now shows them: the first of
    // all when the list held none before.
    if (!m_selectedItemID) {
        const int firstNewRank = m_importRank.value(newItems.first().id);
        const auto first =
            newItems.size() == m_items.size()
                ? m_items.cbegin()
                : std::find_if(m_items.cbegin(), m_items.cend(), [&](const MediaItem &item) {
                      return m_importRank.value(item.id) >= firstNewRank;
                  });
        setSelectedItemID(first->id);
    }
    return tally;
}

void LibraryViewModel::pasteFromClipboard(const QMimeData *mimeData)
{
    if (!mimeData || !mimeData->hasUrls())
        return;
    importItems(mimeData->urls());
}

void LibraryViewModel::removeItem(const MediaItem &item)
{
    // Copied first: the caller may pass an element of items() itself.
    const QUuid id = item.id;
    const qsizetype removed =
        m_items.removeIf([id](const MediaItem &listed) { return listed.id == id; });
    if (removed == 0)
        return;
    m_thumbnails->forget(id);
    m_thumbnailDemand.forget(id);
    forgetEditsOf(id);
    m_reads.forget(id);
    Q_EMIT itemsChanged();
    if (m_selection.forget(id) && !m_selection.ids().isEmpty()) {
        Q_EMIT selectedItemIDsChanged();
        setSelectedItemIDs(m_selection.ids(),
                           m_selectedItemID != id ? m_selectedItemID : m_selection.ids().first());
    } else if (m_selectedItemID == id) {
        setSelectedItemID(m_items.isEmpty() ? std::nullopt : std::optional(m_items.first().id));
    } else {
        Q_EMIT selectedItemChanged();
    }
}

void LibraryViewModel::clearAllItems()
{
    m_thumbnails->forgetAll();
    m_thumbnailDemand.forgetAll();
    const bool hadItems = !m_items.isEmpty();
    for (const MediaItem &cleared : std::as_const(m_items))
        forgetEditsOf(cleared.id);
    m_items.clear();
    m_reads.forgetAll();
    if (hadItems)
        Q_EMIT itemsChanged();
    setSelectedItemID(std::nullopt);
    setFullEntryList({}, std::nullopt);
    setStatus(tr("All files cleared."));
}

void LibraryViewModel::setItemsInView(const QList<QUuid> &itemIDs)
{
    applyThumbnailDemand(m_thumbnailDemand.setInView(itemIDs));
}

void LibraryViewModel::wantSelectedThumbnails()
{
    QList<QUuid> shown = m_selection.ids().first(std::min<qsizetype>(m_selection.ids().size(), 3));
    if (m_selectedItemID && !shown.contains(*m_selectedItemID))
        shown.prepend(*m_selectedItemID);
    applyThumbnailDemand(m_thumbnailDemand.setSelected(shown));
}

void LibraryViewModel::applyThumbnailDemand(const ThumbnailDemand::Step &step)
{
    if (step.isEmpty())
        return;
    for (const QUuid &id : step.cancel)
        m_thumbnails->forget(id);
    const QSet<QUuid> requested(step.request.cbegin(), step.request.cend());
    const QSet<QUuid> released(step.release.cbegin(), step.release.cend());
    QHash<QUuid, QUrl> urls;
    for (MediaItem &item : m_items) {
        if (requested.contains(item.id))
            urls.insert(item.id, item.url);
        if (released.contains(item.id) && item.thumbnail) {
            item.thumbnail.reset();
            Q_EMIT itemThumbnailChanged(item.id);
        }
    }
    // In the order asked for: the rows at the top of the view come first.
    for (const QUuid &id : step.request) {
        if (const auto url = urls.constFind(id); url != urls.cend())
            m_thumbnails->request(id, *url);
        else
            m_thumbnailDemand.forget(id);
    }
}

void LibraryViewModel::applyThumbnail(QUuid itemID, const QImage &image)
{
    if (!m_thumbnailDemand.delivered(itemID))
        return;
    for (MediaItem &item : m_items) {
        if (item.id == itemID) {
            item.thumbnail = image;
            Q_EMIT itemThumbnailChanged(itemID);
            if (m_selectedItemID == itemID)
                Q_EMIT selectedItemChanged();
            return;
        }
    }
}

// Each new file's bookmark, made where the drop is small; a large drop's
// are made on a worker, so that the window takes the files in at once. Until
// they arrive, an operation on one of those files goes by its name, which
// is what its bookmark would have said a moment before.
void LibraryViewModel::storeBookmarksOf(const QList<QUrl> &files)
{
    constexpr qsizetype madeHereUpTo = 500;
    if (files.size() <= madeHereUpTo) {
        keepBookmarks(FileAccess::bookmarksOf(files));
        return;
    }
    auto *watcher = new QFutureWatcher<QHash<QString, QByteArray>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        keepBookmarks(watcher->result());
        watcher->deleteLater();
    });
    // Once the import is done: the worker would otherwise take a core from
    // the sorting of the list that follows.
    QMetaObject::invokeMethod(
        watcher,
        [watcher, files] { watcher->setFuture(QtConcurrent::run(FileAccess::bookmarksOf, files)); },
        Qt::QueuedConnection);
}

// A bookmark already kept for a path stays: it was made first.
void LibraryViewModel::keepBookmarks(const QHash<QString, QByteArray> &bookmarks)
{
    if (m_bookmarks.isEmpty()) {
        m_bookmarks = bookmarks; // shared, not copied: the first drop of ten thousand
        return;
    }
    for (auto bookmark = bookmarks.cbegin(); bookmark != bookmarks.cend(); ++bookmark) {
        if (!m_bookmarks.contains(bookmark.key()))
            m_bookmarks.insert(bookmark.key(), bookmark.value());
    }
}

void LibraryViewModel::storeBookmark(const QUrl &fileUrl)
{
    const QString path = fileUrl.toLocalFile();
    if (m_bookmarks.contains(path))
        return;
    const FileAccess::ScopedAccess access(fileUrl);
    if (const std::optional<QByteArray> bookmark = FileAccess::bookmarkData(fileUrl))
        m_bookmarks.insert(path, *bookmark);
}

QUrl LibraryViewModel::resolveBookmark(const QUrl &fileUrl)
{
    const auto found = m_bookmarks.constFind(fileUrl.toLocalFile());
    if (found == m_bookmarks.constEnd())
        return fileUrl;
    const std::optional<FileAccess::ResolvedBookmark> resolved =
        FileAccess::resolveBookmark(*found);
    if (!resolved)
        return fileUrl;
    if (resolved->isStale) {
        if (const std::optional<QByteArray> fresh = FileAccess::bookmarkData(resolved->url))
            m_bookmarks.insert(resolved->url.toLocalFile(), *fresh);
    }
    return resolved->url;
}

} // namespace Metaloom
