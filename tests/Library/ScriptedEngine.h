#pragma once

#include "MetaloomFeature/Library/MetadataEngine.h"

#include <QHash>
#include <QMap>
#include <QPromise>
#include <QSet>

#include <exception>
#include <functional>
#include <memory>

namespace Metaloom::Testing {

// A metadata engine that answers from what the test wrote into it, without
// a process: the files' tags, the tag table, the key listing, and what a
// change or a strip comes to. Like ExifTool's answers, every answer arrives
// from the event loop, never within the call. It keeps every change and
// strip it was asked for. Reads and changes of a file can be held until the
// test releases them, so the order in which answers arrive is the test's to
// choose. The refusal answers are the real engine's (they need no process
// either).
class ScriptedEngine : public MetadataEngine {
public:
    struct Change {
        QUrl file;
        QList<TagAssignment> assignments;
        ChangeOptions options;
    };
    struct Strip {
        QUrl file;
        ChangeOptions options;
    };
    struct Copy {
        QUrl source;
        QUrl target;
        CopyFamily family = CopyFamily::everything;
        bool operator==(const Copy &) const = default;
    };

    ScriptedEngine();
    ~ScriptedEngine() override;

    // What each file holds, by its local path: key to items (one for a tag
    // that is no list). A file not listed reads as holding nothing.
    QHash<QString, QMap<QString, QStringList>> files;
    // A read of a file listed here throws this.
    QHash<QString, std::exception_ptr> readFailures;
    // What a change comes to. Unset: makeChange(). Set: its answer is the
    // report (it may throw; the file then stays as it is).
    std::function<ChangeReport(const Change &change)> changeAnswer;
    // What a strip comes to. Unset: makeStrip().
    std::function<StripReport(const Strip &strip)> stripAnswer;
    // Extensions (lower case, without the dot) whose files cannot be written.
    QSet<QString> readOnlyExtensions;
    // The tag table, by key.
    TagTable definitions;
    // Every key the engine lists; unset, the listing fails.
    std::optional<QStringList> keyListing;
    // Whether the whole table (definitions) is at hand without waiting, as
    // it is once loaded; and whether it is still loading, when it is not.
    bool listingAtHand = false;
    bool listingLoading = false;

    // Everything asked, in order.
    QList<Change> changes;
    QList<Strip> strips;
    // Every copy asked, in order; each is also a change of its target (with
    // every tag the source holds, whatever the family), answered as one.
    QList<Copy> copies;
    int readCount = 0;
    int privacyCheckCount = 0;
    int listingCount = 0;

    // The change made in `files` as asked, reported complete.
    ChangeReport makeChange(const Change &change);
    // Every tag of the file gone, the report naming them.
    StripReport makeStrip(const Strip &strip);

    // Reads and changes of the file wait from now on until release();
    // holding again before a release does nothing.
    void hold(const QString &path);
    void release(const QString &path);

    // The shared pointer the library takes; it keeps this engine alive.
    static std::shared_ptr<ScriptedEngine> make() { return std::make_shared<ScriptedEngine>(); }

    QCoro::Task<QList<MetadataEntry>> readMetadata(QUrl file) override;
    QCoro::Task<std::optional<EmbeddedPreview::Preview>> embeddedPreview(QUrl file) override;
    // From what the file holds, held and failing as a read; counted apart.
    QCoro::Task<PrivacyFindings> checkPrivacy(QUrl file) override;
    QCoro::Task<ChangeReport> changeTags(QUrl file, QList<TagAssignment> assignments,
                                         ChangeOptions options) override;
    // A profile that removes everything strips as stripAnswer or
    // makeStrip says, its proof the check of what the file held and holds;
    // any other profile finds nothing, none of its classes left.
    QCoro::Task<PrivacyStripReport> stripForSharing(QUrl file, StripProfile profile,
                                                    ChangeOptions options) override;
    QCoro::Task<ChangeReport> copyTags(QUrl source, QUrl target, CopyFamily family,
                                       ChangeOptions options) override;
    QCoro::Task<QList<CopyPreview>> previewCopy(QUrl source, QList<QUrl> targets,
                                                CopyFamily family) override;
    // The date tags among the file's tags; a change of dates is a change of
    // those tags.
    QCoro::Task<QList<DateValues>> readDates(QList<QUrl> files, bool quickTimeUtc) override;
    QCoro::Task<ChangeReport> changeDates(QUrl file, DatePlan plan, ChangeOptions options) override;
    QCoro::Task<bool> canWriteFormat(QUrl file) override;
    std::optional<bool> canWriteFormatNow(const QUrl &file) const override;
    QCoro::Task<std::optional<TagDefinition>> tagDefinition(QString key) override;
    QCoro::Task<QStringList> allTagKeys() override;
    std::optional<TagTable> tagListingNow() override;
    bool isLoadingTagListing() const override;
    std::optional<QString> keyRefusalReason(const QString &key) const override;
    std::optional<QString> valueRefusalReason(const QString &key,
                                              const QString &value) const override;
    bool isKeptByTheFileSystem(const QString &key) const override;
    QString readOnlyFormatMessage(const QUrl &file) const override;

private:
    // Returns from the event loop: once the file is released when it is
    // held, else at once.
    QCoro::Task<void> answerLater(QString path);

    QHash<QString, std::shared_ptr<QPromise<void>>> m_held;
};

// The entries a read of these tags gives, as the real engine lists them:
// sorted by group and tag, a tag of several items as a list.
QList<MetadataEntry> entriesOf(const QMap<QString, QStringList> &tags);

} // namespace Metaloom::Testing
