#include "MetadataEntry.h"

#include <QHashFunctions>

namespace Metaloom {

namespace {

// Groups whose tags ExifTool computes or takes from the file system: never writable.
const QSet<QString> &readOnlyGroups()
{
    static const QSet<QString> groups{QStringLiteral("Composite"), QStringLiteral("File"),
                                      QStringLiteral("System")};
    return groups;
}

// The file's modification date is the one tag of those groups a change can
// set (the new file then keeps the date given); like any other tag it is
// writable once the tag table says so.
bool isFileModifyDate(const QString &group, const QString &tag)
{
    return (group == QLatin1String("System") || group == QLatin1String("File")) &&
           tag == QLatin1String("FileModifyDate");
}

// Keys that stay editable even after a write failure or a table lookup marked them.
const QSet<QString> &alwaysWritableKeys()
{
    static const QSet<QString> keys{QStringLiteral("ExifIFD:LightSource")};
    return keys;
}

} // namespace

const QSet<QString> &MetadataEntry::hiddenGroups()
{
    // "QuickTime" is not among them: it holds a movie's own dates and
    // duration, which users need to see and fix.
    static const QSet<QString> groups{QStringLiteral("Meta"), QStringLiteral("ExifTool")};
    return groups;
}

MetadataEntry::MetadataEntry(const QString &key, const QString &initialValue,
                             const std::optional<QString> &displayNameOverride)
    : id(QUuid::createUuid()), rawKey(key), originalValue(initialValue), value(initialValue)
{
    const qsizetype colon = key.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        group = key.left(colon);
        tag = key.mid(colon + 1);
    } else {
        group = QStringLiteral("General");
        tag = key;
    }
    if (displayNameOverride)
        displayName = *displayNameOverride;
    else
        displayName = QString(tag).replace(QLatin1Char('_'), QLatin1Char(' '));
    forceReadOnly = isFileModifyDate(group, tag);
}

MetadataEntry MetadataEntry::listEntry(const QString &rawKey, const QStringList &items,
                                       const std::optional<QString> &displayNameOverride)
{
    MetadataEntry entry(rawKey, listText(items), displayNameOverride);
    entry.isList = true;
    entry.originalItems = items;
    entry.items = items;
    return entry;
}

QString MetadataEntry::listText(const QStringList &items)
{
    return items.join(QStringLiteral(", "));
}

void MetadataEntry::setItems(const QStringList &newItems)
{
    items = newItems;
    value = listText(items);
}

void MetadataEntry::markAsList()
{
    if (isList)
        return;
    isList = true;
    originalItems = originalValue.isEmpty() ? QStringList() : QStringList{originalValue};
    setItems(value.isEmpty() ? QStringList() : QStringList{value});
}

bool MetadataEntry::isWritable() const
{
    if (alwaysWritableKeys().contains(rawKey))
        return true;
    if (readOnlyGroups().contains(group) && !isFileModifyDate(group, tag))
        return false;
    return !forceReadOnly;
}

size_t qHash(const MetadataEntry &entry, size_t seed) noexcept
{
    return qHashMulti(seed, entry.id, entry.rawKey, entry.value, entry.forceReadOnly,
                      entry.isFavorite, entry.isList);
}

} // namespace Metaloom
