#include "PresetsStore.h"

#include "PresetCoding.h"
#include "StoredListChange.h"
#include "StoredListsNotifier.h"

namespace Metaloom {

namespace {

std::optional<QList<Preset>> readablePresets(const Preferences &preferences)
{
    return readableDataList(preferences, PresetsStore::presetsKey, &PresetCoding::decode);
}

// An absent or unreadable list counts as empty; the unreadable one stays
// stored until the next change keeps it aside.
QList<Preset> storedPresets(const Preferences &preferences)
{
    return readablePresets(preferences).value_or(QList<Preset>());
}

} // namespace

PresetsStore::PresetsStore(QObject *parent) : PresetsStore(Preferences::standard(), parent) {}

PresetsStore::PresetsStore(Preferences preferences, QObject *parent)
    : QObject(parent), m_preferences(std::move(preferences)),
      m_presets(storedPresets(m_preferences))
{
    connect(&StoredListsNotifier::shared(), &StoredListsNotifier::storedListChanged, this,
            [this](const QString &preferencesFile, const QString &key) {
                if (key == presetsKey && preferencesFile == m_preferences.fileName())
                    reload();
            });
}

void PresetsStore::reload()
{
    setPresets(storedPresets(m_preferences));
}

void PresetsStore::setPresets(QList<Preset> presets)
{
    if (presets == m_presets)
        return;
    m_presets = std::move(presets);
    Q_EMIT presetsChanged();
}

bool PresetsStore::change(const std::function<bool(QList<Preset> &)> &edit)
{
    QList<Preset> presets;
    bool written = false;
    {
        StoredListChange change(m_preferences, presetsKey, [](const Preferences &p) {
            return readablePresets(p).has_value();
        });
        presets = change.isLocked() ? storedPresets(m_preferences) : m_presets;
        if (edit(presets)) {
            written = change.write([&](Preferences &p) {
                return p.setData(presetsKey, PresetCoding::encode(presets));
            });
        }
    }
    setPresets(std::move(presets));
    return written;
}

bool PresetsStore::addPreset(const Preset &preset)
{
    return change([&](QList<Preset> &presets) {
        presets.append(preset);
        return true;
    });
}

bool PresetsStore::updatePreset(const Preset &preset)
{
    return change([&](QList<Preset> &presets) {
        const auto found = std::find_if(presets.begin(), presets.end(),
                                        [&](const Preset &p) { return p.id == preset.id; });
        if (found == presets.end())
            return false;
        *found = preset;
        return true;
    });
}

bool PresetsStore::removePreset(const Preset &preset)
{
    return change([&](QList<Preset> &presets) {
        presets.removeIf([&](const Preset &p) { return p.id == preset.id; });
        return true;
    });
}

} // namespace Metaloom
