#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QModelIndex;

namespace Metaloom {

// What the card of one entry row shows, as the entry model's roles give it.
struct EntryCard {
    QString name;
    QString rawKey;
    // The text of a value; a list shows its items instead.
    QString value;
    QStringList items;
    bool isList = false;
    bool isWritable = true;
    bool isModified = false;
    // Emptied to be deleted from the file on the next save.
    bool isMarkedForRemoval = false;
    bool isFavorite = false;
    bool isDefaultFavorite = false;
    // Edited with a choice list.
    bool showsPicker = false;
    std::optional<QString> warning;
    // Its definition is still awaited: whether it can be written is not
    // known yet.
    bool isChecking = false;
    // With several files selected: they differ ("Mixed values" is shown, the
    // tooltip lists the values), and "in 3 of 5 files" when not all hold it.
    bool isMixed = false;
    QString mixedValues;
    QString presenceNote;

    // The card of an entry row of the entry model (the roles of a section
    // row make an empty card; ask isSection() first).
    static EntryCard at(const QModelIndex &index);
    static bool isSection(const QModelIndex &index);
    // What a row's height depends on (whether it is a section; the value or
    // the items, whether it is a list, writable, edited with a choice list),
    // in one request: the view asks it of every row on every layout, so it
    // reads no more than that. Nothing for a section row; a card with only
    // those parts set otherwise.
    static std::optional<EntryCard> sizingAt(const QModelIndex &index);

    bool operator==(const EntryCard &) const = default;
};

} // namespace Metaloom
