#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QScrollBar>

namespace Metaloom {

MetadataEditorView::MetadataEditorView(EntryTreeModel *model, QWidget *parent)
    : QTreeView(parent), m_model(model), m_delegate(new MetadataRowDelegate(this))
{
    setModel(m_model);
    setItemDelegate(m_delegate);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setIndentation(0);
    setUniformRowHeights(false);
    setAllColumnsShowFocus(true);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setSingleStep(24);
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked |
                    QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Window);
    setAccessibleName(tr("Metadata"));

    m_visibleRowsCheck.setSingleShot(true);
    m_visibleRowsCheck.setInterval(0);
    connect(&m_visibleRowsCheck, &QTimer::timeout, this, &MetadataEditorView::announceVisibleRows);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            &MetadataEditorView::scheduleVisibleRowsCheck);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        // Another file: its rows ask afresh, even under keys shown before.
        m_visibleKeys.clear();
        expandAll();
        scheduleVisibleRowsCheck();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &parent, int first, int last) {
                if (!parent.isValid())
                    expandSections(first, last);
                scheduleVisibleRowsCheck();
            });
    connect(m_model, &QAbstractItemModel::rowsRemoved, this,
            &MetadataEditorView::scheduleVisibleRowsCheck);
    // The model may hold a file's entries already.
    expandAll();
}

QWidget *MetadataEditorView::activeEditor() const
{
    return indexWidget(currentIndex());
}

void MetadataEditorView::expandSections(int first, int last)
{
    for (int row = first; row <= last; ++row)
        setExpanded(m_model->index(row, 0), true);
}

void MetadataEditorView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight,
                                     const QList<int> &roles)
{
    QTreeView::dataChanged(topLeft, bottomRight, roles);
    // A value that gained or lost a line changes its row's height; the open
    // editor keeps to its row.
    updateEditorGeometries();
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.parent() == topLeft.parent() &&
        current.row() >= topLeft.row() && current.row() <= bottomRight.row())
        matchEditorToRow(current);
}

void MetadataEditorView::matchEditorToRow(const QModelIndex &index)
{
    // Permitted values that arrive while the row is being edited turn its
    // text editor into a choice list (and back, should a tag lose them).
    QWidget *editor = indexWidget(index);
    if (!editor)
        return;
    const bool wantsChoice = index.data(EntryTreeModel::ShowsPickerRole).toBool();
    if (MetadataRowDelegate::isChoiceEditor(editor) == wantsChoice)
        return;
    const bool hadFocus = editor->hasFocus();
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (edit(index, QAbstractItemView::AllEditTriggers, nullptr) && !hadFocus)
        setFocus();
}

void MetadataEditorView::resizeEvent(QResizeEvent *event)
{
    QTreeView::resizeEvent(event);
    // Values wrap to the width, so rows change height with it.
    if (event->size().width() != m_laidOutWidth) {
        m_laidOutWidth = event->size().width();
        scheduleDelayedItemsLayout();
    }
    scheduleVisibleRowsCheck();
}

void MetadataEditorView::showEvent(QShowEvent *event)
{
    QTreeView::showEvent(event);
    scheduleVisibleRowsCheck();
}

void MetadataEditorView::scheduleVisibleRowsCheck()
{
    m_visibleRowsCheck.start();
}

void MetadataEditorView::announceVisibleRows()
{
    QSet<QString> visible;
    if (isVisible()) {
        const int bottom = viewport()->height();
        for (QModelIndex index = indexAt(QPoint(1, 1)); index.isValid();
             index = indexBelow(index)) {
            if (visualRect(index).top() >= bottom)
                break;
            if (index.data(EntryTreeModel::IsSectionRole).toBool())
                continue;
            const QString key = index.data(EntryTreeModel::RawKeyRole).toString();
            visible.insert(key);
            if (!m_visibleKeys.contains(key))
                m_model->rowCameIntoView(index);
        }
    }
    m_visibleKeys = std::move(visible);
}

} // namespace Metaloom
