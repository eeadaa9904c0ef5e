#pragma once

#include "MetaloomFeature/Model/MediaItem.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QSet>
#include <QUuid>

namespace Metaloom {

// The imported files as the sidebar lists them, in import order. The
// library publishes its whole list on every change; the model follows it by
// item id, so a selection and the scroll position survive imports and
// removals, and a thumbnail that arrives redraws one row.
class SidebarModel : public QAbstractListModel {
    Q_OBJECT

public:
    enum Role {
        ItemIDRole = Qt::UserRole + 1,
        FileTypeRole,
        ThumbnailRole,
        PathRole,
        // The file has edits not saved yet (bool).
        ModifiedRole,
        // The file's folder ("~/Pictures/2024") while another listed file
        // has the same name, so the two rows can be told apart; else empty.
        FolderRole,
        // The file's privacy check found something (bool).
        PrivacyRole,
    };

    explicit SidebarModel(QObject *parent = nullptr);

    void setItems(const QList<MediaItem> &items);
    // One item changed in place (its thumbnail arrived): only its row is
    // redrawn. Thumbnails of a large drop arrive in bursts.
    void itemDidChange(const MediaItem &item);
    // The files with unsaved edits; the rows whose mark changes are redrawn.
    void setModifiedItems(const QSet<QUuid> &itemIDs);
    // The files whose privacy check found something, likewise.
    void setPrivacyFlaggedItems(const QSet<QUuid> &itemIDs);

    // The first row the last setItems added, or -1 when it added none.
    int firstInsertedRow() const { return m_firstInsertedRow; }

    const MediaItem *item(const QModelIndex &index) const;
    QModelIndex indexOf(const QUuid &itemID) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    // Tells rows whose name stopped or started repeating to draw again.
    void countNames();
    // The same for rows only added: the counts grow, and only rows whose
    // name now repeats draw again.
    void countInserted(const QList<std::pair<int, int>> &ranges);

    QList<MediaItem> m_items;
    QSet<QUuid> m_modified;
    QSet<QUuid> m_privacyFlagged;
    QHash<QString, int> m_nameCounts;
    int m_firstInsertedRow = -1;
};

} // namespace Metaloom
