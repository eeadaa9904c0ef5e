#pragma once

#include <QByteArray>
#include <QString>

#include <utility>

// Small POSIX file helpers shared by the parts of the engine that must know
// exactly when bytes are on disk (replacing a file, journals, locks).
namespace Metaloom::PosixFile {

QByteArray nativePath(const QString &path);

// Owns a file descriptor and closes it on every path out of a scope.
class Descriptor {
public:
    Descriptor() = default;
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(Descriptor &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}
    Descriptor &operator=(Descriptor &&other) noexcept;
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor();

    int fd() const { return m_fd; }
    bool isOpen() const { return m_fd >= 0; }
    // Closes now and answers whether the close succeeded (errno set if not).
    bool close();

private:
    int m_fd = -1;
};

// Writes all of `sourcePath` to the open descriptor at its current offset;
// false with errno set on failure.
bool copyInto(int fd, const QString &sourcePath);

// Replaces the content of the existing file at `targetPath` with that of
// `sourcePath`, in place (same file, same permissions), and syncs it.
bool rewriteWith(const QString &targetPath, const QString &sourcePath);

// Creates `copyPath` (which must not exist, mode 0600) holding the bytes of
// `sourcePath`, synced to disk.
bool copyDurably(const QString &sourcePath, const QString &copyPath);

// Asks the system to start writing the file's content to disk without
// waiting for it, so that the sync that makes it durable later finds most
// of it written. Best effort: nothing happens where it cannot be done.
void startWritingOut(const QString &path);

// Makes the folder's entries (created, renamed or removed files) durable.
void syncFolder(const QString &folder);

// The operating system's text for an errno value.
QString systemMessage(int error);

// Throws PlatformError with `sentence` translated and completed: %1 becomes
// the file's name, %2 the system's message. The sentence is a source text
// marked with QT_TRANSLATE_NOOP("PosixFile", "Could not replace “%1”: %2."), so
// that nothing between the failing call and this one can touch errno.
[[noreturn]] void fail(const char *sentence, const QString &path, int error);

} // namespace Metaloom::PosixFile
