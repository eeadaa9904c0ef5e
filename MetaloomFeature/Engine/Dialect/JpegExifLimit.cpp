#include "JpegExifLimit.h"

#include <QLocale>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QSet>

#include <QCoreApplication>
#include <algorithm>

namespace Metaloom::JpegExifLimit {

namespace {

bool isExifKey(const QString &key)
{
    static const QSet<QString> groups{QStringLiteral("exif"),   QStringLiteral("ifd0"),
                                      QStringLiteral("ifd1"),   QStringLiteral("exififd"),
                                      QStringLiteral("gps"),    QStringLiteral("interopifd"),
                                      QStringLiteral("subifd"), QStringLiteral("globparamifd")};
    // Without a group ExifTool writes these to EXIF first.
    static const QSet<QString> ungroupedExifTexts{
        QStringLiteral("imagedescription"), QStringLiteral("usercomment"),
        QStringLiteral("artist"),           QStringLiteral("copyright"),
        QStringLiteral("software"),         QStringLiteral("xpcomment")};
    const QStringList parts = key.split(QLatin1Char(':'));
    if (parts.size() == 1) {
        QString name = parts.first().toLower();
        if (name.endsWith(QLatin1Char('#')))
            name.chop(1);
        return ungroupedExifTexts.contains(name);
    }
    QString group = parts.first().toLower();
    while (!group.isEmpty() && group.front().isDigit())
        group.remove(0, 1);
    static const QRegularExpression numberedSubIfd(QStringLiteral("^subifd\\d+$"));
    return groups.contains(group) || numberedSubIfd.match(group).hasMatch();
}

QString refusal(const QString &fileName, const QString &what)
{
    return QCoreApplication::translate(
               "JpegExifLimit",
               "“%1” was left unchanged: %2 would not fit in the EXIF block of a "
               "JPEG, which holds at most 64 KB. ExifTool would split it into several "
               "blocks, and other programs then misread the file. Long texts belong "
               "in XMP, for example XMP-dc:Description.")
        .arg(fileName, what);
}

bool splitsExifIn(const QString &warning)
{
    return warning.contains(QLatin1String("multi-segment EXIF"), Qt::CaseInsensitive) ||
           warning.contains(QLatin1String("Writing large value for"), Qt::CaseInsensitive);
}

} // namespace

bool splitsExif(const QStringList &warnings)
{
    return std::any_of(warnings.cbegin(), warnings.cend(), splitsExifIn);
}

bool isJpeg(const QString &targetPath)
{
    const QMimeDatabase database;
    return database.mimeTypeForFile(targetPath, QMimeDatabase::MatchExtension)
        .inherits(QStringLiteral("image/jpeg"));
}

std::optional<QString> refusalBeforeWriting(const QString &targetPath, const QString &fileName,
                                            const QList<TagAssignment> &assignments)
{
    if (!isJpeg(targetPath))
        return std::nullopt;
    for (const TagAssignment &assignment : assignments) {
        if (!isExifKey(assignment.key))
            continue;
        for (const QString &value : assignment.values) {
            const qsizetype bytes = value.toUtf8().size();
            if (bytes > longestValueBytes) {
                return refusal(fileName, QCoreApplication::translate("JpegExifLimit",
                                                                     "the value of %1 (%2 bytes)")
                                             .arg(assignment.key, QLocale::c().toString(bytes)));
            }
        }
    }
    return std::nullopt;
}

std::optional<QString> refusalAfterWriting(const QString &fileName,
                                           const QStringList &writeWarnings,
                                           const QStringList &originalWarnings,
                                           const QStringList &newWarnings)
{
    static const QRegularExpression largeValue(
        QStringLiteral("Writing large value for ([A-Za-z0-9_-]+)"));
    for (const QString &warning : writeWarnings) {
        const QRegularExpressionMatch match = largeValue.match(warning);
        if (match.hasMatch())
            return refusal(fileName, QCoreApplication::translate("JpegExifLimit", "the value of %1")
                                         .arg(match.captured(1)));
    }
    // A file whose EXIF was split before is not made worse by rewriting it.
    if (splitsExif(originalWarnings))
        return std::nullopt;
    if (splitsExif(writeWarnings) || splitsExif(newWarnings))
        return refusal(
            fileName, QCoreApplication::translate("JpegExifLimit", "the EXIF data of this change"));
    return std::nullopt;
}

} // namespace Metaloom::JpegExifLimit
