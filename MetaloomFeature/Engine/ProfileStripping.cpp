// Stripping for sharing: a profile's tags go through the engine's own
// changes (the strip of everything, or deletions), and the privacy check
// runs again on what the file became.

#include "ExifToolService.h"

#include "PrivacyStripReport.h"
#include "StripProfile.h"

#include "MetaloomFeature/Platform/MediaTypes.h"

#include <QSet>

namespace Metaloom {

namespace {

// What a camera raw file cannot lose and still be developed: the camera's
// make and model, by which converters pick its decoding, and its previews,
// which are part of its structure.
bool isNeededByRaw(const QString &key)
{
    static const QSet<QString> needed{QStringLiteral("make"), QStringLiteral("model"),
                                      QStringLiteral("uniquecameramodel")};
    return needed.contains(key.section(u':', -1).toLower()) ||
           PrivacyClasses::classOf(key) == PrivacyClass::pictures;
}

bool isComputed(const QString &key)
{
    static const QSet<QString> computed{QStringLiteral("composite"), QStringLiteral("file"),
                                        QStringLiteral("system"), QStringLiteral("exiftool")};
    return computed.contains(key.section(u':', 0, 0).toLower());
}

// A serial number is blanked rather than deleted: where a format keeps the
// tag (a maker note's fixed field), zero is what it can hold instead. (A date a
// format keeps, as a movie's header does, ExifTool zeroes when asked to
// delete it.)
bool isSerialNumber(const QString &key)
{
    return PrivacyClasses::matches(QStringLiteral("*SerialNumber"), key);
}

// The tags copied back into a stripped file: the kept names as given, and
// the file's own keys that a kept class or pattern covers.
QStringList keptTags(const StripProfile &profile, const QList<MetadataEntry> &entries)
{
    QStringList kept;
    for (const QString &key : profile.keptKeys) {
        if (!key.contains(u'*'))
            kept << key;
    }
    for (const MetadataEntry &entry : entries) {
        if (!isComputed(entry.rawKey) && profile.keeps(entry.rawKey) &&
            !kept.contains(entry.rawKey, Qt::CaseInsensitive))
            kept << entry.rawKey;
    }
    return kept;
}

// What still gives away what the profile removes.
QStringList leftOver(const StripProfile &profile, const QList<PrivacyClass> &checked,
                     const QList<MetadataEntry> &entries)
{
    QStringList left;
    for (const MetadataEntry &entry : entries) {
        const std::optional<PrivacyClass> found = PrivacyClasses::classOf(entry.rawKey);
        if (found && checked.contains(*found) && !profile.keeps(entry.rawKey) &&
            !PrivacyFindings::isBlank(entry.value))
            left << entry.rawKey;
    }
    return left;
}

// A change that took in part, or not at all, is no failure here: the check
// that follows tells what stayed. Failures of the engine itself still are.
bool isTheFileRefusing(const ServiceError &error)
{
    return error.kind() == ServiceError::Kind::nothingWritten ||
           error.kind() == ServiceError::Kind::executionFailed ||
           error.kind() == ServiceError::Kind::minorError;
}

// Whether the file still holds a tag of the keep list; a kept name that is a
// group's (ICC_Profile) covers the group's tags.
bool isKeptTag(const StripProfile &profile, const QString &key)
{
    return !isComputed(key) &&
           (profile.keeps(key) ||
            profile.keptKeys.contains(key.section(u':', 0, 0), Qt::CaseInsensitive));
}

} // namespace

QCoro::Task<PrivacyStripReport> ExifToolService::stripForSharing(QUrl fileUrl, StripProfile profile,
                                                                 ChangeOptions options)
{
    PrivacyStripReport report;
    report.profileName = profile.name;
    report.checkedClasses = profile.checkedClasses();
    const bool raw = MediaTypes::isCameraRaw(fileUrl.toLocalFile());

    // A strip of everything reads the file before and after itself; only
    // what it copies back needs reading first.
    QList<MetadataEntry> before;
    std::optional<QList<MetadataEntry>> stripped;
    if (!profile.removesEverything || !profile.keptKeys.isEmpty())
        before = co_await readMetadata(fileUrl);
    if (profile.removesEverything) {
        const QStringList copiedBack = keptTags(profile, before);
        const StripReport strip = co_await removeAllMetadata(fileUrl, options, copiedBack);
        if (profile.keptKeys.isEmpty())
            before = strip.entriesBefore;
        stripped = strip.entriesAfter;
        report.warnings = strip.warnings;
        // Asked for nothing to stay, the user is told of what the file type
        // kept beyond the classes checked (a raw file's camera settings).
        // Tags copied back bring what their block needs (ExifVersion with
        // the EXIF block), which is no leftover.
        for (const MetadataEntry &entry :
             copiedBack.isEmpty() ? strip.remaining : QList<MetadataEntry>()) {
            if (!PrivacyClasses::classOf(entry.rawKey) && !isKeptTag(profile, entry.rawKey) &&
                !PrivacyFindings::isBlank(entry.value))
                report.otherLeft << entry.rawKey;
        }
    } else {
        QList<TagAssignment> deletions;
        for (const MetadataEntry &entry : before) {
            if (!isComputed(entry.rawKey) && profile.removes(entry.rawKey) &&
                !(raw && isNeededByRaw(entry.rawKey)))
                deletions << TagAssignment{entry.rawKey, {}};
        }
        if (!deletions.isEmpty()) {
            try {
                co_await changeTags(fileUrl, deletions, options);
            } catch (const ServiceError &error) {
                if (!isTheFileRefusing(error))
                    throw;
            }
        }
    }

    report.before = PrivacyFindings::of(before);

    // What a format keeps through a strip is asked once more by name (a
    // raw file's dates, a movie's header dates), and a serial number that
    // cannot go is blanked.
    QList<MetadataEntry> after = stripped ? *stripped : co_await readMetadata(fileUrl);
    QList<TagAssignment> second;
    for (const QString &key : leftOver(profile, report.checkedClasses, after)) {
        if (isSerialNumber(key))
            second << TagAssignment{key, {QStringLiteral("0")}};
        else if (!(raw && isNeededByRaw(key)))
            second << TagAssignment{key, {}};
    }
    if (!second.isEmpty()) {
        try {
            co_await changeTags(fileUrl, second, options);
        } catch (const ServiceError &error) {
            if (!isTheFileRefusing(error))
                throw;
        }
        after = co_await readMetadata(fileUrl);
    }

    // Blanked: a finding the file held that is still there, holding
    // nothing (a maker note's field emptied or zeroed, a movie's date).
    const QStringList found = report.before.allKeys();
    for (const MetadataEntry &entry : after) {
        const std::optional<PrivacyClass> privacyClass = PrivacyClasses::classOf(entry.rawKey);
        if (privacyClass && report.checkedClasses.contains(*privacyClass) &&
            found.contains(entry.rawKey) && PrivacyFindings::isBlank(entry.value))
            report.blanked << entry.rawKey;
    }
    report.after = PrivacyFindings::of(after);
    report.left = leftOver(profile, report.checkedClasses, after);
    for (const MetadataEntry &entry : after) {
        if (isKeptTag(profile, entry.rawKey))
            report.kept << entry.rawKey;
    }
    co_return report;
}

QStringList PrivacyStripReport::leftOf(PrivacyClass privacyClass) const
{
    QStringList keys;
    for (const QString &key : left) {
        if (PrivacyClasses::classOf(key) == privacyClass)
            keys << key;
    }
    return keys;
}

} // namespace Metaloom
