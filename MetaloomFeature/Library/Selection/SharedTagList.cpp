#include "SharedTagList.h"

#include <QCoreApplication>

#include <algorithm>

namespace Metaloom::SharedTagList {

namespace {

struct Building {
    Row row;
    // Index into row.values by value, so that 1,000 files need no walk of
    // the values per file.
    QHash<QString, qsizetype> valueIndex;
    QSet<QString> seenItems;
};

} // namespace

QList<Row> compute(const QList<FileTags> &files, const QStringList &extraKeys)
{
    QList<Building> rows;
    QHash<QString, qsizetype> rowOfKey;
    const int fileCount = int(files.size());
    for (const FileTags &file : files) {
        for (const MetadataEntry &entry : file.entries) {
            auto found = rowOfKey.constFind(entry.rawKey);
            qsizetype at = 0;
            if (found == rowOfKey.cend()) {
                at = rows.size();
                rowOfKey.insert(entry.rawKey, at);
                Building building;
                building.row.entry = entry;
                building.row.fileCount = fileCount;
                rows.append(std::move(building));
            } else {
                at = *found;
            }
            Building &building = rows[at];
            Row &row = building.row;
            ++row.presentIn;
            if (entry.isModified())
                row.modified = true;
            if (!entry.isWritable()) {
                row.readOnlyFiles.append(file.fileName);
                if (row.readOnlyReason.isEmpty() && entry.warning)
                    row.readOnlyReason = *entry.warning;
            }
            if (entry.isList) {
                for (const QString &item : entry.items) {
                    if (!building.seenItems.contains(item)) {
                        building.seenItems.insert(item);
                        row.allItems.append(item);
                    }
                }
            }
            const auto value = building.valueIndex.constFind(entry.value);
            if (value == building.valueIndex.cend()) {
                building.valueIndex.insert(entry.value, row.values.size());
                row.values.append({entry.value, 1});
            } else {
                ++row.values[*value].files;
            }
        }
    }
    QList<Row> result;
    result.reserve(rows.size() + extraKeys.size());
    for (Building &building : rows) {
        Row &row = building.row;
        row.mixed = row.values.size() > 1;
        std::stable_sort(
            row.values.begin(), row.values.end(),
            [](const ValueCount &a, const ValueCount &b) { return a.files > b.files; });
        if (row.mixed) {
            // Nothing of one file stands for the others: the row shows the
            // placeholder until the user types a value for all of them.
            row.entry.value.clear();
            row.entry.originalValue.clear();
            row.entry.items.clear();
            row.entry.originalItems.clear();
        }
        if (!row.readOnlyFiles.isEmpty())
            row.entry.forceReadOnly = true;
        result.append(std::move(row));
    }
    for (const QString &key : extraKeys) {
        if (rowOfKey.contains(key))
            continue;
        rowOfKey.insert(key, -1);
        Row row;
        row.entry = MetadataEntry(key, QString());
        row.fileCount = fileCount;
        result.append(std::move(row));
    }
    return result;
}

QString presenceNote(const Row &row)
{
    if (row.presentIn >= row.fileCount)
        return {};
    return QCoreApplication::translate("SharedTagList", "in %1 of %2 files")
        .arg(row.presentIn)
        .arg(row.fileCount);
}

QString mixedValuesTooltip(const Row &row)
{
    QStringList lines;
    for (const ValueCount &value : row.values) {
        const QString shown = value.value.isEmpty()
                                  ? QCoreApplication::translate("SharedTagList", "(empty)")
                                  : value.value;
        lines.append(value.files == 1
                         ? QCoreApplication::translate("SharedTagList", "%1 — 1 file").arg(shown)
                         : QCoreApplication::translate("SharedTagList", "%1 — %2 files")
                               .arg(shown)
                               .arg(value.files));
    }
    return lines.join(QLatin1Char('\n'));
}

QString readOnlyNote(const Row &row)
{
    if (row.readOnlyFiles.isEmpty())
        return {};
    // Read-only wherever it is held: naming every file says nothing more.
    if (row.readOnlyFiles.size() >= row.presentIn)
        return row.readOnlyReason;
    const QString files = row.readOnlyFiles.join(QStringLiteral(", "));
    if (row.readOnlyReason.isEmpty())
        return QCoreApplication::translate("SharedTagList", "Read-only in %1.").arg(files);
    return QCoreApplication::translate("SharedTagList", "Read-only in %1: %2")
        .arg(files, row.readOnlyReason);
}

} // namespace Metaloom::SharedTagList
