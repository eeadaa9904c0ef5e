#pragma once

#include "FileOperations.h"

#include <QCoroTask>
#include <QList>
#include <QString>
#include <QUrl>

#include <functional>

// Runs one operation over several files, going on past files that fail.
// Several files are in flight at once, one per core, so a batch keeps every
// ExifTool process the pool may run at work; they are reported, and the
// hooks told, in list order all the same. A file's own changes still wait
// for each other in the engine. Plain code over the per-file operations: the
// window's library and a program without a window drive it through the hooks.
namespace Metaloom::BatchRun {

struct File {
    QUrl url;
    // The name the reports use for the file.
    QString name;
};

using Operation = std::function<QCoro::Task<FileOutcome>(QUrl file)>;

struct Hooks {
    // Asked before each file: true ends the batch there (the user cancelled,
    // the window closed). The files in progress always finish.
    std::function<bool()> shouldStop;
    // The file at this position (from 0) is about to be changed.
    std::function<void(qsizetype index, const File &file)> starting;
    // The file at this position is done, whatever became of it.
    std::function<void(qsizetype index, const FileOutcome &outcome)> finished;
};

struct Outcome {
    // The files tried, in order, each named as given.
    QList<FileOutcome> files;
    // The files asked for; more than were tried when the batch stopped early.
    qsizetype total = 0;
    // The first file not tried, when the batch stopped early.
    QString stoppedBefore;

    bool stoppedEarly() const { return files.size() < total; }
    qsizetype succeeded() const;
    qsizetype failed() const { return files.size() - succeeded(); }
};

// Files in flight at once when not told: one per core, at most four.
int defaultLanes();

QCoro::Task<Outcome> run(QList<File> files, Operation operation, Hooks hooks = {},
                         int lanes = defaultLanes());

} // namespace Metaloom::BatchRun
