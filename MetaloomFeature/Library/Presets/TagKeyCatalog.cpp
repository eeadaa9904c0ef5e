#include "MetaloomFeature/Library/Presets/TagKeyCatalog.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

#include <QHash>

#include <QCoreApplication>
#include <algorithm>

namespace Metaloom {

QList<TagKeyCatalog::Family> TagKeyCatalog::group(const QStringList &keys)
{
    QHash<QString, QStringList> byName;
    for (const QString &key : keys) {
        const qsizetype colon = key.indexOf(QLatin1Char(':'));
        const QString name =
            colon < 0 ? QCoreApplication::translate("TagKeyCatalog", "Misc") : key.left(colon);
        byName[name].append(key);
    }
    QList<Family> families;
    families.reserve(byName.size());
    for (auto it = byName.begin(); it != byName.end(); ++it) {
        QStringList members = std::move(it.value());
        std::sort(members.begin(), members.end());
        families.append({it.key(), std::move(members)});
    }
    std::sort(families.begin(), families.end(), [](const Family &a, const Family &b) {
        const int order = LocalizedText::compare(a.name, b.name);
        // Names equal but for case still get one fixed order.
        return order != 0 ? order < 0 : a.name < b.name;
    });
    return families;
}

const QList<TagKeyCatalog::Family> &TagKeyCatalog::families() const
{
    if (!m_families)
        m_families = group(m_keys);
    return *m_families;
}

const std::vector<TagKeyCatalog::Searchable> &TagKeyCatalog::searchable() const
{
    if (!m_searchable) {
        std::vector<Searchable> all;
        all.reserve(size_t(m_keys.size()));
        for (const Family &family : families()) {
            for (const QString &key : family.keys)
                all.push_back({key, key.toCaseFolded(), key.indexOf(QLatin1Char(':')) + 1});
        }
        m_searchable = std::move(all);
    }
    return *m_searchable;
}

QStringList TagKeyCatalog::matching(const QString &text, qsizetype limit, qsizetype *total) const
{
    const QString needle = text.trimmed().toCaseFolded();
    QStringList starting;
    QStringList containing;
    qsizetype count = 0;
    for (const Searchable &candidate : searchable()) {
        const qsizetype at = candidate.folded.indexOf(needle);
        if (at < 0)
            continue;
        ++count;
        const bool starts =
            at == 0 || QStringView(candidate.folded).mid(candidate.nameStart).startsWith(needle);
        if (starts && starting.size() < limit)
            starting.append(candidate.key);
        else if (!starts && containing.size() < limit)
            containing.append(candidate.key);
    }
    if (total)
        *total = count;
    starting.append(containing.mid(0, std::max<qsizetype>(0, limit - starting.size())));
    return starting;
}

} // namespace Metaloom
