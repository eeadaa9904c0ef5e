#pragma once

#include "MetaloomFeature/Engine/ChangeReport.h"
#include "MetaloomFeature/Engine/PrivacyFindings.h"
#include "MetaloomFeature/Engine/PrivacyStripReport.h"
#include "MetaloomFeature/Engine/RecentReads.h"
#include "MetaloomFeature/Engine/ServiceError.h"
#include "MetaloomFeature/Engine/StoredTag.h"
#include "MetaloomFeature/Engine/StripProfile.h"
#include "MetaloomFeature/Engine/StripReport.h"
#include "MetaloomFeature/Engine/TagAssignment.h"
#include "MetaloomFeature/Engine/TagCopy.h"
#include "MetaloomFeature/Engine/TagDefinition.h"
#include "MetaloomFeature/Model/Dates/DatePlan.h"
#include "MetaloomFeature/Model/MetadataEntry.h"
#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QCoroTask>
#include <QFuture>
#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <optional>

namespace Metaloom {

// The metadata engine of one window. Every operation runs the bundled
// ExifTool as a child process, kept running between operations and shared
// by the windows (ExifToolPool). The file is never changed in place:
// ExifTool writes a new file (hidden beside the original, or in a private
// temporary folder where the original's folder takes no new file) and that
// file replaces the original only after ExifTool reported that it was
// created.
//
// Operations are coroutines started on the main thread; they suspend while
// ExifTool runs and resume there. Errors are thrown: ServiceError for the
// engine's own cases, PlatformError for launch, file, JSON and XML failures.
class ExifToolService : public QObject {
    Q_OBJECT

public:
    using ServiceError = Metaloom::ServiceError;
    using TagDefinition = Metaloom::TagDefinition;
    using EnumeratedOption = Metaloom::EnumeratedOption;

    // Without a bundle the application's own resource bundle is used.
    explicit ExifToolService(std::optional<ResourceBundle> bundle = std::nullopt,
                             QObject *parent = nullptr);
    ~ExifToolService() override;

    const ResourceBundle &bundle() const { return m_bundle; }

    // Has `count` ExifTool processes started and waiting, so that what the
    // user asks for while background work keeps one busy starts at once.
    // A missing ExifTool is told by the run that needs it, not here.
    void keepProcessesReady(int count);

    // Every tag of the file, hidden groups dropped, sorted by group and tag.
    QCoro::Task<QList<MetadataEntry>> readMetadata(QUrl fileUrl);
    // What in the file tells where, when, who and with what, from one read.
    QCoro::Task<PrivacyFindings> checkPrivacy(QUrl fileUrl);
    // What the file holds for each of these keys, read the way a change is
    // read back (one ExifTool command; a key may name a family-0 or family-1
    // group, none, or "all"), without changing anything: dry runs compare it
    // with what would be asked.
    QCoro::Task<StoredTags> readTags(QUrl fileUrl, QStringList keys);

    // Changes tags of the file in one ExifTool command: each assignment
    // sets its tag to its values (several: the items of a list) or, without
    // values, deletes it; deletions go first. Keys and values pass
    // TagKeyRules first, and an EXIF value too large for a JPEG's EXIF
    // block is refused (ServiceError::invalidInput), before ExifTool runs.
    //
    // ExifTool writes a new file; the changed tags are read back from it
    // (and from the original, for the keys whose verdict needs their old
    // values) and compared value by value (ChangeReport): a value the
    // format has no place for, keeps where ExifTool cannot write, stores
    // shortened or converted, a deleted tag still there. The new file
    // replaces the original when any part of the change took; when none
    // did, the file is left as it is and the report names every tag, and
    // when that is because ExifTool refused a value the change throws
    // ServiceError::nothingWritten with ExifTool's words. Deleting only tags
    // the file does not hold succeeds without touching it. A minor error of
    // ExifTool throws ServiceError::minorError; the change can then be asked
    // again with `options.ignoreMinorErrors`. A change that sets
    // FileModifyDate leaves the file with that date; otherwise the file
    // keeps its modification date. Long values, and values the kept
    // ExifTool's argument channel cannot carry, reach ExifTool through
    // files (ValueFiles).
    //
    // This change, the ones below and the strip follow a symbolic link
    // once, when they begin, and work on the file it led to; they are
    // refused if the link leads elsewhere by the time the new file would
    // take its place.
    QCoro::Task<ChangeReport> changeTags(QUrl fileUrl, QList<TagAssignment> assignments,
                                         ChangeOptions options = {});

    // The same for the entries whose value differs from the value read (a
    // list entry by its items; an entry cleared, or a list emptied, deletes
    // the tag). An unchanged entry, list or not, is never written; a list
    // entry is written by its items alone, whatever its display text says.
    QCoro::Task<ChangeReport> writeMetadata(QUrl fileUrl, QList<MetadataEntry> entries);
    // Sets each tag of the map to its value (an empty value deletes it).
    QCoro::Task<ChangeReport> applyOverrides(QMap<QString, QString> overrides, QUrl fileUrl);
    // Deletes the listed tags.
    QCoro::Task<ChangeReport> removeMetadata(QStringList tagKeys, QUrl fileUrl);

    // Copies the family's tags of `source` into `target` through ExifTool's
    // own copy ("-TagsFromFile"), each tag into the group it came from.
    // The copy is a change of tags like the ones above: the source is read
    // first for the tags it gives, ExifTool writes a new file, those tags
    // are read back from it and judged as if they had been set by hand
    // (ChangeReport), and only then does the new file replace the target,
    // under the target's guard. A source that gives none of the family's
    // tags leaves the target as it is. The source is never changed; it must
    // not be the target itself (ServiceError::invalidInput).
    QCoro::Task<ChangeReport> copyTags(QUrl source, QUrl target, CopyFamily family,
                                       ChangeOptions options = {});
    // What that copy would change in each target (one ExifTool run reads
    // the source and all targets), in the order of the targets. Changes
    // nothing.
    QCoro::Task<QList<CopyPreview>> previewCopy(QUrl source, QList<QUrl> targets,
                                                CopyFamily family);

    // The date tags of each file (DateTagRoles::keysToRead), in one run of
    // ExifTool, in the order of the files; QuickTime's dates read as UTC
    // when asked (ExifTool's QuickTimeUTC), as they are stored otherwise.
    QCoro::Task<QList<DateValues>> readDates(QList<QUrl> fileUrls, bool quickTimeUtc);
    // Makes the planned changes of the file's dates: a change of tags like
    // changeTags(), written, read back and judged with the plan's
    // QuickTimeUTC, so that the dates read back are compared in the way
    // they were planned. A plan that changes the file's modification date
    // leaves the file with that date.
    QCoro::Task<ChangeReport> changeDates(QUrl fileUrl, DatePlan plan, ChangeOptions options = {});
    // The change of tags a plan of dates makes: each date to its new value,
    // deleted where the plan leaves it empty.
    static QList<TagAssignment> dateAssignments(const DatePlan &plan);

    // Strips every tag ExifTool can remove from this kind of file, and
    // reports what is left, from reading the file and the stripped copy in
    // one ExifTool command before the copy replaces it. A file with nothing
    // left to strip stays exactly as it is. Minor errors as for changeTags.
    // The `keptTags` (ExifTool tag names, with or without group) are copied
    // back from the file in the same command and stay.
    QCoro::Task<StripReport> removeAllMetadata(QUrl fileUrl, ChangeOptions options = {},
                                               QStringList keptTags = {});

    // Strips the file for sharing by the profile and proves it: the privacy
    // check of the file before, the profile's tags removed through the
    // changes above (the strip of everything with the kept tags copied back,
    // or deletions), what the format kept asked once more (a serial number
    // it cannot drop set to zero), and the check of what the file became,
    // read apart. A camera raw file keeps its make, model and previews,
    // without which it could not be developed.
    QCoro::Task<PrivacyStripReport> stripForSharing(QUrl fileUrl, StripProfile profile,
                                                    ChangeOptions options = {});

    // Whether the editor must show a tag read-only whatever ExifTool says:
    // the file's owner, group and permissions, which every save keeps.
    static bool isKeptByTheFileSystem(const QString &tagKey);
    // Whether a key typed by the user (a preset's, a custom field's) can be
    // used: nothing when it can, otherwise the sentence telling why not.
    // Keys that ExifTool would read as something other than a tag are
    // refused before it runs, by these rules and by every change above.
    static std::optional<QString> keyRefusalReason(const QString &tagKey);
    // The same for a value to give the key.
    static std::optional<QString> valueRefusalReason(const QString &tagKey, const QString &value);

    // Starts loading the tag listing now (from the file kept between
    // starts, this takes milliseconds), so that the first tags shown find
    // their writability and permitted values there.
    void prepareTagDefinitions();
    // The tag listing when this service's load has it; nothing while it
    // loads, before it was asked for, and after it failed.
    std::optional<TagTable> tagDefinitionsNow() const;
    // Whether this service's load of the tag listing is still running:
    // until then a tag's definition is not known, only awaited.
    bool isLoadingTagDefinitions() const;

    // Every tag key ExifTool knows, sorted for pickers.
    QCoro::Task<QStringList> allTagKeys();
    // Writability and permitted values of one tag; nothing for unknown keys.
    QCoro::Task<std::optional<TagDefinition>> tagDefinition(QString tagKey);
    QCoro::Task<std::optional<QList<EnumeratedOption>>> enumeratedOptions(QString tagKey);

    // Whether ExifTool can write files of this one's format, as ExifTool
    // judges it: by the name first, so an extension it knows and cannot
    // write (MKV, MP3, ...) is read-only whatever the file holds and one it
    // can write is written; for a name it does not know, by the content (a
    // JPEG named "photo.dat" is written, an AAC file is not). The lists
    // ("-listwf") are loaded once per process and bundle; only a name they
    // do not settle costs a run of ExifTool, which looks at the file's type
    // alone.
    QCoro::Task<bool> canWriteFormat(QUrl fileUrl);
    // The same answer without waiting, once any service on this bundle has
    // loaded the lists; nothing before, and nothing where the content
    // decides.
    std::optional<bool> canWriteFormatNow(const QUrl &fileUrl) const;
    // The format's name for messages: the extension in capitals ("MKV");
    // empty for a name without one.
    static QString formatName(const QUrl &fileUrl);
    // "ExifTool can't write MKV files; their metadata is shown read-only."
    static QString readOnlyFormatMessage(const QUrl &fileUrl);

    // Whether a file's name can be handled at all: nothing when it can,
    // otherwise the message to show when the file is added (a name that is
    // not valid UTF-8 text could never be found again). Every operation
    // above refuses such a file.
    static std::optional<QString> unhandledNameMessage(const QUrl &fileUrl);

private:
    QCoro::Task<TagTable> loadTagDefinitions();

    ResourceBundle m_bundle;
    TagTable m_enumeratedOptionsCache;
    // This service's load of the tag listing, taken from the load the whole
    // process shares; never cleared, so a failed load stays failed for the
    // life of this service.
    std::optional<QFuture<TagTable>> m_enumerationsTask;
    std::optional<QStringList> m_sortedTagKeys;
    // Shared with the strips under way, which may outlive the service.
    std::shared_ptr<RecentReads> m_recentReads;
};

} // namespace Metaloom
