#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace Metaloom {

// One line of the overrides editor: a tag key and the value to write. Lines
// that share a key give a list tag ("Keywords") several items.
struct OverrideLine {
    QUuid id;
    QString key;
    QString value;

    static OverrideLine blank() { return {QUuid::createUuid(), {}, {}}; }

    bool operator==(const OverrideLine &) const = default;
};

// The editor's rows and the preset's map of overrides, kept apart so that
// blank and half-filled lines can stay on screen without entering the preset.
namespace OverrideLines {

// One blank row for an empty map; otherwise one row per item, by key in the
// user's alphabetical order and the items of a key in their order.
QList<OverrideLine> fromOverrides(const QMap<QString, QStringList> &overrides);

// The map the rows describe: keys and values trimmed, rows with an empty key
// or value left out, and the values of rows that share a key its items, in
// row order.
QMap<QString, QStringList> toOverrides(const QList<OverrideLine> &rows);

// Every row with that id removed, unless fewer than two rows remain to
// remove from (the last row stays).
QList<OverrideLine> removing(QList<OverrideLine> rows, const QUuid &id);

// A blank row right after the row with that id, or at the end when no row
// has it. The new row is returned through `added` when given.
QList<OverrideLine> addingBelow(QList<OverrideLine> rows, const QUuid &id,
                                OverrideLine *added = nullptr);

} // namespace OverrideLines

} // namespace Metaloom
