#include "WriteArguments.h"

#include "MetaloomFeature/Platform/MediaTypes.h"

#include <QSet>

#include <algorithm>

namespace Metaloom::WriteArguments {

static QString assignment(const QString &key, const QString &value)
{
    return QLatin1Char('-') + key + QLatin1Char('=') + value;
}

static QStringList head(const QString &outputPath)
{
    return {QStringLiteral("-P"), QStringLiteral("-o"), outputPath};
}

static QString utf8IptcArgument()
{
    return QStringLiteral("-IPTC:CodedCharacterSet=UTF8");
}

static void finish(QStringList &arguments, const QList<QPair<QString, QString>> &assignments,
                   const QString &targetPath)
{
    if (needsUtf8Iptc(assignments))
        arguments << utf8IptcArgument();
    arguments << targetPath;
}

QStringList optionArguments(const ChangeOptions &options)
{
    if (options.quickTimeUtc)
        return {QStringLiteral("-api"), QStringLiteral("QuickTimeUTC=1")};
    return {};
}

QStringList forChange(const QList<TagAssignment> &assignments, const QString &outputPath,
                      const QString &targetPath, const ChangeOptions &options)
{
    QStringList arguments{QStringLiteral("-P")};
    if (options.ignoreMinorErrors)
        arguments << QStringLiteral("-m");
    arguments << optionArguments(options) << QStringLiteral("-o") << outputPath;
    QList<QPair<QString, QString>> values;
    for (const TagAssignment &tag : assignments) {
        if (tag.deletes())
            arguments << assignment(tag.key, QString());
    }
    for (const TagAssignment &tag : assignments) {
        for (const QString &value : tag.values) {
            if (value.isEmpty())
                continue;
            arguments << assignment(tag.key, value);
            values.append({tag.key, value});
        }
    }
    finish(arguments, values, targetPath);
    return arguments;
}

QStringList forEntries(const QList<MetadataEntry> &modifiedEntries, const QString &outputPath,
                       const QString &targetPath)
{
    QStringList arguments = head(outputPath);
    QList<QPair<QString, QString>> assignments;
    for (const MetadataEntry &entry : modifiedEntries) {
        arguments << assignment(entry.rawKey, entry.value);
        assignments.append({entry.rawKey, entry.value});
    }
    finish(arguments, assignments, targetPath);
    return arguments;
}

QStringList forOverrides(const QMap<QString, QString> &overrides, const QString &outputPath,
                         const QString &targetPath)
{
    // QMap iterates in ascending code-unit order of its keys.
    QStringList arguments = head(outputPath);
    QList<QPair<QString, QString>> assignments;
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it) {
        arguments << assignment(it.key(), it.value());
        assignments.append({it.key(), it.value()});
    }
    finish(arguments, assignments, targetPath);
    return arguments;
}

QStringList forRemovals(const QStringList &tagKeys, const QString &outputPath,
                        const QString &targetPath)
{
    QStringList sorted = tagKeys;
    std::sort(sorted.begin(), sorted.end());
    QStringList arguments = head(outputPath);
    for (const QString &key : sorted)
        arguments << assignment(key, QString());
    arguments << targetPath;
    return arguments;
}

QList<QStringList> optionalStripDeletions(const QString &targetPath)
{
    // No "-ExifTool:all=": ExifTool's own group holds no tag a file stores, so
    // deleting it changes no byte of any file, yet it costs ExifTool a search
    // of every tag table (most of a strip's time) and a warning that it
    // matched nothing.
    if (MediaTypes::isAudioVisualOrHeif(targetPath))
        return {{QStringLiteral("-icc_profile:all=")}};
    QList<QStringList> deletions;
    // ExifTool empties a raw file's preview image without complaint, leaving
    // a file whose preview viewers and converters find broken.
    if (!MediaTypes::isCameraRaw(targetPath))
        deletions << QStringList{QStringLiteral("-thumbnailimage="),
                                 QStringLiteral("-previewimage=")};
    for (const char *group : {"APP1", "APP12", "APP13", "APP14", "Adobe", "icc_profile"})
        deletions << QStringList{QLatin1Char('-') + QLatin1String(group) + QStringLiteral(":all=")};
    return deletions;
}

QStringList needlessStripDeletions(const QString &targetPath, const QStringList &heldKeys)
{
    QSet<QString> heldNames;
    for (const QString &key : heldKeys)
        heldNames.insert(key.section(QLatin1Char(':'), -1).toLower());
    QStringList needless;
    for (const QStringList &group : optionalStripDeletions(targetPath)) {
        for (const QString &deletion : group) {
            // "-name=", not "-group:all="
            if (deletion.contains(QLatin1Char(':')) || !deletion.endsWith(QLatin1Char('=')))
                continue;
            if (!heldNames.contains(deletion.mid(1, deletion.size() - 2).toLower()))
                needless << deletion;
        }
    }
    return needless;
}

QStringList forRemoveAll(const QString &outputPath, const QString &targetPath,
                         const QStringList &leftOut, const ChangeOptions &options,
                         const QStringList &kept)
{
    QStringList arguments{QStringLiteral("-all=")};
    for (const QStringList &group : optionalStripDeletions(targetPath)) {
        for (const QString &deletion : group) {
            if (!leftOut.contains(deletion))
                arguments << deletion;
        }
    }
    if (MediaTypes::isAudioVisualOrHeif(targetPath))
        arguments << QStringLiteral("-unsafe");
    if (!kept.isEmpty()) {
        arguments << QStringLiteral("-tagsFromFile") << QStringLiteral("@");
        for (const QString &key : kept)
            arguments << QLatin1Char('-') + key;
    }
    arguments << QStringLiteral("-P");
    if (options.ignoreMinorErrors)
        arguments << QStringLiteral("-m");
    arguments << QStringLiteral("-o") << outputPath << targetPath;
    return arguments;
}

static bool isAscii(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

bool needsUtf8Iptc(const QList<QPair<QString, QString>> &assignments)
{
    return std::any_of(assignments.cbegin(), assignments.cend(), [](const auto &pair) {
        const qsizetype colon = pair.first.indexOf(QLatin1Char(':'));
        const QString group = colon >= 0 ? pair.first.left(colon) : QString();
        return group.compare(QLatin1String("IPTC"), Qt::CaseInsensitive) == 0 &&
               !isAscii(pair.second);
    });
}

} // namespace Metaloom::WriteArguments
