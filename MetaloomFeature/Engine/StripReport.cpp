#include "StripReport.h"

#include "MetaloomFeature/Engine/Dialect/FormatStructure.h"
#include "MetaloomFeature/Engine/Dialect/IdentifyingTags.h"

#include <QSet>

#include <algorithm>
#include <functional>

namespace Metaloom {

namespace {

template <typename T, typename KeyOf>
QList<T> orderedByRank(const QList<T> &items, KeyOf keyOf,
                       const std::function<bool(const T &)> &counts)
{
    struct Ranked {
        int rank;
        qsizetype index;
    };
    std::vector<Ranked> ranked;
    ranked.reserve(items.size());
    for (qsizetype i = 0; i < items.size(); ++i)
        ranked.push_back({counts(items.at(i)) ? IdentifyingTags::rankOf(keyOf(items.at(i)))
                                              : IdentifyingTags::unranked,
                          i});
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Ranked &a, const Ranked &b) { return a.rank < b.rank; });
    QList<T> ordered;
    ordered.reserve(items.size());
    for (const Ranked &r : ranked)
        ordered.append(items.at(r.index));
    return ordered;
}

} // namespace

bool StripReport::isLeftOut(const QString &key)
{
    return FormatStructure::isStructural(key);
}

StripReport StripReport::compare(const QList<MetadataEntry> &before,
                                 const QList<MetadataEntry> &after, QStringList warnings)
{
    StripReport report;
    report.warnings = std::move(warnings);
    QSet<QString> keysAfter;
    for (const MetadataEntry &entry : after) {
        keysAfter.insert(entry.rawKey);
        if (!isLeftOut(entry.rawKey))
            report.remaining.append(entry);
    }
    for (const MetadataEntry &entry : before) {
        if (!keysAfter.contains(entry.rawKey) && !isLeftOut(entry.rawKey))
            report.removed << entry.rawKey;
    }
    return report;
}

QStringList StripReport::identifyingFirst(const QStringList &keys)
{
    return orderedByRank<QString>(
        keys, [](const QString &key) { return key; }, [](const QString &) { return true; });
}

QList<MetadataEntry> StripReport::identifyingFirst(const QList<MetadataEntry> &entries)
{
    return orderedByRank<MetadataEntry>(
        entries, [](const MetadataEntry &entry) { return entry.rawKey; },
        [](const MetadataEntry &entry) { return !entry.value.trimmed().isEmpty(); });
}

} // namespace Metaloom
