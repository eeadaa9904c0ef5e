#pragma once

#include <QHash>
#include <QList>
#include <QString>

namespace Metaloom {

// One permitted value of an enumerated tag: the raw value ExifTool stores and
// its English label.
struct EnumeratedOption {
    QString id;
    QString label;
    bool operator==(const EnumeratedOption &) const = default;
};

inline size_t qHash(const EnumeratedOption &option, size_t seed = 0) noexcept
{
    return qHashMulti(seed, option.id, option.label);
}

// What ExifTool's tag table says about one tag key.
struct TagDefinition {
    bool writable = true;
    QList<EnumeratedOption> options;
    // A list tag (ExifTool's "List" flag, which its "Bag", "Seq" and "Alt"
    // tags carry too): its value is a list of items even when it holds one.
    bool isList = false;
    bool operator==(const TagDefinition &) const = default;
};

using TagTable = QHash<QString, TagDefinition>;

} // namespace Metaloom
