#include "DefaultOverridesMigration.h"

#include "PresetsStore.h"
#include <QCoreApplication>

namespace Metaloom::DefaultOverridesMigration {

namespace {

// The record as a map of strings; nothing when it is absent, not a
// dictionary, or holds any value that is not a string.
std::optional<QMap<QString, QString>> storedOverrides(const Preferences &preferences)
{
    const std::optional<QVariantMap> record = preferences.dictionary(overridesKey);
    if (!record)
        return std::nullopt;
    QMap<QString, QString> overrides;
    for (auto it = record->cbegin(); it != record->cend(); ++it) {
        if (it.value().metaType().id() != QMetaType::QString)
            return std::nullopt;
        overrides.insert(it.key(), it.value().toString());
    }
    return overrides;
}

} // namespace

std::optional<QString> migrate(Preferences preferences)
{
    const std::optional<QMap<QString, QString>> overrides = storedOverrides(preferences);
    if (!overrides || overrides->isEmpty())
        return std::nullopt;

    PresetsStore store(preferences);
    if (!store.presets().isEmpty())
        return std::nullopt;

    const Preset preset{
        QUuid::createUuid(),
        QCoreApplication::translate("DefaultOverridesMigration", "Migrated Default Overrides"),
        PresetAction::addOrModifyMetadata(*overrides, {})};
    if (!store.addPreset(preset))
        return std::nullopt;
    preferences.remove(overridesKey);
    return QCoreApplication::translate("DefaultOverridesMigration",
                                       "Default overrides migrated to '%1' preset.")
        .arg(preset.name);
}

} // namespace Metaloom::DefaultOverridesMigration
