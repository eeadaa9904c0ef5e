#include "MetaloomFeature/Views/Window/SidebarRowDelegate.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "MetaloomFeature/Views/Window/SidebarModel.h"
#include "StyleKit/Style.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

namespace Metaloom {

using StyleKit::withOpacity;

namespace {

constexpr int rowPaddingHorizontal = 8;
constexpr int rowPaddingVertical = 4;
constexpr int spacing = 12;
constexpr int textSpacing = 4;
constexpr int removeButtonSize = 16;
constexpr qreal thumbnailRadius = 8;
constexpr qreal selectionRadius = 6;
// Room between the rows and the list's edges.
constexpr int listInset = 6;

QRect contentRect(const QRect &rowRect)
{
    return rowRect.adjusted(listInset + rowPaddingHorizontal, rowPaddingVertical,
                            -listInset - rowPaddingHorizontal, -rowPaddingVertical);
}

} // namespace

SidebarRowDelegate::SidebarRowDelegate(RemoveAction onRemove, QObject *parent)
    : QStyledItemDelegate(parent), m_onRemove(std::move(onRemove))
{}

QRect SidebarRowDelegate::removeButtonRect(const QRect &rowRect)
{
    const QRect content = contentRect(rowRect);
    return {content.right() - removeButtonSize + 1, content.center().y() - removeButtonSize / 2 + 1,
            removeButtonSize, removeButtonSize};
}

QSize SidebarRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics name(SheetStyle::headline(option.font));
    const QFontMetrics type(SheetStyle::caption(option.font));
    const int text = name.height() + textSpacing + type.height();
    return {200, std::max(thumbnailEdge, text) + 2 * rowPaddingVertical + 4};
}

QPixmap SidebarRowDelegate::thumbnailPixmap(const QImage &image, qreal ratio) const
{
    const QString key = QString::number(image.cacheKey()) + u'@' + QString::number(ratio);
    if (QPixmap *cached = m_thumbnails.object(key))
        return *cached;
    const int edge = qRound(thumbnailEdge * ratio);
    // The thumbnail is square already; fill the frame and keep the middle.
    QImage scaled =
        image.scaled(edge, edge, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    scaled = scaled.copy((scaled.width() - edge) / 2, (scaled.height() - edge) / 2, edge, edge);
    auto *pixmap = new QPixmap(QPixmap::fromImage(scaled));
    pixmap->setDevicePixelRatio(ratio);
    m_thumbnails.insert(key, pixmap);
    return *pixmap;
}

void SidebarRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    const QPalette &palette = option.palette;
    const bool selected = option.state & QStyle::State_Selected;
    const bool active = option.state & QStyle::State_Active;
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRectF row = QRectF(option.rect).adjusted(listInset, 1, -listInset, -1);
    if (selected) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(active ? palette.color(QPalette::Highlight)
                                 : withOpacity(palette.color(QPalette::Mid), 0.45));
        painter->drawRoundedRect(row, selectionRadius, selectionRadius);
    } else if (option.state & QStyle::State_MouseOver) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(withOpacity(palette.color(QPalette::Mid), 0.18));
        painter->drawRoundedRect(row, selectionRadius, selectionRadius);
    }
    const QColor primary = selected && active ? palette.color(QPalette::HighlightedText)
                                              : palette.color(QPalette::WindowText);
    const QColor secondary = withOpacity(primary, 0.6);

    const QRect content = contentRect(option.rect);
    const QRect thumbnailRect(content.left(), content.center().y() - thumbnailEdge / 2 + 1,
                              thumbnailEdge, thumbnailEdge);
    QPainterPath frame;
    frame.addRoundedRect(QRectF(thumbnailRect), thumbnailRadius, thumbnailRadius);
    const QVariant thumbnail = index.data(SidebarModel::ThumbnailRole);
    if (thumbnail.isValid()) {
        painter->save();
        painter->setClipPath(frame);
        painter->drawPixmap(thumbnailRect.topLeft(),
                            thumbnailPixmap(thumbnail.value<QImage>(), ratio));
        painter->restore();
        painter->setPen(QPen(withOpacity(palette.color(QPalette::WindowText), 0.18), 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawPath(frame);
    } else {
        const int symbol = 20;
        painter->drawPixmap(thumbnailRect.center().x() - symbol / 2 + 1,
                            thumbnailRect.center().y() - symbol / 2 + 1,
                            symbolPixmap(QStringLiteral("doc"), symbol, secondary, ratio));
    }

    if (index.data(SidebarModel::ModifiedRole).toBool()) {
        // Unsaved edits: a dot on the thumbnail's corner, as on a document
        // tab, drawn over a ring of the row's colour so it reads on any picture.
        constexpr qreal dot = 9;
        const QRectF mark(thumbnailRect.right() - dot + 2, thumbnailRect.top() - 2, dot, dot);
        painter->setPen(QPen(selected && active ? palette.color(QPalette::Highlight)
                                                : palette.color(QPalette::Base),
                             1.5));
        painter->setBrush(selected && active ? palette.color(QPalette::HighlightedText)
                                             : palette.color(QPalette::Highlight));
        painter->drawEllipse(mark);
    }

    if (index.data(SidebarModel::PrivacyRole).toBool()) {
        // Something in the file tells where, when, who or with what: a
        // small warning badge on the thumbnail's lower corner, ringed like
        // the edits' dot.
        constexpr qreal badge = 11;
        const QRectF mark(thumbnailRect.right() - badge + 3, thumbnailRect.bottom() - badge + 3,
                          badge, badge);
        painter->setPen(QPen(selected && active ? palette.color(QPalette::Highlight)
                                                : palette.color(QPalette::Base),
                             1.5));
        painter->setBrush(QColor(230, 140, 20));
        painter->drawEllipse(mark);
        QFont bang = SheetStyle::caption(option.font);
        bang.setBold(true);
        bang.setPixelSize(9);
        painter->setFont(bang);
        painter->setPen(Qt::white);
        painter->drawText(mark, Qt::AlignCenter, QStringLiteral("!"));
    }

    const QRect removeRect = removeButtonRect(option.rect);
    const bool hovered = option.state & QStyle::State_MouseOver;
    painter->drawPixmap(removeRect.topLeft(),
                        symbolPixmap(QStringLiteral("xmark.circle.fill"), removeButtonSize,
                                     hovered ? primary : secondary, ratio));

    const QFont nameFont = SheetStyle::headline(option.font);
    const QFont typeFont = SheetStyle::caption(option.font);
    const QFontMetrics nameMetrics(nameFont);
    const QFontMetrics typeMetrics(typeFont);
    const int textLeft = thumbnailRect.right() + 1 + spacing;
    const int textWidth = removeRect.left() - spacing - textLeft;
    const int textHeight = nameMetrics.height() + textSpacing + typeMetrics.height();
    const int top = content.center().y() - textHeight / 2 + 1;
    painter->setFont(nameFont);
    painter->setPen(primary);
    painter->drawText(QRect(textLeft, top, textWidth, nameMetrics.height()),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      nameMetrics.elidedText(index.data().toString(), Qt::ElideMiddle, textWidth));
    painter->setFont(typeFont);
    painter->setPen(secondary);
    // A name that repeats gets its folder beside the type; the folder's
    // end tells files apart, so its middle gives way.
    QString detail = index.data(SidebarModel::FileTypeRole).toString();
    const QString folder = index.data(SidebarModel::FolderRole).toString();
    if (!folder.isEmpty())
        detail = tr("%1 · %2", "file type and folder").arg(detail, folder);
    painter->drawText(
        QRect(textLeft, top + nameMetrics.height() + textSpacing, textWidth, typeMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        typeMetrics.elidedText(detail, Qt::ElideMiddle, textWidth));
    painter->restore();
}

bool SidebarRowDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                     const QStyleOptionViewItem &option, const QModelIndex &index)
{
    const auto *sidebar = qobject_cast<const SidebarModel *>(index.model());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton ||
            !removeButtonRect(option.rect).contains(mouse->position().toPoint()))
            break;
        // The press is swallowed so the row is not selected on its way out.
        if (event->type() == QEvent::MouseButtonRelease && sidebar && m_onRemove) {
            if (const MediaItem *item = sidebar->item(index)) {
                const MediaItem removed = *item;
                m_onRemove(removed);
            }
        }
        return true;
    }
    default:
        break;
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

bool SidebarRowDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                   const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() == QEvent::ToolTip && removeButtonRect(option.rect).contains(event->pos())) {
        QToolTip::showText(event->globalPos(), tr("Remove"), view->viewport(),
                           removeButtonRect(option.rect));
        return true;
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

} // namespace Metaloom
