#pragma once

#include "MetaloomFeature/Library/Editor/EntryTreeModel.h"
#include "MetaloomFeature/Views/Editor/MetadataRowDelegate.h"

#include <QSet>
#include <QString>
#include <QTimer>

#include <QTreeView>
#include <optional>

namespace Metaloom {

// The selected file's metadata as a scrolling list of sections, one per tag
// group, each with one editable row per tag. The row in focus edits its
// value in place; Up and Down walk the rows, Tab moves to the next one.
// Every edit is handed on at once. Rows that come into view are told to the
// model (which has their tag's permitted values looked up), so a long list
// never looks them all up.
class MetadataEditorView : public QTreeView {
    Q_OBJECT

public:
    // The model stays its owner's (the library's); it must outlive this view
    // or be destroyed with it.
    explicit MetadataEditorView(EntryTreeModel *model, QWidget *parent = nullptr);
    using QTreeView::edit;

    EntryTreeModel *editorModel() const { return m_model; }
    MetadataRowDelegate *rowDelegate() const { return m_delegate; }
    // The editor open on the row in focus, if any.
    QWidget *activeEditor() const;

    // Cards (the default) or compact rows; the view starts with the look
    // stored in the preferences and follows every change of it.
    bool isCompact() const { return m_delegate->look().compact; }
    void setCompact(bool compact);
    // The width of the compact rows' name column; the line between the
    // columns can be dragged too.
    int nameColumnWidth() const { return m_delegate->look().nameColumnWidth; }
    void setNameColumnWidth(int width);

    // Groups fold and unfold by a click on their header, or Left and Right
    // while the header is current; folded groups are remembered by name.
    bool isGroupFolded(const QString &group) const { return m_foldedGroups.contains(group); }
    void setGroupFolded(const QString &group, bool folded);
    void expandAllGroups();
    void collapseAllGroups();

    // The filter the rows are shown for: a filter that leaves no row says so.
    void setSearchText(const QString &text);
    // What the empty list says, or nothing while it shows rows.
    QString emptyListText() const;

    // The value of the current tag row as text (a list's items one per
    // line), or nothing when no tag row is current.
    std::optional<QString> currentValueText() const;
    // The key of the current tag row, or nothing.
    QString currentKey() const;

    // Room kept free below the last row (for a banner laid over the list).
    void setBottomInset(int height);

Q_SIGNALS:
    // A tag row was right-clicked (or the menu key pressed on it).
    void contextMenuRequested(const QString &key, const QPoint &globalPosition);

protected:
    // The editor fills whatever room the window gives it; measuring every
    // row of a long list for a size hint would slow each layout of the window.
    QSize viewportSizeHint() const override { return {400, 300}; }
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void updateGeometries() override;

private:
    void expandSections(int first, int last);
    void applyLook(const EntryCardLayout::Look &look);
    void refreshRowHeight(const QModelIndex &index);
    void toggleSection(const QModelIndex &index);
    void storeFoldedGroups();
    bool isOnColumnDivider(const QPoint &position) const;
    void scheduleVisibleRowsCheck();
    void announceVisibleRows();
    void matchEditorToRow(const QModelIndex &index);
    void openEditorAfterCheck(const QModelIndex &index);

    EntryTreeModel *m_model;
    MetadataRowDelegate *m_delegate;
    QTimer m_visibleRowsCheck;
    // The keys of the rows in view at the last check.
    QSet<QString> m_visibleKeys;
    int m_laidOutWidth = -1;
    QSet<QString> m_foldedGroups;
    QString m_searchText;
    bool m_draggingDivider = false;
    // The row whose editor was asked for while its tag was being checked.
    QPersistentModelIndex m_awaitingCheck;
    int m_bottomInset = 0;
    // The row whose editor was opened last.
    QPersistentModelIndex m_editedRow;
};

} // namespace Metaloom
