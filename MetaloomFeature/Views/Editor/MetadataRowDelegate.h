#pragma once

#include "MetaloomFeature/Views/Editor/EntryCard.h"
#include "MetaloomFeature/Views/Editor/EntryCardLayout.h"

#include <QStyledItemDelegate>

#include <optional>

namespace Metaloom {

// Paints the metadata editor's rows (section headers and entries with their
// name, badge, star and value box) and edits the value of the row in focus:
// a text editor, or a choice list for a writable tag with permitted values.
// Every change goes to the model at once; the star toggles the favorite
// (the model's FavoriteRole). What a row shows is read from the model's
// roles alone (EntryCard).
class MetadataRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit MetadataRowDelegate(QObject *parent = nullptr);

    // Whether an editor made here is the choice list.
    static bool isChoiceEditor(const QWidget *editor);
    // The placeholder of a row whose selected files hold differing values.
    static QString mixedValuesText();

    // Cards or compact lines; the view relays its rows after a change.
    const EntryCardLayout::Look &look() const { return m_look; }
    void setLook(const EntryCardLayout::Look &look) { m_look = look; }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
                     const QModelIndex &index) override;
    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
                   const QModelIndex &index) override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    const EntryCardLayout::Fonts &fontsFor(const QFont &base) const;
    void paintSection(QPainter *painter, const QStyleOptionViewItem &option,
                      const QModelIndex &index) const;
    void paintEntry(QPainter *painter, const QStyleOptionViewItem &option, const EntryCard &card,
                    bool isCurrent, bool isEditing) const;
    void paintCompactLine(QPainter *painter, const QStyleOptionViewItem &option,
                          const EntryCardLayout::Geometry &geometry, bool isCurrent) const;
    void paintItems(QPainter *painter, const QPalette &palette, const EntryCard &card,
                    const QRect &text) const;

    mutable std::optional<std::pair<QFont, EntryCardLayout::Fonts>> m_fonts;
    EntryCardLayout::Look m_look;
};

} // namespace Metaloom
