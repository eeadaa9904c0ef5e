#include "MetaloomFeature/Views/Window/ContentView.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "MetaloomFeature/Platform/NotificationCenter.h"
#include "MetaloomFeature/Views/Editor/EntryContextMenu.h"
#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"
#include "MetaloomFeature/Views/Editor/PrivacyPanel.h"
#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Window/BatchProgressView.h"
#include "MetaloomFeature/Views/Window/DetachedTask.h"
#include "MetaloomFeature/Views/Window/DropZoneView.h"
#include "MetaloomFeature/Views/Window/FileDialogSavePanel.h"
#include "MetaloomFeature/Views/Window/FileDrops.h"
#include "MetaloomFeature/Views/Window/FileHeaderView.h"
#include "MetaloomFeature/Views/Window/ImportQueue.h"
#include "MetaloomFeature/Views/Window/SidebarView.h"
#include "MetaloomFeature/Views/Window/StatusBanner.h"
#include "MetaloomFeature/Views/Window/WindowSheets.h"
#include "MetaloomFeature/Views/Window/WindowToolbar.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace Metaloom {

ContentView::ContentView(LibraryViewModel *viewModel, QWidget *parent)
    : QWidget(parent), m_viewModel(viewModel), m_presetsStore(viewModel->presetsStore()),
      m_importQueue(new ImportQueue(viewModel, this))
{
    setMinimumSize(minimumContentSize);
    setAcceptDrops(true);
    viewModel->setSavePanel(std::make_shared<FileDialogSavePanel>(this));

    m_toolbar = new WindowToolbar(viewModel, m_presetsStore, this);
    connect(m_toolbar, &WindowToolbar::sidebarToggled, this,
            [this] { setShowingSidebar(!m_showingSidebar); });

    auto *body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    body->addWidget(makeSidebarColumn());
    body->addWidget(makeDetailArea(), 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolbar);
    layout->addWidget(SheetStyle::divider(this));
    layout->addLayout(body, 1);

    m_banner = new StatusBanner(this);
    m_sheets = new WindowSheets(viewModel, m_presetsStore, this);

    connect(viewModel, &LibraryViewModel::statusMessageChanged, this,
            [this] { m_banner->showMessage(m_viewModel->statusMessage()); });
    connect(viewModel, &LibraryViewModel::isBusyChanged, this, &ContentView::showBusy);
    connect(viewModel, &LibraryViewModel::batchProgressChanged, this, &ContentView::showBusy);
    connect(viewModel, &LibraryViewModel::itemsChanged, this, &ContentView::showDetailPage);
    connect(viewModel, &LibraryViewModel::selectedItemIDChanged, this,
            &ContentView::showDetailPage);
    observeMenuCommands();

    // Ctrl+F goes to the filter while there is something to filter. One
    // action, which the Edit menu shows too: two shortcuts of one key
    // would cancel each other.
    m_findAction = new QAction(tr("&Find"), this);
    m_findAction->setShortcut(QKeySequence::Find);
    addAction(m_findAction);
    connect(m_findAction, &QAction::triggered, this, [this] {
        if (m_toolbar->isSearchFieldShown()) {
            m_toolbar->searchField()->setFocus(Qt::ShortcutFocusReason);
            m_toolbar->searchField()->selectAll();
        }
    });
    // A banner shown over the bottom of the list leaves the last row free.
    connect(m_banner, &StatusBanner::presentedChanged, this, [this](bool presented) {
        m_editor->setBottomInset(presented ? m_banner->reservedHeight() : 0);
    });
    connect(viewModel, &LibraryViewModel::searchTextChanged, this,
            [this] { m_editor->setSearchText(m_viewModel->searchText()); });
    m_editor->setSearchText(viewModel->searchText());
    connect(m_editor, &MetadataEditorView::contextMenuRequested, this,
            [this](const QString &key, const QPoint &at) {
                if (QMenu *menu = EntryContextMenu::build(this, m_viewModel, key)) {
                    menu->setAttribute(Qt::WA_DeleteOnClose);
                    menu->popup(at);
                }
            });
    setTabOrder(m_sidebar->fileList(), m_toolbar->searchField());
    setTabOrder(m_toolbar->searchField(), m_editor);
    showBusy();
    showDetailPage();
}

ContentView::~ContentView()
{
    // Dialogs still open belong to this window; they close with it and
    // answer nothing.
    delete m_sheets;
    m_sheets = nullptr;
}

QWidget *ContentView::makeSidebarColumn()
{
    // The sidebar keeps its width and slides within a column that narrows.
    m_sidebarColumn = new QWidget(this);
    m_sidebarColumn->setFixedWidth(SidebarView::fixedWidth);
    m_sidebar = new SidebarView(m_viewModel, m_sidebarColumn);
    m_sidebarColumn->installEventFilter(this);
    connect(m_sidebar, &SidebarView::importRequested, this, &ContentView::showImportPanel);

    m_sidebarAnimation.setDuration(sidebarAnimationMilliseconds);
    m_sidebarAnimation.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&m_sidebarAnimation, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { showSidebarWidth(value.toReal()); });
    showSidebarWidth(1);
    return m_sidebarColumn;
}

void ContentView::showSidebarWidth(qreal revealed)
{
    m_sidebarRevealed = revealed;
    const int width = qRound(SidebarView::fixedWidth * revealed);
    m_sidebarColumn->setFixedWidth(width);
    m_sidebar->setGeometry(width - SidebarView::fixedWidth, 0, SidebarView::fixedWidth,
                           m_sidebarColumn->height());
    m_sidebarColumn->setVisible(width > 0);
}

void ContentView::setShowingSidebar(bool showing)
{
    if (m_showingSidebar == showing)
        return;
    m_showingSidebar = showing;
    if (!showing && m_sidebar->isAncestorOf(focusWidget()))
        m_editor->setFocus();
    m_sidebarAnimation.stop();
    m_sidebarAnimation.setStartValue(m_sidebarRevealed);
    m_sidebarAnimation.setEndValue(showing ? 1.0 : 0.0);
    m_sidebarAnimation.start();
}

QWidget *ContentView::makeDetailArea()
{
    // A batch's progress stands above whatever page is shown: it runs over
    // every loaded file, selected or not.
    auto *area = new QWidget(this);
    m_batchProgress = new BatchProgressView(m_viewModel, area);
    m_detail = new QStackedWidget(area);
    m_dropZone = new DropZoneView([this] { showImportPanel(); }, m_detail);
    m_noSelectionPage = makeNoSelectionPage();
    m_selectedFilePage = makeSelectedFilePage();
    m_detail->addWidget(m_dropZone);
    m_detail->addWidget(m_noSelectionPage);
    m_detail->addWidget(m_selectedFilePage);
    auto *column = new QVBoxLayout(area);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_batchProgress);
    column->addWidget(m_detail, 1);
    return area;
}

void ContentView::showBusy()
{
    // The batch's own bar says more than the plain busy one.
    m_busy->setVisible(m_viewModel && m_viewModel->isBusy() && !m_viewModel->batchProgress());
}

QWidget *ContentView::makeNoSelectionPage()
{
    auto *page = new QWidget(m_detail);
    auto *column = new QVBoxLayout(page);
    auto *hint = SheetStyle::label(tr("Choose a file in the list to inspect its metadata."),
                                   SheetStyle::callout(font()), SheetStyle::Tone::Secondary, page);
    hint->setAlignment(Qt::AlignCenter);
    column->addWidget(hint);
    return page;
}

QWidget *ContentView::makeSelectedFilePage()
{
    auto *page = new QWidget(m_detail);
    m_header = new FileHeaderView(m_viewModel, page);

    m_busy = new QWidget(page);
    auto *busyRow = new QHBoxLayout(m_busy);
    busyRow->setContentsMargins(16, 8, 16, 8);
    auto *working = SheetStyle::label(tr("Working…"), SheetStyle::callout(font()),
                                      SheetStyle::Tone::Secondary, m_busy);
    working->setWordWrap(false);
    auto *bar = new QProgressBar(m_busy);
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    bar->setMaximumHeight(8);
    bar->setAccessibleName(tr("Working…"));
    busyRow->addWidget(working);
    busyRow->addWidget(bar, 1);

    m_editor = new MetadataEditorView(m_viewModel->entryTree(), page);
    // The keystrokes of one value, from opening its field to leaving it,
    // are one step to undo.
    connect(m_editor->rowDelegate(), &QAbstractItemDelegate::closeEditor, m_viewModel,
            &LibraryViewModel::endEditStep);

    // Beside the file's buttons, the Privacy toggle: the file's tags that
    // tell where, when, who and with what, grouped by what they tell, in
    // place of the tag list.
    m_privacy = new PrivacyPanel(m_viewModel, page);
    m_privacy->hide();
    m_privacyToggle = new QPushButton(tr("Privacy"), page);
    m_privacyToggle->setCheckable(true);
    m_privacyToggle->setToolTip(tr("Show what in this file tells where, when, who and with what"));
    m_header->addButton(m_privacyToggle);
    connect(m_privacyToggle, &QPushButton::toggled, this, [this](bool on) {
        if (on)
            m_privacy->refresh();
        m_privacy->setVisible(on);
        m_editor->setVisible(!on);
    });

    auto *column = new QVBoxLayout(page);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(m_header);
    column->addWidget(SheetStyle::divider(page));
    column->addWidget(m_busy);
    column->addWidget(m_editor, 1);
    column->addWidget(m_privacy, 1);
    return page;
}

LibraryViewModel *ContentView::viewModel() const
{
    return m_viewModel;
}

QFileDialog *ContentView::importPanel() const
{
    return m_importPanel;
}

QWidget *ContentView::currentDetailPage() const
{
    return m_detail->currentWidget();
}

void ContentView::showDetailPage()
{
    if (!m_viewModel)
        return;
    QWidget *page = m_viewModel->items().isEmpty()              ? static_cast<QWidget *>(m_dropZone)
                    : m_viewModel->selectedItemID().has_value() ? m_selectedFilePage
                                                                : m_noSelectionPage;
    m_detail->setCurrentWidget(page);
}

void ContentView::observeMenuCommands()
{
    NotificationCenter *center = NotificationCenter::defaultCenter();
    center->addObserver(NotificationName::saveRequested, this, [this] {
        if (m_viewModel)
            detach(m_viewModel->saveChanges());
    });
    center->addObserver(NotificationName::reloadRequested, this, [this] {
        if (m_viewModel)
            detach(m_viewModel->reloadMetadata());
    });
    center->addObserver(NotificationName::revertRequested, this, [this] {
        if (m_viewModel)
            m_viewModel->resetChanges();
    });
    center->addObserver(NotificationName::metadataSettingsRequested, this, [this] {
        if (m_viewModel)
            m_viewModel->presentSettings(SettingsTab::metadata);
    });
    center->addObserver(NotificationName::aboutRequested, this, [this] {
        if (m_viewModel)
            m_viewModel->presentSettings(SettingsTab::about);
    });
}

void ContentView::showImportPanel()
{
    if (m_importPanel) {
        m_importPanel->raise();
        return;
    }
    auto *panel = new QFileDialog(this);
    panel->setAttribute(Qt::WA_DeleteOnClose);
    panel->setWindowModality(Qt::WindowModal);
    panel->setWindowTitle(tr("Import"));
    panel->setAcceptMode(QFileDialog::AcceptOpen);
    panel->setFileMode(QFileDialog::ExistingFiles);
    panel->setLabelText(QFileDialog::Accept, tr("Import"));
    connect(panel, &QFileDialog::finished, this, [this, panel](int result) {
        if (result == QDialog::Accepted && m_viewModel)
            m_viewModel->importItems(panel->selectedUrls());
    });
    m_importPanel = panel;
    panel->open();
}

void ContentView::pasteFiles(const QMimeData *data)
{
    if (m_viewModel)
        m_viewModel->pasteFromClipboard(data);
}

void ContentView::exportSelectedMetadata(MetadataExportFormatter::Format format)
{
    if (m_viewModel)
        m_viewModel->exportSelectedMetadata(format);
}

void ContentView::setDropTargeted(bool targeted)
{
    m_dropZone->setHighlighted(targeted);
}

void ContentView::dragEnterEvent(QDragEnterEvent *event)
{
    if (FileDrops::fileUrls(event->mimeData()).isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    setDropTargeted(true);
}

void ContentView::dragMoveEvent(QDragMoveEvent *event)
{
    event->acceptProposedAction();
}

void ContentView::dragLeaveEvent(QDragLeaveEvent *event)
{
    setDropTargeted(false);
    QWidget::dragLeaveEvent(event);
}

void ContentView::dropEvent(QDropEvent *event)
{
    setDropTargeted(false);
    const QList<QUrl> files = FileDrops::fileUrls(event->mimeData());
    if (files.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    m_importQueue->enqueue(files);
}

bool ContentView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_sidebarColumn && event->type() == QEvent::Resize)
        m_sidebar->resize(SidebarView::fixedWidth, m_sidebarColumn->height());
    return QWidget::eventFilter(watched, event);
}

void ContentView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
}

} // namespace Metaloom
