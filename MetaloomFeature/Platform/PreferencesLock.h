#pragma once

#include "Preferences.h"

#include <QLockFile>
#include <QString>

#include <chrono>
#include <optional>

namespace Metaloom {

// Makes one read-modify-write of the preferences a single step for every
// process of ours: while one process holds the lock, no other process of ours
// changes the values guarded by it. The lock is a file next to the preferences
// file, so two windows, two copies of the program and helper tools all meet
// at it; a lock left by a process that died is taken over. (QSettings' own
// lock only guards the moment of writing the file, not a value read earlier.)
//
// Hold it only around the read and the write: everything else of the program
// waits, and a second lock in the same process waits for the first.
class PreferencesLock {
public:
    static constexpr std::chrono::milliseconds defaultWait{10'000};

    // Waits up to `wait` for the lock; isLocked() tells whether it came.
    explicit PreferencesLock(const Preferences &preferences,
                             std::chrono::milliseconds wait = defaultWait);
    ~PreferencesLock();
    PreferencesLock(const PreferencesLock &) = delete;
    PreferencesLock &operator=(const PreferencesLock &) = delete;

    bool isLocked() const { return m_lock.isLocked(); }

    // The lock file kept next to a preferences file.
    static QString lockFilePath(const QString &preferencesFile);

    // How the preferences file looks on disk: a new file (QSettings replaces
    // the file on every write), a new size or a new time stamp.
    struct FileStamp {
        quint64 inode = 0;
        qint64 size = 0;
        qint64 modifiedNs = 0;
        bool operator==(const FileStamp &) const = default;
    };

private:
    void keepTimeStampMoving() const;

    QString m_preferencesFile;
    QLockFile m_lock;
    std::optional<FileStamp> m_before;
};

} // namespace Metaloom
