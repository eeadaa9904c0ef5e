#pragma once

#include "MetaloomFeature/Library/ImportPlanning.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <chrono>

namespace Metaloom {

class LibraryViewModel;

// Imports dropped files in order, a slice at a time from the event loop, so
// a drop of thousands of files leaves the window drawing and answering
// between slices. Each call hands the library as many files as fit in a
// slice: every call costs a pass over the whole list (duplicates, the
// sidebar's rows), so one file per call would make a large drop quadratic.
// What is still queued when the queue (or the library) goes away is dropped.
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
    // Files per call, grown while calls stay well inside a slice.
    qsizetype m_batch = 8;
    // What the drop so far added, for the status line.
    ImportPlanning::Tally m_tally;
};

} // namespace Metaloom
