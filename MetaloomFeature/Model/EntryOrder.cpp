#include "EntryOrder.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace Metaloom::EntryOrder {

void sortByGroupAndTag(QList<MetadataEntry> &entries)
{
    // Collation keys are computed once per distinct string: comparing keys is
    // far cheaper than collating strings again for every comparison.
    using LocalizedText::SortKey;
    QHash<QString, SortKey> groupKeys;
    struct Keyed {
        const SortKey *group;
        SortKey tag;
        qsizetype index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        auto found = groupKeys.find(entries[i].group);
        if (found == groupKeys.end())
            found = groupKeys.insert(entries[i].group, SortKey(entries[i].group));
        keyed.push_back({nullptr, SortKey(entries[i].tag), i});
    }
    for (Keyed &k : keyed)
        k.group = &*groupKeys.constFind(entries[k.index].group);

    std::stable_sort(keyed.begin(), keyed.end(), [&entries](const Keyed &a, const Keyed &b) {
        const QString &groupA = entries[a.index].group;
        const QString &groupB = entries[b.index].group;
        if (groupA != groupB) {
            const int order = a.group->compare(*b.group);
            if (order != 0)
                return order < 0;
            return groupA < groupB; // differ only in letter case: any fixed order
        }
        return a.tag.compare(b.tag) < 0;
    });

    QList<MetadataEntry> sorted;
    sorted.reserve(entries.size());
    for (const Keyed &k : keyed)
        sorted.append(std::move(entries[k.index]));
    entries = std::move(sorted);
}

} // namespace Metaloom::EntryOrder
