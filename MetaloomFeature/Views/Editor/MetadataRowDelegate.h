#pragma once

#include "MetaloomFeature/Model/MetadataEntry.h"
#include "MetaloomFeature/Views/Editor/MetadataRow.h"

#include <QStyledItemDelegate>

#include <functional>
#include <optional>

namespace Metaloom {

class MetadataEditorModel;

// Paints the metadata editor's rows (section headers and entries with their
// name, badge, star and value box) and edits the value of the row in focus:
// a text editor, or a choice list for a writable tag with permitted values.
// Every change goes to the model at once; the star toggles the favorite.
class MetadataRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using FavoriteToggle = std::function<void(const MetadataEntry &entry)>;

    explicit MetadataRowDelegate(QObject *parent = nullptr);

    void setFavoriteToggle(FavoriteToggle toggle) { m_toggleFavorite = std::move(toggle); }

    // Whether an editor made here is the choice list.
    static bool isChoiceEditor(const QWidget *editor);

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
    const MetadataRow::Fonts &fontsFor(const QFont &base) const;
    void paintSection(QPainter *painter, const QStyleOptionViewItem &option,
                      const QModelIndex &index) const;
    void paintEntry(QPainter *painter, const QStyleOptionViewItem &option,
                    const MetadataEntry &entry, bool showsPicker, bool isCurrent,
                    bool isEditing) const;
    void paintItems(QPainter *painter, const QPalette &palette, const MetadataEntry &entry,
                    const QRect &text) const;

    FavoriteToggle m_toggleFavorite;
    mutable std::optional<std::pair<QFont, MetadataRow::Fonts>> m_fonts;
};

} // namespace Metaloom
