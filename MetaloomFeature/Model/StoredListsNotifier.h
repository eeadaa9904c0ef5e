#pragma once

#include <QObject>
#include <QString>

namespace Metaloom {

// Tells every part of this process that holds a copy of a list kept in the
// preferences (the presets of each window, a window's pinned tags and custom
// fields) that the stored list has just been changed, so that it reloads it.
// The stores announce each change they write. Other processes are not heard:
// their changes are found at the next change, which always starts from the
// stored list. Main thread only.
class StoredListsNotifier : public QObject {
    Q_OBJECT

public:
    // The one notifier of the process.
    static StoredListsNotifier &shared();

    void announce(const QString &preferencesFile, const QString &key);

Q_SIGNALS:
    // `preferencesFile` is the Preferences::fileName() of the store that
    // wrote, `key` the preferences key of the list.
    void storedListChanged(const QString &preferencesFile, const QString &key);

private:
    StoredListsNotifier() = default;
};

} // namespace Metaloom
