// The tag table of ExifTool ("-listx"), loaded in the background once per
// process (TagListingCache) and kept by each service from its first request.

#include "ExifToolService.h"

#include "TagListingCache.h"

#include "MetaloomFeature/Engine/Dialect/TagKeyRules.h"
#include "MetaloomFeature/Platform/LocalizedText.h"

#include <QCoroFuture>
#include <QPointer>
#include <QtConcurrent>

#include <algorithm>

namespace Metaloom {

void ExifToolService::prepareTagDefinitions()
{
    if (!m_enumerationsTask)
        m_enumerationsTask = TagListingCache::shared().load(m_bundle);
}

std::optional<TagTable> ExifToolService::tagDefinitionsNow() const
{
    if (!m_enumerationsTask || !m_enumerationsTask->isFinished() ||
        m_enumerationsTask->resultCount() == 0)
        return std::nullopt;
    return m_enumerationsTask->result();
}

bool ExifToolService::isLoadingTagDefinitions() const
{
    return m_enumerationsTask && !m_enumerationsTask->isFinished();
}

QCoro::Task<TagTable> ExifToolService::loadTagDefinitions()
{
    prepareTagDefinitions();
    QFuture<TagTable> load = *m_enumerationsTask;
    co_return co_await load;
}

QCoro::Task<std::optional<TagDefinition>> ExifToolService::tagDefinition(QString tagKey)
{
    if (!m_enumeratedOptionsCache.isEmpty()) {
        const auto found = m_enumeratedOptionsCache.constFind(tagKey);
        if (found != m_enumeratedOptionsCache.constEnd())
            co_return *found;
    }
    QPointer<ExifToolService> self(this);
    const TagTable table = co_await loadTagDefinitions();
    if (self)
        m_enumeratedOptionsCache = table;
    const auto found = table.constFind(tagKey);
    if (found == table.constEnd())
        co_return std::nullopt;
    co_return *found;
}

QCoro::Task<std::optional<QList<EnumeratedOption>>>
ExifToolService::enumeratedOptions(QString tagKey)
{
    const std::optional<TagDefinition> definition = co_await tagDefinition(tagKey);
    if (!definition)
        co_return std::nullopt;
    co_return definition->options;
}

// Tens of thousands of keys: collated once each, on a worker thread. Keys
// the engine refuses to write (FileName and the like) are not offered.
static QStringList sortedKeys(const TagTable &table)
{
    struct Keyed {
        LocalizedText::SortKey key;
        QString text;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(table.size());
    for (auto it = table.keyBegin(); it != table.keyEnd(); ++it) {
        if (TagKeyRules::isUsable(*it))
            keyed.push_back({LocalizedText::SortKey(*it), *it});
    }
    std::sort(keyed.begin(), keyed.end(),
              [](const Keyed &a, const Keyed &b) { return a.key.compare(b.key) < 0; });
    QStringList keys;
    keys.reserve(qsizetype(keyed.size()));
    for (Keyed &k : keyed)
        keys.append(std::move(k.text));
    return keys;
}

QCoro::Task<QStringList> ExifToolService::allTagKeys()
{
    QPointer<ExifToolService> self(this);
    const TagTable table = co_await loadTagDefinitions();
    if (!self)
        co_return sortedKeys(table);
    m_enumeratedOptionsCache = table;
    if (!m_sortedTagKeys) {
        QFuture<QStringList> sorting = QtConcurrent::run(sortedKeys, table);
        const QStringList keys = co_await sorting;
        if (!self)
            co_return keys;
        m_sortedTagKeys = keys;
    }
    co_return *m_sortedTagKeys;
}

} // namespace Metaloom
