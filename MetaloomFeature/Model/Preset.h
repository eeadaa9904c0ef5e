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
    // Tag key ("XMP-dc:Description") to the text written into it; no order.
    QMap<QString, QString> overrides;
    // Tag keys deleted before the overrides are written, in the user's order.
    QStringList removals;

    static PresetAction addOrModifyMetadata(QMap<QString, QString> overrides = {},
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
