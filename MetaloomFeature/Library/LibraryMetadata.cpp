// The selected file's metadata: loading, the merged and filtered list,
// edits, option lists and writability, saving and reverting.

#include "LibraryViewModel.h"

#include "EntryListMerge.h"
#include "EntryMarks.h"
#include "FileOperations.h"
#include "TagNames.h"

#include "MetaloomFeature/Engine/ServiceError.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>

namespace Metaloom {

namespace {

// The selected file cannot be changed by this user.
class SaveError : public Error {
public:
    enum class Kind { noWritePermission, fileMissing };

    SaveError(Kind kind, QString fileName) : m_kind(kind), m_fileName(std::move(fileName)) {}

    QString localizedDescription() const override
    {
        switch (m_kind) {
        case Kind::noWritePermission:
            return QCoreApplication::translate(
                       "SaveError", "Metaloom can't modify “%1”. Check its permissions and try "
                                    "again.")
                .arg(m_fileName);
        case Kind::fileMissing:
            return QCoreApplication::translate(
                       "SaveError", "Metaloom can't find “%1”. It may have been moved or deleted.")
                .arg(m_fileName);
        }
        return QString();
    }
    void raise() const override { throw *this; }
    SaveError *clone() const override { return new SaveError(*this); }

private:
    Kind m_kind;
    QString m_fileName;
};

QString fileNameOf(const QUrl &url)
{
    return QFileInfo(url.toLocalFile()).fileName();
}

// The outcomes of a save whose tag the file did not take at all, the keys
// the tag listing may not know.
QStringList keysNotTaken(const ChangeReport &report)
{
    QStringList keys;
    for (const QString &key : report.tagsNotWritten) {
        const std::optional<TagOutcome> outcome = report.outcomeFor(key);
        if (!outcome || outcome->kind == TagOutcome::Kind::refused ||
            (outcome->kind == TagOutcome::Kind::notWritten && outcome->storedItems.isEmpty()))
            keys << key;
    }
    return keys;
}

// ExifTool's tag table names the numbered groups of a movie's tracks (and
// a few others) once, as "Track#"; a file's tags come as "Track1",
// "Track2". The table's key of such a tag, or nothing for other groups.
std::optional<QString> numberedGroupTableKey(const QString &key)
{
    static const QRegularExpression numbered(QStringLiteral("^([A-Za-z]+)[0-9]+:(.+)$"));
    const QRegularExpressionMatch match = numbered.match(key);
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1) + QStringLiteral("#:") + match.captured(2);
}

} // namespace

// --- Selection and loading ---------------------------------------------------

void LibraryViewModel::setSelectedItemID(std::optional<QUuid> id)
{
    const bool wasSeveral = isMultiSelection();
    if (id == m_selectedItemID && !wasSeveral)
        return;
    const bool idChanged = id != m_selectedItemID;
    m_selectedItemID = id;
    const bool selectionChanged = m_selection.selectOne(id);
    if (idChanged) {
        Q_EMIT selectedItemIDChanged();
        Q_EMIT selectedItemChanged();
    }
    if (selectionChanged)
        Q_EMIT selectedItemIDsChanged();
    selectionDidChange();
}

void LibraryViewModel::selectionDidChange()
{
    // Whatever is still being read for the previous selection is stale now,
    // and the previous file's entries must not stand under the new file's
    // name (nor be saved into it): the list is empty until the new file's
    // entries arrive.
    ++m_loadGeneration;
    // The file left keeps its edits until it is shown again.
    parkShownEdits();
    setFullEntryList({}, m_selectedItemID);
    loadSelectedMetadata();
}

std::optional<LibraryViewModel::LoadTicket> LibraryViewModel::ticketForSelection() const
{
    const std::optional<MediaItem> item = selectedItem();
    if (!item)
        return std::nullopt;
    return LoadTicket{m_loadGeneration, item->id, item->url};
}

bool LibraryViewModel::isCurrent(const LoadTicket &ticket) const
{
    return ticket.generation == m_loadGeneration && m_selectedItemID == ticket.itemID;
}

void LibraryViewModel::setFullEntryList(QList<MetadataEntry> entries, std::optional<QUuid> ownerID)
{
    m_fullEntryList = std::move(entries);
    m_entriesItemID = ownerID;
    m_entriesPublished = false;
    m_entriesFormatReadOnly = false;
    setReadOnlyFormatNote(std::nullopt);
    Q_EMIT availableTagKeysChanged();
    applySearch();
}

QCoro::Task<void> LibraryViewModel::loadSelectedMetadata()
{
    const std::optional<LoadTicket> ticket = ticketForSelection();
    if (!ticket) {
        setFullEntryList({}, std::nullopt);
        co_return;
    }
    const BusyScope busy(this);
    co_await loadMetadata(*ticket);
}

QCoro::Task<void> LibraryViewModel::reloadMetadata()
{
    if (isMultiSelection()) {
        for (const QUuid &id : m_selection.ids()) {
            m_reads.forget(id);
            forgetEditsOf(id);
        }
        const BusyScope busy(this);
        co_await readSelection(m_loadGeneration);
        co_return;
    }
    const std::optional<LoadTicket> ticket = ticketForSelection();
    if (!ticket)
        co_return;
    const BusyScope busy(this);
    storeBookmark(ticket->url);
    // What was typed is gone with the fresh read, and so is what undoes it.
    dropStepsOf(ticket->itemID);
    co_await loadMetadata(*ticket);
}

QCoro::Task<bool> LibraryViewModel::loadMetadata(LoadTicket ticket)
{
    // The tag table loads beside the read (from the kept file, in less time
    // than ExifTool takes to read a file), so it is at hand when the
    // entries arrive.
    m_engine->tagListingNow();
    auto read = co_await callEngine(
        ticket.url, [](const auto &engine, QUrl url) { return engine->readMetadata(url); });
    if (read.libraryGone)
        co_return false;
    if (read.failure) {
        // A failed read of a file no longer shown is nobody's concern now;
        // selecting it again reads it again.
        if (isCurrent(ticket))
            showError(describeException(read.failure),
                      BatchReportTexts::failureTitle(read.failure, QStringLiteral("Can't Read ") +
                                                                       fileNameOf(ticket.url)));
        co_return false;
    }
    const auto writable = co_await callEngine(ticket.url, [](const auto &engine, QUrl url) {
        return FileOperations::formatIsWritable(engine, url);
    });
    if (writable.libraryGone)
        co_return false;
    const std::optional<QString> readOnlyNote =
        writable.value.value_or(true) ? std::nullopt
                                      : std::optional(m_engine->readOnlyFormatMessage(ticket.url));
    // Kept for a selection of several files that takes this one in.
    m_reads.store(ticket.itemID, *read.value, readOnlyNote);
    if (!isCurrent(ticket))
        co_return false;
    publishLoadedEntries(std::move(*read.value), readOnlyNote);
    Q_EMIT metadataLoaded(ticket.itemID);
    co_return true;
}

void LibraryViewModel::publishLoadedEntries(QList<MetadataEntry> entries,
                                            std::optional<QString> readOnlyNote)
{
    m_entriesFormatReadOnly = readOnlyNote.has_value();
    for (MetadataEntry &entry : entries) {
        if (m_entriesFormatReadOnly)
            entry.forceReadOnly = true;
        if (m_listTags.contains(entry.rawKey))
            entry.markAsList();
    }
    m_fullEntryList = std::move(entries);
    m_entriesItemID = m_selectedItemID;
    m_entriesPublished = true;
    mergeFieldSettings();
    // What the tag table says is applied before the list is shown, so the
    // first rows shown carry their badges and choice lists.
    takeDefinitionsAtHand();
    applyKnownDefinitions();
    // The edits made before the selection left this file go on top of what
    // it holds now.
    if (m_entriesItemID) {
        const QHash<QString, EntryMarks::EnteredValue> parked =
            m_parkedEdits.take(*m_entriesItemID);
        EntryMarks::applyEdits(m_fullEntryList, parked);
    }
    applySearch();
    setReadOnlyFormatNote(std::move(readOnlyNote));
}

void LibraryViewModel::setReadOnlyFormatNote(std::optional<QString> note)
{
    if (note == m_readOnlyFormatNote)
        return;
    m_readOnlyFormatNote = std::move(note);
    Q_EMIT readOnlyFormatNoteChanged();
}

// --- Edits -----------------------------------------------------------------

void LibraryViewModel::editValue(const MetadataEntry &entry, const QString &value)
{
    recordEdit(entry, EntryMarks::EnteredValue{value, false, {}});
}

void LibraryViewModel::editItems(const MetadataEntry &entry, const QStringList &items)
{
    recordEdit(entry, EntryMarks::EnteredValue{MetadataEntry::listText(items), true, items});
}

void LibraryViewModel::recordEdit(const MetadataEntry &entry, const EntryMarks::EnteredValue &value)
{
    if (!entry.isWritable()) {
        setStatus(tr("This tag is read-only in ExifTool."));
        return;
    }
    MetadataEntry *listed = listedEntry(entry);
    if (!listed)
        return;
    changeEntry(
        *listed,
        [&value](MetadataEntry &changed) {
            // A list typed as text is one item per line.
            if (changed.isList && !value.isList)
                EntryMarks::EnteredValue{value.value, true, itemsOfText(value.value)}.applyTo(
                    changed);
            else
                value.applyTo(changed);
        },
        true);
}

QStringList LibraryViewModel::itemsOfText(const QString &text)
{
    QStringList items;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (!line.trimmed().isEmpty())
            items.append(line);
    }
    return items;
}

void LibraryViewModel::resetChanges()
{
    if (isMultiSelection()) {
        for (const QUuid &id : m_selection.ids())
            forgetEditsOf(id);
        showSharedList();
        setStatus(tr("Changes reverted."));
        return;
    }
    for (MetadataEntry &entry : m_fullEntryList) {
        if (entry.isList)
            entry.setItems(entry.originalItems);
        else
            entry.value = entry.originalValue;
    }
    // Every edit of the file is gone at once: stepping back through them
    // would bring back what the user just threw away.
    if (m_entriesItemID)
        dropStepsOf(*m_entriesItemID);
    applySearch();
    setStatus(tr("Changes reverted."));
}

// --- Option lists and writability ------------------------------------------

std::optional<QList<EnumeratedOption>> LibraryViewModel::options(const MetadataEntry &entry) const
{
    const auto found = m_enumeratedOptions.constFind(entry.rawKey);
    if (found == m_enumeratedOptions.constEnd())
        return std::nullopt;
    return *found;
}

void LibraryViewModel::ensureOptionsLoaded(const MetadataEntry &entry)
{
    const QString key = entry.rawKey;
    if (m_enumeratedOptions.contains(key) || m_nonEnumeratedTags.contains(key) ||
        m_loadingEnumerations.contains(key))
        return;
    m_loadingEnumerations.insert(key);
    // Started from the event loop: a definition already cached would
    // otherwise republish the entry lists while the caller (a view walking
    // filteredEntries()) still holds references into them.
    QMetaObject::invokeMethod(
        this, [this, key] { lookUpOptions(key); }, Qt::QueuedConnection);
}

QCoro::Task<void> LibraryViewModel::lookUpOptions(QString key)
{
    const auto lookUp = co_await callEngine(
        std::nullopt, [key](const auto &engine, QUrl) -> QCoro::Task<std::optional<TagDefinition>> {
            std::optional<TagDefinition> found = co_await engine->tagDefinition(key);
            if (const std::optional<QString> tableKey = numberedGroupTableKey(key);
                !found && tableKey)
                found = co_await engine->tagDefinition(*tableKey);
            co_return found;
        });
    if (lookUp.libraryGone)
        co_return;
    // A lookup that failed tells nothing: the key is treated as one the
    // table does not know.
    if (takeDefinition(key, lookUp.value.value_or(std::nullopt)))
        applySearch();
    // A row that said its definition was being checked says so no longer.
    m_entryTree.entryDidChange(key);
}

bool LibraryViewModel::takeDefinition(const QString &key,
                                      const std::optional<TagDefinition> &definition)
{
    m_loadingEnumerations.remove(key);
    if (!definition) {
        m_nonEnumeratedTags.insert(key);
        return false;
    }
    if (!definition->options.isEmpty()) {
        m_enumeratedOptions.insert(key, definition->options);
        Q_EMIT enumeratedOptionsChanged();
        Q_EMIT optionsLoaded(key);
    }
    m_nonEnumeratedTags.remove(key);
    // A list tag holding one item reads as one value; its definition says
    // it is a list (a pinned placeholder of one included).
    bool changed = false;
    if (definition->isList) {
        m_listTags.insert(key);
        changed = EntryMarks::markAsLists(m_fullEntryList, key) > 0;
    }
    m_writableOverrides.insert(key, definition->writable);
    return applyWritability(key, definition->writable, false) || changed;
}

void LibraryViewModel::takeDefinitionsAtHand()
{
    const std::optional<TagTable> table = m_engine->tagListingNow();
    if (!table)
        return;
    for (const MetadataEntry &entry : std::as_const(m_fullEntryList)) {
        const QString &key = entry.rawKey;
        if (m_writableOverrides.contains(key) || m_nonEnumeratedTags.contains(key))
            continue;
        auto found = table->constFind(key);
        if (found == table->constEnd()) {
            if (const std::optional<QString> tableKey = numberedGroupTableKey(key))
                found = table->constFind(*tableKey);
        }
        if (found == table->constEnd()) {
            m_nonEnumeratedTags.insert(key);
            continue;
        }
        if (!found->options.isEmpty()) {
            m_enumeratedOptions.insert(key, found->options);
            Q_EMIT optionsLoaded(key);
        }
        if (found->isList)
            m_listTags.insert(key);
        m_writableOverrides.insert(key, found->writable);
    }
    Q_EMIT enumeratedOptionsChanged();
}

bool LibraryViewModel::applyKnownDefinitions()
{
    bool changed = false;
    for (MetadataEntry &entry : m_fullEntryList) {
        if (m_listTags.contains(entry.rawKey) && !entry.isList) {
            entry.markAsList();
            changed = true;
        }
        const auto known = m_writableOverrides.constFind(entry.rawKey);
        if (known == m_writableOverrides.cend())
            continue;
        // As applyWritability() judges it, for this one entry.
        const bool writable =
            *known && !m_entriesFormatReadOnly && !m_engine->isKeptByTheFileSystem(entry.rawKey);
        if (entry.forceReadOnly == !writable)
            continue;
        if (writable)
            entry.warning.reset();
        entry.forceReadOnly = !writable;
        changed = true;
    }
    return changed;
}

bool LibraryViewModel::isCheckingDefinition(const QString &key) const
{
    return m_engine->isLoadingTagListing() && !m_writableOverrides.contains(key) &&
           !m_nonEnumeratedTags.contains(key);
}

bool LibraryViewModel::applyWritability(const QString &key, bool isWritable, bool record)
{
    if (record)
        m_writableOverrides.insert(key, isWritable);
    // Every save keeps the file's owner and permissions, and nothing of a
    // file ExifTool cannot write can be changed, whatever the table says.
    const bool writable =
        isWritable && !m_entriesFormatReadOnly && !m_engine->isKeptByTheFileSystem(key);
    const bool changed = EntryMarks::applyWritability(m_fullEntryList, key, writable) > 0;
    if (record && changed)
        applySearch();
    return changed;
}

// --- Saving ----------------------------------------------------------------

bool LibraryViewModel::canWrite(const QUrl &fileUrl)
{
    const QFileInfo info(fileUrl.toLocalFile());
    // Write bits are honoured even where the system would let this user
    // write anyway (an administrator): a file marked read-only stays as it is.
    const QFile::Permissions writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.isWritable() && (info.permissions() & writeBits);
}

QCoro::Task<ChangeReport> LibraryViewModel::changeFile(std::shared_ptr<MetadataEngine> engine,
                                                       QUrl file, QList<TagAssignment> assignments,
                                                       ChangeOptions options, QString fileName)
{
    if (!QFileInfo::exists(file.toLocalFile()))
        throw SaveError(SaveError::Kind::fileMissing, fileName);
    if (!canWrite(file))
        throw SaveError(SaveError::Kind::noWritePermission, fileName);
    co_return co_await engine->changeTags(file, assignments, options);
}

QCoro::Task<bool> LibraryViewModel::saveChanges()
{
    if (isMultiSelection())
        co_return co_await saveSelection();
    co_return co_await saveEdits(ChangeOptions{});
}

QCoro::Task<bool> LibraryViewModel::saveEdits(ChangeOptions options)
{
    const std::optional<MediaItem> item = selectedItem();
    if (!item || m_entriesItemID != item->id || !hasPendingChanges()) {
        setStatus(tr("No changes to save."));
        co_return false;
    }
    storeBookmark(item->url);
    QList<MetadataEntry> writable;
    bool hasReadOnlyEdits = false;
    for (const MetadataEntry &entry : std::as_const(m_fullEntryList)) {
        if (!entry.isModified())
            continue;
        if (entry.isWritable())
            writable.append(entry);
        else
            hasReadOnlyEdits = true;
    }
    if (writable.isEmpty()) {
        setStatus(hasReadOnlyEdits ? tr("Selected tags are read-only in ExifTool.")
                                   : tr("No changes to save."));
        co_return false;
    }
    // One change: values and deletions together, a list by its items.
    QList<TagAssignment> assignments;
    for (const MetadataEntry &entry : std::as_const(writable))
        assignments.append(EntryMarks::assignmentOf(entry));

    const BusyScope busy(this);
    const LoadTicket ticket{m_loadGeneration, item->id, item->url};
    // What was sent, so that edits typed while the write runs survive the
    // read that follows it.
    const QHash<QUuid, EntryMarks::EnteredValue> sentValues =
        EntryMarks::enteredValues(m_fullEntryList);

    QPointer<LibraryViewModel> self(this);
    const QString fileName = item->fileName;
    const auto change = co_await callEngine(
        item->url, [assignments, options, fileName](const auto &engine, QUrl url) {
            return changeFile(engine, url, assignments, options, fileName);
        });
    if (change.libraryGone)
        co_return !change.failure;
    if (change.failure) {
        co_await handleSaveFailure(change.failure, ticket, fileName, writable);
        co_return false;
    }
    const ChangeReport &report = *change.value;
    // An Orientation or a preview changed with the tags: the sidebar shows
    // the file as it now is.
    fileDidChange(item->id);
    dropStepsOf(item->id);

    const QStringList notTaken = keysNotTaken(report);
    // The selection may have left the file while it was written: the edits
    // set aside then are in the file now, all but those it did not take and
    // those typed after the save began.
    if (!isCurrent(ticket)) {
        QHash<QString, EntryMarks::EnteredValue> sent;
        for (const MetadataEntry &entry : std::as_const(writable))
            sent.insert(entry.rawKey, sentValues.value(entry.id));
        forgetSavedParkedEdits(item->id, sent, report);
    }
    const QStringList unknown =
        notTaken.isEmpty() ? QStringList() : co_await unknownKeysAmong(notTaken);
    if (!self)
        co_return true;
    setStatus(BatchReportTexts::saveStatus(report, assignments.size(), unknown));
    if (isCurrent(ticket)) {
        const QHash<QString, EntryMarks::EnteredValue> typedMeanwhile =
            EntryMarks::editsSince(m_fullEntryList, sentValues);
        const bool reloaded = co_await loadMetadata(ticket);
        if (!self)
            co_return true;
        if (isCurrent(ticket)) {
            // Without a fresh read the list still holds the values just
            // written, which stand as edits until the next load.
            if (reloaded && EntryMarks::applyEdits(m_fullEntryList, typedMeanwhile) > 0)
                applySearch();
            markSaveOutcome(report, writable, unknown);
        }
    }
    co_return true;
}

void LibraryViewModel::forgetSavedParkedEdits(const QUuid &itemID,
                                              const QHash<QString, EntryMarks::EnteredValue> &sent,
                                              const ChangeReport &report)
{
    if (const auto parked = m_parkedEdits.find(itemID); parked != m_parkedEdits.end()) {
        const QStringList notTaken = keysNotTaken(report);
        for (auto it = sent.cbegin(); it != sent.cend(); ++it) {
            const auto edit = parked->constFind(it.key());
            if (edit != parked->constEnd() && *edit == it.value() && !notTaken.contains(it.key()))
                parked->erase(edit);
        }
        if (parked->isEmpty())
            m_parkedEdits.erase(parked);
    }
    updateModifiedItems(hasPendingChanges());
}

void LibraryViewModel::markSaveOutcome(const ChangeReport &report, const QList<MetadataEntry> &sent,
                                       const QStringList &unknownKeys)
{
    // A tag the file took no place for keeps what the user typed, read-only
    // and saying why; a tag the file holds otherwise than typed shows what
    // it holds, with the engine's reason.
    QHash<QString, EntryMarks::EnteredValue> noPlace;
    QHash<QString, EntryMarks::StoredNote> storedOtherwise;
    int changed = 0;
    for (const MetadataEntry &entry : sent) {
        const QString &key = entry.rawKey;
        if (unknownKeys.contains(key)) {
            changed += EntryMarks::markNotWritten(m_fullEntryList,
                                                  {{key, EntryMarks::EnteredValue::of(entry)}},
                                                  BatchReportTexts::unknownTagWarning(key));
            continue;
        }
        const std::optional<TagOutcome> outcome = report.outcomeFor(key);
        if (!outcome) {
            if (report.tagsNotWritten.contains(key))
                noPlace.insert(key, EntryMarks::EnteredValue::of(entry));
            continue;
        }
        if (outcome->kind == TagOutcome::Kind::notWritten && outcome->storedItems.isEmpty()) {
            noPlace.insert(key, EntryMarks::EnteredValue::of(entry));
            continue;
        }
        // A tag that still holds what it held before is kept where ExifTool
        // cannot write it: trying again would change nothing.
        const QStringList before = entry.isList ? entry.originalItems
                                   : entry.originalValue.isEmpty()
                                       ? QStringList()
                                       : QStringList{entry.originalValue};
        const bool keptOld =
            outcome->kind == TagOutcome::Kind::notWritten && outcome->storedItems == before;
        storedOtherwise.insert(key, {outcome->reason, keptOld});
    }
    changed += EntryMarks::markNotWritten(m_fullEntryList, noPlace);
    changed += EntryMarks::markStoredOtherwise(m_fullEntryList, storedOtherwise);
    if (changed > 0)
        applySearch();
}

QCoro::Task<void> LibraryViewModel::handleSaveFailure(std::exception_ptr failure, LoadTicket ticket,
                                                      QString fileName, QList<MetadataEntry> sent)
{
    QPointer<LibraryViewModel> self(this);
    std::optional<ServiceError> serviceError;
    try {
        std::rethrow_exception(failure);
    } catch (const ServiceError &error) {
        serviceError = error;
    } catch (...) {
    }
    const QString message = describeException(failure);
    const QString title =
        BatchReportTexts::failureTitle(failure, tr("Changes Not Saved to %1").arg(fileName));
    if (!serviceError) {
        showError(message, title);
        co_return;
    }
    switch (serviceError->kind()) {
    case ServiceError::Kind::minorError: {
        const QUuid itemID = ticket.itemID;
        offerWriteAnyway(title, message, [self, itemID] {
            // The edits are still there to be saved, unless the user went on
            // to another file meanwhile.
            if (self && self->m_selectedItemID == itemID)
                self->saveEdits(ChangeOptions{true});
        });
        co_return;
    }
    case ServiceError::Kind::executionFailed:
        if (isCurrent(ticket))
            handleWriteFailure(serviceError->message());
        else
            showError(message, title);
        co_return;
    case ServiceError::Kind::nothingWritten: {
        // A key ExifTool does not know at all is a misspelt field, not a
        // failure of the file.
        const QStringList unknown = co_await unknownKeysAmong(serviceError->tags());
        if (!self)
            co_return;
        if (!unknown.isEmpty() && isCurrent(ticket)) {
            ChangeReport report;
            report.tagsNotWritten = unknown;
            markSaveOutcome(report, sent, unknown);
        }
        if (!unknown.isEmpty() && unknown.size() == serviceError->tags().size()) {
            setStatus(BatchReportTexts::unknownTagsSentence(unknown));
            co_return;
        }
        showError(message, title);
        co_return;
    }
    default:
        showError(message, title);
        co_return;
    }
}

QCoro::Task<QStringList> LibraryViewModel::unknownKeysAmong(QStringList keys)
{
    if (!m_knownTagNames) {
        const auto listing = co_await callEngine(
            std::nullopt, [](const auto &engine, QUrl) { return engine->allTagKeys(); });
        // A listing without a tag tells nothing about any key.
        if (listing.libraryGone || !listing.value || listing.value->isEmpty())
            co_return QStringList();
        m_knownTagNames = TagNames::knownNames(*listing.value);
    }
    co_return TagNames::unknownKeys(keys, *m_knownTagNames);
}

void LibraryViewModel::handleWriteFailure(const QString &message)
{
    const QString text = message.trimmed();
    if (text.isEmpty()) {
        showError(message);
        return;
    }
    if (EntryMarks::markWriteFailure(m_fullEntryList, text) > 0) {
        applySearch();
        setStatus(tr("Some metadata tags are read-only."));
    } else {
        showError(text);
    }
}

QCoro::Task<void> LibraryViewModel::reloadAfterChange(QUuid itemID)
{
    // A change of a file that is still selected shows its new content; a
    // selection that moved on has its own load.
    if (m_selectedItemID != itemID)
        co_return;
    co_await reloadMetadata();
}

} // namespace Metaloom
