#pragma once

#include <QHashFunctions>
#include <QString>
#include <QUuid>

namespace Metaloom {

// A field the user added to the editor: any tag key, shown under a label of
// their choice even when a file does not carry the tag. Neither string is
// checked here; the field settings sheet validates new fields.
struct CustomMetadataTag {
    QUuid id;
    QString rawKey;
    QString displayName;

    bool operator==(const CustomMetadataTag &) const = default;
};

inline size_t qHash(const CustomMetadataTag &tag, size_t seed = 0) noexcept
{
    return qHashMulti(seed, tag.id, tag.rawKey, tag.displayName);
}

} // namespace Metaloom
