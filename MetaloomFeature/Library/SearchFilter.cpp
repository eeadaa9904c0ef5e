#include "SearchFilter.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

namespace Metaloom::SearchFilter {

QList<MetadataEntry> filter(const QList<MetadataEntry> &entries, const QString &searchText)
{
    const QString query = searchText.trimmed();
    if (query.isEmpty())
        return entries;
    QList<MetadataEntry> matches;
    for (const MetadataEntry &entry : entries) {
        if (LocalizedText::contains(entry.rawKey, query) ||
            LocalizedText::contains(entry.value, query))
            matches.append(entry);
    }
    return matches;
}

} // namespace Metaloom::SearchFilter
