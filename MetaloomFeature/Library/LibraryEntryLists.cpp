// The published entry lists: the search over the whole list, the indexes by
// key that let an edit find its entry, the editor's entry tree, and the
// publishing of one edited entry.

#include "LibraryViewModel.h"

#include "SearchFilter.h"

namespace Metaloom {

EntryTreeModel::Source LibraryViewModel::entryTreeSource()
{
    // The tree is the library's last member: it goes before what it reads.
    EntryTreeModel::Source source;
    source.entry = [this](const QString &key) { return filteredEntry(key); };
    source.permittedValues = [this](const QString &key) {
        std::optional<QList<EnumeratedOption>> options;
        if (const auto it = m_enumeratedOptions.constFind(key); it != m_enumeratedOptions.cend())
            options = *it;
        return options;
    };
    source.editValue = [this](const MetadataEntry &entry, const QString &value) {
        editValue(entry, value);
    };
    source.editItems = [this](const MetadataEntry &entry, const QStringList &items) {
        editItems(entry, items);
    };
    source.toggleFavorite = [this](const MetadataEntry &entry) { toggleFavorite(entry); };
    source.entryCameIntoView = [this](const MetadataEntry &entry) { ensureOptionsLoaded(entry); };
    source.isChecking = [this](const QString &key) { return isCheckingDefinition(key); };
    source.sharedRow = [this](const QString &key) { return sharedRow(key); };
    return source;
}

const MetadataEntry *LibraryViewModel::filteredEntry(const QString &key) const
{
    const auto row = m_visibleRowOfKey.constFind(key);
    return row == m_visibleRowOfKey.cend() ? nullptr : &m_visibleEntries.at(*row);
}

void LibraryViewModel::applySearch()
{
    indexFullList();
    showSearchResults();
}

void LibraryViewModel::showSearchResults()
{
    QList<MetadataEntry> previous =
        std::exchange(m_visibleEntries, SearchFilter::filter(m_fullEntryList, m_searchText));
    indexVisibleEntries();
    m_entryTree.showEntries(previous, m_visibleEntries);
    Q_EMIT filteredEntriesChanged();
    notifyPendingChanges();
}

void LibraryViewModel::indexFullList()
{
    m_fullRowOfKey.clear();
    m_fullRowOfKey.reserve(m_fullEntryList.size());
    for (qsizetype row = 0; row < m_fullEntryList.size(); ++row)
        m_fullRowOfKey.insert(m_fullEntryList.at(row).rawKey, row);
}

void LibraryViewModel::indexVisibleEntries()
{
    m_visibleRowOfKey.clear();
    m_visibleRowOfKey.reserve(m_visibleEntries.size());
    for (qsizetype row = 0; row < m_visibleEntries.size(); ++row)
        m_visibleRowOfKey.insert(m_visibleEntries.at(row).rawKey, row);
}

MetadataEntry *LibraryViewModel::listedEntry(const MetadataEntry &entry)
{
    const auto row = m_fullRowOfKey.constFind(entry.rawKey);
    if (row == m_fullRowOfKey.cend())
        return nullptr;
    MetadataEntry &listed = m_fullEntryList[*row];
    // An entry of a list since replaced (another read) has another id.
    return listed.id == entry.id ? &listed : nullptr;
}

void LibraryViewModel::publishEdit(const MetadataEntry &edited)
{
    const auto shownRow = m_visibleRowOfKey.constFind(edited.rawKey);
    const bool wasShown = shownRow != m_visibleRowOfKey.cend();
    if (wasShown != SearchFilter::matches(edited, m_searchText)) {
        // It starts or stops matching the search: rows come or go.
        applySearch();
        return;
    }
    if (wasShown) {
        m_visibleEntries[*shownRow] = edited;
        Q_EMIT filteredEntryChanged(edited.rawKey);
    }
    // The edited entry settles it, unless it holds its old value again.
    setHasPendingChanges(edited.isModified() || hasPendingChanges());
}

} // namespace Metaloom
