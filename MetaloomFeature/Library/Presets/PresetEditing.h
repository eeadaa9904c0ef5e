#pragma once

#include "MetaloomFeature/Library/Presets/TagKeyCatalog.h"
#include "MetaloomFeature/Model/Preset.h"

#include <QCoroTask>
#include <QObject>
#include <QStringList>
#include <QUuid>

#include <memory>
#include <optional>

namespace Metaloom {

class MetadataEngine;
class PresetsStore;

// What the preset manager edits: one preset at a time, in a working copy
// that reaches the store only on save() and deletePreset(); dropping the
// editing drops unsaved edits. Also the tag keys its pickers offer, asked of
// the engine once, in the background: until they arrive, or if they never
// do, there are none and keys are typed. Main thread only.
class PresetEditing : public QObject {
    Q_OBJECT

public:
    // What a save came to.
    enum class SaveOutcome {
        // Nothing is being edited.
        nothingToSave,
        // The engine would refuse a key or value of the preset on every
        // file: nothing was stored (refusal() says why).
        refused,
        // Stored and written to the preferences.
        saved,
        // Stored for this window, but the preferences file did not take it.
        notWritten,
    };
    // What a deletion came to.
    enum class DeleteOutcome { nothingToDelete, deleted, notWritten };

    // Starts with the first stored preset, or a new one when there is none.
    PresetEditing(PresetsStore *store, std::shared_ptr<MetadataEngine> engine,
                  QObject *parent = nullptr);
    ~PresetEditing() override;

    const QList<Preset> &presets() const;
    std::optional<QUuid> selectedPresetID() const { return m_selectedPresetID; }
    bool isCreatingNew() const { return m_isCreatingNew; }
    const std::optional<Preset> &editingPreset() const { return m_editingPreset; }
    // A working copy with a name that is not blank.
    bool canSave() const;
    // The working copy holds something a save would store: for a stored
    // preset, a name, value or removal that differs from the stored one;
    // for a new one, a name or any value or removal. Removal lines are
    // compared as a save would store them (trimmed, blank ones left out).
    bool hasUnsavedChanges() const;
    // A stored preset is being edited.
    bool canDelete() const { return m_editingPreset && !m_isCreatingNew; }
    // Tells working copies apart for an editor shown for one: the same
    // text while the same preset is edited (a new one counts as one).
    QString editedIdentity() const;

    // Every key the engine lists, and the same grouped for pickers
    // (nothing until the listing arrived).
    const QStringList &availableKeys() const { return m_availableKeys; }
    std::shared_ptr<const TagKeyCatalog> keyCatalog() const { return m_keyCatalog; }

    // Edits the stored preset with this id (nothing when none has it). The
    // id already selected keeps the working copy as it is.
    void selectPreset(const QUuid &id);
    void startNewPreset();
    // Changes of the working copy; ignored without one.
    void rename(const QString &name);
    void setOverrides(const QMap<QString, QStringList> &overrides);
    void setRemovals(const QStringList &removals);

    // Stores the working copy, named `untitledName` when its name is empty,
    // its removals trimmed and blank ones left out. A new preset becomes the
    // selected stored one.
    SaveOutcome save(const QString &untitledName);
    // The reason the last refused save gave.
    const QString &refusal() const { return m_refusal; }
    // Deletes the stored preset being edited; the first one left is edited
    // next, or a new one when none is left.
    DeleteOutcome deletePreset();

Q_SIGNALS:
    // Another preset (or none) is edited, or the working copy was replaced
    // by a save; not emitted for the changes above.
    void workingCopyChanged();
    void availableKeysChanged();

private:
    void setSelectedPresetID(std::optional<QUuid> id);
    void setWorkingCopy(std::optional<Preset> preset, bool creatingNew);
    std::optional<QString> refusalOf(const PresetAction &action) const;
    QCoro::Task<void> loadAvailableKeys();

    PresetsStore *m_store;
    std::shared_ptr<MetadataEngine> m_engine;
    std::optional<QUuid> m_selectedPresetID;
    bool m_isCreatingNew = false;
    std::optional<Preset> m_editingPreset;
    QString m_refusal;
    QStringList m_availableKeys;
    std::shared_ptr<const TagKeyCatalog> m_keyCatalog;
};

} // namespace Metaloom
