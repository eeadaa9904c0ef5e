#pragma once

#include "MetaloomFeature/Model/MediaItem.h"

#include <QCache>
#include <QPixmap>
#include <QStyledItemDelegate>

#include <functional>

namespace Metaloom {

// Paints one file of the sidebar: a 44-point square thumbnail (or a document
// symbol), the file name above its type, and a Remove button at the end,
// which calls `onRemove` with the row's item.
class SidebarRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    static constexpr int thumbnailEdge = 44;

    using RemoveAction = std::function<void(const MediaItem &item)>;

    explicit SidebarRowDelegate(RemoveAction onRemove, QObject *parent = nullptr);

    // Where the Remove button of a row lies.
    static QRect removeButtonRect(const QRect &rowRect);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

private:
    QPixmap thumbnailPixmap(const QImage &image, qreal ratio) const;

    RemoveAction m_onRemove;
    // Scaled thumbnails, by the image's cache key and scale.
    mutable QCache<QString, QPixmap> m_thumbnails{400};
};

} // namespace Metaloom
