#include "PrivateFolder.h"

#include "PosixFile.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

#include <QCoreApplication>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Metaloom::PrivateFolder {

namespace {

using PosixFile::Descriptor;
using PosixFile::nativePath;

QString cacheHome()
{
    // The XDG rule: a relative value is invalid and ignored.
    const QString configured = qEnvironmentVariable("XDG_CACHE_HOME");
    if (configured.startsWith(QLatin1Char('/')))
        return configured;
    const QString home = qEnvironmentVariable("HOME");
    if (!home.startsWith(QLatin1Char('/')))
        return QString();
    return QDir(home).filePath(QStringLiteral(".cache"));
}

QString userNumber()
{
    return QString::number(::geteuid());
}

enum class State {
    absent,  // nothing of that name
    ours,    // a real folder of the user's, private
    unusable // someone else's, a link, a file, or not private and not ours to fix
};

// Examines the folder through a descriptor that cannot follow a link, so
// that what is checked is what is made private. With `fix`, a folder of
// ours that others may enter is closed to them.
State stateOf(const QString &folder, bool fix)
{
    const QByteArray native = nativePath(folder);
    struct stat named {};
    if (::lstat(native.constData(), &named) != 0)
        return errno == ENOENT ? State::absent : State::unusable;
    if (!S_ISDIR(named.st_mode) || named.st_uid != ::geteuid())
        return State::unusable;
    if ((named.st_mode & 077) == 0)
        return State::ours;
    if (!fix)
        return State::ours; // prepare() closes it before use
    Descriptor opened(::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat status {};
    if (!opened.isOpen() || ::fstat(opened.fd(), &status) != 0 || status.st_uid != ::geteuid() ||
        status.st_ino != named.st_ino || status.st_dev != named.st_dev ||
        ::fchmod(opened.fd(), 0700) != 0)
        return State::unusable;
    return State::ours;
}

// Creates the folder (0700) and, for the candidate in the cache home, the
// folders above it. False when it cannot be made.
bool create(const QString &folder)
{
    const QString parent = QFileInfo(folder).absolutePath();
    if (!QFileInfo::exists(parent)) {
        // The cache home and our folder in it: the user's own, so private.
        const QString grandparent = QFileInfo(parent).absolutePath();
        if (!QFileInfo::exists(grandparent))
            ::mkdir(nativePath(grandparent).constData(), 0700);
        ::mkdir(nativePath(parent).constData(), 0700);
    }
    return ::mkdir(nativePath(folder).constData(), 0700) == 0 || errno == EEXIST;
}

struct Chosen {
    QStringList candidates;
    QString folder;
};

QMutex chosenMutex;
Chosen chosen; // guarded by chosenMutex

void remember(const QStringList &forCandidates, const QString &folder)
{
    const QMutexLocker locker(&chosenMutex);
    chosen = Chosen{forCandidates, folder};
}

} // namespace

QStringList candidates()
{
    QStringList folders;
    const QString cache = cacheHome();
    if (!cache.isEmpty())
        folders << QDir(cache).filePath(QStringLiteral("metaloom/tmp-") + userNumber());
    folders << QDir(QDir::tempPath()).filePath(QStringLiteral("metaloom-") + userNumber());
    return folders;
}

QString prepare()
{
    const QStringList folders = candidates();
    for (const QString &folder : folders) {
        State state = stateOf(folder, true);
        if (state == State::absent && create(folder))
            state = stateOf(folder, true);
        if (state == State::ours) {
            remember(folders, folder);
            return folder;
        }
    }
    throw PlatformError(
        QCoreApplication::translate("PrivateFolder",
                                    "Metaloom has no private folder for its working files: "
                                    "neither “%1” can be used nor created.")
            .arg(folders.join(QCoreApplication::translate("PrivateFolder", "” nor “",
                                                          "between the names of two folders"))));
}

QString location()
{
    const QStringList folders = candidates();
    {
        const QMutexLocker locker(&chosenMutex);
        if (chosen.candidates == folders)
            return chosen.folder;
    }
    QString folder = folders.constLast();
    for (const QString &candidate : folders) {
        if (stateOf(candidate, false) != State::unusable) {
            folder = candidate;
            break;
        }
    }
    remember(folders, folder);
    return folder;
}

QString cacheFolder()
{
    const QString cache = cacheHome();
    return cache.isEmpty() ? QString() : QDir(cache).filePath(QStringLiteral("metaloom"));
}

QStringList foldersToSweep()
{
    QStringList folders = candidates();
    folders << QDir(QDir::tempPath()).filePath(QStringLiteral("ExifToolTmp"));
    folders.removeIf([](const QString &folder) { return !isOurs(folder); });
    return folders;
}

bool isOurs(const QString &folder)
{
    struct stat status {};
    return ::lstat(nativePath(folder).constData(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == ::geteuid();
}

} // namespace Metaloom::PrivateFolder
