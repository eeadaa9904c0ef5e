#pragma once

#include "MetaloomFeature/Engine/TagAssignment.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>
#include <QStringList>
#include <optional>

namespace Metaloom::TagKeyRules {

// Every tag key reaches ExifTool as one argument "-KEY=VALUE", and ExifTool
// reads some key shapes as something other than a tag: "Title<${...}" runs
// Perl code, "Comment<" reads a file into the photo, "TagsFromFile" copies
// another file's tags, "csv" or "json" import files, and FileName, Directory,
// HardLink, SymLink and TestName rename, move or link the file itself, and
// Geotag, Geosync and Geotime read GPS track logs or other photos. Keys
// typed by the user (preset keys, custom fields) therefore pass these rules
// before ExifTool runs, and pickers offer only keys that pass them.
//
// A usable key is a tag name with optional group prefixes: parts made of
// ASCII letters, digits, "-" and "_" (not starting or ending with "-"),
// separated by ":", with an optional trailing "#" (ExifTool's raw-value mark).

// The sentence telling the user why the key cannot be used, or nothing when
// it can.
std::optional<QString> refusalReason(const QString &tagKey);

// File tags that only the file system holds and that a save keeps as they
// were (owner, group, permission bits: the new file takes the original's),
// so ExifTool setting them would be undone. They are read-only in the
// editor, and a change that sets or deletes one is refused.
bool isKeptByTheFileSystem(const QString &tagKey);

inline bool isUsable(const QString &tagKey)
{
    return !refusalReason(tagKey).has_value();
}

// Values are passed as literal text; only a NUL character cannot be (the
// argument would be cut short there while ExifTool reports success).
std::optional<QString> valueRefusalReason(const QString &tagKey, const QString &value);

// The keys of the list that pass the rules, in their order.
QStringList usableKeys(const QStringList &tagKeys);

// Throws ServiceError::invalidInput with the first refusal among the keys
// and the values given for them (keys to delete have no value).
void requireUsable(const QList<QPair<QString, QString>> &assignments);
void requireUsable(const QMap<QString, QString> &assignments);
void requireUsable(const QStringList &keysToDelete);
void requireUsable(const QList<TagAssignment> &assignments);

} // namespace Metaloom::TagKeyRules
