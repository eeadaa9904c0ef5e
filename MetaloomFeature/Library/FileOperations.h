#pragma once

#include "MetaloomFeature/Engine/ChangeReport.h"
#include "MetaloomFeature/Model/Preset.h"

#include <QCoroTask>
#include <QPointer>
#include <QString>
#include <QUrl>

#include <exception>
#include <optional>

namespace Metaloom {

class ExifToolService;

// What one file came to under an operation of a batch.
struct FileOutcome {
    QUrl file;
    QString fileName;
    // The user-visible reason the file was left as it was; nothing when the
    // change took.
    std::optional<QString> failure;
    // The failure itself, for callers that tell its kinds apart.
    std::exception_ptr error;
    // For a change that took: what the file does not hold as asked.
    ChangeReport report;

    bool succeeded() const { return !failure; }
    bool isComplete() const { return succeeded() && report.isComplete(); }
};

// The changes a batch makes to one file, as plain coroutines over the
// engine, so that the window's library and a program without a window run
// the same ones. None throws: a failure is part of the outcome. The engine
// may be gone by the time one runs (its window closed); the file is then
// left alone and the outcome says so.
namespace FileOperations {

// Strips every tag ExifTool can remove from this kind of file.
QCoro::Task<FileOutcome> strip(QPointer<ExifToolService> engine, QUrl file);

// Deletes the preset's removals, then writes its values.
QCoro::Task<FileOutcome> applyPreset(QPointer<ExifToolService> engine, PresetAction action,
                                     QUrl file);

// The failure of an engine that is gone.
QString engineStoppedMessage();

} // namespace FileOperations

} // namespace Metaloom
