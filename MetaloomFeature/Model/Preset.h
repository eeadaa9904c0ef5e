#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QUuid>

namespace Metaloom {

// What applying a preset does to each file. There is one kind of action so
// far; `type` names it so a second kind can be added without changing the
// stored form of the first ("addOrModify").
struct PresetAction {
    enum class Type { AddOrModifyMetadata };

    Type type = Type::AddOrModifyMetadata;
    // Tag key ("XMP-dc:Description") to what is written into it, in no
    // order: one text for most tags, the items of a list tag ("Keywords")
    // one by one.
    QMap<QString, QStringList> overrides;
    // Tag keys deleted before the overrides are written, in the user's order.
    QStringList removals;

    // One text per key.
    static PresetAction addOrModifyMetadata(const QMap<QString, QString> &values = {},
                                            QStringList removals = {})
    {
        QMap<QString, QStringList> overrides;
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            overrides.insert(it.key(), {it.value()});
        return {Type::AddOrModifyMetadata, std::move(overrides), std::move(removals)};
    }
    // Several items for some keys.
    static PresetAction addOrModifyItems(QMap<QString, QStringList> overrides,
                                         QStringList removals = {})
    {
        return {Type::AddOrModifyMetadata, std::move(overrides), std::move(removals)};
    }

    bool operator==(const PresetAction &) const = default;
};

// A named, reusable action. Neither the name nor the tag keys are checked
// here; the preset manager decides what it lets the user save.
struct Preset {
    QUuid id;
    QString name;
    PresetAction action;

    bool operator==(const Preset &) const = default;
};

size_t qHash(const PresetAction &action, size_t seed = 0) noexcept;
size_t qHash(const Preset &preset, size_t seed = 0) noexcept;

} // namespace Metaloom
