#include "MetaloomFeature/Views/Window/ImportQueue.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"

#include <QElapsedTimer>

#include <algorithm>

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
        const qsizetype count = std::min(m_batch, m_files.size());
        QElapsedTimer call;
        call.start();
        m_tally = m_viewModel->importItems(m_files.first(count), m_tally);
        m_files.remove(0, count);
        const qint64 took = call.elapsed();
        // Smaller batches only help while the files, not the pass over the
        // list every call makes, are what takes the time: a call that is
        // merely slow at 10,000 listed files would be as slow with one file,
        // and shrinking then would only multiply the passes.
        if (took * 4 < sliceLength.count())
            m_batch = std::min<qsizetype>(m_batch * 2, 4096);
        else if (took > 2 * sliceLength.count())
            m_batch = std::max<qsizetype>(m_batch / 2, 64);
        if (slice.elapsed() >= sliceLength.count())
            break;
    }
    if (m_files.isEmpty() || !m_viewModel) {
        m_files.clear();
        m_timer.stop();
        m_tally = {};
    }
}

} // namespace Metaloom
