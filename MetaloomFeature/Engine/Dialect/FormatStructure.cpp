#include "FormatStructure.h"

#include <QSet>

namespace Metaloom::FormatStructure {

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

} // namespace

bool isStructural(const QString &key)
{
    const qsizetype colon = key.indexOf(QLatin1Char(':'));
    const QString group = colon < 0 ? QString() : key.left(colon);
    return groupsEveryFileHas().contains(group.toLower()) ||
           structureTagNames().contains(key.section(QLatin1Char(':'), -1).toLower());
}

} // namespace Metaloom::FormatStructure
