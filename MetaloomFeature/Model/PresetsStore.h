#pragma once

#include "MetaloomFeature/Platform/Preferences.h"
#include "Preset.h"

#include <QList>
#include <QObject>

namespace Metaloom {

// The user's presets, kept under "Metaloom.presets" and written back whole
// after every change. Each window owns its own store; a store reads the
// preferences once, when it is created, and does not see changes made later
// through another store. Main thread only.
class PresetsStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<Metaloom::Preset> presets READ presets NOTIFY presetsChanged)

public:
    static inline const QString presetsKey = QStringLiteral("Metaloom.presets");

    // Loads the stored list at once; an absent or unreadable value gives an
    // empty list and is not reported.
    explicit PresetsStore(QObject *parent = nullptr);
    explicit PresetsStore(Preferences preferences, QObject *parent = nullptr);

    const QList<Preset> &presets() const { return m_presets; }

    // Each operation changes the list, then writes it; the result says
    // whether the write reached the preferences (the change stands either way).
    //
    // Appends, even when a preset with the same id is already listed.
    bool addPreset(const Preset &preset);
    // Replaces the first preset with the same id in place; without one,
    // changes and writes nothing (and answers false).
    bool updatePreset(const Preset &preset);
    // Removes every preset with the same id; writes also when none matched.
    bool removePreset(const Preset &preset);

Q_SIGNALS:
    void presetsChanged();

private:
    void load();
    bool persist();
    void setPresets(QList<Preset> presets);

    Preferences m_preferences;
    QList<Preset> m_presets;
};

} // namespace Metaloom
