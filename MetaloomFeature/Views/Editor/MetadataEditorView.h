#pragma once

#include "MetaloomFeature/Library/Editor/EntryTreeModel.h"
#include "MetaloomFeature/Views/Editor/MetadataRowDelegate.h"

#include <QSet>
#include <QString>
#include <QTimer>
#include <QTreeView>

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

    EntryTreeModel *editorModel() const { return m_model; }
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

    EntryTreeModel *m_model;
    MetadataRowDelegate *m_delegate;
    QTimer m_visibleRowsCheck;
    // The keys of the rows in view at the last check.
    QSet<QString> m_visibleKeys;
    int m_laidOutWidth = -1;
};

} // namespace Metaloom
