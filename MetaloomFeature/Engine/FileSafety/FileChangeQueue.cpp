#include "FileChangeQueue.h"

#include <QCoroFuture>
#include <QFileInfo>

namespace Metaloom {

FileChangeQueue::Turn::Turn(Turn &&other) noexcept
    : m_queue(std::exchange(other.m_queue, nullptr)), m_key(std::move(other.m_key))
{}

FileChangeQueue::Turn &FileChangeQueue::Turn::operator=(Turn &&other) noexcept
{
    if (this != &other) {
        if (m_queue)
            m_queue->release(m_key);
        m_queue = std::exchange(other.m_queue, nullptr);
        m_key = std::move(other.m_key);
    }
    return *this;
}

FileChangeQueue::Turn::~Turn()
{
    if (m_queue)
        m_queue->release(m_key);
}

FileChangeQueue &FileChangeQueue::shared()
{
    static FileChangeQueue queue;
    return queue;
}

QString FileChangeQueue::keyFor(const QString &filePath)
{
    const QFileInfo info(filePath);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

bool FileChangeQueue::isBusy(const QString &filePath) const
{
    return m_held.contains(keyFor(filePath));
}

QCoro::Task<FileChangeQueue::Turn> FileChangeQueue::waitForTurn(QString filePath)
{
    const QString key = keyFor(filePath);
    auto held = m_held.find(key);
    if (held == m_held.end()) {
        m_held.insert(key, {});
        co_return Turn(this, key);
    }
    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    QFuture<void> handedOver = promise->future();
    held->push_back(std::move(promise));
    co_await handedOver;
    // The releasing turn handed the file straight to us; it stays held.
    co_return Turn(this, key);
}

void FileChangeQueue::release(const QString &key)
{
    auto held = m_held.find(key);
    if (held == m_held.end())
        return;
    if (held->empty()) {
        m_held.erase(held);
        return;
    }
    std::shared_ptr<QPromise<void>> next = std::move(held->front());
    held->pop_front();
    next->finish();
}

} // namespace Metaloom
