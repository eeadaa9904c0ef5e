#include "PreferencesLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>

namespace Metaloom {

namespace {

// The lock is held for milliseconds; one older than this belongs to a
// process that hangs, and waiting longer would only freeze this one.
constexpr std::chrono::milliseconds staleAfter{10'000};

std::optional<PreferencesLock::FileStamp> stampOf(const QString &path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return PreferencesLock::FileStamp{
        static_cast<quint64>(info.st_ino), static_cast<qint64>(info.st_size),
        static_cast<qint64>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

} // namespace

QString PreferencesLock::lockFilePath(const QString &preferencesFile)
{
    // Not "<file>.lock": QSettings takes that one itself while it writes, and
    // a lock file is not shared with the same process.
    return preferencesFile + QStringLiteral(".change-lock");
}

PreferencesLock::PreferencesLock(const Preferences &preferences, std::chrono::milliseconds wait)
    : m_preferencesFile(preferences.fileName()), m_lock(lockFilePath(m_preferencesFile))
{
    // The folder appears with the first write of the preferences; the lock
    // comes before that write.
    QDir().mkpath(QFileInfo(m_preferencesFile).absolutePath());
    m_lock.setStaleLockTime(static_cast<int>(staleAfter.count()));
    if (m_lock.tryLock(static_cast<int>(wait.count())))
        m_before = stampOf(m_preferencesFile);
}

PreferencesLock::~PreferencesLock()
{
    if (!m_lock.isLocked())
        return;
    keepTimeStampMoving();
    m_lock.unlock();
}

// QSettings keeps the parsed file and, in another process, reads it again
// only when its size or its modification time (to the millisecond) changed.
// Two writes within one tick of the file system's clock that leave the size
// alone would look like no change at all, and that process would later write
// its stale copy back. So a write made under the lock always moves the time
// stamp at least one millisecond past the one it found.
void PreferencesLock::keepTimeStampMoving() const
{
    const std::optional<FileStamp> after = stampOf(m_preferencesFile);
    if (!m_before || !after || *after == *m_before)
        return;
    constexpr qint64 millisecond = 1'000'000;
    const qint64 before = m_before->modifiedNs / millisecond;
    if (after->modifiedNs / millisecond > before)
        return;
    const qint64 later = (before + 1) * millisecond;
    const struct timespec times[2] = {{0, UTIME_OMIT},
                                      {later / 1'000'000'000, later % 1'000'000'000}};
    ::utimensat(AT_FDCWD, QFile::encodeName(m_preferencesFile).constData(), times, 0);
}

} // namespace Metaloom
