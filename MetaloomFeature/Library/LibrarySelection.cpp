// Several selected files at once: the selection itself, the tags they share
// (read once per file and kept), an edit spread over all of them as the same
// edit parked on each, and the save that writes them one after the other.

#include "LibraryViewModel.h"

#include "MetaloomFeature/Library/FileOperations.h"
#include "MetaloomFeature/Platform/Error.h"

namespace Metaloom {

void LibraryViewModel::setSelectedItemIDs(const QList<QUuid> &ids, std::optional<QUuid> current)
{
    const QList<QUuid> ordered = ItemSelection::inListOrder(ids, m_items);
    if (ordered.size() <= 1) {
        setSelectedItemID(ordered.isEmpty() ? std::nullopt : std::optional(ordered.first()));
        return;
    }
    if (!current || !ordered.contains(*current))
        current = m_selectedItemID && ordered.contains(*m_selectedItemID) ? m_selectedItemID
                                                                          : ordered.first();
    const bool wasSeveral = isMultiSelection();
    const bool selectionChanged = m_selection.select(ordered, m_items);
    const bool currentChanged = current != m_selectedItemID;
    if (!selectionChanged && !currentChanged)
        return;
    if (selectionChanged) {
        // Whatever the single file's read brings is stale now; its edits
        // are kept aside like those of any file the selection left.
        ++m_loadGeneration;
        if (!wasSeveral)
            parkShownEdits();
    }
    m_selectedItemID = current;
    if (selectionChanged)
        Q_EMIT selectedItemIDsChanged();
    if (currentChanged) {
        Q_EMIT selectedItemIDChanged();
        Q_EMIT selectedItemChanged();
    }
    if (!selectionChanged)
        return;
    showSharedList();
    readSelection(m_loadGeneration);
}

QList<MediaItem> LibraryViewModel::selectedItems() const
{
    QList<MediaItem> selected;
    for (const MediaItem &item : m_items) {
        if (m_selection.contains(item.id))
            selected.append(item);
    }
    return selected;
}

const SharedTagList::Row *LibraryViewModel::sharedRow(const QString &key) const
{
    if (!isMultiSelection())
        return nullptr;
    const auto found = m_sharedRows.constFind(key);
    return found == m_sharedRows.cend() ? nullptr : &*found;
}

void LibraryViewModel::showSharedList()
{
    QList<SharedTagList::FileTags> files;
    const QList<MediaItem> selected = selectedItems();
    files.reserve(selected.size());
    for (const MediaItem &item : selected) {
        if (m_reads.contains(item.id))
            files.append(m_reads.fileTags(item, m_listTags, m_parkedEdits.value(item.id)));
    }
    QList<SharedTagList::Row> rows = SharedTagList::compute(files);
    // Each file read is a file checked: its badge, and its part in the
    // Privacy view.
    m_selectionFindings.clear();
    for (const SharedTagList::FileTags &file : std::as_const(files)) {
        m_selectionFindings.append({file.fileName, PrivacyFindings::of(file.entries)});
        setPrivacyFlag(file.itemID, !m_selectionFindings.last().second.isEmpty());
    }
    QList<MetadataEntry> entries;
    entries.reserve(rows.size());
    m_sharedRows.clear();
    m_sharedRows.reserve(rows.size());
    for (SharedTagList::Row &row : rows) {
        // Counted against the whole selection, read or not yet.
        row.fileCount = int(selected.size());
        if (const QString note = SharedTagList::readOnlyNote(row); !note.isEmpty())
            row.entry.warning = note;
        entries.append(row.entry);
        m_sharedRows.insert(row.entry.rawKey, std::move(row));
    }
    m_fullEntryList = std::move(entries);
    // The list is no file's: nothing of the single file's machinery parks,
    // saves or undoes it as one file's entries.
    m_entriesItemID = std::nullopt;
    m_entriesPublished = true;
    m_entriesFormatReadOnly = false;
    mergeFieldSettings();
    takeDefinitionsAtHand();
    applyKnownDefinitions();
    applySearch();
    setReadOnlyFormatNote(std::nullopt);
    notifyPendingChanges();
}

QCoro::Task<void> LibraryViewModel::readSelection(quint64 generation)
{
    QList<MediaItem> unread;
    for (const MediaItem &item : selectedItems()) {
        if (!m_reads.contains(item.id))
            unread.append(item);
    }
    if (unread.isEmpty())
        co_return;
    const BusyScope busy(this);
    QPointer<LibraryViewModel> self(this);
    // The bar shows how far the read got, unless a change of files holds it
    // (a read for an earlier selection gives way).
    const bool showsProgress =
        !m_batchProgress || m_batchProgress->kind == BatchProgress::Kind::readMetadata;
    BatchProgress progress;
    progress.kind = BatchProgress::Kind::readMetadata;
    progress.total = unread.size();
    m_engine->tagListingNow();
    for (const MediaItem &item : std::as_const(unread)) {
        const bool ownsBar = m_batchProgress && m_batchProgress->id == progress.id;
        if (generation != m_loadGeneration || (ownsBar && m_batchProgress->isCancelling))
            break;
        if (showsProgress) {
            ++progress.current;
            progress.currentFileName = item.fileName;
            setBatchProgress(progress);
        }
        auto read = co_await callEngine(
            item.url, [](const auto &engine, QUrl url) { return engine->readMetadata(url); });
        if (read.libraryGone)
            co_return;
        const auto writable = co_await callEngine(item.url, [](const auto &engine, QUrl url) {
            return FileOperations::formatIsWritable(engine, url);
        });
        if (writable.libraryGone)
            co_return;
        ++progress.finished;
        if (read.failure) {
            // The file counts as holding nothing until selected again.
            setStatus(tr("Can't read %1: %2").arg(item.fileName, describeException(read.failure)));
            continue;
        }
        m_reads.store(item.id, std::move(*read.value),
                      writable.value.value_or(true)
                          ? std::nullopt
                          : std::optional(m_engine->readOnlyFormatMessage(item.url)));
    }
    if (!self)
        co_return;
    if (m_batchProgress && m_batchProgress->id == progress.id)
        setBatchProgress(std::nullopt);
    if (generation == m_loadGeneration && isMultiSelection())
        showSharedList();
}

std::optional<EntryMarks::EnteredValue> LibraryViewModel::presentValue(const QUuid &itemID,
                                                                       const QString &key) const
{
    const auto parked = m_parkedEdits.constFind(itemID);
    if (parked != m_parkedEdits.cend()) {
        const auto edit = parked->constFind(key);
        if (edit != parked->cend())
            return *edit;
    }
    std::optional<EntryMarks::EnteredValue> read = m_reads.readValue(itemID, key);
    if (read && m_listTags.contains(key) && !read->isList) {
        read->isList = true;
        read->items = read->value.isEmpty() ? QStringList() : QStringList{read->value};
    }
    return read;
}

void LibraryViewModel::spreadEdit(const QString &key, const SpreadChange &change, bool typing)
{
    const SharedTagList::Row *row = sharedRow(key);
    if (row && !row->readOnlyFiles.isEmpty())
        return;
    // Keystrokes of one typing extend the steps they began.
    const bool extending = typing && !m_undoSteps.isEmpty() && m_undoSteps.last().open &&
                           m_undoSteps.last().group != 0 && m_undoSteps.last().key == key;
    const quint64 group = extending ? m_undoSteps.last().group : ++m_lastStepGroup;
    QHash<QUuid, qsizetype> stepOfItem;
    if (extending) {
        for (qsizetype at = m_undoSteps.size() - 1; at >= 0 && m_undoSteps.at(at).group == group;
             --at)
            stepOfItem.insert(m_undoSteps.at(at).itemID, at);
    } else {
        endEditStep();
        m_redoSteps.clear();
    }
    bool stepped = false;
    for (const QUuid &id : m_selection.ids()) {
        const std::optional<EntryMarks::EnteredValue> present = presentValue(id, key);
        const std::optional<EntryMarks::EnteredValue> read = m_reads.readValue(id, key);
        std::optional<EntryMarks::EnteredValue> wanted = change(present);
        // Nothing wanted: what the file holds (a revert, or a file left
        // alone that lacks the tag).
        const EntryMarks::EnteredValue after =
            wanted ? *wanted : read.value_or(EntryMarks::EnteredValue{});
        const bool afterIsOriginal =
            !wanted || (read ? *read == after : after.value.isEmpty() && after.items.isEmpty());
        const bool beforeIsOriginal = !m_parkedEdits.value(id).contains(key);
        if (afterIsOriginal) {
            auto parked = m_parkedEdits.find(id);
            if (parked != m_parkedEdits.end()) {
                parked->remove(key);
                if (parked->isEmpty())
                    m_parkedEdits.erase(parked);
            }
        } else {
            m_parkedEdits[id].insert(key, after);
        }
        if (const auto step = stepOfItem.constFind(id); step != stepOfItem.cend()) {
            m_undoSteps[*step].after = after;
            m_undoSteps[*step].afterIsOriginal = afterIsOriginal;
            continue;
        }
        const EntryMarks::EnteredValue before = present.value_or(EntryMarks::EnteredValue{});
        if (before == after && beforeIsOriginal == afterIsOriginal)
            continue;
        EditStep step{id, key, before, after, beforeIsOriginal, afterIsOriginal, typing};
        step.group = group;
        m_undoSteps.append(std::move(step));
        stepped = true;
    }
    if (stepped || extending)
        Q_EMIT undoStateChanged();
    updateModifiedItems(false);
    if (typing) {
        // The row being typed in stays as it is (so does its editor); its
        // counts follow the value every file now holds.
        if (auto shared = m_sharedRows.find(key); shared != m_sharedRows.end()) {
            const auto listed = m_fullRowOfKey.constFind(key);
            const QString shown =
                listed != m_fullRowOfKey.cend() ? m_fullEntryList.at(*listed).value : QString();
            shared->mixed = false;
            shared->values = {{shown, int(m_selection.size())}};
            shared->presentIn = int(m_selection.size());
            shared->modified = true;
        }
        notifyPendingChanges();
        return;
    }
    showSharedList();
}

void LibraryViewModel::applyStepGroup(const QList<EditStep> &steps, bool undoing)
{
    QList<QUuid> ids;
    for (const EditStep &step : steps) {
        const EntryMarks::EnteredValue &value = undoing ? step.before : step.after;
        const bool isOriginal = undoing ? step.beforeIsOriginal : step.afterIsOriginal;
        ids.append(step.itemID);
        if (m_entriesItemID == step.itemID && m_entriesPublished) {
            // The one file is shown alone now: its entry takes the step.
            applyStepValue(step.itemID, step.key, value, isOriginal);
            continue;
        }
        QHash<QString, EntryMarks::EnteredValue> &edits = m_parkedEdits[step.itemID];
        if (isOriginal)
            edits.remove(step.key);
        else
            edits.insert(step.key, value);
        if (edits.isEmpty())
            m_parkedEdits.remove(step.itemID);
    }
    updateModifiedItems(hasPendingChanges() && !isMultiSelection());
    if (isMultiSelection() && ItemSelection::inListOrder(ids, m_items) == m_selection.ids())
        showSharedList();
    else
        // The user sees what was undone: the files it was done to.
        setSelectedItemIDs(ids, m_selectedItemID);
}

void LibraryViewModel::addItemToSelection(const QString &key, const QString &item)
{
    if (!isMultiSelection() || item.isEmpty())
        return;
    spreadEdit(
        key,
        [item](const std::optional<EntryMarks::EnteredValue> &present) {
            QStringList items;
            if (present)
                items = present->isList            ? present->items
                        : present->value.isEmpty() ? QStringList()
                                                   : QStringList{present->value};
            if (items.contains(item))
                return present;
            items.append(item);
            return std::optional(
                EntryMarks::EnteredValue{MetadataEntry::listText(items), true, items});
        },
        false);
}

void LibraryViewModel::removeItemFromSelection(const QString &key, const QString &item)
{
    if (!isMultiSelection())
        return;
    spreadEdit(
        key,
        [item](const std::optional<EntryMarks::EnteredValue> &present) {
            std::optional<EntryMarks::EnteredValue> changed = present;
            if (!present)
                return changed;
            QStringList items = present->isList ? present->items : QStringList{present->value};
            if (items.removeAll(item) == 0)
                return changed;
            changed = EntryMarks::EnteredValue{MetadataEntry::listText(items), true, items};
            return changed;
        },
        false);
}

QCoro::Task<bool> LibraryViewModel::saveSelection()
{
    if (refuseWhileBatchRuns())
        co_return false;
    QList<MediaItem> targets;
    for (const MediaItem &item : selectedItems()) {
        if (m_parkedEdits.contains(item.id))
            targets.append(item);
    }
    if (targets.isEmpty()) {
        setStatus(tr("No changes to save."));
        co_return false;
    }
    QPointer<LibraryViewModel> self(this);
    BatchProgress progress;
    progress.kind = BatchProgress::Kind::saveChanges;
    const std::optional<BatchRun::Outcome> outcome =
        co_await saveEach(targets, ChangeOptions{}, progress);
    if (!self)
        co_return false;
    co_await rereadSelection();
    if (!self)
        co_return false;
    co_return outcome && outcome->failed() == 0 && outcome->files.size() == targets.size();
}

QCoro::Task<void> LibraryViewModel::rereadSelection()
{
    // The files written are read again for the shared list.
    if (!isMultiSelection())
        co_return;
    showSharedList();
    co_await readSelection(m_loadGeneration);
}

QCoro::Task<void> LibraryViewModel::saveAgainIgnoringMinorErrors(QSet<QUuid> refused)
{
    // With the edits the files hold by now; a file saved meanwhile is left.
    QList<MediaItem> again = modifiedItems();
    again.removeIf([&refused](const MediaItem &item) { return !refused.contains(item.id); });
    QPointer<LibraryViewModel> self(this);
    co_await saveEach(again, ChangeOptions{true}, std::nullopt);
    if (self)
        co_await rereadSelection();
}

} // namespace Metaloom
