#pragma once

#include "MetaloomFeature/Engine/ChangeReport.h"
#include "MetaloomFeature/Engine/PrivacyFindings.h"
#include "MetaloomFeature/Engine/PrivacyStripReport.h"
#include "MetaloomFeature/Engine/StoredTag.h"
#include "MetaloomFeature/Engine/StripProfile.h"
#include "MetaloomFeature/Engine/StripReport.h"
#include "MetaloomFeature/Engine/TagAssignment.h"
#include "MetaloomFeature/Model/Dates/DatePlan.h"
#include "MetaloomFeature/Model/MetadataEntry.h"
#include "MetaloomFeature/Model/Preset.h"

#include <QCoroTask>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>

namespace Metaloom {
class ExifToolService;
}

// What the command line does to one file, in one place: every command goes
// through these operations, which are the window's own (the library's
// per-file operations, the engine's calls), so the program has no way of
// its own to read, change or strip a file. Nothing here decides what to
// print.
namespace Metaloom::Cli {

// A change's tags (TagAssignment), what it did not do as asked
// (ChangeReport) and what a strip left (StripReport) are the engine's own.

// What a file holds for asked keys is the engine's own reading (StoredTag).
using Metaloom::StoredTag;
using Metaloom::StoredTags;

class Operations {
public:
    virtual ~Operations() = default;

    // Every tag of the file, as the window lists it.
    virtual QCoro::Task<QList<MetadataEntry>> read(QUrl file) = 0;
    // Sets and deletes the tags in one change, as Save does.
    virtual QCoro::Task<ChangeReport> change(QUrl file, QList<TagAssignment> assignments) = 0;
    // Applies a preset's action, as the window's Apply Preset does.
    virtual QCoro::Task<ChangeReport> applyPreset(QUrl file, PresetAction action) = 0;
    // Removes all metadata, as Remove Metadata does.
    virtual QCoro::Task<StripReport> strip(QUrl file) = 0;
    // What the file's tags give away, class by class.
    virtual QCoro::Task<PrivacyFindings> check(QUrl file) = 0;
    // Strips the file for sharing by the profile, and checks what it became.
    virtual QCoro::Task<PrivacyStripReport> stripForSharing(QUrl file, StripProfile profile) = 0;
    // What the file holds for each key, read without changing anything: the
    // dry runs compare it with what was asked.
    virtual QCoro::Task<StoredTags> stored(QUrl file, QStringList keys) = 0;
    // What the file holds that a strip would try to remove, the tags that
    // identify a person, a camera or a place first.
    virtual QCoro::Task<QStringList> strippable(QUrl file) = 0;
    // The file's date tags, QuickTime's read as UTC when asked.
    virtual QCoro::Task<DateValues> dates(QUrl file, bool quickTimeUtc) = 0;
    // Makes the planned changes of the file's dates.
    virtual QCoro::Task<ChangeReport> changeDates(QUrl file, DatePlan plan) = 0;
    // Whether ExifTool can write files of this one's format at all.
    virtual QCoro::Task<bool> canWrite(QUrl file) = 0;
};

// The operations over the engine.
std::unique_ptr<Operations> engineOperations(ExifToolService *service);

} // namespace Metaloom::Cli
