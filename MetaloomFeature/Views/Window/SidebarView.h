#pragma once

#include <QElapsedTimer>
#include <QListView>
#include <QPointer>
#include <QWidget>
#include <chrono>

class QToolButton;

namespace Metaloom {

class LibraryViewModel;
class SidebarModel;

// The list of files, whose selection is the library's selection. Delete or
// Backspace removes the selected file from the list (never from the disk).
class FileListView : public QListView {
    Q_OBJECT

public:
    explicit FileListView(QWidget *parent = nullptr);

    // The rows in view and a screenful either side, top to bottom.
    QModelIndexList rowsNearView() const;

Q_SIGNALS:
    void removeRequested(const QModelIndexList &rows);
    // The rows in view may be others now: scrolled, resized or relisted.
    void viewMoved();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // The list fills the sidebar; its length never decides the window's size.
    QSize viewportSizeHint() const override { return {200, 300}; }
};

// The left column of the window: the "Files" header with its Import, Remove
// All Metadata and Clear buttons, and the file list (or, while it is empty,
// a hint to import something).
class SidebarView : public QWidget {
    Q_OBJECT

public:
    static constexpr int fixedWidth = 240;

    explicit SidebarView(LibraryViewModel *viewModel, QWidget *parent = nullptr);

    FileListView *fileList() const { return m_list; }
    SidebarModel *model() const { return m_model; }
    QToolButton *importButton() const { return m_importButton; }
    QToolButton *removeAllMetadataButton() const { return m_removeAllButton; }
    QToolButton *clearButton() const { return m_clearButton; }
    QWidget *emptyPlaceholder() const { return m_placeholder; }

Q_SIGNALS:
    // The Import button: the window shows its import panel.
    void importRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *makeHeader();
    QWidget *makePlaceholder();
    void showItems();
    void showSelection();
    void selectionDidChange();
    void removeRows(const QModelIndexList &rows);
    void showContextMenu(QPoint position);
    // Tells the library which files are in view, once per turn of the
    // event loop however often the view moved.
    void reportRowsInView();

    QPointer<LibraryViewModel> m_viewModel;
    SidebarModel *m_model;
    FileListView *m_list;
    QWidget *m_placeholder;
    QToolButton *m_importButton = nullptr;
    QToolButton *m_removeAllButton = nullptr;
    QToolButton *m_clearButton = nullptr;
    // Set while the list follows the library, so its own selection signals
    // are not taken for the user's.
    bool m_following = false;
    bool m_reportPending = false;
    // When an import last brought its first file into view.
    QElapsedTimer m_importScroll;
    static constexpr std::chrono::milliseconds importScrollPause{1000};
};

} // namespace Metaloom
