#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <chrono>

namespace Metaloom {

class LibraryViewModel;

// Imports dropped files one call per file, in order, a few at a time from
// the event loop, so a drop of hundreds of files leaves the window drawing
// and answering between them. What is still queued when the queue (or the
// library) goes away is dropped.
class ImportQueue : public QObject {
    Q_OBJECT

public:
    // How long one turn of the event loop may spend importing.
    static constexpr std::chrono::milliseconds sliceLength{8};

    explicit ImportQueue(LibraryViewModel *viewModel, QObject *parent = nullptr);

    void enqueue(const QList<QUrl> &files);
    qsizetype pending() const { return m_files.size(); }

private:
    void importSlice();

    QPointer<LibraryViewModel> m_viewModel;
    QList<QUrl> m_files;
    QTimer m_timer;
};

} // namespace Metaloom
