#include "MainWindow.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "MetaloomFeature/Views/Window/ContentView.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPushButton>

namespace Metaloom {

MainWindow::MainWindow(std::optional<ResourceBundle> bundle, QWidget *parent)
    : QMainWindow(parent), m_engine(new ExifToolService(std::move(bundle), this)),
      m_library(new LibraryViewModel(MetadataEngine::over(m_engine), this)),
      m_content(new ContentView(m_library, this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(applicationIcon());
    setCentralWidget(m_content);
    resize(defaultSize);
    connect(m_library, &LibraryViewModel::selectedItemChanged, this, &MainWindow::updateTitle);
    connect(m_library, &LibraryViewModel::selectedItemIDChanged, this, &MainWindow::updateTitle);
    connect(m_library, &LibraryViewModel::hasPendingChangesChanged, this, &MainWindow::updateTitle);
    updateTitle();
}

MainWindow::~MainWindow()
{
    // The views go first, while the library they watch still exists; the
    // library next, so nothing it runs reaches the engine afterwards.
    delete takeCentralWidget();
    delete m_library;
    delete m_engine;
}

void MainWindow::openFiles(const QList<QUrl> &files)
{
    if (!files.isEmpty())
        m_library->importItems(files);
}

QMessageBox *MainWindow::unsavedChangesPrompt() const
{
    return m_prompt;
}

void MainWindow::updateTitle()
{
    const std::optional<MediaItem> item = m_library->selectedItem();
    // "[*]" marks where the desktop shows that the file has unsaved edits.
    setWindowTitle(item ? item->fileName + QStringLiteral("[*] — Metaloom")
                        : QStringLiteral("Metaloom"));
    setWindowModified(m_library->hasPendingChanges());
}

void MainWindow::requestClose(std::function<void(bool)> done)
{
    m_closeDone = std::move(done);
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closeApproved || m_library->modifiedItemIDs().isEmpty()) {
        event->accept();
        finishClosing(true);
        return;
    }
    event->ignore();
    if (m_saving)
        return;
    QPointer<MainWindow> self(this);
    askToSaveChanges(modifiedFileNames(), [self](QMessageBox::StandardButton answer) {
        if (!self)
            return;
        switch (answer) {
        case QMessageBox::Save:
            self->saveThenClose();
            break;
        case QMessageBox::Discard:
            self->closeWithoutAsking();
            break;
        default:
            self->finishClosing(false);
            break;
        }
    });
}

QStringList MainWindow::modifiedFileNames() const
{
    QStringList names;
    for (const MediaItem &item : m_library->modifiedItems())
        names << item.fileName;
    return names;
}

void MainWindow::closeWithoutAsking()
{
    m_closeApproved = true;
    close();
}

void MainWindow::finishClosing(bool closed)
{
    if (auto done = std::exchange(m_closeDone, {}))
        done(closed);
}

void MainWindow::askToSaveChanges(const QStringList &fileNames,
                                  std::function<void(QMessageBox::StandardButton)> answered)
{
    if (m_prompt) {
        m_prompt->raise();
        return;
    }
    // One file is named in the question; several are counted there and
    // listed below it, as many as fit a sheet.
    constexpr qsizetype namesListed = 8;
    const QString question = fileNames.size() == 1
                                 ? tr("Save changes to “%1”?").arg(fileNames.first())
                                 : tr("Save changes to %n files?", nullptr, int(fileNames.size()));
    QString details = tr("Your changes will be lost if you don't save them.");
    if (fileNames.size() > 1) {
        QStringList listed = fileNames.mid(0, namesListed);
        if (fileNames.size() > namesListed)
            listed << QStringLiteral("…");
        details = listed.join(u'\n') + QStringLiteral("\n\n") + details;
    }
    auto *prompt =
        new QMessageBox(QMessageBox::Warning, tr("Metaloom"), question,
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, this);
    prompt->setInformativeText(details);
    prompt->button(QMessageBox::Save)->setText(tr("&Save All"));
    prompt->setDefaultButton(QMessageBox::Save);
    prompt->setEscapeButton(QMessageBox::Cancel);
    prompt->setWindowModality(Qt::WindowModal);
    prompt->setAttribute(Qt::WA_DeleteOnClose);
    connect(prompt, &QMessageBox::finished, this, [prompt, answered = std::move(answered)] {
        answered(prompt->standardButton(prompt->clickedButton()));
    });
    m_prompt = prompt;
    prompt->open();
}

QCoro::Task<void> MainWindow::saveThenClose()
{
    QPointer<MainWindow> self(this);
    m_saving = true;
    const bool saved = co_await m_library->saveAllChanges();
    if (!self)
        co_return;
    m_saving = false;
    // A save that left edits behind (read-only tags, a failure shown in the
    // report) keeps the window open.
    if (saved && m_library->modifiedItemIDs().isEmpty()) {
        m_closeApproved = true;
        close();
    } else {
        finishClosing(false);
    }
}

} // namespace Metaloom
