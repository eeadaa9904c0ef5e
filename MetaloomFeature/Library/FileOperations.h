#pragma once

#include "MetaloomFeature/Engine/ChangeReport.h"
#include "MetaloomFeature/Engine/PrivacyStripReport.h"
#include "MetaloomFeature/Engine/StripProfile.h"
#include "MetaloomFeature/Engine/StripReport.h"
#include "MetaloomFeature/Engine/TagAssignment.h"
#include "MetaloomFeature/Engine/TagCopy.h"
#include "MetaloomFeature/Model/Preset.h"

#include <QCoroTask>
#include <QList>
#include <QString>
#include <QUrl>

#include <exception>
#include <memory>
#include <optional>

namespace Metaloom {

class MetadataEngine;

// What one file came to under an operation of a batch.
struct FileOutcome {
    QUrl file;
    QString fileName;
    // The user-visible reason the file was left as it was; nothing when the
    // change took.
    std::optional<QString> failure;
    // The failure itself, for callers that tell its kinds apart.
    std::exception_ptr error;
    // For a change of tags that took: what the file does not hold as asked.
    ChangeReport report;
    // For a strip for sharing that took: its proof.
    std::optional<PrivacyStripReport> proof;

    bool succeeded() const { return !failure; }
    // Everything asked is in the file (a value in ExifTool's normal form
    // counts), and a strip left nothing but what every file of its kind has.
    bool isComplete() const
    {
        return succeeded() && report.isComplete() && (!proof || proof->isClean());
    }
    // ExifTool stopped at a minor error; the same change asked again with
    // ChangeOptions::ignoreMinorErrors may take.
    bool stoppedAtMinorError() const;
};

// The changes a batch makes to one file, as plain coroutines over the
// engine, so that the window's library and a program without a window run
// the same ones. None throws: a failure is part of the outcome. The engine
// may have stopped by the time one runs (its window closed); the file is
// then left alone and the outcome says so. A file whose format ExifTool cannot
// write is left alone too, with a failure that says so, before ExifTool is
// asked to change it.
namespace FileOperations {

// Strips the file for sharing by the profile; the outcome holds the proof.
QCoro::Task<FileOutcome> stripForSharing(std::shared_ptr<MetadataEngine> engine, QUrl file,
                                         StripProfile profile, ChangeOptions options = {});

// Deletes the preset's removals and writes its values in one change: a
// removal the file's format has no place for is left out for that file
// (and named in the outcome's report) while the values are still written.
QCoro::Task<FileOutcome> applyPreset(std::shared_ptr<MetadataEngine> engine, PresetAction action,
                                     QUrl file, ChangeOptions options = {});

// Copies the family's tags of `source` into the file (ExifTool's own copy,
// judged like any change of tags). Without a source, the file's RAW+JPEG
// partner gives them; a file without one fails with a sentence that says so.
QCoro::Task<FileOutcome> copyFrom(std::shared_ptr<MetadataEngine> engine,
                                  std::optional<QUrl> source, CopyFamily family, QUrl file,
                                  ChangeOptions options = {});

// Whether ExifTool can write the file's format; true when that cannot be
// told (ExifTool then says itself what it cannot do).
QCoro::Task<bool> formatIsWritable(std::shared_ptr<MetadataEngine> engine, QUrl file);

// The assignments of a preset's change: each removal (unless the preset
// also gives its key a value, which replaces it anyway), then each value
// with its items.
QList<TagAssignment> presetAssignments(const PresetAction &action);

// An outcome for the file, named after it, with nothing happened yet.
FileOutcome outcomeFor(const QUrl &file);

// The failure of an engine that is gone.
QString engineStoppedMessage();
// The failure of a file whose format ExifTool cannot write: "ExifTool can't
// write MKV files, so this file was left as it was."
QString unwritableFormatMessage(const QUrl &file);

} // namespace FileOperations

} // namespace Metaloom
