#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"

#include "MetaloomFeature/Platform/NotificationCenter.h"
#include "MetaloomFeature/Views/Editor/EditorLook.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>

#include <cstdlib>

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
        expandSections(0, m_model->rowCount() - 1);
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
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        if (index.isValid() && !index.parent().isValid())
            toggleSection(index);
    });

    m_foldedGroups = EditorLook::foldedGroups();
    EntryCardLayout::Look look = m_delegate->look();
    look.compact = EditorLook::compactRows();
    // Not clamped yet: the view has no width of its own before it is shown,
    // and the layout keeps the value column wide enough anyway.
    if (const std::optional<int> width = EditorLook::nameColumnWidth())
        look.nameColumnWidth = *width;
    applyLook(look);
    NotificationCenter::defaultCenter()->addObserver(
        EditorLook::compactRowsChanged, this, [this] { setCompact(EditorLook::compactRows()); });
    // The model may hold a file's entries already.
    expandSections(0, m_model->rowCount() - 1);
}

QWidget *MetadataEditorView::activeEditor() const
{
    return indexWidget(currentIndex());
}

void MetadataEditorView::expandSections(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        const QModelIndex section = m_model->index(row, 0);
        setExpanded(section, !m_foldedGroups.contains(section.data().toString()));
    }
}

void MetadataEditorView::setCompact(bool compact)
{
    EntryCardLayout::Look look = m_delegate->look();
    look.compact = compact;
    applyLook(look);
}

void MetadataEditorView::setNameColumnWidth(int width)
{
    EntryCardLayout::Look look = m_delegate->look();
    look.nameColumnWidth = EntryCardLayout::clampedNameColumnWidth(width, viewport()->width());
    applyLook(look);
}

void MetadataEditorView::applyLook(const EntryCardLayout::Look &look)
{
    if (look == m_delegate->look())
        return;
    const bool relayout = look.compact != m_delegate->look().compact;
    m_delegate->setLook(look);
    if (relayout) {
        // Every row changes height; keep the current one in view.
        doItemsLayout();
        if (currentIndex().isValid())
            scrollTo(currentIndex());
        scheduleVisibleRowsCheck();
    } else {
        updateEditorGeometries();
        viewport()->update();
    }
}

void MetadataEditorView::refreshRowHeight(const QModelIndex &index)
{
    // A compact row opens to its value's lines while edited and closes to
    // one line after: the tree measures that one row again, as it does for
    // a changed row, rather than laying out the whole list.
    if (!isCompact() || !index.isValid())
        return;
    QTreeView::dataChanged(index, index, {});
    updateEditorGeometries();
}

bool MetadataEditorView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool opened = QTreeView::edit(index, trigger, event);
    // A row still being checked opens its editor once it is known to be
    // writable, as if it had just become current.
    const bool asked = trigger == AllEditTriggers || (editTriggers() & trigger);
    m_awaitingCheck = !opened && asked && index.data(EntryTreeModel::CheckingRole).toBool()
                          ? QPersistentModelIndex(index)
                          : QPersistentModelIndex();
    if (opened) {
        m_editedRow = index;
        refreshRowHeight(index);
    }
    return opened;
}

void MetadataEditorView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    // Called when the focus moves on too, with the next row current already.
    const QPersistentModelIndex edited = m_editedRow;
    QTreeView::closeEditor(editor, hint);
    if (edited.isValid() && !indexWidget(edited))
        refreshRowHeight(edited);
}

QModelIndex MetadataEditorView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // Tab and the editors' arrow keys walk from tag to tag past the group
    // headers; the list's own Up and Down stop on a header, where Left and
    // Right fold it.
    if (action != MoveNext && action != MovePrevious)
        return QTreeView::moveCursor(action, modifiers);
    const QModelIndex current = currentIndex();
    QModelIndex next = action == MoveNext ? indexBelow(current) : indexAbove(current);
    while (next.isValid() && !next.parent().isValid())
        next = action == MoveNext ? indexBelow(next) : indexAbove(next);
    return next.isValid() ? next : current;
}

void MetadataEditorView::toggleSection(const QModelIndex &index)
{
    setGroupFolded(index.data().toString(), isExpanded(index));
}

void MetadataEditorView::setGroupFolded(const QString &group, bool folded)
{
    if (folded == m_foldedGroups.contains(group))
        return;
    if (folded)
        m_foldedGroups.insert(group);
    else
        m_foldedGroups.remove(group);
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex section = m_model->index(row, 0);
        if (section.data().toString() == group) {
            // A folded group takes the focus from its rows to its header.
            if (folded && currentIndex().parent() == section)
                setCurrentIndex(section);
            setExpanded(section, !folded);
        }
    }
    storeFoldedGroups();
    scheduleVisibleRowsCheck();
}

void MetadataEditorView::expandAllGroups()
{
    m_foldedGroups.clear();
    expandSections(0, m_model->rowCount() - 1);
    storeFoldedGroups();
    scheduleVisibleRowsCheck();
}

void MetadataEditorView::collapseAllGroups()
{
    const QModelIndex current = currentIndex();
    if (current.parent().isValid())
        setCurrentIndex(current.parent());
    for (int row = 0; row < m_model->rowCount(); ++row)
        m_foldedGroups.insert(m_model->index(row, 0).data().toString());
    expandSections(0, m_model->rowCount() - 1);
    storeFoldedGroups();
    scheduleVisibleRowsCheck();
}

void MetadataEditorView::storeFoldedGroups()
{
    EditorLook::setFoldedGroups(m_foldedGroups);
}

void MetadataEditorView::setSearchText(const QString &text)
{
    if (m_searchText == text)
        return;
    m_searchText = text;
    viewport()->update();
}

QString MetadataEditorView::emptyListText() const
{
    if (m_model->rowCount() > 0 || m_searchText.trimmed().isEmpty())
        return {};
    return tr("No tags match “%1”.").arg(m_searchText.trimmed());
}

QString MetadataEditorView::currentKey() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !current.parent().isValid())
        return {};
    return current.data(EntryTreeModel::RawKeyRole).toString();
}

std::optional<QString> MetadataEditorView::currentValueText() const
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !current.parent().isValid())
        return std::nullopt;
    if (current.data(EntryTreeModel::IsListRole).toBool())
        return current.data(Qt::EditRole).toStringList().join(u'\n');
    return current.data(Qt::EditRole).toString();
}

void MetadataEditorView::setBottomInset(int height)
{
    m_bottomInset = std::max(0, height);
    updateGeometries();
}

void MetadataEditorView::updateGeometries()
{
    // The tree sets the viewport's margins for its header here; the room
    // kept at the bottom is added after it.
    QTreeView::updateGeometries();
    QMargins margins = viewportMargins();
    if (margins.bottom() != m_bottomInset) {
        margins.setBottom(m_bottomInset);
        setViewportMargins(margins);
    }
}

void MetadataEditorView::paintEvent(QPaintEvent *event)
{
    QTreeView::paintEvent(event);
    const QString empty = emptyListText();
    if (empty.isEmpty())
        return;
    QPainter painter(viewport());
    painter.setFont(SheetStyle::callout(font()));
    painter.setPen(SheetStyle::textColor(palette(), SheetStyle::Tone::Secondary));
    painter.drawText(viewport()->rect().adjusted(24, 24, -24, -24),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, empty);
}

void MetadataEditorView::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex current = currentIndex();
    if (event->key() == Qt::Key_Escape)
        m_awaitingCheck = QPersistentModelIndex();
    if (event->matches(QKeySequence::Copy)) {
        if (const auto value = currentValueText()) {
            QGuiApplication::clipboard()->setText(*value);
            return;
        }
    }
    if (current.isValid() && !current.parent().isValid() && event->modifiers() == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Left:
            setGroupFolded(current.data().toString(), true);
            return;
        case Qt::Key_Right:
            setGroupFolded(current.data().toString(), false);
            return;
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            toggleSection(current);
            return;
        default:
            break;
        }
    }
    QTreeView::keyPressEvent(event);
}

bool MetadataEditorView::isOnColumnDivider(const QPoint &position) const
{
    if (!isCompact())
        return false;
    const QModelIndex index = indexAt(position);
    if (!index.isValid() || !index.parent().isValid())
        return false;
    const int divider = EntryCardLayout::columnDividerX(visualRect(index), m_delegate->look());
    return std::abs(position.x() - divider) <= 3;
}

void MetadataEditorView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && isOnColumnDivider(event->position().toPoint())) {
        m_draggingDivider = true;
        return;
    }
    QTreeView::mousePressEvent(event);
}

void MetadataEditorView::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    if (m_draggingDivider) {
        setNameColumnWidth(
            EntryCardLayout::nameColumnWidthAt(QRect(0, 0, viewport()->width(), 1), position.x()));
        return;
    }
    if (isOnColumnDivider(position))
        viewport()->setCursor(Qt::SplitHCursor);
    else
        viewport()->unsetCursor();
    QTreeView::mouseMoveEvent(event);
}

void MetadataEditorView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_draggingDivider) {
        m_draggingDivider = false;
        EditorLook::setNameColumnWidth(nameColumnWidth());
        return;
    }
    QTreeView::mouseReleaseEvent(event);
}

void MetadataEditorView::contextMenuEvent(QContextMenuEvent *event)
{
    QModelIndex index =
        event->reason() == QContextMenuEvent::Mouse ? indexAt(event->pos()) : currentIndex();
    if (!index.isValid() || !index.parent().isValid()) {
        event->ignore();
        return;
    }
    if (event->reason() == QContextMenuEvent::Mouse)
        setCurrentIndex(index);
    const QPoint at = event->reason() == QContextMenuEvent::Mouse
                          ? event->globalPos()
                          : viewport()->mapToGlobal(visualRect(index).bottomLeft());
    Q_EMIT contextMenuRequested(index.data(EntryTreeModel::RawKeyRole).toString(), at);
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
        current.row() >= topLeft.row() && current.row() <= bottomRight.row()) {
        if (current == m_awaitingCheck)
            openEditorAfterCheck(current);
        else
            matchEditorToRow(current);
    }
}

void MetadataEditorView::openEditorAfterCheck(const QModelIndex &index)
{
    if (index.data(EntryTreeModel::CheckingRole).toBool())
        return;
    m_awaitingCheck = QPersistentModelIndex();
    if (!indexWidget(index))
        edit(index, AllEditTriggers, nullptr);
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
