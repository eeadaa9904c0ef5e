#pragma once

#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QCoroTask>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <QUrl>

#include <functional>
#include <optional>

namespace Metaloom {

class ContentView;
class ExifToolService;
class LibraryViewModel;

// One main window: its own metadata engine and library, the content view,
// and the menu bar the application gives it. Closing it with unsaved edits
// asks first whether to save them; the engine change that may be running
// when it closes still finishes or fails whole.
class MainWindow : public QMainWindow {
    Q_OBJECT

public:
    static constexpr QSize defaultSize{980, 620};

    // Without a bundle the engine uses the application's resources.
    explicit MainWindow(std::optional<ResourceBundle> bundle = std::nullopt,
                        QWidget *parent = nullptr);
    ~MainWindow() override;

    ExifToolService *engine() const { return m_engine; }
    LibraryViewModel *library() const { return m_library; }
    ContentView *content() const { return m_content; }

    // Adds files named by the user (the command line) to this window.
    void openFiles(const QList<QUrl> &files);

    // Closes the window, asking first about unsaved edits; `done` learns
    // whether it closed (false when the user cancelled or the save failed).
    void requestClose(std::function<void(bool closed)> done = {});

    // The open question about unsaved edits, if any.
    QMessageBox *unsavedChangesPrompt() const;

    // The names of this window's files with unsaved edits, in list order.
    QStringList modifiedFileNames() const;
    // Asks once whether to save the edits of these files (Save All, Discard,
    // Cancel), as a sheet of this window; `answered` gets the button chosen
    // (Save stands for Save All). Raises the question already open instead.
    void askToSaveChanges(const QStringList &fileNames,
                          std::function<void(QMessageBox::StandardButton)> answered);
    // Closes the window without asking: its edits are let go.
    void closeWithoutAsking();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void updateTitle();

    void finishClosing(bool closed);
    QCoro::Task<void> saveThenClose();

    ExifToolService *m_engine;
    LibraryViewModel *m_library;
    ContentView *m_content;
    QPointer<QMessageBox> m_prompt;
    std::function<void(bool)> m_closeDone;
    bool m_closeApproved = false;
    bool m_saving = false;
};

} // namespace Metaloom
