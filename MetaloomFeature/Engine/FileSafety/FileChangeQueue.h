#pragma once

#include <QCoroTask>
#include <QHash>
#include <QPromise>
#include <QString>

#include <deque>
#include <memory>

namespace Metaloom {

// Makes changes of one file wait for each other, across every window of the
// process: two overlapping changes of the same file would otherwise both
// start from the old content, and the later replacement would silently drop
// the earlier one. Changes of different files still run side by side.
// Main thread only.
class FileChangeQueue {
public:
    // Held while a change runs; the next waiter for the same file goes on
    // when it is destroyed.
    class Turn {
    public:
        Turn() = default;
        Turn(Turn &&other) noexcept;
        Turn &operator=(Turn &&other) noexcept;
        Turn(const Turn &) = delete;
        Turn &operator=(const Turn &) = delete;
        ~Turn();

    private:
        friend class FileChangeQueue;
        Turn(FileChangeQueue *queue, QString key) : m_queue(queue), m_key(std::move(key)) {}
        FileChangeQueue *m_queue = nullptr;
        QString m_key;
    };

    static FileChangeQueue &shared();

    // Waits until no other change of this file runs, then holds the file.
    QCoro::Task<Turn> waitForTurn(QString filePath);

    // The key under which a path is serialised: links resolved, so a link
    // and the file it points to share one queue.
    static QString keyFor(const QString &filePath);

    bool isBusy(const QString &filePath) const;

private:
    void release(const QString &key);

    // Present while the file is held; the queue holds the waiters in order.
    QHash<QString, std::deque<std::shared_ptr<QPromise<void>>>> m_held;
};

} // namespace Metaloom
