// The edits of every file of the window: those of files the selection left,
// kept until they are shown again; the files that have any; saving them all
// at once; reverting and removing one tag; and the window's undo steps.

#include "LibraryViewModel.h"

#include "MetaloomFeature/Platform/Error.h"

#include <algorithm>

namespace Metaloom {

namespace {

bool holdsAValue(const MetadataEntry &entry)
{
    return entry.isList ? !entry.originalItems.isEmpty() : !entry.originalValue.isEmpty();
}

TagAssignment assignmentOf(const QString &key, const EntryMarks::EnteredValue &value)
{
    if (value.isList)
        return {key, value.items};
    return {key, value.value.isEmpty() ? QStringList() : QStringList{value.value}};
}

// Puts what the engine answered to one file's change into its outcome;
// false when there is nothing more to do (it failed, or the library went).
template <typename Reply> bool tookChange(FileOutcome &outcome, const Reply &change)
{
    if (change.libraryGone)
        return false;
    if (change.failure) {
        outcome.error = change.failure;
        outcome.failure = describeException(change.failure);
        return false;
    }
    outcome.report = *change.value;
    return true;
}

} // namespace

// --- Edits of files not shown -----------------------------------------------

void LibraryViewModel::parkShownEdits()
{
    // While a file is still being read its earlier edits stay parked as they are.
    if (!m_entriesItemID || !m_entriesPublished)
        return;
    const QUuid id = *m_entriesItemID;
    // A file removed from the list takes its edits with it.
    const bool listed = std::any_of(m_items.cbegin(), m_items.cend(),
                                    [id](const MediaItem &item) { return item.id == id; });
    if (!listed)
        return;
    // Only what a save would write: a read-only entry keeps a value the
    // file refused only to show why.
    QHash<QString, EntryMarks::EnteredValue> edits;
    for (const MetadataEntry &entry : std::as_const(m_fullEntryList)) {
        if (entry.isModified() && entry.isWritable())
            edits.insert(entry.rawKey, EntryMarks::EnteredValue::of(entry));
    }
    if (edits.isEmpty())
        m_parkedEdits.remove(id);
    else
        m_parkedEdits.insert(id, edits);
}

QSet<QUuid> LibraryViewModel::modifiedItemIDs() const
{
    return m_modifiedItemIDs;
}

QList<MediaItem> LibraryViewModel::modifiedItems() const
{
    QList<MediaItem> modified;
    for (const MediaItem &item : m_items) {
        if (m_modifiedItemIDs.contains(item.id))
            modified.append(item);
    }
    return modified;
}

void LibraryViewModel::updateModifiedItems(bool shownHasEdits)
{
    QSet<QUuid> modified;
    modified.reserve(m_parkedEdits.size() + 1);
    for (auto it = m_parkedEdits.cbegin(); it != m_parkedEdits.cend(); ++it)
        modified.insert(it.key());
    if (shownHasEdits && m_entriesItemID)
        modified.insert(*m_entriesItemID);
    if (modified == m_modifiedItemIDs)
        return;
    m_modifiedItemIDs = std::move(modified);
    Q_EMIT modifiedItemIDsChanged();
}

void LibraryViewModel::forgetEditsOf(const QUuid &itemID)
{
    m_parkedEdits.remove(itemID);
    dropStepsOf(itemID);
    updateModifiedItems(m_entriesItemID != itemID && hasPendingChanges());
}

// --- One tag ------------------------------------------------------------------

bool LibraryViewModel::isMarkedForRemoval(const MetadataEntry &entry)
{
    return EntryMarks::isMarkedForRemoval(entry);
}

bool LibraryViewModel::canRevertEntry(const QString &key) const
{
    if (isMultiSelection())
        return std::any_of(
            m_selection.ids().cbegin(), m_selection.ids().cend(),
            [this, &key](const QUuid &id) { return m_parkedEdits.value(id).contains(key); });
    const auto row = m_fullRowOfKey.constFind(key);
    return row != m_fullRowOfKey.cend() && m_fullEntryList.at(*row).isModified();
}

bool LibraryViewModel::canMarkForRemoval(const QString &key) const
{
    const auto row = m_fullRowOfKey.constFind(key);
    if (row == m_fullRowOfKey.cend())
        return false;
    const MetadataEntry &entry = m_fullEntryList.at(*row);
    if (isMultiSelection()) {
        const SharedTagList::Row *shared = sharedRow(key);
        return entry.isWritable() && shared && shared->presentIn > 0 &&
               !(shared->values.size() == 1 && shared->values.first().value.isEmpty());
    }
    return entry.isWritable() && holdsAValue(entry) && !isMarkedForRemoval(entry);
}

void LibraryViewModel::revertEntry(const QString &key)
{
    if (!canRevertEntry(key))
        return;
    if (isMultiSelection()) {
        // Each file goes back to what it holds.
        spreadEdit(
            key, [](const auto &) { return std::optional<EntryMarks::EnteredValue>(); }, false);
        return;
    }
    changeEntry(
        m_fullEntryList[m_fullRowOfKey.value(key)],
        [](MetadataEntry &entry) {
            if (entry.isList)
                entry.setItems(entry.originalItems);
            else
                entry.value = entry.originalValue;
        },
        false);
}

void LibraryViewModel::markForRemoval(const QString &key)
{
    if (!canMarkForRemoval(key))
        return;
    if (isMultiSelection()) {
        spreadEdit(
            key,
            [](const std::optional<EntryMarks::EnteredValue> &present) {
                std::optional<EntryMarks::EnteredValue> emptied;
                if (present &&
                    (present->isList ? !present->items.isEmpty() : !present->value.isEmpty()))
                    emptied = EntryMarks::EnteredValue{QString(), present->isList, {}};
                return emptied;
            },
            false);
        return;
    }
    changeEntry(
        m_fullEntryList[m_fullRowOfKey.value(key)],
        [](MetadataEntry &entry) {
            if (entry.isList)
                entry.setItems({});
            else
                entry.value.clear();
        },
        false);
}

void LibraryViewModel::changeEntry(MetadataEntry &listed,
                                   const std::function<void(MetadataEntry &)> &change, bool typing)
{
    const EntryMarks::EnteredValue before = EntryMarks::EnteredValue::of(listed);
    const bool beforeIsOriginal = !listed.isModified();
    change(listed);
    const EntryMarks::EnteredValue after = EntryMarks::EnteredValue::of(listed);
    const bool afterIsOriginal = !listed.isModified();
    const QString key = listed.rawKey;
    publishEdit(listed);
    if (before == after)
        return;
    if (isMultiSelection()) {
        spreadEdit(
            key, [after](const auto &) { return std::optional(after); }, typing);
        return;
    }
    if (!m_entriesItemID)
        return;
    const QUuid itemID = *m_entriesItemID;
    if (typing && !m_undoSteps.isEmpty()) {
        EditStep &last = m_undoSteps.last();
        if (last.open && last.itemID == itemID && last.key == key) {
            // Another keystroke of the same typing: the same step.
            last.after = after;
            last.afterIsOriginal = afterIsOriginal;
            if (last.after == last.before) {
                m_undoSteps.removeLast();
                Q_EMIT undoStateChanged();
            }
            return;
        }
    }
    pushStep({itemID, key, before, after, beforeIsOriginal, afterIsOriginal, typing});
}

// --- Undo --------------------------------------------------------------------

void LibraryViewModel::endEditStep()
{
    if (!m_undoSteps.isEmpty())
        m_undoSteps.last().open = false;
}

void LibraryViewModel::pushStep(EditStep step)
{
    endEditStep();
    m_undoSteps.append(std::move(step));
    m_redoSteps.clear();
    ++m_editStepStamp;
    Q_EMIT undoStateChanged();
}

void LibraryViewModel::dropStepsOf(const QUuid &itemID)
{
    const auto ofItem = [itemID](const EditStep &step) { return step.itemID == itemID; };
    if (m_undoSteps.removeIf(ofItem) + m_redoSteps.removeIf(ofItem) > 0)
        Q_EMIT undoStateChanged();
}

void LibraryViewModel::undo()
{
    if (m_undoSteps.isEmpty())
        return;
    EditStep step = m_undoSteps.takeLast();
    step.open = false;
    if (step.group != 0) {
        QList<EditStep> steps{step};
        while (!m_undoSteps.isEmpty() && m_undoSteps.last().group == step.group)
            steps.prepend(m_undoSteps.takeLast());
        m_redoSteps.append(steps);
        Q_EMIT undoStateChanged();
        applyStepGroup(steps, true);
        return;
    }
    m_redoSteps.append(step);
    Q_EMIT undoStateChanged();
    applyStepValue(step.itemID, step.key, step.before, step.beforeIsOriginal);
}

void LibraryViewModel::redo()
{
    if (m_redoSteps.isEmpty())
        return;
    endEditStep();
    const EditStep step = m_redoSteps.takeLast();
    if (step.group != 0) {
        QList<EditStep> steps{step};
        while (!m_redoSteps.isEmpty() && m_redoSteps.last().group == step.group)
            steps.prepend(m_redoSteps.takeLast());
        m_undoSteps.append(steps);
        Q_EMIT undoStateChanged();
        applyStepGroup(steps, false);
        return;
    }
    m_undoSteps.append(step);
    Q_EMIT undoStateChanged();
    applyStepValue(step.itemID, step.key, step.after, step.afterIsOriginal);
}

void LibraryViewModel::applyStepValue(const QUuid &itemID, const QString &key,
                                      const EntryMarks::EnteredValue &value, bool isOriginal)
{
    if (m_entriesItemID == itemID && m_entriesPublished) {
        const auto row = m_fullRowOfKey.constFind(key);
        if (row == m_fullRowOfKey.cend())
            return;
        MetadataEntry &entry = m_fullEntryList[*row];
        if (isOriginal) {
            // Exactly what the file holds, not a copy that would count as an edit.
            if (entry.isList)
                entry.setItems(entry.originalItems);
            else
                entry.value = entry.originalValue;
        } else {
            value.applyTo(entry);
        }
        publishEdit(entry);
        return;
    }
    // A file not shown: its parked edits take the step, and the file is
    // shown so that the user sees what was undone.
    QHash<QString, EntryMarks::EnteredValue> &edits = m_parkedEdits[itemID];
    if (isOriginal)
        edits.remove(key);
    else
        edits.insert(key, value);
    if (edits.isEmpty())
        m_parkedEdits.remove(itemID);
    updateModifiedItems(hasPendingChanges());
    setSelectedItemID(itemID);
}

// --- Save All ------------------------------------------------------------------

QCoro::Task<bool> LibraryViewModel::saveAllChanges()
{
    QPointer<LibraryViewModel> self(this);
    const std::optional<BatchRun::Outcome> outcome =
        co_await saveEach(modifiedItems(), ChangeOptions{}, std::nullopt);
    co_return outcome &&self && outcome->failed() == 0 && m_modifiedItemIDs.isEmpty();
}

QCoro::Task<std::optional<BatchRun::Outcome>>
LibraryViewModel::saveEach(QList<MediaItem> targets, ChangeOptions options,
                           std::optional<BatchProgress> progress)
{
    if (refuseWhileBatchRuns())
        co_return std::nullopt;
    if (targets.isEmpty()) {
        setStatus(tr("No changes to save."));
        co_return std::nullopt;
    }
    QPointer<LibraryViewModel> self(this);
    const BusyScope busy(this);
    if (progress) {
        progress->total = targets.size();
        setBatchProgress(progress);
    }
    QList<BatchRun::File> files;
    QHash<QUrl, qsizetype> positionOf;
    for (qsizetype index = 0; index < targets.size(); ++index) {
        files.append({targets.at(index).url, targets.at(index).fileName});
        positionOf.insert(targets.at(index).url, index);
    }
    BatchRun::Hooks hooks;
    // Without a progress bar there is no cancel; a closed window stops the
    // batch either way (the files in flight finish or fail whole).
    const bool cancellable = progress.has_value();
    hooks.shouldStop = [self, cancellable] {
        return !self ||
               (cancellable && (!self->m_batchProgress || self->m_batchProgress->isCancelling));
    };
    if (progress) {
        hooks.starting = [self](qsizetype index, const BatchRun::File &file) {
            if (self)
                self->showBatchStarting(index, file.name);
        };
        hooks.finished = [self](qsizetype index, const FileOutcome &) {
            if (self)
                self->showBatchFinished(index);
        };
    }
    // Called only while the library lives (shouldStop is asked first).
    const BatchRun::Operation save = [this, targets, positionOf, options](QUrl url) {
        return saveEdits(targets.at(positionOf.value(url)), options);
    };
    BatchRun::Outcome outcome = co_await BatchRun::run(files, save, hooks, m_batchLanes);
    if (!self)
        co_return std::nullopt;
    outcome.total = targets.size();
    QSet<QUuid> refused;
    for (qsizetype index = 0; index < outcome.files.size(); ++index) {
        if (outcome.files.at(index).stoppedAtMinorError())
            refused.insert(targets.at(index).id);
    }
    if (progress)
        setBatchProgress(std::nullopt);
    // Write Anyway saves again the files ExifTool stopped at for a minor
    // error.
    showReport(BatchReportTexts::saveAllReport(outcome), [self, refused] {
        if (self && !self->refuseWhileBatchRuns())
            self->saveAgainIgnoringMinorErrors(refused);
    });
    co_return outcome;
}

QCoro::Task<FileOutcome> LibraryViewModel::saveEdits(MediaItem item, ChangeOptions options)
{
    if (m_entriesItemID == item.id && m_entriesPublished)
        co_return co_await saveShownEdits(item, options);
    co_return co_await saveParkedEdits(item, m_parkedEdits.value(item.id), options);
}

QCoro::Task<FileOutcome>
LibraryViewModel::saveParkedEdits(MediaItem item, QHash<QString, EntryMarks::EnteredValue> edits,
                                  ChangeOptions options)
{
    FileOutcome outcome;
    outcome.file = item.url;
    outcome.fileName = item.fileName;
    QList<TagAssignment> assignments;
    for (auto it = edits.cbegin(); it != edits.cend(); ++it)
        assignments.append(assignmentOf(it.key(), it.value()));
    if (assignments.isEmpty())
        co_return outcome;
    storeBookmark(item.url);
    const QString fileName = item.fileName;
    const auto change = co_await callEngine(
        item.url, [assignments, options, fileName](const auto &engine, QUrl url) {
            return changeFile(engine, url, assignments, options, fileName);
        });
    if (!tookChange(outcome, change))
        co_return outcome;
    // The file holds them now; the next read shows what it made of them.
    forgetSavedParkedEdits(item.id, edits, outcome.report);
    dropStepsOf(item.id);
    fileDidChange(item.id);
    co_return outcome;
}

QCoro::Task<FileOutcome> LibraryViewModel::saveShownEdits(MediaItem item, ChangeOptions options)
{
    FileOutcome outcome;
    outcome.file = item.url;
    outcome.fileName = item.fileName;
    QList<MetadataEntry> writable;
    QHash<QString, EntryMarks::EnteredValue> sentEdits;
    for (const MetadataEntry &entry : std::as_const(m_fullEntryList)) {
        if (entry.isModified() && entry.isWritable()) {
            writable.append(entry);
            sentEdits.insert(entry.rawKey, EntryMarks::EnteredValue::of(entry));
        }
    }
    if (writable.isEmpty())
        co_return outcome;
    QList<TagAssignment> assignments;
    for (const MetadataEntry &entry : std::as_const(writable))
        assignments.append(EntryMarks::assignmentOf(entry));
    storeBookmark(item.url);
    const LoadTicket ticket{m_loadGeneration, item.id, item.url};
    const QHash<QUuid, EntryMarks::EnteredValue> sentValues =
        EntryMarks::enteredValues(m_fullEntryList);
    QPointer<LibraryViewModel> self(this);
    const QString fileName = item.fileName;
    const auto change = co_await callEngine(
        item.url, [assignments, options, fileName](const auto &engine, QUrl url) {
            return changeFile(engine, url, assignments, options, fileName);
        });
    if (!tookChange(outcome, change))
        co_return outcome;
    fileDidChange(item.id);
    dropStepsOf(item.id);
    if (!isCurrent(ticket)) {
        // The selection moved on while the file was written.
        forgetSavedParkedEdits(item.id, sentEdits, outcome.report);
        co_return outcome;
    }
    const QHash<QString, EntryMarks::EnteredValue> typedMeanwhile =
        EntryMarks::editsSince(m_fullEntryList, sentValues);
    const bool reloaded = co_await loadMetadata(ticket);
    if (!self)
        co_return outcome;
    if (isCurrent(ticket)) {
        if (reloaded && EntryMarks::applyEdits(m_fullEntryList, typedMeanwhile) > 0)
            applySearch();
        markSaveOutcome(outcome.report, writable, {});
    }
    co_return outcome;
}

} // namespace Metaloom
