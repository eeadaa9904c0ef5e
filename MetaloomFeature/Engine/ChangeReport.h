#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace Metaloom {

// What the file holds for one tag of a change that is not simply what was
// asked. ExifTool reports success for a change that only partly took (a tag
// the format has no place for, a value it could not convert, a text it
// shortened to a format limit), so the changed tags are read back from the
// new file and compared, value by value and item by item, before it
// replaces the original.
struct TagOutcome {
    enum class Kind {
        // A value the new file does not hold: the format has no place for
        // it, or keeps it where ExifTool cannot write (the old value stays).
        notWritten,
        // A deleted tag the new file still holds.
        notRemoved,
        // ExifTool could not convert the value ("Can't convert ...",
        // "Invalid date/time ..."); the tag keeps what it held.
        refused,
        // ExifTool stored the value cut to the longest the format holds.
        shortened,
        // Stored in ExifTool's normal form (2.80 as 2.8): the change took,
        // but the file shows something else than was typed.
        converted
    };

    QString key;
    Kind kind = Kind::notWritten;
    // What the file now holds for the tag, item by item (one item for a tag
    // that is no list); empty when it holds nothing.
    QStringList storedItems;
    // A sentence for the user, naming the tag (and ExifTool's own words
    // where ExifTool gave any).
    QString reason;

    bool operator==(const TagOutcome &) const = default;
};

// What a change of a file did not do as asked although ExifTool reported
// success.
struct ChangeReport {
    // Keys the change set to a value that the new file does not hold as
    // asked: not written, refused or shortened.
    QStringList tagsNotWritten;
    // Keys the change deleted that the new file still holds.
    QStringList tagsNotRemoved;
    // Every tag whose stored value is not what was asked, converted values
    // included, in the order of the change.
    QList<TagOutcome> outcomes;

    // Everything asked is in the file, possibly in ExifTool's normal form.
    bool isComplete() const { return tagsNotWritten.isEmpty() && tagsNotRemoved.isEmpty(); }

    std::optional<TagOutcome> outcomeFor(const QString &key) const
    {
        for (const TagOutcome &outcome : outcomes) {
            if (outcome.key == key)
                return outcome;
        }
        return std::nullopt;
    }

    // Adds an outcome and files its key under the list it belongs to.
    void add(TagOutcome outcome)
    {
        if (outcome.kind == TagOutcome::Kind::notRemoved)
            tagsNotRemoved << outcome.key;
        else if (outcome.kind != TagOutcome::Kind::converted)
            tagsNotWritten << outcome.key;
        outcomes << std::move(outcome);
    }

    bool operator==(const ChangeReport &) const = default;
};

} // namespace Metaloom
