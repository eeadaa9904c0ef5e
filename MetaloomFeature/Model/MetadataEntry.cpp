#include "MetadataEntry.h"

#include "SessionId.h"

#include <QHashFunctions>

#include <algorithm>
#include <array>

namespace Metaloom {

namespace {

// Groups whose tags ExifTool computes or takes from the file system: never
// writable. The editor asks every row on every layout, and comparing with
// these few names costs less than hashing the group for a set.
constexpr std::array<QStringView, 3> readOnlyGroups{u"Composite", u"File", u"System"};

// The file's modification date is the one tag of those groups a change can
// set (the new file then keeps the date given); like any other tag it is
// writable once the tag table says so.
bool isFileModifyDate(const QString &group, const QString &tag)
{
    return (group == QLatin1String("System") || group == QLatin1String("File")) &&
           tag == QLatin1String("FileModifyDate");
}

// Keys that stay editable even after a write failure or a table lookup marked them.
constexpr std::array<QStringView, 1> alwaysWritableKeys{u"ExifIFD:LightSource"};

bool isAmong(const QString &name, const auto &names)
{
    return std::find(names.begin(), names.end(), QStringView(name)) != names.end();
}

} // namespace

const QSet<QString> &MetadataEntry::hiddenGroups()
{
    // "QuickTime" is not among them: it holds a movie's own dates and
    // duration, which users need to see and fix.
    static const QSet<QString> groups{QStringLiteral("Meta"), QStringLiteral("ExifTool")};
    return groups;
}

QList<MetadataEntry> MetadataEntry::shownOnly(QList<MetadataEntry> entries)
{
    const QSet<QString> &hidden = hiddenGroups();
    entries.removeIf(
        [&hidden](const MetadataEntry &entry) { return hidden.contains(entry.group); });
    return entries;
}

MetadataEntry::MetadataEntry(const QString &key, const QString &initialValue,
                             const std::optional<QString> &displayNameOverride)
    : id(freshSessionId()), rawKey(key), originalValue(initialValue), value(initialValue)
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
    if (isAmong(rawKey, alwaysWritableKeys))
        return true;
    if (isAmong(group, readOnlyGroups) && !isFileModifyDate(group, tag))
        return false;
    return !forceReadOnly;
}

size_t qHash(const MetadataEntry &entry, size_t seed) noexcept
{
    return qHashMulti(seed, entry.id, entry.rawKey, entry.value, entry.forceReadOnly,
                      entry.isFavorite, entry.isList);
}

} // namespace Metaloom
