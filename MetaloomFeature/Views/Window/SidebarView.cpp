#include "MetaloomFeature/Views/Window/SidebarView.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Views/Kit/PlainButtons.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "MetaloomFeature/Views/Window/SidebarContextMenu.h"
#include "MetaloomFeature/Views/Window/SidebarModel.h"
#include "MetaloomFeature/Views/Window/SidebarRowDelegate.h"
#include "StyleKit/Style.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSet>
#include <QStackedLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace Metaloom {

using StyleKit::withOpacity;

FileListView::FileListView(QWidget *parent) : QListView(parent)
{
    // Ctrl+click, Shift+click, Shift+arrows and Ctrl+A pick several files.
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // The list's own background is hidden; the sidebar's shows through.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    setAccessibleName(tr("Files"));
}

QModelIndexList FileListView::rowsNearView() const
{
    QModelIndexList rows;
    const int count = model() ? model()->rowCount() : 0;
    if (count == 0)
        return rows;
    // Rows are of one height; counted from the top row rather than asked
    // of the bottom one, which a layout still pending after an insert
    // leaves invalid (and would make every row "in view").
    const QRect area = viewport()->rect();
    const QModelIndex top = indexAt(QPoint(area.left() + 1, area.top() + 1));
    const int first = top.isValid() ? top.row() : 0;
    const int rowHeight = std::max(1, sizeHintForRow(first) + 2 * spacing());
    const int screenful = area.height() / rowHeight + 1;
    const int last = std::min(count - 1, first + screenful - 1);
    for (int row = std::max(0, first - screenful); row <= std::min(count - 1, last + screenful);
         ++row)
        rows.append(model()->index(row, 0));
    // The rows in view first, so their pictures are made before the others.
    std::stable_partition(rows.begin(), rows.end(), [&](const QModelIndex &index) {
        return index.row() >= first && index.row() <= last;
    });
    return rows;
}

void FileListView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    Q_EMIT viewMoved();
}

void FileListView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) &&
        event->modifiers() == Qt::NoModifier) {
        const QModelIndexList rows = selectionModel()->selectedRows();
        if (!rows.isEmpty()) {
            Q_EMIT removeRequested(rows);
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier &&
        selectionModel()->selectedRows().size() > 1) {
        // Back to the current file alone.
        selectionModel()->select(currentIndex(), QItemSelectionModel::ClearAndSelect);
        return;
    }
    QListView::keyPressEvent(event);
}

SidebarView::SidebarView(LibraryViewModel *viewModel, QWidget *parent)
    : QWidget(parent), m_viewModel(viewModel), m_model(new SidebarModel(this)),
      m_list(new FileListView(this))
{
    setFixedWidth(fixedWidth);
    m_list->setModel(m_model);
    m_list->setItemDelegate(new SidebarRowDelegate(
        [this](const MediaItem &item) {
            if (m_viewModel)
                m_viewModel->removeItem(item);
        },
        m_list));
    m_placeholder = makePlaceholder();

    auto *body = new QWidget(this);
    auto *stack = new QStackedLayout(body);
    stack->setStackingMode(QStackedLayout::StackAll);
    stack->addWidget(m_placeholder);
    stack->addWidget(m_list);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeHeader());
    layout->addWidget(body, 1);

    connect(m_list, &FileListView::removeRequested, this, &SidebarView::removeRows);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QWidget::customContextMenuRequested, this, &SidebarView::showContextMenu);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &SidebarView::selectionDidChange);
    connect(viewModel, &LibraryViewModel::itemsChanged, this, &SidebarView::showItems);
    connect(m_list, &FileListView::viewMoved, this, &SidebarView::reportRowsInView);
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &SidebarView::reportRowsInView);
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_model, signal, this, &SidebarView::reportRowsInView);
    connect(m_model, &QAbstractItemModel::modelReset, this, &SidebarView::reportRowsInView);
    connect(viewModel, &LibraryViewModel::itemThumbnailChanged, this, [this](const QUuid &id) {
        if (!m_viewModel)
            return;
        for (const MediaItem &item : m_viewModel->items()) {
            if (item.id == id)
                return m_model->itemDidChange(item);
        }
    });
    connect(viewModel, &LibraryViewModel::selectedItemIDChanged, this, &SidebarView::showSelection);
    connect(viewModel, &LibraryViewModel::selectedItemIDsChanged, this,
            &SidebarView::showSelection);
    connect(viewModel, &LibraryViewModel::modifiedItemIDsChanged, this, [this] {
        if (m_viewModel)
            m_model->setModifiedItems(m_viewModel->modifiedItemIDs());
    });
    connect(viewModel, &LibraryViewModel::privacyFlaggedItemIDsChanged, this, [this] {
        if (m_viewModel)
            m_model->setPrivacyFlaggedItems(m_viewModel->privacyFlaggedItemIDs());
    });
    showItems();
    m_model->setModifiedItems(viewModel->modifiedItemIDs());
    m_model->setPrivacyFlaggedItems(viewModel->privacyFlaggedItemIDs());
    showSelection();
}

QWidget *SidebarView::makeHeader()
{
    auto *header = new QWidget(this);
    header->setObjectName(QStringLiteral("sidebarHeader"));
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(12, 12, 6, 12);
    row->setSpacing(6);
    row->addWidget(SheetStyle::label(tr("Files"), SheetStyle::headline(font()),
                                     SheetStyle::Tone::Primary, header));
    row->addStretch();
    m_importButton = PlainButtons::iconButton(QStringLiteral("plus"), tr("Import files"), header);
    m_removeAllButton = PlainButtons::iconButton(
        QStringLiteral("xmark.circle"), tr("Remove all metadata from loaded files"), header);
    m_clearButton =
        PlainButtons::iconButton(QStringLiteral("trash"), tr("Clear all files"), header);
    for (QToolButton *button : {m_importButton, m_removeAllButton, m_clearButton})
        row->addWidget(button);

    connect(m_importButton, &QToolButton::clicked, this, &SidebarView::importRequested);
    connect(m_removeAllButton, &QToolButton::clicked, this, [this] {
        if (m_viewModel)
            m_viewModel->presentRemoveAllMetadataConfirmation();
    });
    connect(m_clearButton, &QToolButton::clicked, this, [this] {
        if (m_viewModel)
            m_viewModel->clearAllItems();
    });
    return header;
}

QWidget *SidebarView::makePlaceholder()
{
    auto *placeholder = new QWidget(this);
    placeholder->setAttribute(Qt::WA_TransparentForMouseEvents);
    auto *column = new QVBoxLayout(placeholder);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(8);
    column->addStretch();
    auto *symbol = new QLabel(placeholder);
    symbol->setPixmap(symbolPixmap(QStringLiteral("tray.and.arrow.down"), 42,
                                   SheetStyle::textColor(palette(), SheetStyle::Tone::Secondary),
                                   devicePixelRatioF()));
    symbol->setAlignment(Qt::AlignCenter);
    column->addWidget(symbol);
    auto *title = SheetStyle::label(tr("No files yet"), SheetStyle::headline(font()),
                                    SheetStyle::Tone::Primary, placeholder);
    auto *hint =
        SheetStyle::label(tr("Import media to see EXIF metadata."), SheetStyle::callout(font()),
                          SheetStyle::Tone::Tertiary, placeholder);
    for (QLabel *label : {title, hint}) {
        label->setAlignment(Qt::AlignCenter);
        column->addWidget(label);
    }
    column->addStretch();
    return placeholder;
}

void SidebarView::reportRowsInView()
{
    if (m_reportPending)
        return;
    m_reportPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_reportPending = false;
            if (!m_viewModel)
                return;
            QList<QUuid> ids;
            for (const QModelIndex &row : m_list->rowsNearView())
                ids.append(row.data(SidebarModel::ItemIDRole).toUuid());
            m_viewModel->setItemsInView(ids);
        },
        Qt::QueuedConnection);
}

void SidebarView::showItems()
{
    if (!m_viewModel)
        return;
    const bool hadRows = m_model->rowCount() > 0;
    {
        const QScopedValueRollback<bool> following(m_following, true);
        m_model->setItems(m_viewModel->items());
    }
    // Imported files land at the end, often below the visible rows: the
    // first of them is brought into view, so the import is seen to happen.
    // The batches of one large drop follow each other within a frame or two:
    // only the first scrolls, or the list would run down with the import.
    const bool recentlyScrolled =
        m_importScroll.isValid() && m_importScroll.elapsed() < importScrollPause.count();
    if (hadRows && !recentlyScrolled && m_model->firstInsertedRow() >= 0) {
        m_importScroll.start();
        m_list->scrollTo(m_model->index(m_model->firstInsertedRow()));
    }
    const bool empty = m_viewModel->items().isEmpty();
    m_placeholder->setVisible(empty);
    m_removeAllButton->setEnabled(!empty);
    m_clearButton->setEnabled(!empty);
}

void SidebarView::showSelection()
{
    if (!m_viewModel)
        return;
    const QScopedValueRollback<bool> following(m_following, true);
    const std::optional<QUuid> selected = m_viewModel->selectedItemID();
    const QModelIndex row = selected ? m_model->indexOf(*selected) : QModelIndex();
    if (!row.isValid()) {
        m_list->selectionModel()->clearSelection();
        return;
    }
    const QList<QUuid> &ids = m_viewModel->selectedItemIDs();
    if (ids.size() > 1) {
        QItemSelection rows;
        for (const QUuid &id : ids) {
            const QModelIndex other = m_model->indexOf(id);
            if (other.isValid())
                rows.select(other, other);
        }
        m_list->selectionModel()->select(rows, QItemSelectionModel::ClearAndSelect);
        m_list->selectionModel()->setCurrentIndex(row, QItemSelectionModel::NoUpdate);
    } else {
        m_list->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    }
    m_list->scrollTo(row);
}

void SidebarView::selectionDidChange()
{
    if (m_following || !m_viewModel)
        return;
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    if (rows.size() > 1) {
        QList<QUuid> ids;
        ids.reserve(rows.size());
        for (const QModelIndex &row : rows) {
            if (const MediaItem *item = m_model->item(row))
                ids.append(item->id);
        }
        const MediaItem *current = m_model->item(m_list->currentIndex());
        m_viewModel->setSelectedItemIDs(ids, current ? std::optional(current->id) : std::nullopt);
        return;
    }
    const MediaItem *item = rows.isEmpty() ? nullptr : m_model->item(rows.first());
    m_viewModel->setSelectedItemID(item ? std::optional(item->id) : std::nullopt);
}

void SidebarView::removeRows(const QModelIndexList &rows)
{
    // The items are collected first: each removal changes the rows.
    QList<MediaItem> items;
    for (const QModelIndex &row : rows) {
        if (const MediaItem *item = m_model->item(row))
            items.append(*item);
    }
    for (const MediaItem &item : std::as_const(items)) {
        if (m_viewModel)
            m_viewModel->removeItem(item);
    }
}

void SidebarView::showContextMenu(QPoint position)
{
    const MediaItem *item = m_model->item(m_list->indexAt(position));
    if (!item || !m_viewModel)
        return;
    makeSidebarContextMenu(*item, m_viewModel, m_list)
        ->popup(m_list->viewport()->mapToGlobal(position));
}

void SidebarView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor window = palette().color(QPalette::Window);
    painter.fillRect(rect(),
                     SheetStyle::isDark(palette()) ? window.lighter(112) : window.darker(104));
    const QWidget *header = findChild<QWidget *>(QStringLiteral("sidebarHeader"));
    if (header)
        painter.fillRect(header->geometry(), withOpacity(window, 0.5));
    painter.setPen(withOpacity(palette().color(QPalette::WindowText), 0.12));
    painter.drawLine(rect().topRight(), rect().bottomRight());
}

} // namespace Metaloom
