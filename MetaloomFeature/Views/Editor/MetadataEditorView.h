#pragma once

#include "MetaloomFeature/Views/Editor/MetadataEditorModel.h"
#include "MetaloomFeature/Views/Editor/MetadataRowDelegate.h"

#include <QSet>
#include <QTimer>
#include <QTreeView>
#include <QUuid>

namespace Metaloom {

class LibraryViewModel;

// The selected file's metadata as a scrolling list of sections, one per tag
// group, each with one editable row per tag. The row in focus edits its
// value in place; Up and Down walk the rows, Tab moves to the next one.
// Every edit is handed on at once. Rows that come into view ask for their
// tag's permitted values, so a long list never looks them all up.
class MetadataEditorView : public QTreeView {
    Q_OBJECT

public:
    struct Callbacks {
        // The permitted values known for a tag key.
        MetadataEditorModel::OptionsLookup options;
        // A row came into view.
        std::function<void(const MetadataEntry &entry)> rowShown;
        MetadataEditorModel::ValueChange onValueChange;
        MetadataEditorModel::ItemsChange onItemsChange;
        MetadataRowDelegate::FavoriteToggle onToggleFavorite;
    };

    explicit MetadataEditorView(Callbacks callbacks, QWidget *parent = nullptr);

    // Bound to a library: its filtered entries, its option lists and
    // lookups, `update` for edits and `toggleFavorite` for the stars.
    static MetadataEditorView *forLibrary(LibraryViewModel *viewModel, QWidget *parent = nullptr);

    void setEntries(const QList<MetadataEntry> &entries);
    void optionsDidChange(const QString &rawKey);

    MetadataEditorModel *editorModel() const { return m_model; }
    MetadataRowDelegate *rowDelegate() const { return m_delegate; }
    // The editor open on the row in focus, if any.
    QWidget *activeEditor() const;

protected:
    // The editor fills whatever room the window gives it; measuring every
    // row of a long list for a size hint would slow each layout of the window.
    QSize viewportSizeHint() const override { return {400, 300}; }
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                     const QList<int> &roles = QList<int>()) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void expandSections(int first, int last);
    void scheduleVisibleRowsCheck();
    void announceVisibleRows();
    void matchEditorToRow(const QModelIndex &index);

    Callbacks m_callbacks;
    MetadataEditorModel *m_model;
    MetadataRowDelegate *m_delegate;
    QTimer m_visibleRowsCheck;
    QSet<QUuid> m_visibleEntries;
    int m_laidOutWidth = -1;
};

} // namespace Metaloom
