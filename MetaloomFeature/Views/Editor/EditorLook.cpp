#include "MetaloomFeature/Views/Editor/EditorLook.h"

#include "MetaloomFeature/Platform/NotificationCenter.h"
#include "MetaloomFeature/Platform/Preferences.h"

#include <QStringList>
#include <algorithm>

namespace Metaloom::EditorLook {

bool compactRows()
{
    return Preferences::standard().boolean(compactRowsKey).value_or(false);
}

void setCompactRows(bool compact)
{
    if (compactRows() == compact)
        return;
    Preferences::standard().setBoolean(compactRowsKey, compact);
    NotificationCenter::defaultCenter()->post(compactRowsChanged);
}

std::optional<int> nameColumnWidth()
{
    const std::optional<QString> stored = Preferences::standard().string(nameColumnWidthKey);
    if (!stored)
        return std::nullopt;
    bool ok = false;
    const int width = stored->toInt(&ok);
    if (!ok || width <= 0)
        return std::nullopt;
    return width;
}

void setNameColumnWidth(int width)
{
    if (nameColumnWidth() == width)
        return;
    Preferences::standard().setString(nameColumnWidthKey, QString::number(width));
}

QSet<QString> foldedGroups()
{
    const QStringList stored =
        Preferences::standard().stringArray(foldedGroupsKey).value_or(QStringList());
    return QSet<QString>(stored.begin(), stored.end());
}

void setFoldedGroups(const QSet<QString> &groups)
{
    QStringList sorted(groups.begin(), groups.end());
    // Sorted, so the file does not change when the set merely iterates
    // in another order.
    std::sort(sorted.begin(), sorted.end());
    Preferences::standard().setStringArray(foldedGroupsKey, sorted);
}

} // namespace Metaloom::EditorLook
