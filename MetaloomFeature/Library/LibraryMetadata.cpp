// The selected file's metadata: loading, the merged and filtered list,
// edits, option lists and writability, saving and reverting.

#include "LibraryViewModel.h"

#include "EntryListMerge.h"
#include "EntryMarks.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace Metaloom {

namespace {

// The selected file cannot be changed by this user.
class SaveError : public Error {
public:
    enum class Kind { noWritePermission, fileMissing };

    explicit SaveError(Kind kind) : m_kind(kind) {}

    QString localizedDescription() const override
    {
        switch (m_kind) {
        case Kind::noWritePermission:
            return QStringLiteral("Metaloom can't modify this file. Check permissions and try "
                                  "again.");
        case Kind::fileMissing:
            return QStringLiteral("Metaloom can't find this file. It may have been moved or "
                                  "deleted.");
        }
        return QString();
    }
    void raise() const override { throw *this; }
    SaveError *clone() const override { return new SaveError(*this); }

private:
    Kind m_kind;
};

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
    if (id == m_selectedItemID)
        return;
    m_selectedItemID = id;
    Q_EMIT selectedItemIDChanged();
    Q_EMIT selectedItemChanged();
    selectionDidChange();
}

void LibraryViewModel::selectionDidChange()
{
    // Whatever is still being read for the previous selection is stale now,
    // and the previous file's entries must not stand under the new file's
    // name (nor be saved into it): the list is empty until the new file's
    // entries arrive.
    ++m_loadGeneration;
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
    const std::optional<LoadTicket> ticket = ticketForSelection();
    if (!ticket)
        co_return;
    const BusyScope busy(this);
    storeBookmark(ticket->url);
    co_await loadMetadata(*ticket);
}

QCoro::Task<bool> LibraryViewModel::loadMetadata(LoadTicket ticket)
{
    QPointer<LibraryViewModel> self(this);
    QPointer<ExifToolService> service = m_service;
    QList<MetadataEntry> entries;
    try {
        entries = co_await withSecurityScope(
            ticket.url, [service](QUrl url) { return requireEngine(service)->readMetadata(url); });
    } catch (...) {
        const QString message = describeException(std::current_exception());
        if (!self)
            co_return false;
        // A failed read of a file no longer shown is nobody's concern now;
        // selecting it again reads it again.
        if (isCurrent(ticket))
            showError(message);
        co_return false;
    }
    if (!self || !isCurrent(ticket))
        co_return false;
    publishLoadedEntries(std::move(entries));
    Q_EMIT metadataLoaded(ticket.itemID);
    co_return true;
}

void LibraryViewModel::publishLoadedEntries(QList<MetadataEntry> entries)
{
    m_fullEntryList = std::move(entries);
    m_entriesItemID = m_selectedItemID;
    mergeFieldSettings();
    applySearch();
    reapplyWritableOverrides();
}

// --- Edits -----------------------------------------------------------------

void LibraryViewModel::update(const MetadataEntry &entry, const QString &value)
{
    recordEdit(entry, EntryMarks::EnteredValue{value, false, {}});
}

void LibraryViewModel::updateItems(const MetadataEntry &entry, const QStringList &items)
{
    recordEdit(entry, EntryMarks::EnteredValue{MetadataEntry::listText(items), true, items});
}

void LibraryViewModel::recordEdit(const MetadataEntry &entry, const EntryMarks::EnteredValue &value)
{
    if (!entry.isWritable()) {
        setStatus(QStringLiteral("This tag is read-only in ExifTool."));
        return;
    }
    for (MetadataEntry &listed : m_fullEntryList) {
        if (listed.id == entry.id) {
            // A list typed as text is one item per line.
            if (listed.isList && !value.isList)
                EntryMarks::EnteredValue{value.value, true, itemsOfText(value.value)}.applyTo(
                    listed);
            else
                value.applyTo(listed);
            applySearch();
            return;
        }
    }
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
    for (MetadataEntry &entry : m_fullEntryList) {
        if (entry.isList)
            entry.setItems(entry.originalItems);
        else
            entry.value = entry.originalValue;
    }
    applySearch();
    setStatus(QStringLiteral("Changes reverted."));
}

// --- Option lists and writability ------------------------------------------

std::optional<QList<ExifToolService::EnumeratedOption>>
LibraryViewModel::options(const MetadataEntry &entry) const
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
    QPointer<LibraryViewModel> self(this);
    QPointer<ExifToolService> service = m_service;
    std::optional<TagDefinition> definition;
    try {
        definition = co_await requireEngine(service)->tagDefinition(key);
        if (const std::optional<QString> tableKey = numberedGroupTableKey(key);
            !definition && tableKey)
            definition = co_await requireEngine(service)->tagDefinition(*tableKey);
    } catch (...) {
        definition.reset();
    }
    if (!self)
        co_return;
    m_loadingEnumerations.remove(key);
    if (!definition) {
        m_nonEnumeratedTags.insert(key);
        co_return;
    }
    if (!definition->options.isEmpty()) {
        m_enumeratedOptions.insert(key, definition->options);
        Q_EMIT enumeratedOptionsChanged();
        Q_EMIT optionsLoaded(key);
    }
    m_nonEnumeratedTags.remove(key);
    applyWritability(key, definition->writable, true);
}

bool LibraryViewModel::applyWritability(const QString &key, bool isWritable, bool record)
{
    if (record)
        m_writableOverrides.insert(key, isWritable);
    const bool changed = EntryMarks::applyWritability(m_fullEntryList, key, isWritable) > 0;
    if (record && changed)
        applySearch();
    return changed;
}

void LibraryViewModel::reapplyWritableOverrides()
{
    bool changed = false;
    for (auto it = m_writableOverrides.cbegin(); it != m_writableOverrides.cend(); ++it)
        changed = applyWritability(it.key(), it.value(), false) || changed;
    if (changed)
        applySearch();
}

// --- Saving ----------------------------------------------------------------

bool LibraryViewModel::canWrite(const QUrl &fileUrl) const
{
    const QFileInfo info(fileUrl.toLocalFile());
    // Write bits are honoured even where the system would let this user
    // write anyway (an administrator): a file marked read-only stays as it is.
    const QFile::Permissions writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
    return info.isWritable() && (info.permissions() & writeBits);
}

QCoro::Task<bool> LibraryViewModel::saveChanges()
{
    const std::optional<MediaItem> item = selectedItem();
    if (!item || m_entriesItemID != item->id || !hasPendingChanges()) {
        setStatus(QStringLiteral("No changes to save."));
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
        setStatus(hasReadOnlyEdits ? QStringLiteral("Selected tags are read-only in ExifTool.")
                                   : QStringLiteral("No changes to save."));
        co_return false;
    }

    const BusyScope busy(this);
    const LoadTicket ticket{m_loadGeneration, item->id, item->url};
    // What was sent, so that edits typed while the write runs survive the
    // read that follows it.
    const QHash<QUuid, EntryMarks::EnteredValue> sentValues =
        EntryMarks::enteredValues(m_fullEntryList);

    QPointer<LibraryViewModel> self(this);
    QPointer<ExifToolService> service = m_service;
    ChangeReport report;
    try {
        report = co_await withSecurityScope(item->url, [this, service, writable](QUrl url) {
            if (!QFileInfo::exists(url.toLocalFile()))
                throw SaveError(SaveError::Kind::fileMissing);
            if (!canWrite(url))
                throw SaveError(SaveError::Kind::noWritePermission);
            return requireEngine(service)->writeMetadata(url, writable);
        });
    } catch (const ServiceError &error) {
        if (!self)
            co_return false;
        if (error.kind() == ServiceError::Kind::executionFailed && isCurrent(ticket))
            handleWriteFailure(error.message());
        else
            showError(error.localizedDescription());
        co_return false;
    } catch (...) {
        const QString message = describeException(std::current_exception());
        if (!self)
            co_return false;
        showError(message);
        co_return false;
    }
    if (!self)
        co_return true;
    // An Orientation or a preview changed with the tags: the sidebar shows
    // the file as it now is.
    fileDidChange(item->id);

    QHash<QString, EntryMarks::EnteredValue> notWritten;
    for (const MetadataEntry &entry : std::as_const(writable)) {
        if (report.tagsNotWritten.contains(entry.rawKey))
            notWritten.insert(entry.rawKey, EntryMarks::EnteredValue::of(entry));
    }
    setStatus(notWritten.isEmpty() ? QStringLiteral("Metadata saved successfully.")
                                   : QStringLiteral("Some metadata tags are read-only."));
    if (isCurrent(ticket)) {
        const QHash<QString, EntryMarks::EnteredValue> typedMeanwhile =
            EntryMarks::editsSince(m_fullEntryList, sentValues);
        const bool reloaded = co_await loadMetadata(ticket);
        if (!self)
            co_return true;
        if (isCurrent(ticket)) {
            // Without a fresh read the list still holds the values just
            // written, which stand as edits until the next load.
            bool changed = reloaded && EntryMarks::applyEdits(m_fullEntryList, typedMeanwhile) > 0;
            changed = EntryMarks::markNotWritten(m_fullEntryList, notWritten) > 0 || changed;
            if (changed)
                applySearch();
        }
    }
    co_return true;
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
        setStatus(QStringLiteral("Some metadata tags are read-only."));
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
