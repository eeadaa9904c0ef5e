#include "MetaloomFeature/Views/Presets/OverrideRow.h"

#include "MetaloomFeature/Platform/LocalizedText.h"

#include <algorithm>

namespace Metaloom::OverrideRows {

QList<OverrideRow> fromOverrides(const QMap<QString, QStringList> &overrides)
{
    if (overrides.isEmpty())
        return {OverrideRow::blank()};
    QList<OverrideRow> rows;
    rows.reserve(overrides.size());
    for (auto it = overrides.cbegin(); it != overrides.cend(); ++it) {
        for (const QString &item : it.value())
            rows.append({QUuid::createUuid(), it.key(), item});
    }
    // Stable: the items of a key keep their order.
    std::stable_sort(rows.begin(), rows.end(), [](const OverrideRow &a, const OverrideRow &b) {
        return LocalizedText::lessThan(a.key, b.key);
    });
    return rows;
}

QMap<QString, QStringList> toOverrides(const QList<OverrideRow> &rows)
{
    QMap<QString, QStringList> overrides;
    for (const OverrideRow &row : rows) {
        const QString key = row.key.trimmed();
        const QString value = row.value.trimmed();
        if (key.isEmpty() || value.isEmpty())
            continue;
        overrides[key].append(value);
    }
    return overrides;
}

QList<OverrideRow> removing(QList<OverrideRow> rows, const QUuid &id)
{
    if (rows.size() < 2)
        return rows;
    rows.removeIf([&id](const OverrideRow &row) { return row.id == id; });
    return rows;
}

QList<OverrideRow> addingBelow(QList<OverrideRow> rows, const QUuid &id, OverrideRow *added)
{
    const OverrideRow blank = OverrideRow::blank();
    const auto it = std::find_if(rows.begin(), rows.end(),
                                 [&id](const OverrideRow &row) { return row.id == id; });
    if (it == rows.end())
        rows.append(blank);
    else
        rows.insert(std::next(it), blank);
    if (added)
        *added = blank;
    return rows;
}

} // namespace Metaloom::OverrideRows
