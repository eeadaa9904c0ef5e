#include "SearchFilter.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

namespace Metaloom::SearchFilter {

namespace {

bool containsQuery(const MetadataEntry &entry, const QString &query)
{
    return LocalizedText::contains(entry.rawKey, query) ||
           LocalizedText::contains(entry.value, query);
}

} // namespace

bool matches(const MetadataEntry &entry, const QString &searchText)
{
    const QString query = searchText.trimmed();
    return query.isEmpty() || containsQuery(entry, query);
}

QList<MetadataEntry> filter(const QList<MetadataEntry> &entries, const QString &searchText)
{
    const QString query = searchText.trimmed();
    if (query.isEmpty())
        return entries;
    QList<MetadataEntry> matching;
    for (const MetadataEntry &entry : entries) {
        if (containsQuery(entry, query))
            matching.append(entry);
    }
    return matching;
}

} // namespace Metaloom::SearchFilter
