#include "ChangeGuard.h"

#include "FileReplacement.h"
#include "Leftovers.h"
#include "PrivateFolder.h"
#include "TargetLock.h"

#include <QCoroFuture>
#include <QCoroTimer>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <unistd.h>

namespace Metaloom {

namespace {

struct Locked {
    QString temporaryDirectory;
    std::optional<FileLock> targetLock;
};

// The temporary folder, and the target's lock if nobody holds it now.
std::shared_ptr<Locked> tryLocking(const QString &targetPath)
{
    QString temporaryDirectory = PrivateFolder::prepare();
    std::optional<FileLock> lock = TargetLock::tryAcquire(temporaryDirectory, targetPath);
    return std::make_shared<Locked>(Locked{std::move(temporaryDirectory), std::move(lock)});
}

struct Claimed {
    TemporaryClaim claim;
    ChangeGuard::Paths paths;
    PosixFile::Descriptor outputFolder;
};

// With the target's lock held: clears what dead processes left for it,
// claims the operation's files and chooses where ExifTool writes.
std::shared_ptr<Claimed> claim(const QString &temporaryDirectory, const QString &targetPath)
{
    Leftovers::cleanBeforeChange(temporaryDirectory, targetPath);
    TemporaryClaim claim = TemporaryClaim::create(temporaryDirectory);
    ChangeGuard::Paths paths;
    paths.temporaryDirectory = temporaryDirectory;
    PosixFile::Descriptor outputFolder;
    if (const auto beside = FileReplacement::reserveOutputsBeside(targetPath, claim.id())) {
        const QString folder = QFileInfo(beside->output).absolutePath();
        Leftovers::noteOutputsBeside(temporaryDirectory, claim.id(), folder);
        outputFolder = PosixFile::Descriptor(
            ::open(PosixFile::nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        paths.output = beside->output;
        paths.retryOutput = beside->retryOutput;
    } else {
        const QString suffix = ChangeGuard::outputSuffixFor(targetPath);
        paths.output = claim.path(suffix);
        paths.retryOutput = claim.hiddenPath(QStringLiteral("-next") + suffix);
    }
    paths.targetVersion = FileStamp::of(targetPath);
    paths.valueFileStem = claim.hiddenPath(QStringLiteral(".value-"));
    return std::make_shared<Claimed>(
        Claimed{std::move(claim), std::move(paths), std::move(outputFolder)});
}

} // namespace

QCoro::Task<ChangeGuard> ChangeGuard::begin(QString targetPath)
{
    using namespace std::chrono_literals;
    co_await Leftovers::atEngineStart();
    FileChangeQueue::Turn turn = co_await FileChangeQueue::shared().waitForTurn(targetPath);

    // Another process of ours changing the file holds its lock until done.
    std::chrono::milliseconds pause = 10ms;
    std::shared_ptr<Locked> locked;
    for (;;) {
        QFuture<std::shared_ptr<Locked>> attempt = QtConcurrent::run(tryLocking, targetPath);
        locked = co_await attempt;
        if (locked->targetLock)
            break;
        co_await QCoro::sleepFor(pause);
        pause = std::min<std::chrono::milliseconds>(pause * 2, 200ms);
    }
    auto held = std::make_shared<Held>(Held{std::move(*locked->targetLock), std::nullopt, {}});
    QFuture<std::shared_ptr<Claimed>> claiming =
        QtConcurrent::run(claim, locked->temporaryDirectory, targetPath);
    std::shared_ptr<Claimed> claimed = co_await claiming;
    held->claim.emplace(std::move(claimed->claim));
    held->outputFolder = std::move(claimed->outputFolder);
    co_return ChangeGuard(std::move(turn), std::move(held), std::move(claimed->paths));
}

QCoro::Task<void> ChangeGuard::end(ChangeGuard guard)
{
    const Paths paths = guard.m_paths;
    QFuture<void> released = QtConcurrent::run([paths, held = std::move(guard.m_held)]() mutable {
        for (const QString &output : {paths.output, paths.retryOutput}) {
            QFile::remove(output);
            // Where the folder was renamed away meanwhile, what ExifTool
            // left there has no name we could find it by any more.
            if (held && held->outputFolder.isOpen()) {
                ::unlinkat(held->outputFolder.fd(),
                           PosixFile::nativePath(QFileInfo(output).fileName()).constData(), 0);
            }
        }
        if (held && held->claim) {
            QFile::remove(TemporaryClaim::hiddenPath(paths.temporaryDirectory, held->claim->id(),
                                                     Leftovers::besideNoteSuffix));
        }
        held.reset(); // the claim, then the lock, before the turn goes
    });
    co_await released;
}

QString ChangeGuard::outputSuffixFor(const QString &targetPath)
{
    // A file name holds at most 255 bytes; the identifier takes 36 and the dot one.
    const QString suffix = QFileInfo(targetPath).suffix();
    if (suffix.isEmpty() || suffix.toUtf8().size() > 255 - 37)
        return QString();
    return QLatin1Char('.') + suffix;
}

} // namespace Metaloom
