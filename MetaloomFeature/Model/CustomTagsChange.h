#pragma once

#include "CustomMetadataTag.h"

#include <QList>
#include <QSet>
#include <QUuid>

namespace Metaloom {

// A change to the custom fields stated by id, so that it can be applied to
// whatever list is stored when it is made: fields added or edited in one
// window then survive a change made in another.
struct CustomTagsChange {
    // Each replaces the first field with its id in place, or is appended
    // (in this order) when there is none.
    QList<CustomMetadataTag> addOrUpdate;
    // Fields to remove, every one with such an id; applied after
    // addOrUpdate, so an id in both ends up removed.
    QSet<QUuid> remove;

    // What turns `before` into `after`: the fields that are new or differ,
    // and the ids that are gone. A move within the list is not part of it.
    static CustomTagsChange between(const QList<CustomMetadataTag> &before,
                                    const QList<CustomMetadataTag> &after);

    QList<CustomMetadataTag> appliedTo(QList<CustomMetadataTag> tags) const;
    bool isEmpty() const { return addOrUpdate.isEmpty() && remove.isEmpty(); }

    bool operator==(const CustomTagsChange &) const = default;
};

} // namespace Metaloom
