#pragma once

#include "MetaloomFeature/Model/MetadataExportFormatter.h"

#include <QPointer>
#include <QVariantAnimation>
#include <QWidget>

class QAction;
class QFileDialog;
class QMimeData;
class QProgressBar;
class QPushButton;
class QStackedWidget;

namespace Metaloom {

class BatchProgressView;
class DropZoneView;
class FileHeaderView;
class ImportQueue;
class LibraryViewModel;
class MetadataEditorView;
class PresetsStore;
class PrivacyPanel;
class SidebarView;
class StatusBanner;
class WindowSheets;
class WindowToolbar;

// The content of a main window: the toolbar, the file list on the left, the
// selected file's header and metadata editor on the right (or the drop zone
// while the list is empty), the status line, and the sheets and alert
// through which the library asks the user something. Every control calls
// one library operation; the menu commands arrive as notifications. Files
// can be dropped anywhere on it and pasted into it.
class ContentView : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize minimumContentSize{960, 600};
    static constexpr int sidebarAnimationMilliseconds = 250;

    // The library stays the caller's; it must outlive this view or be
    // destroyed with it (the window parents both).
    explicit ContentView(LibraryViewModel *viewModel, QWidget *parent = nullptr);
    ~ContentView() override;

    LibraryViewModel *viewModel() const;
    PresetsStore *presetsStore() const { return m_presetsStore; }

    void setShowingSidebar(bool showing);

    // The window's commands.
    void showImportPanel();
    void pasteFiles(const QMimeData *data);
    void exportSelectedMetadata(MetadataExportFormatter::Format format);

    WindowToolbar *toolbar() const { return m_toolbar; }
    SidebarView *sidebar() const { return m_sidebar; }
    FileHeaderView *fileHeader() const { return m_header; }
    MetadataEditorView *editor() const { return m_editor; }
    // The Privacy toggle above the tag list and the view it shows instead.
    QPushButton *privacyToggle() const { return m_privacyToggle; }
    PrivacyPanel *privacyPanel() const { return m_privacy; }
    DropZoneView *dropZone() const { return m_dropZone; }
    StatusBanner *statusBanner() const { return m_banner; }
    QWidget *busyIndicator() const { return m_busy; }
    BatchProgressView *batchProgress() const { return m_batchProgress; }
    WindowSheets *sheets() const { return m_sheets; }
    // The open import panel, if any.
    QFileDialog *importPanel() const;
    ImportQueue *importQueue() const { return m_importQueue; }
    // Ctrl+F: the search field takes the focus (while it is shown).
    QAction *findAction() const { return m_findAction; }
    // The page the detail area shows: the drop zone, the hint to choose a
    // file, or the selected file.
    QWidget *currentDetailPage() const;

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *makeSidebarColumn();
    QWidget *makeDetailArea();
    QWidget *makeSelectedFilePage();
    QWidget *makeNoSelectionPage();
    void setDropTargeted(bool targeted);
    void showDetailPage();
    void showBusy();
    void showSidebarWidth(qreal revealed);
    void observeMenuCommands();

    QPointer<LibraryViewModel> m_viewModel;
    PresetsStore *m_presetsStore;
    bool m_showingSidebar = true;

    WindowToolbar *m_toolbar = nullptr;
    QWidget *m_sidebarColumn = nullptr;
    SidebarView *m_sidebar = nullptr;
    QVariantAnimation m_sidebarAnimation;
    qreal m_sidebarRevealed = 1;
    QStackedWidget *m_detail = nullptr;
    BatchProgressView *m_batchProgress = nullptr;
    DropZoneView *m_dropZone = nullptr;
    QWidget *m_noSelectionPage = nullptr;
    QWidget *m_selectedFilePage = nullptr;
    FileHeaderView *m_header = nullptr;
    QWidget *m_busy = nullptr;
    MetadataEditorView *m_editor = nullptr;
    QPushButton *m_privacyToggle = nullptr;
    PrivacyPanel *m_privacy = nullptr;
    StatusBanner *m_banner = nullptr;
    WindowSheets *m_sheets = nullptr;
    ImportQueue *m_importQueue = nullptr;
    QPointer<QFileDialog> m_importPanel;
    QAction *m_findAction = nullptr;
};

} // namespace Metaloom
