#include "BatchRun.h"

#include <algorithm>

namespace Metaloom::BatchRun {

qsizetype Outcome::succeeded() const
{
    return std::count_if(files.cbegin(), files.cend(),
                         [](const FileOutcome &file) { return file.succeeded(); });
}

QCoro::Task<Outcome> run(QList<File> files, Operation operation, Hooks hooks)
{
    Outcome outcome;
    outcome.total = files.size();
    for (qsizetype index = 0; index < files.size(); ++index) {
        const File &file = files.at(index);
        if (hooks.shouldStop && hooks.shouldStop()) {
            outcome.stoppedBefore = file.name;
            break;
        }
        if (hooks.starting)
            hooks.starting(index, file);
        FileOutcome done = co_await operation(file.url);
        // Reports name the file as the caller knows it, not as the engine
        // reached it (through a link, say).
        done.file = file.url;
        done.fileName = file.name;
        outcome.files.append(done);
        if (hooks.finished)
            hooks.finished(index, done);
    }
    co_return outcome;
}

} // namespace Metaloom::BatchRun
