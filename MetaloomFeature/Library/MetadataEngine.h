#pragma once

#include "MetaloomFeature/Engine/ChangeReport.h"
#include "MetaloomFeature/Engine/EmbeddedPreview.h"
#include "MetaloomFeature/Engine/PrivacyStripReport.h"
#include "MetaloomFeature/Engine/StripProfile.h"
#include "MetaloomFeature/Engine/StripReport.h"
#include "MetaloomFeature/Engine/TagAssignment.h"
#include "MetaloomFeature/Engine/TagCopy.h"
#include "MetaloomFeature/Engine/TagDefinition.h"
#include "MetaloomFeature/Model/Dates/DatePlan.h"
#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QCoroTask>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

namespace Metaloom {

class ExifToolService;

// Everything the library asks of the metadata engine, and nothing more. In
// the program the window's ExifToolService answers (over()); the library's
// own tests answer from a script, so that what the library makes of an
// answer is checked without starting ExifTool. The operations mean what the
// service's operations of the same names mean, and fail the same way: by
// throwing (ServiceError, PlatformError).
//
// The library holds the engine shared: a coroutine still running when its
// window closes keeps it, and an engine whose service is gone fails every
// call with the "stopped" message (FileOperations::engineStoppedMessage).
class MetadataEngine {
public:
    virtual ~MetadataEngine() = default;

    // The window's ExifToolService behind the seam; it must be deleted only
    // by its owner (the window), never through the engine.
    static std::shared_ptr<MetadataEngine> over(ExifToolService *service);

    // Reads
    virtual QCoro::Task<QList<MetadataEntry>> readMetadata(QUrl file) = 0;
    virtual QCoro::Task<std::optional<EmbeddedPreview::Preview>> embeddedPreview(QUrl file) = 0;
    // What in the file gives its maker away, for the badges of files not
    // shown; a read of its own, apart from the reads of the editor.
    virtual QCoro::Task<PrivacyFindings> checkPrivacy(QUrl file) = 0;
    // Background work is about to keep the engine busy: what the user asks
    // for meanwhile should find it ready. Nothing to do for most engines.
    virtual void prepareForBackgroundWork() {}

    // Changes
    virtual QCoro::Task<ChangeReport> changeTags(QUrl file, QList<TagAssignment> assignments,
                                                 ChangeOptions options) = 0;
    // A strip by the profile ("everything" too), with its proof.
    virtual QCoro::Task<PrivacyStripReport> stripForSharing(QUrl file, StripProfile profile,
                                                            ChangeOptions options) = 0;
    virtual QCoro::Task<ChangeReport> copyTags(QUrl source, QUrl target, CopyFamily family,
                                               ChangeOptions options) = 0;
    virtual QCoro::Task<QList<CopyPreview>> previewCopy(QUrl source, QList<QUrl> targets,
                                                        CopyFamily family) = 0;

    // The date tags of each file, in their order (one ExifTool run), and
    // the planned change of one file's dates.
    virtual QCoro::Task<QList<DateValues>> readDates(QList<QUrl> files, bool quickTimeUtc) = 0;
    virtual QCoro::Task<ChangeReport> changeDates(QUrl file, DatePlan plan,
                                                  ChangeOptions options) = 0;

    // Whether the file's format can be written: waiting for ExifTool, or
    // now when that is already known (nothing otherwise).
    virtual QCoro::Task<bool> canWriteFormat(QUrl file) = 0;
    virtual std::optional<bool> canWriteFormatNow(const QUrl &file) const = 0;

    // The tag table: one key's writability, permitted values and list flag
    // (nothing for a key it does not know), and every key, sorted.
    virtual QCoro::Task<std::optional<TagDefinition>> tagDefinition(QString key) = 0;
    virtual QCoro::Task<QStringList> allTagKeys() = 0;
    // The whole tag table when it is at hand now, without waiting; starts
    // loading it otherwise, so that it is there for the next question.
    virtual std::optional<TagTable> tagListingNow() = 0;
    // Whether the tag table is still being loaded: until it arrives (or
    // its load fails) a tag's writability is not known.
    virtual bool isLoadingTagListing() const = 0;

    // Answers given without a process: why a typed key or value would be
    // refused (nothing when it would not), whether a tag is kept by the file
    // system whatever is written, and the line shown for a file whose format
    // cannot be written.
    virtual std::optional<QString> keyRefusalReason(const QString &key) const = 0;
    virtual std::optional<QString> valueRefusalReason(const QString &key,
                                                      const QString &value) const = 0;
    virtual bool isKeptByTheFileSystem(const QString &key) const = 0;
    virtual QString readOnlyFormatMessage(const QUrl &file) const = 0;
};

} // namespace Metaloom
