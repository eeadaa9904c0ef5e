#include "TagKeyRules.h"

#include "MetaloomFeature/Engine/ServiceError.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>

namespace Metaloom::TagKeyRules {

namespace {

bool hasTagKeyShape(const QString &key)
{
    static const QRegularExpression shape(
        QStringLiteral("^(?:[A-Za-z0-9_](?:[A-Za-z0-9_-]*[A-Za-z0-9_])?:)*[A-Za-z0-9_](?:[A-Za-z0-"
                       "9_-]*[A-Za-z0-9_])?#?$"));
    return shape.match(key).hasMatch();
}

// ExifTool checks every argument against its options before it looks for a
// tag assignment; these are the options whose pattern admits "KEY=VALUE" for
// a key of tag shape.
bool isReadAsOption(const QString &keyWithoutMark)
{
    static const QSet<QString> wholeKeyOptions{QStringLiteral("tagsfromfile"),
                                               QStringLiteral("alltagsfromfile"),
                                               QStringLiteral("addtagsfromfile"),
                                               QStringLiteral("csv"),
                                               QStringLiteral("j"),
                                               QStringLiteral("json")};
    static const QRegularExpression progressOption(QStringLiteral("^progress[0-9]*:"),
                                                   QRegularExpression::CaseInsensitiveOption);
    return wholeKeyOptions.contains(keyWithoutMark.toLower()) ||
           progressOption.match(keyWithoutMark).hasMatch();
}

// Writable pseudo-tags that act on the file itself rather than its metadata.
bool movesTheFile(const QString &tagName)
{
    static const QSet<QString> names{QStringLiteral("filename"), QStringLiteral("directory"),
                                     QStringLiteral("hardlink"), QStringLiteral("symlink"),
                                     QStringLiteral("testname")};
    return names.contains(tagName.toLower());
}

// ExifTool's geotagging pseudo-tags: Geotag's value names GPS track logs
// (wildcards allowed) that ExifTool reads, Geosync's may name photos to
// synchronise with, and Geotime writes a set of GPS tags worked out from
// the track at that time. None of them is a value stored in the file.
bool geotags(const QString &tagName)
{
    static const QSet<QString> names{QStringLiteral("geotag"), QStringLiteral("geosync"),
                                     QStringLiteral("geotime")};
    return names.contains(tagName.toLower());
}

// ExifTool's built-in shortcuts that stand for FileName among other tags:
// writing one writes the file's name too.
bool isShortcutIncludingFileName(const QString &tagName)
{
    static const QSet<QString> shortcuts{QStringLiteral("common"), QStringLiteral("canon"),
                                         QStringLiteral("ls-l")};
    return shortcuts.contains(tagName.toLower());
}

QString tagNameOf(const QString &tagKey)
{
    const QString withoutMark = tagKey.endsWith(QLatin1Char('#')) ? tagKey.chopped(1) : tagKey;
    return withoutMark.section(QLatin1Char(':'), -1);
}

} // namespace

bool isKeptByTheFileSystem(const QString &tagKey)
{
    static const QSet<QString> names{QStringLiteral("filepermissions"),
                                     QStringLiteral("fileuserid"), QStringLiteral("filegroupid")};
    return names.contains(tagNameOf(tagKey).toLower());
}

std::optional<QString> refusalReason(const QString &tagKey)
{
    if (tagKey.isEmpty())
        return QCoreApplication::translate("TagKeyRules", "A tag key cannot be empty.");
    if (!hasTagKeyShape(tagKey)) {
        return QCoreApplication::translate(
                   "TagKeyRules",
                   "“%1” is not a tag key. A tag key is a tag name, optionally after "
                   "group names and colons (for example XMP-dc:Title), made of "
                   "letters, digits, “-” and “_”.")
            .arg(tagKey);
    }
    const QString withoutMark = tagKey.endsWith(QLatin1Char('#')) ? tagKey.chopped(1) : tagKey;
    if (isReadAsOption(withoutMark)) {
        return QCoreApplication::translate(
                   "TagKeyRules",
                   "“%1” is an ExifTool option, not a tag, so Metaloom does not pass "
                   "it on.")
            .arg(tagKey);
    }
    const QString tagName = withoutMark.section(QLatin1Char(':'), -1);
    if (movesTheFile(tagName)) {
        return QCoreApplication::translate(
                   "TagKeyRules",
                   "“%1” would rename, move or link the file itself, so Metaloom does "
                   "not write it.")
            .arg(tagKey);
    }
    if (geotags(tagName)) {
        return QCoreApplication::translate(
                   "TagKeyRules", "“%1” makes ExifTool read other files (GPS track logs, photos to "
                                  "synchronise with) and work out GPS tags from them, so Metaloom "
                                  "does not write it.")
            .arg(tagKey);
    }
    if (isKeptByTheFileSystem(tagKey)) {
        return QCoreApplication::translate(
                   "TagKeyRules",
                   "“%1” is kept by the file system: a save leaves the file's owner, "
                   "group and permissions as they were, so Metaloom does not write it.")
            .arg(tagKey);
    }
    if (isShortcutIncludingFileName(tagName)) {
        return QCoreApplication::translate(
                   "TagKeyRules",
                   "“%1” is an ExifTool shortcut that includes the file name, which "
                   "would rename or move the file itself, so Metaloom does not write "
                   "it.")
            .arg(tagKey);
    }
    return std::nullopt;
}

std::optional<QString> valueRefusalReason(const QString &tagKey, const QString &value)
{
    if (value.contains(QChar(u'\0'))) {
        return QCoreApplication::translate(
                   "TagKeyRules", "The value for “%1” contains a NUL character, which cannot be "
                                  "written.")
            .arg(tagKey);
    }
    return std::nullopt;
}

QStringList usableKeys(const QStringList &tagKeys)
{
    QStringList usable;
    usable.reserve(tagKeys.size());
    for (const QString &key : tagKeys) {
        if (isUsable(key))
            usable.append(key);
    }
    return usable;
}

void requireUsable(const QList<QPair<QString, QString>> &assignments)
{
    for (const auto &[key, value] : assignments) {
        if (std::optional<QString> reason = refusalReason(key))
            throw ServiceError::invalidInput(*reason);
        if (std::optional<QString> reason = valueRefusalReason(key, value))
            throw ServiceError::invalidInput(*reason);
    }
}

void requireUsable(const QMap<QString, QString> &assignments)
{
    QList<QPair<QString, QString>> pairs;
    for (auto it = assignments.cbegin(); it != assignments.cend(); ++it)
        pairs.append({it.key(), it.value()});
    requireUsable(pairs);
}

void requireUsable(const QList<TagAssignment> &assignments)
{
    for (const TagAssignment &assignment : assignments) {
        if (std::optional<QString> reason = refusalReason(assignment.key))
            throw ServiceError::invalidInput(*reason);
        for (const QString &value : assignment.values) {
            if (std::optional<QString> reason = valueRefusalReason(assignment.key, value))
                throw ServiceError::invalidInput(*reason);
        }
    }
}

void requireUsable(const QStringList &keysToDelete)
{
    for (const QString &key : keysToDelete) {
        if (std::optional<QString> reason = refusalReason(key))
            throw ServiceError::invalidInput(*reason);
    }
}

} // namespace Metaloom::TagKeyRules
