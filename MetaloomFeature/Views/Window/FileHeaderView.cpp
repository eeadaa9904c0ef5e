#include "MetaloomFeature/Views/Window/FileHeaderView.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Views/Kit/PlainButtons.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SoftShadow.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "MetaloomFeature/Views/Window/DetachedTask.h"
#include "StyleKit/Style.h"

#include "MetaloomFeature/Platform/NotificationCenter.h"
#include "MetaloomFeature/Views/Editor/EditorLook.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QVBoxLayout>

namespace Metaloom {

using StyleKit::withOpacity;

namespace {

constexpr qreal previewRadius = 12;
constexpr int placeholderHeight = 120;
// The compact header's preview, about as tall as its buttons.
constexpr int compactEdge = 24;
// Room for the preview's shadow.
constexpr int shadowMargin = 6;

// Selectable text that never widens the window: a long name or path
// scrolls inside its field and copies whole.
QLineEdit *selectableText(const QFont &font, SheetStyle::Tone tone, QWidget *parent)
{
    auto *field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setFont(font);
    field->setFocusPolicy(Qt::ClickFocus);
    field->setAcceptDrops(false);
    field->setMinimumWidth(0);
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, SheetStyle::textColor(palette, tone));
    field->setPalette(palette);
    field->setTextMargins(-2, 0, 0, 0);
    return field;
}

} // namespace

FilePreview::FilePreview(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void FilePreview::setEdge(int edge)
{
    m_edge = edge;
    updateGeometry();
    update();
}

void FilePreview::setThumbnail(const std::optional<QImage> &thumbnail)
{
    m_thumbnail = thumbnail.value_or(QImage());
    updateGeometry();
    update();
}

void FilePreview::setStackedThumbnails(const QList<QImage> &thumbnails)
{
    // Each one a step right and down of the one behind it, the first on top.
    constexpr int step = 14;
    const int count = int(std::min<qsizetype>(thumbnails.size(), 3));
    const int edge = maximumEdge - step * (count - 1);
    QImage stack(QSize(maximumEdge, maximumEdge) * devicePixelRatioF(),
                 QImage::Format_ARGB32_Premultiplied);
    stack.setDevicePixelRatio(devicePixelRatioF());
    stack.fill(Qt::transparent);
    QPainter painter(&stack);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int at = count - 1; at >= 0; --at) {
        const QImage &image = thumbnails.at(at);
        QSizeF size = image.isNull() ? QSizeF(edge, edge) : image.deviceIndependentSize();
        size = size.scaled(QSizeF(edge, edge), Qt::KeepAspectRatio);
        const QRectF place(QPointF(step * (count - 1 - at), step * (count - 1 - at)), size);
        QPainterPath rounded;
        rounded.addRoundedRect(place, 8, 8);
        painter.fillPath(rounded, palette().color(QPalette::Mid));
        if (!image.isNull()) {
            painter.save();
            painter.setClipPath(rounded);
            painter.drawImage(place, image);
            painter.restore();
        }
        painter.setPen(QPen(palette().color(QPalette::Base), 2));
        painter.drawPath(rounded);
    }
    painter.end();
    setThumbnail(count > 0 ? std::optional(stack) : std::nullopt);
}

QSize FilePreview::sizeHint() const
{
    const int height = m_edge == maximumEdge ? placeholderHeight : m_edge;
    if (m_thumbnail.isNull())
        return QSize(m_edge, height) + QSize(2 * shadowMargin, 2 * shadowMargin);
    // Shown at its own size, never enlarged past the frame.
    QSizeF size = m_thumbnail.deviceIndependentSize();
    size = size.scaled(QSizeF(m_edge, m_edge), Qt::KeepAspectRatio);
    return size.toSize() + QSize(2 * shadowMargin, 2 * shadowMargin);
}

void FilePreview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF frame =
        QRectF(rect()).adjusted(shadowMargin, shadowMargin - 2, -shadowMargin, -shadowMargin - 2);

    const qreal radius = std::min(previewRadius, m_edge / 5.0);
    if (m_thumbnail.isNull()) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(withOpacity(palette().color(QPalette::Mid), 0.18));
        painter.drawRoundedRect(frame, radius, radius);
        const int symbol = std::min(40, m_edge * 2 / 3);
        painter.drawPixmap(
            int(frame.center().x()) - symbol / 2, int(frame.center().y()) - symbol / 2,
            symbolPixmap(QStringLiteral("photo"), symbol,
                         SheetStyle::textColor(palette(), SheetStyle::Tone::Secondary),
                         devicePixelRatioF()));
        return;
    }

    // A soft black shadow at a third of full strength, fading outwards.
    paintSoftShadow(painter, frame, radius, shadowMargin, 0.33 / 3, 2);
    QPainterPath clip;
    clip.addRoundedRect(frame, radius, radius);
    painter.setClipPath(clip);
    painter.drawImage(frame, m_thumbnail);
}

FileHeaderView::FileHeaderView(LibraryViewModel *viewModel, QWidget *parent)
    : QWidget(parent), m_viewModel(viewModel), m_preview(new FilePreview(this))
{
    m_titleFont = SheetStyle::title2(font(), QFont::DemiBold);
    m_name = selectableText(m_titleFont, SheetStyle::Tone::Primary, this);
    m_name->setAccessibleName(tr("File name"));
    m_path = selectableText(SheetStyle::footnote(SheetStyle::monospaced(font())),
                            SheetStyle::Tone::Secondary, this);
    m_path->setAccessibleName(tr("File path"));

    m_save = PlainButtons::labeledButton(QStringLiteral("square.and.arrow.down"),
                                         tr("Save Changes"), this);
    m_revert =
        PlainButtons::labeledButton(QStringLiteral("arrow.uturn.backward"), tr("Revert"), this);
    m_removeMetadata =
        PlainButtons::labeledButton(QStringLiteral("xmark.circle"), tr("Remove Metadata"), this);
    m_removeMetadata->setToolTip(tr("Remove metadata from the selected file"));
    m_reload = PlainButtons::labeledButton(QStringLiteral("arrow.clockwise"), tr("Reload"), this);
    for (QPushButton *button : {m_save, m_revert, m_removeMetadata, m_reload}) {
        button->setAccessibleName(button->text());
        button->setProperty("wideToolTip", button->toolTip());
    }

    m_buttons = new QWidget(this);
    auto *buttons = new QHBoxLayout(m_buttons);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(12);
    for (QPushButton *button : {m_save, m_revert, m_removeMetadata, m_reload})
        buttons->addWidget(button);
    buttons->addStretch();

    // Both arrangements share one grid; setCompact moves the parts.
    m_grid = new QGridLayout;
    m_grid->setHorizontalSpacing(20 - shadowMargin);
    m_grid->setVerticalSpacing(8);

    m_formatNote = SheetStyle::label(QString(), SheetStyle::footnote(font()),
                                     SheetStyle::Tone::Secondary, this);
    m_formatNote->setWordWrap(true);
    m_formatNote->setTextFormat(Qt::PlainText);
    m_formatNote->hide();

    auto *column = new QVBoxLayout(this);
    column->setSpacing(8);
    column->addLayout(m_grid);
    column->addWidget(m_formatNote);
    m_compact = !EditorLook::compactRows();
    setCompact(!m_compact);
    NotificationCenter::defaultCenter()->addObserver(
        EditorLook::compactRowsChanged, this, [this] { setCompact(EditorLook::compactRows()); });

    connect(m_save, &QPushButton::clicked, this, [this] {
        if (m_viewModel)
            detach(m_viewModel->saveChanges());
    });
    connect(m_revert, &QPushButton::clicked, this, [this] {
        if (m_viewModel)
            m_viewModel->resetChanges();
    });
    connect(m_removeMetadata, &QPushButton::clicked, this, [this] {
        if (m_viewModel)
            m_viewModel->presentRemoveMetadataConfirmation();
    });
    connect(m_reload, &QPushButton::clicked, this, [this] {
        if (m_viewModel)
            detach(m_viewModel->reloadMetadata());
    });

    connect(viewModel, &LibraryViewModel::selectedItemChanged, this,
            &FileHeaderView::showSelectedItem);
    connect(viewModel, &LibraryViewModel::selectedItemIDChanged, this,
            &FileHeaderView::showSelectedItem);
    connect(viewModel, &LibraryViewModel::selectedItemIDsChanged, this,
            &FileHeaderView::showSelectedItem);
    connect(viewModel, &LibraryViewModel::hasPendingChangesChanged, this,
            &FileHeaderView::updateButtons);
    connect(viewModel, &LibraryViewModel::isBusyChanged, this, &FileHeaderView::updateButtons);
    connect(viewModel, &LibraryViewModel::readOnlyFormatNoteChanged, this,
            &FileHeaderView::showFormatNote);
    showSelectedItem();
    showFormatNote();
}

void FileHeaderView::setCompact(bool compact)
{
    if (compact == m_compact)
        return;
    m_compact = compact;
    for (QWidget *part : {static_cast<QWidget *>(m_preview), static_cast<QWidget *>(m_name),
                          static_cast<QWidget *>(m_path), m_buttons})
        m_grid->removeWidget(part);
    for (int column = 0; column < 4; ++column)
        m_grid->setColumnStretch(column, 0);
    m_grid->setRowStretch(3, 0);
    m_preview->setEdge(compact ? compactEdge : FilePreview::maximumEdge);
    m_name->setFont(compact ? SheetStyle::headline(font()) : m_titleFont);
    // Side by side with the path, the buttons keep only their symbols; the
    // title moves into the tooltip (and stays the accessible name).
    for (QPushButton *button : {m_save, m_revert, m_removeMetadata, m_reload})
        showTitle(button, button->accessibleName());
    if (compact) {
        // One line: preview, name, path (taking what is left) and buttons.
        m_grid->addWidget(m_preview, 0, 0, Qt::AlignVCenter);
        m_grid->addWidget(m_name, 0, 1, Qt::AlignVCenter);
        m_grid->addWidget(m_path, 0, 2, Qt::AlignVCenter);
        m_grid->addWidget(m_buttons, 0, 3, Qt::AlignVCenter);
        m_grid->setColumnStretch(2, 1);
        m_grid->setHorizontalSpacing(10);
        layout()->setContentsMargins(16 - shadowMargin, 0, 16, 0);
    } else {
        m_grid->addWidget(m_preview, 0, 0, 4, 1, Qt::AlignTop);
        m_grid->addWidget(m_name, 0, 1, 1, 3);
        m_grid->addWidget(m_path, 1, 1, 1, 3);
        m_grid->addWidget(m_buttons, 2, 1, 1, 3);
        m_grid->setColumnStretch(1, 1);
        m_grid->setRowStretch(3, 1);
        m_grid->setHorizontalSpacing(20 - shadowMargin);
        layout()->setContentsMargins(16, 10, 16, 16);
    }
    fitNameColumn();
}

void FileHeaderView::fitNameColumn()
{
    // Side by side with the path, the name takes the width of its text (up
    // to a third of the header) and the path scrolls in the rest.
    if (m_compact) {
        const int text = m_name->fontMetrics().horizontalAdvance(m_name->text()) + 8;
        m_name->setMaximumWidth(std::max(40, std::min(text, width() / 3)));
    } else {
        m_name->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

void FileHeaderView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitNameColumn();
}

void FileHeaderView::showFormatNote()
{
    const std::optional<QString> note =
        m_viewModel ? m_viewModel->readOnlyFormatNote() : std::nullopt;
    m_formatNote->setText(note.value_or(QString()));
    m_formatNote->setVisible(note.has_value());
    updateButtons();
}

QString FileHeaderView::shownFileName() const
{
    return m_name->text();
}

QString FileHeaderView::shownPath() const
{
    return m_path->text();
}

void FileHeaderView::showSelectedItem()
{
    if (!m_viewModel)
        return;
    if (m_viewModel->isMultiSelection()) {
        showSeveralItems();
        return;
    }
    const std::optional<MediaItem> item = m_viewModel->selectedItem();
    m_preview->setThumbnail(item ? item->thumbnail : std::nullopt);
    m_name->setText(item ? item->fileName : QString());
    m_name->setCursorPosition(0);
    fitNameColumn();
    const QString path = !item                     ? QString()
                         : item->url.isLocalFile() ? item->url.toLocalFile()
                                                   : item->url.toString();
    m_path->setText(path);
    m_path->setCursorPosition(0);
    m_path->setToolTip(path);
    updateButtons();
}

void FileHeaderView::showSeveralItems()
{
    const QList<MediaItem> items = m_viewModel->selectedItems();
    QList<QImage> thumbnails;
    for (const MediaItem &item : items.first(std::min<qsizetype>(items.size(), 3)))
        thumbnails.append(item.thumbnail.value_or(QImage()));
    m_preview->setStackedThumbnails(thumbnails);
    m_name->setText(ItemSelection::countText(items.size()));
    m_name->setCursorPosition(0);
    const QString types = ItemSelection::typeSummary(items);
    m_path->setText(types);
    m_path->setCursorPosition(0);
    m_path->setToolTip(types);
    updateButtons();
}

void FileHeaderView::showTitle(QPushButton *button, const QString &title)
{
    button->setAccessibleName(title);
    button->setText(m_compact ? QString() : title);
    button->setToolTip(m_compact ? title : button->property("wideToolTip").toString());
}

void FileHeaderView::addButton(QPushButton *button)
{
    auto *buttons = static_cast<QHBoxLayout *>(m_buttons->layout());
    button->setParent(m_buttons);
    buttons->insertWidget(buttons->count() - 1, button); // before the stretch
}

void FileHeaderView::updateButtons()
{
    if (!m_viewModel)
        return;
    const qsizetype selected = m_viewModel->selectedItemIDs().size();
    showTitle(m_removeMetadata, selected > 1 ? tr("Remove Metadata from %1 Files…").arg(selected)
                                             : tr("Remove Metadata"));
    const bool pending = m_viewModel->hasPendingChanges();
    m_save->setEnabled(pending);
    m_revert->setEnabled(pending);
    // Nothing of a file ExifTool cannot write can be removed either.
    m_removeMetadata->setEnabled(m_viewModel->selectedItemID().has_value() &&
                                 !m_viewModel->isBusy() && !m_viewModel->readOnlyFormatNote());
}

} // namespace Metaloom
