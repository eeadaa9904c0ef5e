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

QStringList TagKeyCatalog::matching(const QString &text, qsizetype limit, qsizetype *total) const
{
    const QString needle = text.trimmed();
    QStringList found;
    qsizetype count = 0;
    for (const Family &family : families()) {
        for (const QString &key : family.keys) {
            if (!LocalizedText::contains(key, needle))
                continue;
            ++count;
            if (found.size() < limit)
                found.append(key);
        }
    }
    if (total)
        *total = count;
    return found;
}

} // namespace Metaloom
