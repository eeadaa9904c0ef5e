#pragma once

#include <QStyledItemDelegate>

namespace Metaloom {

// Draws one pinnable key as a check box beside two lines, the label above
// the raw key in small faint type. A click anywhere on the row, or Space,
// switches the check box.
class PinnedFieldDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;

private:
    QRect checkBoxRect(const QStyleOptionViewItem &option) const;
};

} // namespace Metaloom
