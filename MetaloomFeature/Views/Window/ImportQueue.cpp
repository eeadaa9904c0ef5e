#include "MetaloomFeature/Views/Window/ImportQueue.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"

#include <QElapsedTimer>

namespace Metaloom {

ImportQueue::ImportQueue(LibraryViewModel *viewModel, QObject *parent)
    : QObject(parent), m_viewModel(viewModel)
{
    // A zero timer fires once per turn of the event loop, after input and
    // painting had their turn.
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &ImportQueue::importSlice);
}

void ImportQueue::enqueue(const QList<QUrl> &files)
{
    m_files.append(files);
    if (!m_files.isEmpty())
        m_timer.start();
}

void ImportQueue::importSlice()
{
    QElapsedTimer slice;
    slice.start();
    while (!m_files.isEmpty() && m_viewModel) {
        m_viewModel->importItems({m_files.takeFirst()});
        if (slice.elapsed() >= sliceLength.count())
            break;
    }
    if (m_files.isEmpty() || !m_viewModel) {
        m_files.clear();
        m_timer.stop();
    }
}

} // namespace Metaloom
