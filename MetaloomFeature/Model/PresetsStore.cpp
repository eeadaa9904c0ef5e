#include "PresetsStore.h"

#include "PresetCoding.h"
#include "StoredJson.h"
#include "UnreadableListBackup.h"

namespace Metaloom {

PresetsStore::PresetsStore(QObject *parent) : PresetsStore(Preferences::standard(), parent) {}

PresetsStore::PresetsStore(Preferences preferences, QObject *parent)
    : QObject(parent), m_preferences(std::move(preferences))
{
    load();
}

void PresetsStore::load()
{
    const std::optional<QByteArray> stored = m_preferences.data(presetsKey);
    if (!stored)
        return;
    try {
        m_presets = PresetCoding::decode(*stored);
    } catch (const DecodingError &) {
        // Left in place; the next change overwrites it (after a backup).
    }
}

bool PresetsStore::persist()
{
    UnreadableListBackup::keepIfUnreadable(
        m_preferences, presetsKey, [](const QByteArray &bytes) { PresetCoding::decode(bytes); });
    return m_preferences.setData(presetsKey, PresetCoding::encode(m_presets));
}

void PresetsStore::setPresets(QList<Preset> presets)
{
    if (presets == m_presets)
        return;
    m_presets = std::move(presets);
    Q_EMIT presetsChanged();
}

bool PresetsStore::addPreset(const Preset &preset)
{
    QList<Preset> presets = m_presets;
    presets.append(preset);
    setPresets(std::move(presets));
    return persist();
}

bool PresetsStore::updatePreset(const Preset &preset)
{
    const auto found = std::find_if(m_presets.cbegin(), m_presets.cend(),
                                    [&](const Preset &p) { return p.id == preset.id; });
    if (found == m_presets.cend())
        return false;
    QList<Preset> presets = m_presets;
    presets[found - m_presets.cbegin()] = preset;
    setPresets(std::move(presets));
    return persist();
}

bool PresetsStore::removePreset(const Preset &preset)
{
    QList<Preset> presets = m_presets;
    presets.removeIf([&](const Preset &p) { return p.id == preset.id; });
    setPresets(std::move(presets));
    return persist();
}

} // namespace Metaloom
