#include "BatchRun.h"

#include <QThread>

#include <algorithm>
#include <deque>
#include <utility>

namespace Metaloom::BatchRun {

qsizetype Outcome::succeeded() const
{
    return std::count_if(files.cbegin(), files.cend(),
                         [](const FileOutcome &file) { return file.succeeded(); });
}

int defaultLanes()
{
    return std::clamp(QThread::idealThreadCount(), 1, 4);
}

QCoro::Task<Outcome> run(QList<File> files, Operation operation, Hooks hooks, int lanes)
{
    Outcome outcome;
    outcome.total = files.size();
    lanes = std::max(lanes, 1);
    // Tasks start when made and run on while the batch waits for the
    // earliest of them; a finished one is taken at once.
    std::deque<std::pair<qsizetype, QCoro::Task<FileOutcome>>> inFlight;
    qsizetype next = 0;
    bool stopped = false;
    while (true) {
        while (!stopped && next < files.size() && qsizetype(inFlight.size()) < lanes) {
            const File &file = files.at(next);
            if (hooks.shouldStop && hooks.shouldStop()) {
                outcome.stoppedBefore = file.name;
                stopped = true;
                break;
            }
            if (hooks.starting)
                hooks.starting(next, file);
            inFlight.emplace_back(next, operation(file.url));
            ++next;
        }
        if (inFlight.empty())
            break;
        auto [index, task] = std::move(inFlight.front());
        inFlight.pop_front();
        FileOutcome done = co_await task;
        // Reports name the file as the caller knows it, not as the engine
        // reached it (through a link, say).
        const File &file = files.at(index);
        done.file = file.url;
        done.fileName = file.name;
        outcome.files.append(done);
        if (hooks.finished)
            hooks.finished(index, done);
    }
    co_return outcome;
}

} // namespace Metaloom::BatchRun
