#include "PrivacyClasses.h"

#include <QSet>

namespace Metaloom::PrivacyClasses {

namespace {

using enum PrivacyClass;

// Glob match with "*" only, without regard to case.
bool globMatches(QStringView pattern, QStringView text)
{
    qsizetype p = 0;
    qsizetype t = 0;
    qsizetype star = -1;
    qsizetype resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && pattern[p].toCaseFolded() == text[t].toCaseFolded()) {
            ++p;
            ++t;
        } else if (star >= 0) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

Rule rule(PrivacyClass privacyClass, const char *group, const char *tag)
{
    return {privacyClass, QString::fromLatin1(group), QString::fromLatin1(tag)};
}

QList<Rule> makeRules()
{
    // The edit history comes first, so that the program that wrote a file
    // (CreatorTool) is not taken for its creator and a history step's date
    // stays with its step.
    return {
        rule(history, "", "Software"),
        rule(history, "", "CreatorTool"),
        rule(history, "", "ProcessingSoftware"),
        rule(history, "", "HistoryAction"),
        rule(history, "", "HistorySoftwareAgent"),
        rule(history, "XMP-xmpMM", "History*"),
        rule(history, "XMP-xmpMM", "DerivedFrom*"),
        rule(history, "", "DocumentAncestors"),
        rule(history, "XMP-crs", "*"),
        rule(history, "XMP-crd", "*"),
        rule(history, "", "OriginalRawFileName"),
        rule(history, "", "PreservedFileName"),

        // GPS of every family: EXIF's GPS directory, XMP-exif, QuickTime's
        // Keys, ItemList and UserData, the maker notes.
        rule(location, "", "GPS*"),
        rule(location, "", "City"),
        rule(location, "", "Sub-location"),
        rule(location, "", "Province-State"),
        rule(location, "", "State"),
        rule(location, "", "Country"),
        rule(location, "", "CountryCode"),
        rule(location, "", "Country-PrimaryLocationName"),
        rule(location, "", "Country-PrimaryLocationCode"),
        rule(location, "", "Location"),
        rule(location, "", "LocationName"),
        rule(location, "", "LocationInformation"),
        rule(location, "XMP-iptcExt", "LocationCreated*"),
        rule(location, "XMP-iptcExt", "LocationShown*"),

        rule(people, "", "Artist"),
        rule(people, "", "Creator"),
        rule(people, "", "By-line"),
        rule(people, "", "By-lineTitle"),
        rule(people, "", "Writer-Editor"),
        rule(people, "", "Credit"),
        rule(people, "", "Copyright"),
        rule(people, "", "CopyrightNotice"),
        rule(people, "", "Rights"),
        rule(people, "", "XPAuthor"),
        rule(people, "", "XPComment"),
        rule(people, "", "UserComment"),
        // EXIF's camera owner name (0xa430) is ExifTool's OwnerName too.
        rule(people, "", "OwnerName"),
        // The creator's contact details: address, e-mail, phone, web page.
        rule(people, "XMP-iptcCore", "Creator*"),
        rule(people, "XMP-iptcExt", "PersonInImage*"),
        rule(people, "XMP-mwg-rs", "Region*"),
        rule(people, "XMP-MP", "Region*"),
        rule(people, "", "FaceName"),
        rule(people, "", "RecognizedFace*Name"),

        // Serial numbers of body and lens in every form, the maker notes'
        // among them (SerialNumber, InternalSerialNumber, LensSerialNumber,
        // BodySerialNumber, CameraSerialNumber).
        rule(device, "", "*SerialNumber"),
        rule(device, "", "Make"),
        rule(device, "", "Model"),
        rule(device, "", "UniqueCameraModel"),
        rule(device, "", "LocalizedCameraModel"),
        rule(device, "", "ImageUniqueID"),
        rule(device, "", "DocumentID"),
        rule(device, "", "InstanceID"),
        rule(device, "", "OriginalDocumentID"),
        rule(device, "", "RawDataUniqueID"),

        rule(pictures, "", "ThumbnailImage"),
        rule(pictures, "", "ThumbnailTIFF"),
        rule(pictures, "", "PreviewImage"),
        rule(pictures, "", "JpgFromRaw"),
        rule(pictures, "", "OtherImage"),
        rule(pictures, "", "CoverArt"),

        rule(time, "", "DateTimeOriginal"),
        rule(time, "", "CreateDate"),
        rule(time, "", "ModifyDate"),
        rule(time, "", "DateTimeDigitized"),
        rule(time, "", "DateTime"),
        rule(time, "", "DateCreated"),
        rule(time, "", "TimeCreated"),
        rule(time, "", "DigitalCreationDate"),
        rule(time, "", "DigitalCreationTime"),
        rule(time, "", "MetadataDate"),
        rule(time, "", "CreationDate"),
        rule(time, "", "CreationTime"),
        rule(time, "", "ContentCreateDate"),
        rule(time, "", "TrackCreateDate"),
        rule(time, "", "TrackModifyDate"),
        rule(time, "", "MediaCreateDate"),
        rule(time, "", "MediaModifyDate"),
        rule(time, "", "OffsetTime*"),
        rule(time, "", "SubSecTime*"),
        rule(time, "", "TimeZone*"),
    };
}

} // namespace

const QList<Rule> &rules()
{
    static const QList<Rule> table = makeRules();
    return table;
}

QList<PrivacyClass> all()
{
    return {location, people, device, time, pictures, history};
}

bool matches(const QString &pattern, const QString &key)
{
    const qsizetype patternColon = pattern.indexOf(u':');
    const qsizetype keyColon = key.indexOf(u':');
    const QStringView keyTag = QStringView(key).mid(keyColon + 1);
    if (patternColon < 0)
        return globMatches(pattern, keyTag);
    const QStringView keyGroup = QStringView(key).left(qMax<qsizetype>(keyColon, 0));
    return globMatches(QStringView(pattern).left(patternColon), keyGroup) &&
           globMatches(QStringView(pattern).mid(patternColon + 1), keyTag);
}

std::optional<PrivacyClass> classOf(const QString &key)
{
    static const QSet<QString> computed{QStringLiteral("composite"), QStringLiteral("file"),
                                        QStringLiteral("system"), QStringLiteral("exiftool")};
    const qsizetype colon = key.indexOf(u':');
    const QStringView group = QStringView(key).left(qMax<qsizetype>(colon, 0));
    if (computed.contains(group.toString().toLower()))
        return std::nullopt;
    const QStringView tag = QStringView(key).mid(colon + 1);
    for (const Rule &rule : rules()) {
        if ((rule.group.isEmpty() || globMatches(rule.group, group)) && globMatches(rule.tag, tag))
            return rule.privacyClass;
    }
    return std::nullopt;
}

QString name(PrivacyClass privacyClass)
{
    switch (privacyClass) {
    case location:
        return QStringLiteral("location");
    case people:
        return QStringLiteral("people");
    case device:
        return QStringLiteral("device");
    case time:
        return QStringLiteral("time");
    case pictures:
        return QStringLiteral("pictures");
    case history:
        return QStringLiteral("history");
    }
    return {};
}

std::optional<PrivacyClass> fromName(const QString &text)
{
    for (PrivacyClass privacyClass : all()) {
        if (name(privacyClass).compare(text, Qt::CaseInsensitive) == 0)
            return privacyClass;
    }
    return std::nullopt;
}

} // namespace Metaloom::PrivacyClasses
