#include "TagCopyPlan.h"

#include "WriteArguments.h"

#include <QSet>

namespace Metaloom::TagCopyPlan {

QStringList keysFor(CopyFamily family)
{
    switch (family) {
    case CopyFamily::everything:
        return {QStringLiteral("all")};
    case CopyFamily::descriptionAndKeywords:
        return {QStringLiteral("XMP-dc:Title"),         QStringLiteral("XMP-dc:Description"),
                QStringLiteral("XMP-dc:Subject"),       QStringLiteral("XMP-photoshop:Headline"),
                QStringLiteral("IPTC:ObjectName"),      QStringLiteral("IPTC:Caption-Abstract"),
                QStringLiteral("IPTC:Keywords"),        QStringLiteral("IPTC:Headline"),
                QStringLiteral("IFD0:ImageDescription")};
    case CopyFamily::creatorAndRights:
        return {QStringLiteral("XMP-dc:Creator"),       QStringLiteral("XMP-dc:Rights"),
                QStringLiteral("XMP-xmpRights:all"),    QStringLiteral("XMP-photoshop:Credit"),
                QStringLiteral("XMP-photoshop:Source"), QStringLiteral("XMP-iptcCore:all"),
                QStringLiteral("IPTC:By-line"),         QStringLiteral("IPTC:By-lineTitle"),
                QStringLiteral("IPTC:CopyrightNotice"), QStringLiteral("IPTC:Credit"),
                QStringLiteral("IPTC:Source"),          QStringLiteral("IFD0:Artist"),
                QStringLiteral("IFD0:Copyright")};
    case CopyFamily::location:
        return {QStringLiteral("GPS:all"),
                QStringLiteral("XMP-exif:GPSLatitude"),
                QStringLiteral("XMP-exif:GPSLongitude"),
                QStringLiteral("XMP-exif:GPSAltitude"),
                QStringLiteral("XMP-photoshop:City"),
                QStringLiteral("XMP-photoshop:State"),
                QStringLiteral("XMP-photoshop:Country"),
                QStringLiteral("XMP-iptcCore:Location"),
                QStringLiteral("XMP-iptcCore:CountryCode"),
                QStringLiteral("IPTC:City"),
                QStringLiteral("IPTC:Sub-location"),
                QStringLiteral("IPTC:Province-State"),
                QStringLiteral("IPTC:Country-PrimaryLocationName"),
                QStringLiteral("IPTC:Country-PrimaryLocationCode")};
    case CopyFamily::dates:
        return {QStringLiteral("ExifIFD:DateTimeOriginal"),
                QStringLiteral("ExifIFD:CreateDate"),
                QStringLiteral("IFD0:ModifyDate"),
                QStringLiteral("ExifIFD:OffsetTime"),
                QStringLiteral("ExifIFD:OffsetTimeOriginal"),
                QStringLiteral("ExifIFD:OffsetTimeDigitized"),
                QStringLiteral("ExifIFD:SubSecTimeOriginal"),
                QStringLiteral("ExifIFD:SubSecTimeDigitized"),
                QStringLiteral("XMP-xmp:CreateDate"),
                QStringLiteral("XMP-xmp:ModifyDate"),
                QStringLiteral("XMP-exif:DateTimeOriginal"),
                QStringLiteral("XMP-photoshop:DateCreated"),
                QStringLiteral("IPTC:DateCreated"),
                QStringLiteral("IPTC:TimeCreated")};
    case CopyFamily::cameraSettings:
        return {QStringLiteral("IFD0:Make"),
                QStringLiteral("IFD0:Model"),
                QStringLiteral("ExifIFD:LensMake"),
                QStringLiteral("ExifIFD:LensModel"),
                QStringLiteral("ExifIFD:ExposureTime"),
                QStringLiteral("ExifIFD:FNumber"),
                QStringLiteral("ExifIFD:ISO"),
                QStringLiteral("ExifIFD:ExposureProgram"),
                QStringLiteral("ExifIFD:ExposureCompensation"),
                QStringLiteral("ExifIFD:MeteringMode"),
                QStringLiteral("ExifIFD:Flash"),
                QStringLiteral("ExifIFD:FocalLength"),
                QStringLiteral("ExifIFD:FocalLengthIn35mmFormat"),
                QStringLiteral("ExifIFD:WhiteBalance")};
    }
    return {};
}

bool isCopied(const QString &printedKey)
{
    static const QSet<QString> notCopied{QStringLiteral("File"), QStringLiteral("System"),
                                         QStringLiteral("Composite"), QStringLiteral("ExifTool"),
                                         QStringLiteral("MakerNotes")};
    return !notCopied.contains(printedKey.section(QLatin1Char(':'), 0, 0));
}

QList<TagAssignment> copiedTags(const ChangeReadBack::FileAnswers &source, const QStringList &keys)
{
    QList<TagAssignment> copied;
    QSet<QString> seen;
    for (const QString &key : keys) {
        for (const ChangeReadBack::PrintedTag &tag : source.byKey.value(key)) {
            if (!isCopied(tag.key) || tag.items.isEmpty())
                continue;
            // A tag that repeats in one group is written once there.
            const QString name = ChangeReadBack::familyOneKey(tag.key);
            if (seen.contains(name))
                continue;
            seen.insert(name);
            copied.append({name, tag.items});
        }
    }
    return copied;
}

QStringList arguments(const QString &sourcePath, const QStringList &keys,
                      const QList<TagAssignment> &copied, const QString &outputPath,
                      const QString &targetPath, const ChangeOptions &options)
{
    QStringList arguments{QStringLiteral("-P")};
    if (options.ignoreMinorErrors)
        arguments << QStringLiteral("-m");
    arguments << WriteArguments::optionArguments(options) << QStringLiteral("-TagsFromFile")
              << sourcePath;
    // "all:all" rather than "all": a tag lands in the group it came from
    // rather than wherever ExifTool would prefer to put it.
    for (const QString &key : keys)
        arguments << (key == QLatin1String("all") ? QStringLiteral("-all:all")
                                                  : QLatin1Char('-') + key);
    QList<QPair<QString, QString>> values;
    for (const TagAssignment &tag : copied) {
        for (const QString &item : tag.values)
            values.append({tag.key, item});
    }
    if (WriteArguments::needsUtf8Iptc(values))
        arguments << QStringLiteral("-IPTC:CodedCharacterSet=UTF8");
    arguments << QStringLiteral("-o") << outputPath << targetPath;
    return arguments;
}

QList<CopyDifference> differences(const QList<TagAssignment> &copied,
                                  const ChangeReadBack::FileAnswers &target)
{
    QHash<QString, QStringList> held;
    for (auto it = target.byKey.cbegin(); it != target.byKey.cend(); ++it) {
        for (const ChangeReadBack::PrintedTag &tag : it.value()) {
            const QString name = ChangeReadBack::familyOneKey(tag.key);
            if (!held.contains(name))
                held.insert(name, tag.items);
        }
    }
    QList<CopyDifference> changes;
    for (const TagAssignment &tag : copied) {
        const QStringList before = held.value(tag.key);
        if (before != tag.values)
            changes.append({tag.key, before, tag.values});
    }
    return changes;
}

} // namespace Metaloom::TagCopyPlan
