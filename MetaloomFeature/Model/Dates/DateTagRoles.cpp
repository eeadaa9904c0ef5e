#include "DateTagRoles.h"

#include <QList>
#include <QRegularExpression>

namespace Metaloom {

namespace {

using Kind = DateTagRole::Kind;

struct KnownTag {
    const char *key;
    Kind kind;
    DateFamily family;
    const char *subSeconds = "";
    const char *offset = "";
};

// In the order a preview lists them: the capture dates first, as a camera
// writes them, then the modification dates, then the file's own.
const QList<KnownTag> &knownTags()
{
    static const QList<KnownTag> tags{
        {"ExifIFD:DateTimeOriginal", Kind::exif, DateFamily::capture, "ExifIFD:SubSecTimeOriginal",
         "ExifIFD:OffsetTimeOriginal"},
        {"ExifIFD:CreateDate", Kind::exif, DateFamily::capture, "ExifIFD:SubSecTimeDigitized",
         "ExifIFD:OffsetTimeDigitized"},
        {"XMP-exif:DateTimeOriginal", Kind::zoneInValue, DateFamily::capture},
        {"XMP-exif:DateTimeDigitized", Kind::zoneInValue, DateFamily::capture},
        {"XMP-photoshop:DateCreated", Kind::zoneInValue, DateFamily::capture},
        {"XMP-xmp:CreateDate", Kind::zoneInValue, DateFamily::capture},
        {"IPTC:DateCreated", Kind::iptcDate, DateFamily::capture},
        {"IPTC:TimeCreated", Kind::iptcTime, DateFamily::capture},
        {"Keys:CreationDate", Kind::zoneInValue, DateFamily::capture},
        {"QuickTime:CreateDate", Kind::quickTime, DateFamily::capture},
        {"TrackCreateDate", Kind::quickTime, DateFamily::capture},
        {"MediaCreateDate", Kind::quickTime, DateFamily::capture},
        {"IFD0:ModifyDate", Kind::exif, DateFamily::modification, "ExifIFD:SubSecTime",
         "ExifIFD:OffsetTime"},
        {"XMP-xmp:ModifyDate", Kind::zoneInValue, DateFamily::modification},
        {"QuickTime:ModifyDate", Kind::quickTime, DateFamily::modification},
        {"TrackModifyDate", Kind::quickTime, DateFamily::modification},
        {"MediaModifyDate", Kind::quickTime, DateFamily::modification},
        {"System:FileModifyDate", Kind::fileSystem, DateFamily::file},
    };
    return tags;
}

// Track and media dates are found in every track ("Track1", "Track2", ...).
bool isTrackKey(const QString &key, const QString &tagName)
{
    static const QRegularExpression track(QStringLiteral("^Track\\d+:(\\w+)$"));
    const QRegularExpressionMatch match = track.match(key);
    return match.hasMatch() && match.captured(1) == tagName;
}

} // namespace

std::optional<DateTagRole> DateTagRoles::of(const QString &key)
{
    const QList<KnownTag> &tags = knownTags();
    for (int index = 0; index < tags.size(); ++index) {
        const KnownTag &tag = tags.at(index);
        const QString known = QLatin1String(tag.key);
        const bool track = !known.contains(QLatin1Char(':'));
        if (track ? isTrackKey(key, known) : key == known)
            return DateTagRole{
                tag.kind, tag.family, QLatin1String(tag.subSeconds), QLatin1String(tag.offset),
                {},       index * 2};
        // A companion stands right after its date.
        for (const auto &[companion, kind] :
             {std::pair{tag.subSeconds, Kind::subSeconds}, std::pair{tag.offset, Kind::offset}}) {
            if (*companion && key == QLatin1String(companion))
                return DateTagRole{kind, tag.family, {}, {}, known, index * 2 + 1};
        }
    }
    return std::nullopt;
}

QStringList DateTagRoles::keysToRead()
{
    QStringList keys;
    for (const KnownTag &tag : knownTags()) {
        const QString known = QLatin1String(tag.key);
        // The track dates are asked by their family-0 group, which finds
        // them in every track.
        keys << (known.contains(QLatin1Char(':')) ? known : QStringLiteral("QuickTime:") + known);
        if (*tag.subSeconds)
            keys << QLatin1String(tag.subSeconds);
        if (*tag.offset)
            keys << QLatin1String(tag.offset);
    }
    return keys;
}

} // namespace Metaloom
