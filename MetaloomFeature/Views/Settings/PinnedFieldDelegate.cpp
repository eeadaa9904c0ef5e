#include "MetaloomFeature/Views/Settings/PinnedFieldDelegate.h"

#include "MetaloomFeature/Library/FieldSettings/PinnableKeysModel.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace Metaloom {

namespace {

constexpr int horizontalPadding = 4;
constexpr int verticalPadding = 4;
constexpr int checkSpacing = 8;
constexpr int lineSpacing = 1;

const QWidget *widgetOf(const QStyleOptionViewItem &option)
{
    return option.widget;
}

QStyle *styleOf(const QStyleOptionViewItem &option)
{
    return option.widget ? option.widget->style() : QApplication::style();
}

} // namespace

QRect PinnedFieldDelegate::checkBoxRect(const QStyleOptionViewItem &option) const
{
    QStyle *style = styleOf(option);
    const int width = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, widgetOf(option));
    const int height = style->pixelMetric(QStyle::PM_IndicatorHeight, &option, widgetOf(option));
    return {option.rect.left() + horizontalPadding, option.rect.center().y() - height / 2, width,
            height};
}

void PinnedFieldDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    QStyle *style = styleOf(option);
    painter->save();
    if (item.state & QStyle::State_HasFocus) {
        QColor focus = SheetStyle::accent(item.palette);
        focus.setAlphaF(0.12);
        painter->fillRect(item.rect, focus);
    }

    QStyleOptionButton check;
    check.rect = checkBoxRect(item);
    check.state =
        QStyle::State_Enabled |
        (index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked ? QStyle::State_On
                                                                               : QStyle::State_Off);
    check.palette = item.palette;
    style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &check, painter, widgetOf(item));

    const int textLeft = check.rect.right() + checkSpacing;
    const QRect textArea(textLeft, item.rect.top() + verticalPadding,
                         item.rect.right() - textLeft - horizontalPadding,
                         item.rect.height() - 2 * verticalPadding);
    const QFontMetrics labelMetrics(item.font);
    const QFont keyFont = SheetStyle::caption2(item.font);
    const QFontMetrics keyMetrics(keyFont);
    painter->setFont(item.font);
    painter->setPen(item.palette.color(QPalette::Text));
    const QRect labelRect(textArea.left(), textArea.top(), textArea.width(), labelMetrics.height());
    painter->drawText(labelRect, Qt::AlignLeft | Qt::AlignVCenter,
                      labelMetrics.elidedText(item.text, Qt::ElideRight, labelRect.width()));
    painter->setFont(keyFont);
    QColor faint = item.palette.color(QPalette::Text);
    faint.setAlphaF(0.45);
    painter->setPen(faint);
    const QRect keyRect(textArea.left(), labelRect.bottom() + 1 + lineSpacing, textArea.width(),
                        keyMetrics.height());
    painter->drawText(keyRect, Qt::AlignLeft | Qt::AlignVCenter,
                      keyMetrics.elidedText(index.data(PinnableKeysModel::RawKeyRole).toString(),
                                            Qt::ElideMiddle, keyRect.width()));
    painter->restore();
}

QSize PinnedFieldDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QFontMetrics labelMetrics(option.font);
    const QFontMetrics keyMetrics(SheetStyle::caption2(option.font));
    return {200, 2 * verticalPadding + labelMetrics.height() + lineSpacing + keyMetrics.height()};
}

bool PinnedFieldDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                      const QStyleOptionViewItem &option, const QModelIndex &index)
{
    bool toggles = false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        toggles =
            mouse->button() == Qt::LeftButton && option.rect.contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        return true; // the first click already switched it
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        toggles = key == Qt::Key_Space || key == Qt::Key_Select;
    }
    if (!toggles)
        return false;
    const bool checked = index.data(Qt::CheckStateRole).value<Qt::CheckState>() == Qt::Checked;
    return model->setData(index, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
}

} // namespace Metaloom
