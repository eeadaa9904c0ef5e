#include "CustomTagsChange.h"

namespace Metaloom {

CustomTagsChange CustomTagsChange::between(const QList<CustomMetadataTag> &before,
                                           const QList<CustomMetadataTag> &after)
{
    CustomTagsChange change;
    QSet<QUuid> kept;
    for (const CustomMetadataTag &tag : after) {
        kept.insert(tag.id);
        if (!before.contains(tag))
            change.addOrUpdate.append(tag);
    }
    for (const CustomMetadataTag &tag : before) {
        if (!kept.contains(tag.id))
            change.remove.insert(tag.id);
    }
    return change;
}

QList<CustomMetadataTag> CustomTagsChange::appliedTo(QList<CustomMetadataTag> tags) const
{
    for (const CustomMetadataTag &tag : addOrUpdate) {
        const auto found = std::find_if(tags.begin(), tags.end(),
                                        [&](const CustomMetadataTag &t) { return t.id == tag.id; });
        if (found == tags.end())
            tags.append(tag);
        else
            *found = tag;
    }
    tags.removeIf([&](const CustomMetadataTag &t) { return remove.contains(t.id); });
    return tags;
}

} // namespace Metaloom
