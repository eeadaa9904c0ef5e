#include "MetaloomFeature/Library/Presets/OverrideLine.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

#include <algorithm>

namespace Metaloom::OverrideLines {

QList<OverrideLine> fromOverrides(const QMap<QString, QStringList> &overrides)
{
    if (overrides.isEmpty())
        return {OverrideLine::blank()};
    QList<OverrideLine> rows;
    rows.reserve(overrides.size());
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it) {
        for (const QString &item : it.value())
            rows.append({QUuid::createUuid(), it.key(), item});
    }
    // Stable: the items of a key keep their order.
    std::stable_sort(rows.begin(), rows.end(), [](const OverrideLine &a, const OverrideLine &b) {
        return LocalizedText::lessThan(a.key, b.key);
    });
    return rows;
}

QMap<QString, QStringList> toOverrides(const QList<OverrideLine> &rows)
{
    QMap<QString, QStringList> overrides;
    for (const OverrideLine &row : rows) {
        const QString key = row.key.trimmed();
        const QString value = row.value.trimmed();
        if (key.isEmpty() || value.isEmpty())
            continue;
        overrides[key].append(value);
    }
    return overrides;
}

QList<OverrideLine> removing(QList<OverrideLine> rows, const QUuid &id)
{
    if (rows.size() < 2)
        return rows;
    rows.removeIf([&id](const OverrideLine &row) { return row.id == id; });
    return rows;
}

QList<OverrideLine> addingBelow(QList<OverrideLine> rows, const QUuid &id, OverrideLine *added)
{
    const OverrideLine blank = OverrideLine::blank();
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&id](const OverrideLine &row) { return row.id == id; });
    if (it == rows.end())
        rows.append(blank);
    else
        rows.insert(std::next(it), blank);
    if (added)
        *added = blank;
    return rows;
}

} // namespace Metaloom::OverrideLines
