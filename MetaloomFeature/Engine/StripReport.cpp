#include "StripReport.h"

#include <QSet>

#include <algorithm>
#include <functional>

namespace Metaloom {

namespace {

// Groups whose tags ExifTool reads from the file system or works out itself.
const QSet<QString> &groupsEveryFileHas()
{
    static const QSet<QString> groups{QStringLiteral("file"), QStringLiteral("composite"),
                                      QStringLiteral("system"), QStringLiteral("exiftool")};
    return groups;
}

// Tags that describe how the format lays out its content rather than
// anything about the picture or the people and places in it, in lower case.
const QSet<QString> &structureTagNames()
{
    static const QSet<QString> names{
        // TIFF-based images and raw files
        QStringLiteral("subfiletype"), QStringLiteral("imagewidth"), QStringLiteral("imageheight"),
        QStringLiteral("bitspersample"), QStringLiteral("compression"),
        QStringLiteral("photometricinterpretation"), QStringLiteral("stripoffsets"),
        QStringLiteral("stripbytecounts"), QStringLiteral("rowsperstrip"),
        QStringLiteral("samplesperpixel"), QStringLiteral("planarconfiguration"),
        QStringLiteral("tilewidth"), QStringLiteral("tilelength"), QStringLiteral("tileoffsets"),
        QStringLiteral("tilebytecounts"), QStringLiteral("predictor"),
        QStringLiteral("sampleformat"), QStringLiteral("extrasamples"), QStringLiteral("fillorder"),
        QStringLiteral("xresolution"), QStringLiteral("yresolution"),
        QStringLiteral("resolutionunit"), QStringLiteral("ycbcrsubsampling"),
        QStringLiteral("ycbcrpositioning"), QStringLiteral("ycbcrcoefficients"),
        QStringLiteral("thumbnailoffset"), QStringLiteral("thumbnaillength"),
        QStringLiteral("thumbnailimage"), QStringLiteral("thumbnailtiff"),
        QStringLiteral("previewimage"), QStringLiteral("previewimagestart"),
        QStringLiteral("previewimagelength"), QStringLiteral("jpgfromraw"),
        QStringLiteral("jpgfromrawstart"), QStringLiteral("jpgfromrawlength"),
        QStringLiteral("cfarepeatpatterndim"), QStringLiteral("cfapattern2"),
        QStringLiteral("cfaplanecolor"), QStringLiteral("cfalayout"),
        QStringLiteral("blacklevelrepeatdim"), QStringLiteral("blacklevel"),
        QStringLiteral("whitelevel"), QStringLiteral("defaultscale"),
        QStringLiteral("defaultcroporigin"), QStringLiteral("defaultcropsize"),
        QStringLiteral("activearea"), QStringLiteral("maskedareas"), QStringLiteral("dngversion"),
        QStringLiteral("dngbackwardversion"),
        // PNG
        QStringLiteral("bitdepth"), QStringLiteral("colortype"), QStringLiteral("filter"),
        QStringLiteral("interlace"), QStringLiteral("palette"), QStringLiteral("transparency"),
        // PDF
        QStringLiteral("pdfversion"), QStringLiteral("linearized"), QStringLiteral("pagecount"),
        // QuickTime and ISO media: brands, headers, tracks, time scales, codecs
        QStringLiteral("majorbrand"), QStringLiteral("minorversion"),
        QStringLiteral("compatiblebrands"), QStringLiteral("movieheaderversion"),
        QStringLiteral("timescale"), QStringLiteral("duration"), QStringLiteral("preferredrate"),
        QStringLiteral("preferredvolume"), QStringLiteral("matrixstructure"),
        QStringLiteral("previewtime"), QStringLiteral("previewduration"),
        QStringLiteral("postertime"), QStringLiteral("selectiontime"),
        QStringLiteral("selectionduration"), QStringLiteral("currenttime"),
        QStringLiteral("nexttrackid"), QStringLiteral("mediadatasize"),
        QStringLiteral("mediadataoffset"), QStringLiteral("trackheaderversion"),
        QStringLiteral("trackid"), QStringLiteral("trackduration"), QStringLiteral("tracklayer"),
        QStringLiteral("trackvolume"), QStringLiteral("cleanaperturedimensions"),
        QStringLiteral("productionaperturedimensions"), QStringLiteral("encodedpixelsdimensions"),
        QStringLiteral("mediaheaderversion"), QStringLiteral("mediatimescale"),
        QStringLiteral("mediaduration"), QStringLiteral("handlerclass"),
        QStringLiteral("handlertype"), QStringLiteral("graphicsmode"), QStringLiteral("opcolor"),
        QStringLiteral("compressorid"), QStringLiteral("compressorname"),
        QStringLiteral("sourceimagewidth"), QStringLiteral("sourceimageheight"),
        QStringLiteral("videoframerate"), QStringLiteral("balance"), QStringLiteral("audioformat"),
        QStringLiteral("audiochannels"), QStringLiteral("audiobitspersample"),
        QStringLiteral("audiosamplerate"), QStringLiteral("hevcconfigurationversion"),
        QStringLiteral("generalprofilespace"), QStringLiteral("generaltierflag"),
        QStringLiteral("generalprofileidc"), QStringLiteral("genprofilecompatibilityflags"),
        QStringLiteral("constraintindicatorflags"), QStringLiteral("generallevelidc"),
        QStringLiteral("minspatialsegmentationidc"), QStringLiteral("parallelismtype"),
        QStringLiteral("chromaformat"), QStringLiteral("bitdepthluma"),
        QStringLiteral("bitdepthchroma"), QStringLiteral("averageframerate"),
        QStringLiteral("constantframerate"), QStringLiteral("numtemporallayers"),
        QStringLiteral("temporalidnested"), QStringLiteral("imagespatialextent"),
        QStringLiteral("primaryitemreference")};
    return names;
}

QString groupOf(const QString &key)
{
    const qsizetype colon = key.indexOf(QLatin1Char(':'));
    return colon < 0 ? QString() : key.left(colon);
}

QString nameOf(const QString &key)
{
    return key.section(QLatin1Char(':'), -1).toLower();
}

bool containsAny(const QString &name, std::initializer_list<const char *> parts)
{
    return std::any_of(parts.begin(), parts.end(),
                       [&name](const char *part) { return name.contains(QLatin1String(part)); });
}

// Lower ranks are named first; the rest share the last rank.
int identifyingRank(const QString &key)
{
    const QString name = nameOf(key);
    // A person (the program that wrote the file, CreatorTool or a
    // WriterName, names none)
    static const QSet<QString> notAPerson{QStringLiteral("creatortool"),
                                          QStringLiteral("writername"),
                                          QStringLiteral("copyrightflag")};
    if (!notAPerson.contains(name) &&
        (containsAny(name, {"owner", "artist", "creator", "author", "by-line", "byline",
                            "copyright", "photographer", "contact"}) ||
         name == QLatin1String("writer-editor") || name == QLatin1String("credit") ||
         name == QLatin1String("rights")))
        return 0;
    // A camera: make and model first, then what tells one camera from another
    if (name == QLatin1String("make"))
        return 1;
    if (name == QLatin1String("model"))
        return 2;
    if (name.contains(QLatin1String("serial")))
        return 3;
    if (containsAny(name, {"cameramodel", "modelid", "lensmodel", "lensmake", "imagetype",
                           "imageuniqueid", "firmware"}))
        return 4;
    // A place
    static const QSet<QString> places{QStringLiteral("city"),
                                      QStringLiteral("country"),
                                      QStringLiteral("countrycode"),
                                      QStringLiteral("country-primarylocationname"),
                                      QStringLiteral("country-primarylocationcode"),
                                      QStringLiteral("province-state"),
                                      QStringLiteral("state"),
                                      QStringLiteral("sub-location")};
    if (name.startsWith(QLatin1String("gps")) || name.contains(QLatin1String("location")) ||
        places.contains(name))
        return 5;
    // A date
    if (name.contains(QLatin1String("date")) || name == QLatin1String("timecreated") ||
        name == QLatin1String("digitalcreationtime"))
        return 6;
    return 7;
}

template <typename T, typename KeyOf>
QList<T> orderedByRank(const QList<T> &items, KeyOf keyOf,
                       const std::function<bool(const T &)> &counts)
{
    struct Ranked {
        int rank;
        qsizetype index;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        ranked.push_back({counts(items.at(i)) ? identifyingRank(keyOf(items.at(i))) : 7, i});
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked &a, const Ranked &b) { return a.rank < b.rank; });
    QList<T> ordered;
    ordered.reserve(items.size());
    for (const Ranked &r : ranked)
        ordered.append(items.at(r.index));
    return ordered;
}

} // namespace

bool StripReport::isLeftOut(const QString &key)
{
    return groupsEveryFileHas().contains(groupOf(key).toLower()) ||
           structureTagNames().contains(nameOf(key));
}

StripReport StripReport::compare(const QList<MetadataEntry> &before,
                                 const QList<MetadataEntry> &after, QStringList warnings)
{
    StripReport report;
    report.warnings = std::move(warnings);
    QSet<QString> keysAfter;
    for (const MetadataEntry &entry : after) {
        keysAfter.insert(entry.rawKey);
        if (!isLeftOut(entry.rawKey))
            report.remaining.append(entry);
    }
    for (const MetadataEntry &entry : before) {
        if (!keysAfter.contains(entry.rawKey) && !isLeftOut(entry.rawKey))
            report.removed << entry.rawKey;
    }
    return report;
}

QStringList StripReport::identifyingFirst(const QStringList &keys)
{
    return orderedByRank<QString>(
        keys, [](const QString &key) { return key; }, [](const QString &) { return true; });
}

QList<MetadataEntry> StripReport::identifyingFirst(const QList<MetadataEntry> &entries)
{
    return orderedByRank<MetadataEntry>(
        entries, [](const MetadataEntry &entry) { return entry.rawKey; },
        [](const MetadataEntry &entry) { return !entry.value.trimmed().isEmpty(); });
}

} // namespace Metaloom
