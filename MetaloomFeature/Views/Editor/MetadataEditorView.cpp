#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"

#include <QHeaderView>
#include <QResizeEvent>
#include <QScrollBar>

namespace Metaloom {

MetadataEditorView::MetadataEditorView(Callbacks callbacks, QWidget *parent)
    : QTreeView(parent), m_callbacks(std::move(callbacks)), m_model(new MetadataEditorModel(this)),
      m_delegate(new MetadataRowDelegate(this))
{
    m_model->setOptionsLookup(m_callbacks.options);
    m_model->setValueChangeHandler(m_callbacks.onValueChange);
    m_model->setItemsChangeHandler(m_callbacks.onItemsChange);
    m_delegate->setFavoriteToggle(m_callbacks.onToggleFavorite);

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
}

MetadataEditorView *MetadataEditorView::forLibrary(LibraryViewModel *viewModel, QWidget *parent)
{
    QPointer<LibraryViewModel> library = viewModel;
    Callbacks callbacks;
    callbacks.options = [library](const QString &rawKey) {
        std::optional<QList<EnumeratedOption>> options;
        if (library) {
            const auto &known = library->enumeratedOptions();
            if (const auto it = known.constFind(rawKey); it != known.cend())
                options = *it;
        }
        return options;
    };
    callbacks.rowShown = [library](const MetadataEntry &entry) {
        if (library)
            library->ensureOptionsLoaded(entry);
    };
    callbacks.onValueChange = [library](const MetadataEntry &entry, const QString &value) {
        if (library)
            library->update(entry, value);
    };
    callbacks.onItemsChange = [library](const MetadataEntry &entry, const QStringList &items) {
        if (library)
            library->updateItems(entry, items);
    };
    callbacks.onToggleFavorite = [library](const MetadataEntry &entry) {
        if (library)
            library->toggleFavorite(entry);
    };
    auto *view = new MetadataEditorView(std::move(callbacks), parent);
    view->setEntries(viewModel->filteredEntries());
    connect(viewModel, &LibraryViewModel::filteredEntriesChanged, view,
            [view, viewModel] { view->setEntries(viewModel->filteredEntries()); });
    connect(viewModel, &LibraryViewModel::optionsLoaded, view,
            &MetadataEditorView::optionsDidChange);
    return view;
}

void MetadataEditorView::setEntries(const QList<MetadataEntry> &entries)
{
    m_model->setEntries(entries);
}

void MetadataEditorView::optionsDidChange(const QString &rawKey)
{
    m_model->optionsDidChange(rawKey);
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
    const bool wantsChoice = index.data(MetadataEditorModel::ShowsPickerRole).toBool();
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
    QSet<QUuid> visible;
    if (isVisible()) {
        const int bottom = viewport()->height();
        for (QModelIndex index = indexAt(QPoint(1, 1)); index.isValid();
             index = indexBelow(index)) {
            if (visualRect(index).top() >= bottom)
                break;
            const MetadataEntry *entry = m_model->entry(index);
            if (!entry)
                continue;
            visible.insert(entry->id);
            if (!m_visibleEntries.contains(entry->id) && m_callbacks.rowShown)
                m_callbacks.rowShown(*entry);
        }
    }
    m_visibleEntries = std::move(visible);
}

} // namespace Metaloom
