#include "MetaloomFeature/Views/Editor/MetadataRowDelegate.h"

#include "MetaloomFeature/Library/Editor/EntryTreeModel.h"
#include "MetaloomFeature/Views/Editor/MetadataValueEditors.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "StyleKit/Style.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextOption>
#include <QToolTip>
#include <QTreeView>

namespace Metaloom {

using StyleKit::withOpacity;
using Badge = EntryCardLayout::Badge;

namespace {

constexpr qreal cardRadius = 8;
constexpr qreal badgeRadius = 4;
constexpr qreal valueRadius = 6;

const QColor orange(0xF0, 0x8A, 0x00);
const QColor blue(0x1A, 0x73, 0xE8);
const QColor yellow(0xF5, 0xB8, 0x00);

// The row's width: the view's, since the rows span it.
int rowWidth(const QStyleOptionViewItem &option)
{
    if (const auto *view = qobject_cast<const QAbstractItemView *>(option.widget))
        return view->viewport()->width();
    return option.rect.width() > 0 ? option.rect.width() : 600;
}

struct BadgeColors {
    QColor text;
    QColor fill;
};

BadgeColors colorsOf(Badge::Kind kind, const QPalette &palette)
{
    switch (kind) {
    case Badge::Kind::Warning:
        return {orange, withOpacity(orange, 0.15)};
    case Badge::Kind::ReadOnly:
    case Badge::Kind::Checking:
        return {SheetStyle::textColor(palette, SheetStyle::Tone::Secondary),
                withOpacity(palette.color(QPalette::Mid), 0.3)};
    case Badge::Kind::Modified:
        return {blue, withOpacity(blue, 0.15)};
    }
    return {};
}

} // namespace

MetadataRowDelegate::MetadataRowDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

bool MetadataRowDelegate::isChoiceEditor(const QWidget *editor)
{
    return qobject_cast<const ValueChoiceEditor *>(editor) != nullptr;
}

const EntryCardLayout::Fonts &MetadataRowDelegate::fontsFor(const QFont &base) const
{
    if (!m_fonts || m_fonts->first != base)
        m_fonts.emplace(base, EntryCardLayout::Fonts(base));
    return m_fonts->second;
}

QSize MetadataRowDelegate::sizeHint(const QStyleOptionViewItem &option,
                                    const QModelIndex &index) const
{
    const EntryCardLayout::Fonts &fonts = fontsFor(option.font);
    const int width = rowWidth(option);
    if (m_look.compact) {
        // Every compact row is one line but the one being edited, which
        // opens to the lines of its value: the layout of a long list asks
        // one role of the other rows.
        if (EntryCard::isSection(index))
            return {width, EntryCardLayout::sectionRowHeight(fonts, m_look)};
        const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
        if (view && view->currentIndex() == index && view->indexWidget(index))
            return {width, EntryCardLayout::compactEditingRowHeight(EntryCard::at(index), fonts,
                                                                    width, m_look)};
        return {width, EntryCardLayout::compactRowHeight(fonts)};
    }
    const std::optional<EntryCard> card = EntryCard::sizingAt(index);
    if (!card)
        return {width, EntryCardLayout::sectionRowHeight(fonts)};
    return {width, EntryCardLayout::entryRowHeight(*card, fonts, width)};
}

void MetadataRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                                const QModelIndex &index) const
{
    if (EntryCard::isSection(index)) {
        paintSection(painter, option, index);
        return;
    }
    const auto *view = qobject_cast<const QAbstractItemView *>(option.widget);
    const bool isCurrent = view && view->currentIndex() == index;
    // An open editor shows the text itself; a list's bullets under it
    // would not line up with its lines.
    const bool isEditing = view && view->indexWidget(index);
    paintEntry(painter, option, EntryCard::at(index), isCurrent, isEditing);
}

void MetadataRowDelegate::paintSection(QPainter *painter, const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const
{
    painter->save();
    const auto *tree = qobject_cast<const QTreeView *>(option.widget);
    const bool folded = tree && !tree->isExpanded(index);
    const QColor ink =
        StyleKit::withOpacity(option.palette.color(QPalette::Active, QPalette::WindowText), 0.72);
    if (tree && tree->currentIndex() == index && tree->hasFocus()) {
        // The header in focus folds with Left and Right: it shows it has it.
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(withOpacity(SheetStyle::accent(option.palette), 0.15));
        painter->drawRoundedRect(QRectF(option.rect.adjusted(8, 2, -8, -1)), 4, 4);
    }
    // A chevron pointing down while open, to the right once folded.
    const QRect mark = EntryCardLayout::sectionFoldMarkRect(option.rect, m_look);
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QPixmap chevron =
        symbolPixmap(QStringLiteral("chevron.down"), mark.width(), withOpacity(ink, 0.8), ratio);
    painter->save();
    painter->translate(QRectF(mark).center());
    if (folded)
        painter->rotate(-90);
    painter->drawPixmap(QPointF(-mark.width() / 2.0, -mark.height() / 2.0), chevron);
    painter->restore();

    painter->setFont(fontsFor(option.font).section);
    // Sections are not selectable, so the view hands them the disabled
    // palette; their titles are read like any other text.
    painter->setPen(ink);
    // Shown exactly as stored: no upper-casing, no eliding of short names.
    const QRect title = EntryCardLayout::sectionTitleRect(option.rect, m_look);
    painter->drawText(
        title, Qt::AlignLeft | Qt::AlignBottom,
        painter->fontMetrics().elidedText(index.data().toString(), Qt::ElideRight, title.width()));
    painter->restore();
}

void MetadataRowDelegate::paintEntry(QPainter *painter, const QStyleOptionViewItem &option,
                                     const EntryCard &card, bool isCurrent, bool isEditing) const
{
    const bool picker = card.showsPicker;
    const QPalette &palette = option.palette;
    const EntryCardLayout::Fonts &fonts = fontsFor(option.font);
    const auto geometry = EntryCardLayout::Geometry::of(option.rect, fonts, card, m_look);
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);

    if (m_look.compact) {
        paintCompactLine(painter, option, geometry, isCurrent);
    } else {
        // The card, outlined in the accent colour while it has the focus.
        painter->setPen(isCurrent ? QPen(SheetStyle::accent(palette), 1.5)
                                  : QPen(withOpacity(palette.color(QPalette::Mid), 0.35), 0.8));
        painter->setBrush(withOpacity(palette.color(QPalette::Base), 0.75));
        painter->drawRoundedRect(QRectF(geometry.card).adjusted(0.5, 0.5, -0.5, -0.5), cardRadius,
                                 cardRadius);
    }

    painter->setFont(fonts.name);
    painter->setPen(palette.color(QPalette::Text));
    painter->drawText(
        geometry.name, Qt::AlignLeft | Qt::AlignVCenter,
        painter->fontMetrics().elidedText(card.name, Qt::ElideRight, geometry.name.width()));

    if (const auto badge = EntryCardLayout::badge(card); badge && !geometry.badge.isEmpty()) {
        const BadgeColors colors = colorsOf(badge->kind, palette);
        painter->setPen(Qt::NoPen);
        painter->setBrush(colors.fill);
        painter->drawRoundedRect(QRectF(geometry.badge), badgeRadius, badgeRadius);
        painter->setFont(fonts.badge);
        painter->setPen(colors.text);
        const QRect text = geometry.badge.adjusted(6, 0, -6, 0);
        painter->drawText(
            text, Qt::AlignCenter,
            painter->fontMetrics().elidedText(badge->text, Qt::ElideRight, text.width()));
    }

    const QColor starColor =
        card.isFavorite ? yellow : withOpacity(palette.color(QPalette::Text), 0.5);
    painter->setOpacity(EntryCardLayout::isStarEnabled(card) ? 1.0 : 0.45);
    painter->drawPixmap(
        geometry.star.topLeft(),
        symbolPixmap(EntryCardLayout::starSymbol(card), geometry.star.width(), starColor, ratio));
    painter->setOpacity(1.0);

    // The value box: a field for text, a button-like box for a choice. A
    // compact line shows it only while the value is edited there.
    if (!m_look.compact || isEditing) {
        const QRectF box = QRectF(geometry.valueBox).adjusted(0.5, 0.5, -0.5, -0.5);
        painter->setPen(QPen(withOpacity(palette.color(QPalette::Mid), picker ? 0.6 : 0.3), 0.8));
        painter->setBrush(picker ? palette.color(QPalette::Button)
                                 : withOpacity(palette.color(QPalette::Window), 0.5));
        painter->drawRoundedRect(box, m_look.compact ? badgeRadius : valueRadius,
                                 m_look.compact ? badgeRadius : valueRadius);
    }
    // An open editor shows the value itself: text drawn under it would
    // show through between its lines.
    if (isEditing) {
        painter->restore();
        return;
    }

    painter->setFont(fonts.value);
    QRect text = geometry.valueText;
    if (picker) {
        const int chevron = 12;
        painter->drawPixmap(
            text.right() - chevron + 1, text.center().y() - chevron / 2 + 1,
            symbolPixmap(QStringLiteral("chevron.down"), chevron,
                         SheetStyle::textColor(palette, SheetStyle::Tone::Secondary), ratio));
        text.adjust(0, 0, -chevron - 6, 0);
    }
    if (m_look.compact) {
        painter->setPen(card.isWritable
                            ? palette.color(QPalette::Text)
                            : SheetStyle::textColor(palette, SheetStyle::Tone::Secondary));
        QString shown = EntryCardLayout::compactText(card);
        if (shown.isEmpty() && !picker) {
            painter->setPen(SheetStyle::textColor(palette, SheetStyle::Tone::Tertiary));
            shown = card.isMixed  ? mixedValuesText()
                    : card.isList ? EntryCardLayout::newItemPlaceholder()
                                  : tr("Value");
        }
        const QRect line(text.left(), text.top(), text.width(), painter->fontMetrics().height());
        painter->drawText(line, Qt::AlignLeft | Qt::AlignVCenter,
                          painter->fontMetrics().elidedText(shown, Qt::ElideRight, line.width()));
    } else if (card.isMixed && card.value.isEmpty() && card.items.isEmpty()) {
        painter->setPen(SheetStyle::textColor(palette, SheetStyle::Tone::Tertiary));
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop, mixedValuesText());
    } else if (card.isList) {
        paintItems(painter, palette, card, text);
    } else if (card.value.isEmpty() && !picker) {
        painter->setPen(SheetStyle::textColor(palette, SheetStyle::Tone::Tertiary));
        painter->drawText(text, Qt::AlignLeft | Qt::AlignTop, tr("Value"));
    } else {
        painter->setPen(card.isWritable && !card.isChecking
                            ? palette.color(QPalette::Text)
                            : SheetStyle::textColor(palette, SheetStyle::Tone::Secondary));
        QTextOption wrapping;
        wrapping.setWrapMode(picker ? QTextOption::NoWrap
                                    : QTextOption::WrapAtWordBoundaryOrAnywhere);
        painter->setClipRect(text);
        painter->drawText(QRectF(text), card.value, wrapping);
    }
    if (!card.presenceNote.isEmpty()) {
        // Right in the value box, where it does not hide the value's start.
        painter->setClipping(false);
        painter->setFont(fonts.badge);
        painter->setPen(SheetStyle::textColor(palette, SheetStyle::Tone::Tertiary));
        painter->drawText(text, Qt::AlignRight | Qt::AlignTop, card.presenceNote);
    }
    painter->restore();
}

QString MetadataRowDelegate::mixedValuesText()
{
    return tr("Mixed values");
}

void MetadataRowDelegate::paintCompactLine(QPainter *painter, const QStyleOptionViewItem &option,
                                           const EntryCardLayout::Geometry &geometry,
                                           bool isCurrent) const
{
    const QPalette &palette = option.palette;
    const QRectF line(geometry.card);
    if (isCurrent) {
        painter->setPen(Qt::NoPen);
        painter->setBrush(withOpacity(SheetStyle::accent(palette), 0.14));
        painter->drawRoundedRect(line.adjusted(0, 0.5, 0, -0.5), badgeRadius, badgeRadius);
    }
    // Hairlines between the rows and between the two columns, as a table.
    painter->setPen(QPen(withOpacity(palette.color(QPalette::Mid), 0.25), 1));
    painter->drawLine(QPointF(line.left(), line.bottom() + 0.5),
                      QPointF(line.right(), line.bottom() + 0.5));
    const qreal divider = EntryCardLayout::columnDividerX(option.rect, m_look) + 0.5;
    painter->drawLine(QPointF(divider, line.top()), QPointF(divider, line.bottom()));
}

void MetadataRowDelegate::paintItems(QPainter *painter, const QPalette &palette,
                                     const EntryCard &card, const QRect &text) const
{
    // The items, each after a bullet, then the line for the next item: the
    // row is sized to hold both (EntryCardLayout::entryRowHeight).
    painter->save();
    painter->setClipRect(text);
    qreal itemsHeight = 0;
    if (!card.items.isEmpty()) {
        painter->setPen(card.isWritable && !card.isChecking
                            ? palette.color(QPalette::Text)
                            : SheetStyle::textColor(palette, SheetStyle::Tone::Secondary));
        QTextOption wrapping;
        wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        const QString shown = EntryCardLayout::shownText(card);
        painter->drawText(QRectF(text), shown, wrapping);
        itemsHeight = EntryCardLayout::valueLineCount(shown, painter->font(), text.width()) *
                      painter->fontMetrics().lineSpacing();
    }
    if (EntryCardLayout::hasNewItemLine(card)) {
        painter->setPen(SheetStyle::textColor(palette, SheetStyle::Tone::Tertiary));
        painter->drawText(QRectF(text).adjusted(0, itemsHeight, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                          EntryCardLayout::newItemPlaceholder());
    }
    painter->restore();
}

QWidget *MetadataRowDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                           const QModelIndex &index) const
{
    if (EntryCard::isSection(index) || !index.data(EntryTreeModel::WritableRole).toBool() ||
        index.data(EntryTreeModel::CheckingRole).toBool())
        return nullptr;
    auto *self = const_cast<MetadataRowDelegate *>(this);
    auto endAndMove = [self](QWidget *editor, int delta) {
        Q_EMIT self->commitData(editor);
        Q_EMIT self->closeEditor(editor, delta > 0 ? QAbstractItemDelegate::EditNextItem
                                                   : QAbstractItemDelegate::EditPreviousItem);
    };
    if (index.data(EntryTreeModel::ShowsPickerRole).toBool()) {
        auto *choice = new ValueChoiceEditor(parent);
        choice->setFont(fontsFor(parent->font()).value);
        connect(choice, &ValueChoiceEditor::chosen, self,
                [self, choice] { Q_EMIT self->commitData(choice); });
        connect(choice, &ValueChoiceEditor::moveRequested, self,
                [choice, endAndMove](int delta) { endAndMove(choice, delta); });
        return choice;
    }
    auto *text = index.data(EntryTreeModel::IsListRole).toBool() ? new ValueListEditor(parent)
                                                                 : new ValueTextEditor(parent);
    text->setFont(fontsFor(parent->font()).value);
    connect(text, &ValueTextEditor::edited, self, [self, text] { Q_EMIT self->commitData(text); });
    connect(text, &ValueTextEditor::moveRequested, self,
            [text, endAndMove](int delta) { endAndMove(text, delta); });
    connect(text, &ValueTextEditor::finished, self, [self, text] {
        Q_EMIT self->commitData(text);
        Q_EMIT self->closeEditor(text, QAbstractItemDelegate::NoHint);
    });
    return text;
}

void MetadataRowDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *list = qobject_cast<ValueListEditor *>(editor)) {
        list->showItems(index.data(Qt::EditRole).toStringList());
        return;
    }
    const QString value = index.data(Qt::EditRole).toString();
    if (auto *choice = qobject_cast<ValueChoiceEditor *>(editor))
        choice->showChoices(index.data(EntryTreeModel::OptionsRole).toStringList(), value);
    else if (auto *text = qobject_cast<ValueTextEditor *>(editor))
        text->showValue(value);
}

void MetadataRowDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                       const QModelIndex &index) const
{
    if (auto *list = qobject_cast<ValueListEditor *>(editor)) {
        const QStringList items = list->items();
        if (items != index.data(Qt::EditRole).toStringList())
            model->setData(index, items, Qt::EditRole);
        return;
    }
    QString value;
    if (auto *choice = qobject_cast<ValueChoiceEditor *>(editor))
        value = choice->value();
    else if (auto *text = qobject_cast<ValueTextEditor *>(editor))
        value = text->text();
    else
        return;
    // Closing or leaving an editor commits too; only a real change is an edit.
    if (value != index.data(Qt::EditRole).toString())
        model->setData(index, value, Qt::EditRole);
}

void MetadataRowDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                               const QModelIndex &index) const
{
    if (EntryCard::isSection(index))
        return;
    const auto geometry = EntryCardLayout::Geometry::of(option.rect, fontsFor(option.font),
                                                        EntryCard::at(index), m_look);
    editor->setGeometry(isChoiceEditor(editor) ? geometry.valueBox : geometry.valueText);
}

bool MetadataRowDelegate::editorEvent(QEvent *event, QAbstractItemModel *model,
                                      const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() == QEvent::MouseButtonRelease && !EntryCard::isSection(index)) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const EntryCard card = EntryCard::at(index);
        const auto geometry =
            EntryCardLayout::Geometry::of(option.rect, fontsFor(option.font), card, m_look);
        if (mouse->button() == Qt::LeftButton &&
            geometry.starTarget.contains(mouse->position().toPoint())) {
            if (EntryCardLayout::isStarEnabled(card))
                model->setData(index, !card.isFavorite, EntryTreeModel::FavoriteRole);
            return true;
        }
    }
    return QStyledItemDelegate::editorEvent(event, model, option, index);
}

bool MetadataRowDelegate::helpEvent(QHelpEvent *event, QAbstractItemView *view,
                                    const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (EntryCard::isSection(index) || event->type() != QEvent::ToolTip)
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const EntryCard card = EntryCard::at(index);
    const auto geometry =
        EntryCardLayout::Geometry::of(option.rect, fontsFor(option.font), card, m_look);
    QString help;
    QRect area;
    if (geometry.starTarget.contains(event->pos())) {
        help = EntryCardLayout::starHelpText(card);
        area = geometry.starTarget;
    } else if (geometry.badge.contains(event->pos()) && card.warning) {
        help = *card.warning;
        area = geometry.badge;
    } else if (geometry.name.contains(event->pos())) {
        help = card.rawKey;
        area = geometry.name;
    } else if (geometry.valueBox.contains(event->pos()) && !card.mixedValues.isEmpty()) {
        help = card.mixedValues;
        area = geometry.valueBox;
    }
    if (help.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return false;
    }
    QToolTip::showText(event->globalPos(), help, view->viewport(), area);
    return true;
}

bool MetadataRowDelegate::eventFilter(QObject *object, QEvent *event)
{
    // Return belongs to the editors (it ends editing there, and opens the
    // choice list); the rest (Tab, Escape, leaving the editor) is standard.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return false;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

} // namespace Metaloom
