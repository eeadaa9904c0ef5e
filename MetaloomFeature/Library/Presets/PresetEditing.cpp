#include "MetaloomFeature/Library/Presets/PresetEditing.h"

#include "MetaloomFeature/Library/MetadataEngine.h"
#include "MetaloomFeature/Model/PresetsStore.h"

#include <QPointer>

namespace Metaloom {

namespace {

Preset blankPreset()
{
    return {QUuid::createUuid(), QString(), PresetAction::addOrModifyMetadata()};
}

// Removal lines as the engine can use them: trimmed, blank ones left out
// (an empty key would make every file of the batch fail).
QStringList usableRemovals(const QStringList &removals)
{
    QStringList keys;
    for (const QString &removal : removals) {
        if (const QString key = removal.trimmed(); !key.isEmpty())
            keys.append(key);
    }
    return keys;
}

std::optional<Preset> storedPreset(const PresetsStore &store, const QUuid &id)
{
    for (const Preset &preset : store.presets()) {
        if (preset.id == id)
            return preset;
    }
    return std::nullopt;
}

} // namespace

PresetEditing::PresetEditing(PresetsStore *store, std::shared_ptr<MetadataEngine> engine,
                             QObject *parent)
    : QObject(parent), m_store(store), m_engine(std::move(engine))
{
    Q_ASSERT(m_store && m_engine);
    if (m_store->presets().isEmpty()) {
        startNewPreset();
    } else {
        const Preset first = m_store->presets().constFirst();
        m_selectedPresetID = first.id;
        setWorkingCopy(first, false);
    }
    loadAvailableKeys();
}

PresetEditing::~PresetEditing() = default;

const QList<Preset> &PresetEditing::presets() const
{
    return m_store->presets();
}

bool PresetEditing::canSave() const
{
    return m_editingPreset && !m_editingPreset->name.trimmed().isEmpty();
}

bool PresetEditing::hasUnsavedChanges() const
{
    if (!m_editingPreset)
        return false;
    const PresetAction &edited = m_editingPreset->action;
    const QStringList removals = usableRemovals(edited.removals);
    if (m_isCreatingNew)
        return !m_editingPreset->name.trimmed().isEmpty() || !edited.overrides.isEmpty() ||
               !removals.isEmpty();
    const std::optional<Preset> stored = storedPreset(*m_store, m_editingPreset->id);
    if (!stored)
        return true;
    return stored->name != m_editingPreset->name || stored->action.overrides != edited.overrides ||
           usableRemovals(stored->action.removals) != removals;
}

QString PresetEditing::editedIdentity() const
{
    if (!m_editingPreset)
        return QString();
    return m_isCreatingNew ? QStringLiteral("new-preset") : m_editingPreset->id.toString();
}

void PresetEditing::selectPreset(const QUuid &id)
{
    setSelectedPresetID(id);
}

void PresetEditing::setSelectedPresetID(std::optional<QUuid> id)
{
    if (id == m_selectedPresetID)
        return;
    m_selectedPresetID = id;
    // Leaving the selection empty keeps whatever is being edited.
    if (id)
        setWorkingCopy(storedPreset(*m_store, *id), false);
}

void PresetEditing::startNewPreset()
{
    m_selectedPresetID.reset();
    setWorkingCopy(blankPreset(), true);
}

void PresetEditing::setWorkingCopy(std::optional<Preset> preset, bool creatingNew)
{
    m_isCreatingNew = creatingNew;
    m_editingPreset = std::move(preset);
    Q_EMIT workingCopyChanged();
}

void PresetEditing::rename(const QString &name)
{
    if (m_editingPreset)
        m_editingPreset->name = name;
}

void PresetEditing::setOverrides(const QMap<QString, QStringList> &overrides)
{
    if (m_editingPreset)
        m_editingPreset->action =
            PresetAction::addOrModifyItems(overrides, m_editingPreset->action.removals);
}

void PresetEditing::setRemovals(const QStringList &removals)
{
    if (m_editingPreset)
        m_editingPreset->action =
            PresetAction::addOrModifyItems(m_editingPreset->action.overrides, removals);
}

std::optional<QString> PresetEditing::refusalOf(const PresetAction &action) const
{
    for (auto it = action.overrides.cbegin(); it != action.overrides.cend(); ++it) {
        if (std::optional<QString> reason = m_engine->keyRefusalReason(it.key()))
            return reason;
        for (const QString &item : it.value()) {
            if (std::optional<QString> reason = m_engine->valueRefusalReason(it.key(), item))
                return reason;
        }
    }
    for (const QString &key : action.removals) {
        if (std::optional<QString> reason = m_engine->keyRefusalReason(key))
            return reason;
    }
    return std::nullopt;
}

PresetEditing::SaveOutcome PresetEditing::save(const QString &untitledName)
{
    if (!m_editingPreset)
        return SaveOutcome::nothingToSave;
    Preset preset = *m_editingPreset;
    if (preset.name.isEmpty())
        preset.name = untitledName;
    preset.action.removals = usableRemovals(preset.action.removals);
    // Saved, such a preset would fail on every file it is applied to.
    if (std::optional<QString> reason = refusalOf(preset.action)) {
        m_refusal = *reason;
        return SaveOutcome::refused;
    }
    bool written = false;
    if (m_isCreatingNew) {
        written = m_store->addPreset(preset);
        m_selectedPresetID = preset.id;
    } else {
        written = m_store->updatePreset(preset);
    }
    setWorkingCopy(preset, false);
    return written ? SaveOutcome::saved : SaveOutcome::notWritten;
}

PresetEditing::DeleteOutcome PresetEditing::deletePreset()
{
    if (!canDelete())
        return DeleteOutcome::nothingToDelete;
    const bool written = m_store->removePreset(*m_editingPreset);
    if (m_store->presets().isEmpty())
        startNewPreset();
    else
        setSelectedPresetID(m_store->presets().constFirst().id);
    return written ? DeleteOutcome::deleted : DeleteOutcome::notWritten;
}

QCoro::Task<void> PresetEditing::loadAvailableKeys()
{
    QPointer<PresetEditing> self(this);
    const std::shared_ptr<MetadataEngine> engine = m_engine;
    QStringList keys;
    try {
        keys = co_await engine->allTagKeys();
    } catch (...) {
        // Without the listing the pickers stay hidden; keys can be typed.
        co_return;
    }
    if (!self)
        co_return;
    m_availableKeys = keys;
    m_keyCatalog = keys.isEmpty() ? nullptr : std::make_shared<const TagKeyCatalog>(keys);
    Q_EMIT availableKeysChanged();
}

} // namespace Metaloom
