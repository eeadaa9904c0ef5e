#include "MetaloomFeature/Library/Editor/EntryTreeModel.h"

#include "MetaloomFeature/Library/EntryMarks.h"
#include "MetaloomFeature/Library/ListSync.h"

#include <QSet>

#include <algorithm>

namespace Metaloom {

namespace {

// Display order compares names as plain text after canonical normalisation:
// upper-case letters before lower-case ones, unlike the library's own
// case-insensitive order.
template <typename T, typename KeyOf> void sortPlainly(QList<T> &list, KeyOf keyOf)
{
    QList<std::pair<QString, qsizetype>> keys;
    keys.reserve(list.size());
    for (qsizetype i = 0; i < list.size(); ++i)
        keys.append({keyOf(list.at(i)).normalized(QString::NormalizationForm_C), i});
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<T> sorted;
    sorted.reserve(list.size());
    for (const auto &key : keys)
        sorted.append(std::move(list[key.second]));
    list = std::move(sorted);
}

} // namespace

EntryTreeModel::EntryTreeModel(Source source, QObject *parent)
    : QAbstractItemModel(parent), m_source(std::move(source))
{}

quintptr EntryTreeModel::keyForGroup(const QString &name)
{
    auto it = m_keyByGroup.constFind(name);
    if (it == m_keyByGroup.cend())
        it = m_keyByGroup.insert(name, quintptr(m_keyByGroup.size() + 1));
    return *it;
}

QList<EntryTreeModel::Section> EntryTreeModel::groupForDisplay(const QList<MetadataEntry> &entries)
{
    struct Grouped {
        QString name;
        QList<std::pair<QString, Row>> rows; // by tag
    };
    QList<Grouped> groups;
    QHash<QString, qsizetype> groupOfName;
    // A file's tags come group by group: the group of the entry before is
    // the likely one, and comparing with it costs less than hashing.
    qsizetype lastGroup = -1;
    for (const MetadataEntry &entry : entries) {
        if (lastGroup < 0 || groups.at(lastGroup).name != entry.group) {
            auto it = groupOfName.constFind(entry.group);
            if (it == groupOfName.cend()) {
                it = groupOfName.insert(entry.group, groups.size());
                groups.append({entry.group, {}});
            }
            lastGroup = *it;
        }
        groups[lastGroup].rows.append({entry.tag, Row{entry.id, entry.rawKey}});
    }
    sortPlainly(groups, [](const Grouped &group) { return group.name; });
    QList<Section> sections;
    sections.reserve(groups.size());
    for (Grouped &group : groups) {
        sortPlainly(group.rows, [](const auto &row) { return row.first; });
        Section section{group.name, keyForGroup(group.name), {}};
        section.rows.reserve(group.rows.size());
        for (auto &row : group.rows)
            section.rows.append(std::move(row.second));
        sections.append(std::move(section));
    }
    return sections;
}

void EntryTreeModel::showEntries(const QList<MetadataEntry> &previous,
                                 const QList<MetadataEntry> &entries)
{
    // The same entries in the same order (a revert, a mark after a save):
    // the rows stay, the changed ones are redrawn.
    const bool sameEntries =
        previous.size() == entries.size() &&
        std::equal(previous.cbegin(), previous.cend(), entries.cbegin(),
                   [](const MetadataEntry &a, const MetadataEntry &b) { return a.id == b.id; });
    if (sameEntries) {
        for (qsizetype i = 0; i < entries.size(); ++i) {
            if (!(previous.at(i) == entries.at(i)))
                entryDidChange(entries.at(i).rawKey);
        }
        return;
    }

    bool sharesAnEntry = false;
    for (const MetadataEntry &entry : entries) {
        if (const auto it = m_positionByKey.constFind(entry.rawKey);
            it != m_positionByKey.cend() &&
            m_sections.at(it->first).rows.at(it->second).id == entry.id) {
            sharesAnEntry = true;
            break;
        }
    }
    QList<Section> target = groupForDisplay(entries);
    if (!sharesAnEntry || !applyDifferences(target)) {
        beginResetModel();
        m_sections = std::move(target);
        rebuildLookup();
        endResetModel();
        return;
    }
    rebuildLookup();

    // The rows kept whose entry is not what it was.
    QHash<QUuid, qsizetype> previousByID;
    previousByID.reserve(previous.size());
    for (qsizetype i = 0; i < previous.size(); ++i)
        previousByID.insert(previous.at(i).id, i);
    for (const MetadataEntry &entry : entries) {
        const auto before = previousByID.constFind(entry.id);
        if (before != previousByID.cend() && !(previous.at(*before) == entry))
            entryDidChange(entry.rawKey);
    }
}

bool EntryTreeModel::applyDifferences(QList<Section> target)
{
    QSet<QString> targetNames;
    QHash<QString, qsizetype> targetRowOfName;
    for (qsizetype row = 0; row < target.size(); ++row) {
        targetNames.insert(target.at(row).name);
        targetRowOfName.insert(target.at(row).name, row);
    }

    // Groups that are gone, in runs from the bottom up.
    for (qsizetype row = m_sections.size() - 1; row >= 0;) {
        if (targetNames.contains(m_sections.at(row).name)) {
            --row;
            continue;
        }
        const qsizetype last = row;
        while (row >= 0 && !targetNames.contains(m_sections.at(row).name))
            --row;
        beginRemoveRows({}, int(row + 1), int(last));
        m_sections.remove(row + 1, last - row);
        rebuildSectionLookup();
        endRemoveRows();
    }

    // Rows of the groups that stay.
    for (qsizetype row = 0; row < m_sections.size(); ++row) {
        if (!applyRowDifferences(int(row),
                                 target.at(targetRowOfName.value(m_sections.at(row).name)).rows))
            return false;
    }

    // Groups that are new, in runs at their place.
    QSet<QString> shownNames;
    for (const Section &section : std::as_const(m_sections))
        shownNames.insert(section.name);
    qsizetype row = 0;
    for (qsizetype k = 0; k < target.size();) {
        if (row < m_sections.size() && m_sections.at(row).name == target.at(k).name) {
            ++row;
            ++k;
            continue;
        }
        if (shownNames.contains(target.at(k).name))
            return false;
        const qsizetype first = k;
        while (k < target.size() && !shownNames.contains(target.at(k).name))
            ++k;
        beginInsertRows({}, int(row), int(row + k - first - 1));
        for (qsizetype j = first; j < k; ++j)
            m_sections.insert(row + j - first, std::move(target[j]));
        rebuildSectionLookup();
        endInsertRows();
        row += k - first;
    }
    return row == m_sections.size();
}

bool EntryTreeModel::applyRowDifferences(int sectionRow, const QList<Row> &target)
{
    const QModelIndex parent = index(sectionRow, 0);
    ListSyncHooks hooks;
    hooks.beginRemove = [this, parent](int first, int last) {
        beginRemoveRows(parent, first, last);
    };
    hooks.endRemove = [this] { endRemoveRows(); };
    hooks.beginInsert = [this, parent](int first, int last) {
        beginInsertRows(parent, first, last);
    };
    hooks.endInsert = [this] { endInsertRows(); };
    // A row is its entry's id and key, which never change together; what
    // changed inside an entry is told afterwards.
    hooks.changed = [](int, int) {};
    return syncListByID(
        m_sections[sectionRow].rows, target, [](const Row &row) { return row.id; }, hooks);
}

void EntryTreeModel::rebuildSectionLookup()
{
    m_sectionRowByKey.clear();
    m_sectionRowByKey.reserve(m_sections.size());
    for (int row = 0; row < m_sections.size(); ++row)
        m_sectionRowByKey.insert(m_sections.at(row).key, row);
}

void EntryTreeModel::rebuildLookup()
{
    rebuildSectionLookup();
    qsizetype rowCount = 0;
    for (const Section &section : std::as_const(m_sections))
        rowCount += section.rows.size();
    m_positionByKey.clear();
    m_positionByKey.reserve(rowCount);
    for (int row = 0; row < m_sections.size(); ++row) {
        const QList<Row> &rows = m_sections.at(row).rows;
        for (int child = 0; child < rows.size(); ++child)
            m_positionByKey.insert(rows.at(child).key, {row, child});
    }
}

int EntryTreeModel::sectionRowForKey(quintptr key) const
{
    return m_sectionRowByKey.value(key, -1);
}

void EntryTreeModel::entryDidChange(const QString &key)
{
    const QModelIndex changed = indexOf(key);
    if (changed.isValid())
        Q_EMIT dataChanged(changed, changed);
}

void EntryTreeModel::optionsDidChange(const QString &key)
{
    const QModelIndex changed = indexOf(key);
    if (changed.isValid())
        Q_EMIT dataChanged(changed, changed, {OptionsRole, ShowsPickerRole});
}

void EntryTreeModel::rowCameIntoView(const QModelIndex &index)
{
    if (const MetadataEntry *shown = entryAt(index); shown && m_source.entryCameIntoView)
        m_source.entryCameIntoView(*shown);
}

const MetadataEntry *EntryTreeModel::entryAt(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || index.internalId() == 0)
        return nullptr;
    const int section = sectionRowForKey(index.internalId());
    if (section < 0 || index.row() >= m_sections.at(section).rows.size())
        return nullptr;
    const Row &row = m_sections.at(section).rows.at(index.row());
    const MetadataEntry *shown = m_source.entry ? m_source.entry(row.key) : nullptr;
    return shown && shown->id == row.id ? shown : nullptr;
}

QModelIndex EntryTreeModel::indexOf(const QString &key) const
{
    const auto it = m_positionByKey.constFind(key);
    if (it == m_positionByKey.cend())
        return {};
    return index(it->second, 0, index(it->first, 0));
}

QStringList EntryTreeModel::optionLabels(const QString &key) const
{
    QStringList labels;
    if (!m_source.permittedValues)
        return labels;
    if (const auto options = m_source.permittedValues(key)) {
        for (const EnumeratedOption &option : *options)
            labels.append(option.label);
    }
    return labels;
}

bool EntryTreeModel::hasOptions(const QString &key) const
{
    if (!m_source.permittedValues)
        return false;
    const auto options = m_source.permittedValues(key);
    return options && !options->isEmpty();
}

QModelIndex EntryTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < m_sections.size() ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (parent.internalId() != 0 || parent.row() >= m_sections.size())
        return {};
    const Section &section = m_sections.at(parent.row());
    return row < section.rows.size() ? createIndex(row, 0, section.key) : QModelIndex();
}

QModelIndex EntryTreeModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    const int row = sectionRowForKey(child.internalId());
    return row < 0 ? QModelIndex() : createIndex(row, 0, quintptr(0));
}

int EntryTreeModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_sections.size());
    if (parent.column() != 0 || parent.internalId() != 0 || parent.row() >= m_sections.size())
        return 0;
    return int(m_sections.at(parent.row()).rows.size());
}

int EntryTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant EntryTreeModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (index.internalId() == 0)
        return sectionData(index.row(), role);
    const MetadataEntry *shown = entryAt(index);
    return shown ? entryData(*shown, role) : QVariant();
}

void EntryTreeModel::multiData(const QModelIndex &index, QModelRoleDataSpan roleDataSpan) const
{
    if (index.isValid() && index.internalId() == 0) {
        for (QModelRoleData &roleData : roleDataSpan)
            roleData.setData(sectionData(index.row(), roleData.role()));
        return;
    }
    const MetadataEntry *shown = entryAt(index);
    for (QModelRoleData &roleData : roleDataSpan)
        roleData.setData(shown ? entryData(*shown, roleData.role()) : QVariant());
}

QVariant EntryTreeModel::sectionData(int row, int role) const
{
    if (row < 0 || row >= m_sections.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_sections.at(row).name;
    if (role == IsSectionRole)
        return true;
    return {};
}

QVariant EntryTreeModel::entryData(const MetadataEntry &shown, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        return shown.displayName;
    case Qt::EditRole:
        return shown.isList ? QVariant(shown.items) : QVariant(shown.value);
    case RawKeyRole:
        return shown.rawKey;
    case IsSectionRole:
        return false;
    case FavoriteRole:
        return shown.isFavorite;
    case DefaultFavoriteRole:
        return shown.isDefaultFavorite;
    case WritableRole:
        return shown.isWritable();
    case ModifiedRole:
        return shown.isModified();
    case WarningRole:
        return shown.warning ? QVariant(*shown.warning) : QVariant();
    case OptionsRole: {
        const QStringList labels = optionLabels(shown.rawKey);
        return labels.isEmpty() ? QVariant() : QVariant(labels);
    }
    case ShowsPickerRole:
        return shown.isWritable() && !shown.isList && hasOptions(shown.rawKey);
    case IsListRole:
        return shown.isList;
    case MarkedForRemovalRole:
        return EntryMarks::isMarkedForRemoval(shown);
    case CheckingRole:
        return m_source.isChecking && m_source.isChecking(shown.rawKey);
    case MixedValuesRole:
    case PresenceNoteRole:
    case Qt::ToolTipRole: {
        const SharedTagList::Row *shared =
            m_source.sharedRow ? m_source.sharedRow(shown.rawKey) : nullptr;
        if (role == MixedValuesRole)
            return shared && shared->mixed;
        if (!shared)
            return {};
        if (role == PresenceNoteRole)
            return SharedTagList::presenceNote(*shared);
        return shared->mixed ? QVariant(SharedTagList::mixedValuesTooltip(*shared)) : QVariant();
    }
    default:
        return {};
    }
}

bool EntryTreeModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const MetadataEntry *shown = entryAt(index);
    if (!shown)
        return false;
    // The source changes its entry in place while it takes the edit.
    const MetadataEntry edited = *shown;
    if (role == FavoriteRole) {
        if (value.toBool() == edited.isFavorite || !m_source.toggleFavorite)
            return false;
        m_source.toggleFavorite(edited);
        return true;
    }
    if (role != Qt::EditRole)
        return false;
    if (value.typeId() == QMetaType::QStringList) {
        if (!m_source.editItems)
            return false;
        m_source.editItems(edited, value.toStringList());
        return true;
    }
    if (!m_source.editValue)
        return false;
    m_source.editValue(edited, value.toString());
    return true;
}

Qt::ItemFlags EntryTreeModel::flags(const QModelIndex &index) const
{
    const MetadataEntry *shown = entryAt(index);
    if (!shown) {
        // A section header can have the focus (it folds with the arrow
        // keys) but is never selected.
        if (index.isValid() && !index.parent().isValid() && index.row() < m_sections.size())
            return Qt::ItemIsEnabled;
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    // While the table is still out, a tag's writability is a guess: an edit
    // begun now could belong to a tag that turns out read-only.
    if (shown->isWritable() && !(m_source.isChecking && m_source.isChecking(shown->rawKey)))
        flags |= Qt::ItemIsEditable;
    return flags;
}

} // namespace Metaloom
