#include "MetaloomFeature/Views/Window/SidebarModel.h"

#include "MetaloomFeature/Library/ListSync.h"

#include <QDir>
#include <QFileInfo>

namespace Metaloom {

SidebarModel::SidebarModel(QObject *parent) : QAbstractListModel(parent) {}

void SidebarModel::setItems(const QList<MediaItem> &items)
{
    // Rows only added (an import, the common case at thousands of files)
    // are counted by name one by one; anything else counts all again.
    bool removed = false;
    QList<std::pair<int, int>> inserted;
    ListSyncHooks hooks;
    hooks.beginRemove = [this, &removed](int first, int last) {
        removed = true;
        beginRemoveRows({}, first, last);
    };
    hooks.endRemove = [this] { endRemoveRows(); };
    hooks.beginInsert = [this, &inserted](int first, int last) {
        beginInsertRows({}, first, last);
        inserted.append({first, last});
    };
    hooks.endInsert = [this] { endInsertRows(); };
    hooks.changed = [this](int first, int last) { Q_EMIT dataChanged(index(first), index(last)); };
    if (syncListByID(
            m_items, items, [](const MediaItem &item) { return item.id; }, hooks)) {
        // Later insertions lie after earlier ones, so each range is still
        // where it was put.
        m_firstInsertedRow = inserted.isEmpty() ? -1 : inserted.first().first;
        return removed ? countNames() : countInserted(inserted);
    }
    beginResetModel();
    m_items = items;
    m_nameCounts.clear();
    endResetModel();
    m_firstInsertedRow = -1;
    countNames();
}

void SidebarModel::countInserted(const QList<std::pair<int, int>> &ranges)
{
    QSet<QString> nowRepeated;
    for (const auto &[first, last] : ranges) {
        for (int row = first; row <= last; ++row) {
            if (++m_nameCounts[m_items.at(row).fileName] == 2)
                nowRepeated.insert(m_items.at(row).fileName);
        }
    }
    if (nowRepeated.isEmpty())
        return;
    for (int row = 0; row < m_items.size(); ++row) {
        if (nowRepeated.contains(m_items.at(row).fileName))
            Q_EMIT dataChanged(index(row), index(row), {FolderRole});
    }
}

void SidebarModel::countNames()
{
    QHash<QString, int> counts;
    for (const MediaItem &item : std::as_const(m_items))
        ++counts[item.fileName];
    const auto repeats = [](const QHash<QString, int> &in, const QString &name) {
        return in.value(name) > 1;
    };
    const QHash<QString, int> before = std::exchange(m_nameCounts, counts);
    for (int row = 0; row < m_items.size(); ++row) {
        const QString &name = m_items.at(row).fileName;
        if (repeats(before, name) != repeats(m_nameCounts, name))
            Q_EMIT dataChanged(index(row), index(row), {FolderRole});
    }
}

void SidebarModel::itemDidChange(const MediaItem &item)
{
    const QModelIndex row = indexOf(item.id);
    if (!row.isValid() || m_items.at(row.row()) == item)
        return;
    m_items[row.row()] = item;
    Q_EMIT dataChanged(row, row);
}

void SidebarModel::setModifiedItems(const QSet<QUuid> &itemIDs)
{
    const QSet<QUuid> changed = (itemIDs - m_modified) + (m_modified - itemIDs);
    m_modified = itemIDs;
    for (const QUuid &id : changed) {
        if (const QModelIndex row = indexOf(id); row.isValid())
            Q_EMIT dataChanged(row, row, {ModifiedRole});
    }
}

void SidebarModel::setPrivacyFlaggedItems(const QSet<QUuid> &itemIDs)
{
    const QSet<QUuid> changed = (itemIDs - m_privacyFlagged) + (m_privacyFlagged - itemIDs);
    m_privacyFlagged = itemIDs;
    for (const QUuid &id : changed) {
        if (const QModelIndex row = indexOf(id); row.isValid())
            Q_EMIT dataChanged(row, row, {PrivacyRole});
    }
}

const MediaItem *SidebarModel::item(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_items.size())
        return nullptr;
    return &m_items.at(index.row());
}

QModelIndex SidebarModel::indexOf(const QUuid &itemID) const
{
    for (int row = 0; row < m_items.size(); ++row) {
        if (m_items.at(row).id == itemID)
            return index(row);
    }
    return {};
}

int SidebarModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant SidebarModel::data(const QModelIndex &index, int role) const
{
    const MediaItem *shown = item(index);
    if (!shown)
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return shown->fileName;
    case Qt::ToolTipRole:
    case PathRole:
        return shown->url.isLocalFile() ? shown->url.toLocalFile() : shown->url.toString();
    case ItemIDRole:
        return shown->id;
    case FileTypeRole:
        return shown->fileType;
    case ThumbnailRole:
        return shown->thumbnail ? QVariant(*shown->thumbnail) : QVariant();
    case ModifiedRole:
        return m_modified.contains(shown->id);
    case PrivacyRole:
        return m_privacyFlagged.contains(shown->id);
    case FolderRole: {
        if (m_nameCounts.value(shown->fileName) < 2 || !shown->url.isLocalFile())
            return QString();
        QString folder = QFileInfo(shown->url.toLocalFile()).absolutePath();
        const QString home = QDir::homePath();
        if (folder == home || folder.startsWith(home + u'/'))
            folder = u'~' + folder.mid(home.size());
        return QDir::toNativeSeparators(folder);
    }
    default:
        return {};
    }
}

Qt::ItemFlags SidebarModel::flags(const QModelIndex &index) const
{
    if (!item(index))
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

} // namespace Metaloom
