#pragma once

#include "MetaloomFeature/Library/FileOperations.h"
#include "MetaloomFeature/Model/Dates/DatePlan.h"
#include "MetaloomFeature/Model/MediaItem.h"

#include <QCoroTask>
#include <QHash>
#include <QList>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <memory>
#include <optional>

namespace Metaloom {

class MetadataEngine;

// What the window's "Adjust Dates…" asks of each file.
struct DateAdjustment {
    DateOptions options;
    // How a video's QuickTime dates are taken: as the file tells where one
    // of its dates names its zone, and as `options.quickTimeUtc` says
    // otherwise; without detection, as it says for every file.
    bool detectQuickTime = true;
    // Instead of the options: the file's modification date set to its
    // capture date ("Set File Dates from Capture Date").
    bool fileDatesFromCapture = false;
    bool operator==(const DateAdjustment &) const = default;
};

// The files the sheet adjusts.
struct AdjustDatesRequest {
    QUuid id = QUuid::createUuid();
    QList<MediaItem> items;
    bool operator==(const AdjustDatesRequest &) const = default;
};

// One line of the sheet's preview: a file and what would change in it.
struct DatePreviewRow {
    QUuid itemID;
    QString fileName;
    DatePlan plan;
    bool operator==(const DatePreviewRow &) const = default;
};

struct DatePreviewState {
    std::optional<DateAdjustment> adjustment;
    bool isLoading = false;
    QList<DatePreviewRow> rows;
    QString failure;
    bool operator==(const DatePreviewState &) const = default;
};

// What the last adjustment changed, file by file, to be put back in one step.
struct DatesUndoStep {
    struct File {
        QUuid itemID;
        QUrl url;
        QString fileName;
        DatePlan done;
        bool operator==(const File &) const = default;
    };
    QList<File> files;
    bool operator==(const DatesUndoStep &) const = default;
};

namespace DateAdjusting {

// The plan for each file, in their order: the dates read in one run of
// ExifTool, and read again as UTC for the files whose QuickTime dates are.
QCoro::Task<QList<DatePlan>> plansFor(std::shared_ptr<MetadataEngine> engine,
                                      DateAdjustment adjustment, QList<QUrl> files);

// One file of the batch: its plan made afresh from what it holds now, then
// the change; a plan that changed something is kept in `made` for the undo.
// Like FileOperations, it never throws.
QCoro::Task<FileOutcome> adjust(std::shared_ptr<MetadataEngine> engine, DateAdjustment adjustment,
                                QUrl file, ChangeOptions options,
                                std::shared_ptr<QHash<QUrl, DatePlan>> made);

// Puts back the dates a plan changed.
QCoro::Task<FileOutcome> restore(std::shared_ptr<MetadataEngine> engine, DatePlan done, QUrl file,
                                 ChangeOptions options);

// The plan that undoes this one: every tag back to what it was (a tag
// added removed, a tag removed given back).
DatePlan reversed(const DatePlan &plan);

} // namespace DateAdjusting

} // namespace Metaloom
