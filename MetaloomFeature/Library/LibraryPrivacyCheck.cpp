// The privacy check: of the file shown, for the Privacy view, and of every
// file in the list, for the badges of their rows.

#include "LibraryViewModel.h"

#include "PrivacyReportTexts.h"
#include "ThumbnailRendering.h"

#include <QCoroTimer>
#include <QTimer>

#include <chrono>

using namespace std::chrono_literals;

namespace Metaloom {

QList<LibraryViewModel::PrivacyGroup> LibraryViewModel::privacyGroups() const
{
    const bool several = isMultiSelection();
    // Several files: a key counts when any of them holds it with a value,
    // though the list shows the values they share.
    QList<PrivacyFindings> findings;
    if (several) {
        for (const auto &file : m_selectionFindings)
            findings << file.second;
    } else {
        findings << PrivacyFindings::of(m_fullEntryList);
    }
    QList<PrivacyGroup> groups;
    for (PrivacyClass privacyClass : PrivacyClasses::all()) {
        QSet<QString> keys;
        PrivacyGroup group{PrivacyReportTexts::classTitle(privacyClass),
                           {},
                           privacyClass == PrivacyClass::pictures,
                           {},
                           {}};
        for (qsizetype at = 0; at < findings.size(); ++at) {
            const QStringList found = findings.at(at).of(privacyClass);
            if (found.isEmpty())
                continue;
            keys.unite(QSet<QString>(found.cbegin(), found.cend()));
            if (several)
                group.fileNames << m_selectionFindings.at(at).first;
        }
        if (keys.isEmpty())
            continue;
        for (const MetadataEntry &entry : m_fullEntryList) {
            if (!keys.contains(entry.rawKey))
                continue;
            group.entries << entry;
            if (!several)
                continue;
            const SharedTagList::Row *row = sharedRow(entry.rawKey);
            QStringList differences;
            if (row && row->mixed)
                differences << tr("%n values", nullptr, int(row->values.size()));
            if (row)
                differences << SharedTagList::presenceNote(*row);
            differences.removeAll(QString());
            group.notes << differences.join(QStringLiteral(", "));
        }
        groups << group;
    }
    return groups;
}

void LibraryViewModel::loadHiddenPicture()
{
    const std::optional<MediaItem> item = selectedItem();
    if (!item || isMultiSelection() || m_hiddenPictureItem == item->id)
        return;
    m_hiddenPictureItem = item->id;
    if (!m_hiddenPicture.isNull()) {
        m_hiddenPicture = QImage();
        Q_EMIT hiddenPictureChanged();
    }
    readHiddenPicture(*item);
}

QCoro::Task<void> LibraryViewModel::readHiddenPicture(MediaItem item)
{
    // Started from the view and awaited by nobody: every failure ends here,
    // as a file without a picture.
    const auto read = co_await callEngine(
        item.url, [](const auto &engine, QUrl url) { return engine->embeddedPreview(url); });
    if (read.libraryGone || m_hiddenPictureItem != item.id || !read.value || !*read.value)
        co_return;
    constexpr int edge = 160;
    const std::optional<QImage> drawn =
        ThumbnailRendering::fromData((*read.value)->encoded, (*read.value)->orientation, edge);
    if (!drawn)
        co_return;
    m_hiddenPicture = *drawn;
    Q_EMIT hiddenPictureChanged();
}

void LibraryViewModel::notePrivacyFindings()
{
    // The entries of several files at once are no one file's.
    if (!m_selectedItemID || isMultiSelection())
        return;
    setPrivacyFlag(*m_selectedItemID, !PrivacyFindings::of(m_fullEntryList).isEmpty());
}

void LibraryViewModel::checkPrivacyLater(const QList<QUuid> &itemIDs)
{
    for (const QUuid &id : itemIDs)
        m_privacyQueue.append({id, m_privacyNews.value(id)});
    if (m_checkingPrivacy)
        return;
    // From the event loop: what asked for the checks (an import of
    // thousands of files) finishes first, and the check's first run, which
    // may start an ExifTool, is a step of its own. Not later: started 50 ms
    // after an import, the checks slowed a preset applied at once to the
    // new files (100 of them: 600 ms instead of 420).
    m_checkingPrivacy = true;
    QTimer::singleShot(0, this, [this] { checkQueuedPrivacy(); });
}

QCoro::Task<void> LibraryViewModel::checkQueuedPrivacy()
{
    m_checkingPrivacy = true;
    QPointer<LibraryViewModel> self(this);
    const auto listedUrl = [this](const QUuid &id) -> std::optional<QUrl> {
        for (const MediaItem &item : std::as_const(m_items)) {
            if (item.id == id)
                return item.url;
        }
        return std::nullopt;
    };
    qsizetype next = 0;
    while (next < m_privacyQueue.size()) {
        // A batch has the engine to itself; the files it changes are
        // queued again as they finish.
        while (m_batchProgress) {
            co_await QCoro::sleepFor(100ms);
            if (!self)
                co_return;
        }
        const QUuid id = m_privacyQueue.at(next).first;
        const quint64 news = m_privacyQueue.at(next).second;
        ++next;
        if (m_privacyNews.value(id) != news)
            continue; // told since: read, stripped, or queued again
        const std::optional<QUrl> url = listedUrl(id);
        if (!url)
            continue;
        m_engine->prepareForBackgroundWork();
        const auto check = co_await callEngine(
            *url, [](const auto &engine, QUrl file) { return engine->checkPrivacy(file); });
        if (check.libraryGone)
            co_return;
        // A file that cannot be read gets no badge; its row says why when shown.
        if (check.value && m_privacyNews.value(id) == news && listedUrl(id))
            setPrivacyFlag(id, !check.value->isEmpty());
        // The queue is dropped in large steps, not a file at a time.
        if (next >= 256) {
            m_privacyQueue.remove(0, next);
            next = 0;
        }
    }
    m_privacyQueue.clear();
    m_checkingPrivacy = false;
}

void LibraryViewModel::setPrivacyFlag(QUuid itemID, bool flagged)
{
    ++m_privacyNews[itemID];
    if (m_privacyFlagged.contains(itemID) == flagged)
        return;
    if (flagged)
        m_privacyFlagged.insert(itemID);
    else
        m_privacyFlagged.remove(itemID);
    Q_EMIT privacyFlaggedItemIDsChanged();
}

} // namespace Metaloom
