#pragma once

#include "MetaloomFeature/Platform/Preferences.h"
#include "Preset.h"

#include <QList>
#include <QObject>

#include <functional>

namespace Metaloom {

// The user's presets, kept under "Metaloom.presets". Each window owns its own
// store, and other processes of ours may change the same list, so every
// change is made to the stored list as it is at that moment: under the
// preferences lock the store reads it, applies the one change, writes it
// back and takes the result as its own list. A preset added elsewhere is
// therefore never dropped by a change made here. Every store of the process
// over the same preferences reloads after a change written by any of them,
// and emits presetsChanged when its list changed; a change made by another
// process shows here with the next change. Main thread only.
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

    // Each operation answers whether its change reached the preferences.
    // When it did not (the preferences or their lock could not be written),
    // the change stands in this store's list all the same.
    //
    // Appends, even when a preset with the same id is already listed.
    bool addPreset(const Preset &preset);
    // Replaces the first stored preset with the same id in place; without
    // one (never added, or removed elsewhere meanwhile), changes and writes
    // nothing and answers false.
    bool updatePreset(const Preset &preset);
    // Removes every preset with the same id; writes also when none matched.
    bool removePreset(const Preset &preset);

Q_SIGNALS:
    void presetsChanged();

private:
    // `edit` changes the list it is given and answers whether to write it.
    bool change(const std::function<bool(QList<Preset> &)> &edit);
    void reload();
    void setPresets(QList<Preset> presets);

    Preferences m_preferences;
    QList<Preset> m_presets;
};

} // namespace Metaloom
