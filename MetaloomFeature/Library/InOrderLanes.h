#pragma once

#include <QCoroTask>
#include <QtGlobal>

#include <algorithm>
#include <deque>
#include <functional>
#include <utility>

// Runs `count` jobs, several at once, and takes their results in the order of
// the jobs: a batch keeps every ExifTool process the pool may run at work,
// and is told of its files in list order all the same.
namespace Metaloom::InOrderLanes {

template <typename Result> struct Jobs {
    // Asked before each job starts: true starts no further one. The jobs in
    // flight always finish.
    std::function<bool(qsizetype index)> stopBefore;
    // Starts the job at this position (from 0).
    std::function<QCoro::Task<Result>(qsizetype index)> start;
    // The job at this position is done; called in order.
    std::function<void(qsizetype index, Result result)> finished;
};

// At most `lanes` jobs (at least one) are in flight at once; answers how
// many were started.
template <typename Result> QCoro::Task<qsizetype> run(qsizetype count, int lanes, Jobs<Result> jobs)
{
    lanes = std::max(lanes, 1);
    // Tasks start when made and run on while the caller waits for the
    // earliest of them; a finished one is taken at once.
    std::deque<std::pair<qsizetype, QCoro::Task<Result>>> inFlight;
    qsizetype next = 0;
    bool stopped = false;
    while (true) {
        while (!stopped && next < count && qsizetype(inFlight.size()) < lanes) {
            if (jobs.stopBefore && jobs.stopBefore(next)) {
                stopped = true;
                break;
            }
            inFlight.emplace_back(next, jobs.start(next));
            ++next;
        }
        if (inFlight.empty())
            break;
        auto [index, task] = std::move(inFlight.front());
        inFlight.pop_front();
        Result result = co_await task;
        jobs.finished(index, std::move(result));
    }
    co_return next;
}

} // namespace Metaloom::InOrderLanes
