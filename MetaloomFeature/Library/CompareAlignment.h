#pragma once

#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// Two files' tag lists side by side for the Compare view: one row per key
// either file holds, in group and tag order, with what each file holds.
namespace Metaloom::CompareAlignment {

struct Row {
    QString key; // as the entries name it ("IFD0:Make")
    QString group;
    QString tag;
    // What each file holds; nothing where it does not hold the tag.
    std::optional<QString> left;
    std::optional<QString> right;

    // A tag only one file holds differs too.
    bool differs() const { return left != right; }
    bool operator==(const Row &) const = default;
};

// The rows of both lists, aligned by key: the group's and then the tag's
// order (case-insensitive, as the editor lists them), each key once.
QList<Row> align(const QList<MetadataEntry> &left, const QList<MetadataEntry> &right);

// The rows that differ, in their order.
QList<Row> differencesOnly(const QList<Row> &rows);

} // namespace Metaloom::CompareAlignment

namespace Metaloom {

// The Compare view's content: two files by name and their aligned rows,
// while they are read and once they are.
struct Comparison {
    QUuid id = QUuid::createUuid();
    QString leftName;
    QString rightName;
    bool isLoading = true;
    QList<CompareAlignment::Row> rows;
    // Why the files could not be compared.
    QString failure;
    bool operator==(const Comparison &) const = default;
};

} // namespace Metaloom
