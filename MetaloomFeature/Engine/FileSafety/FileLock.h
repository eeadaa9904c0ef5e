#pragma once

#include "PosixFile.h"

#include <QString>
#include <optional>

namespace Metaloom {

// An exclusive lock (flock) on a file, held while the object lives. Such a
// lock belongs to one open file: two opens in one process exclude each other
// as two processes do, and the system drops the lock when its holder dies,
// however it dies. That makes it the mark of "a live process of ours is
// using this" for the files the engine leaves in shared places.
class FileLock {
public:
    enum class Open {
        existing,        // only a file that is already there
        createIfMissing, // a lock file shared by everyone who locks this path
        createNew        // a new file of the caller's own (fails if the name is taken)
    };

    // Locks the file at `path` without waiting; nothing when another open
    // file holds the lock or the file cannot be opened. A lock file removed
    // by its last holder while we were opening it is never returned: the
    // locked file must still be the one at `path`. `error`, when given,
    // receives EWOULDBLOCK when someone else holds the lock, or the system's
    // reason the file could not be opened.
    static std::optional<FileLock> tryLock(const QString &path, Open open, int *error = nullptr);

    FileLock(FileLock &&) noexcept = default;
    FileLock &operator=(FileLock &&) noexcept;
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;
    ~FileLock();

    const QString &path() const { return m_path; }
    // Open for reading and writing (the caller may write the file's content).
    int fd() const { return m_descriptor.fd(); }

    // When set, the file is removed on release, before the lock is let go, so
    // that whoever locks the path next works on a fresh file.
    void setRemoveOnRelease(bool remove) { m_removeOnRelease = remove; }
    void release();

private:
    FileLock(QString path, PosixFile::Descriptor descriptor)
        : m_path(std::move(path)), m_descriptor(std::move(descriptor))
    {}

    QString m_path;
    PosixFile::Descriptor m_descriptor;
    bool m_removeOnRelease = false;
};

} // namespace Metaloom
