#include "BatchRun.h"

#include "InOrderLanes.h"

#include <QThread>

#include <algorithm>

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
    InOrderLanes::Jobs<FileOutcome> jobs;
    jobs.stopBefore = [&](qsizetype index) {
        if (!hooks.shouldStop || !hooks.shouldStop())
            return false;
        outcome.stoppedBefore = files.at(index).name;
        return true;
    };
    jobs.start = [&](qsizetype index) {
        if (hooks.starting)
            hooks.starting(index, files.at(index));
        return operation(files.at(index).url);
    };
    jobs.finished = [&](qsizetype index, FileOutcome done) {
        // Reports name the file as the caller knows it, not as the engine
        // reached it (through a link, say).
        done.file = files.at(index).url;
        done.fileName = files.at(index).name;
        outcome.files.append(done);
        if (hooks.finished)
            hooks.finished(index, done);
    };
    co_await InOrderLanes::run(files.size(), lanes, std::move(jobs));
    co_return outcome;
}

} // namespace Metaloom::BatchRun
