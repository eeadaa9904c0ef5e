#include "MetaloomFeature/Views/Editor/MetadataEditorModel.h"

#include "MetaloomFeature/Views/Kit/ListSync.h"

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

MetadataEditorModel::MetadataEditorModel(QObject *parent) : QAbstractItemModel(parent) {}

quintptr MetadataEditorModel::keyForGroup(const QString &name)
{
    auto it = m_keyByGroup.constFind(name);
    if (it == m_keyByGroup.cend())
        it = m_keyByGroup.insert(name, quintptr(m_keyByGroup.size() + 1));
    return *it;
}

QList<MetadataEditorModel::Section>
MetadataEditorModel::groupForDisplay(const QList<MetadataEntry> &entries)
{
    QList<Section> sections;
    QHash<QString, qsizetype> sectionOfGroup;
    for (const MetadataEntry &entry : entries) {
        auto it = sectionOfGroup.constFind(entry.group);
        if (it == sectionOfGroup.cend()) {
            it = sectionOfGroup.insert(entry.group, sections.size());
            sections.append({entry.group, keyForGroup(entry.group), {}});
        }
        sections[*it].entries.append(entry);
    }
    for (Section &section : sections)
        sortPlainly(section.entries, [](const MetadataEntry &entry) { return entry.tag; });
    sortPlainly(sections, [](const Section &section) { return section.name; });
    return sections;
}

void MetadataEditorModel::setEntries(const QList<MetadataEntry> &entries)
{
    if (updateInPlace(entries))
        return;

    m_inputOrder.clear();
    m_inputOrder.reserve(entries.size());
    bool sharesAnEntry = false;
    for (const MetadataEntry &entry : entries) {
        m_inputOrder.append(entry.id);
        sharesAnEntry = sharesAnEntry || m_positionByID.contains(entry.id);
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
}

bool MetadataEditorModel::updateInPlace(const QList<MetadataEntry> &entries)
{
    if (entries.size() != m_inputOrder.size())
        return false;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries.at(i).id != m_inputOrder.at(i))
            return false;
    }
    for (const MetadataEntry &entry : entries) {
        const auto position = m_positionByID.value(entry.id);
        MetadataEntry &shown = m_sections[position.first].entries[position.second];
        if (shown == entry)
            continue;
        shown = entry;
        const QModelIndex changed = index(position.second, 0, index(position.first, 0));
        Q_EMIT dataChanged(changed, changed);
    }
    return true;
}

bool MetadataEditorModel::applyDifferences(QList<Section> target)
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
        rebuildLookup();
        endRemoveRows();
    }

    // Entries of the groups that stay.
    for (qsizetype row = 0; row < m_sections.size(); ++row) {
        if (!applyEntryDifferences(
                int(row), target.at(targetRowOfName.value(m_sections.at(row).name)).entries))
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
        rebuildLookup();
        endInsertRows();
        row += k - first;
    }
    return row == m_sections.size();
}

bool MetadataEditorModel::applyEntryDifferences(int sectionRow, const QList<MetadataEntry> &target)
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
    hooks.changed = [this, parent](int first, int last) {
        Q_EMIT dataChanged(index(first, 0, parent), index(last, 0, parent));
    };
    return syncListByID(
        m_sections[sectionRow].entries, target, [](const MetadataEntry &entry) { return entry.id; },
        hooks);
}

void MetadataEditorModel::rebuildLookup()
{
    m_sectionRowByKey.clear();
    m_positionByID.clear();
    for (int row = 0; row < m_sections.size(); ++row) {
        const Section &section = m_sections.at(row);
        m_sectionRowByKey.insert(section.key, row);
        for (int child = 0; child < section.entries.size(); ++child)
            m_positionByID.insert(section.entries.at(child).id, {row, child});
    }
}

int MetadataEditorModel::sectionRowForKey(quintptr key) const
{
    return m_sectionRowByKey.value(key, -1);
}

void MetadataEditorModel::optionsDidChange(const QString &rawKey)
{
    for (int row = 0; row < m_sections.size(); ++row) {
        const QList<MetadataEntry> &entries = m_sections.at(row).entries;
        for (int child = 0; child < entries.size(); ++child) {
            if (entries.at(child).rawKey != rawKey)
                continue;
            const QModelIndex changed = index(child, 0, index(row, 0));
            Q_EMIT dataChanged(changed, changed, {OptionsRole, ShowsPickerRole});
        }
    }
}

const MetadataEntry *MetadataEditorModel::entry(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || index.internalId() == 0)
        return nullptr;
    const int section = sectionRowForKey(index.internalId());
    if (section < 0 || index.row() >= m_sections.at(section).entries.size())
        return nullptr;
    return &m_sections.at(section).entries.at(index.row());
}

QModelIndex MetadataEditorModel::indexOf(const QUuid &entryID) const
{
    const auto it = m_positionByID.constFind(entryID);
    if (it == m_positionByID.cend())
        return {};
    return index(it->second, 0, index(it->first, 0));
}

QStringList MetadataEditorModel::optionLabels(const MetadataEntry &entry) const
{
    QStringList labels;
    if (!m_optionsLookup)
        return labels;
    if (const auto options = m_optionsLookup(entry.rawKey)) {
        for (const EnumeratedOption &option : *options)
            labels.append(option.label);
    }
    return labels;
}

QModelIndex MetadataEditorModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < m_sections.size() ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (parent.internalId() != 0 || parent.row() >= m_sections.size())
        return {};
    const Section &section = m_sections.at(parent.row());
    return row < section.entries.size() ? createIndex(row, 0, section.key) : QModelIndex();
}

QModelIndex MetadataEditorModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    const int row = sectionRowForKey(child.internalId());
    return row < 0 ? QModelIndex() : createIndex(row, 0, quintptr(0));
}

int MetadataEditorModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_sections.size());
    if (parent.column() != 0 || parent.internalId() != 0 || parent.row() >= m_sections.size())
        return 0;
    return int(m_sections.at(parent.row()).entries.size());
}

int MetadataEditorModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant MetadataEditorModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (index.internalId() == 0) {
        if (index.row() >= m_sections.size())
            return {};
        if (role == Qt::DisplayRole)
            return m_sections.at(index.row()).name;
        if (role == IsSectionRole)
            return true;
        return {};
    }
    const MetadataEntry *shown = entry(index);
    if (!shown)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return shown->displayName;
    case Qt::EditRole:
        return shown->isList ? QVariant(shown->items) : QVariant(shown->value);
    case RawKeyRole:
        return shown->rawKey;
    case IsSectionRole:
        return false;
    case FavoriteRole:
        return shown->isFavorite;
    case DefaultFavoriteRole:
        return shown->isDefaultFavorite;
    case WritableRole:
        return shown->isWritable();
    case ModifiedRole:
        return shown->isModified();
    case WarningRole:
        return shown->warning ? QVariant(*shown->warning) : QVariant();
    case OptionsRole: {
        const QStringList labels = optionLabels(*shown);
        return labels.isEmpty() ? QVariant() : QVariant(labels);
    }
    case ShowsPickerRole:
        return shown->isWritable() && !shown->isList && !optionLabels(*shown).isEmpty();
    case IsListRole:
        return shown->isList;
    default:
        return {};
    }
}

bool MetadataEditorModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const MetadataEntry *shown = entry(index);
    if (!shown || role != Qt::EditRole)
        return false;
    // The handler republishes the list, which replaces the entry shown.
    const MetadataEntry edited = *shown;
    if (value.typeId() == QMetaType::QStringList) {
        if (!m_itemsChange)
            return false;
        m_itemsChange(edited, value.toStringList());
        return true;
    }
    if (!m_valueChange)
        return false;
    m_valueChange(edited, value.toString());
    return true;
}

Qt::ItemFlags MetadataEditorModel::flags(const QModelIndex &index) const
{
    const MetadataEntry *shown = entry(index);
    if (!shown)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (shown->isWritable())
        flags |= Qt::ItemIsEditable;
    return flags;
}

} // namespace Metaloom
