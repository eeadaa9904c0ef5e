#include "ChangeGuard.h"

#include "ExifToolRunner.h"
#include "Leftovers.h"
#include "TargetLock.h"

#include <QCoroFuture>
#include <QFileInfo>
#include <QtConcurrent>

namespace Metaloom {

QCoro::Task<ChangeGuard> ChangeGuard::begin(QString targetPath)
{
    co_await Leftovers::atEngineStart();
    FileChangeQueue::Turn turn = co_await FileChangeQueue::shared().waitForTurn(targetPath);
    QString temporaryDirectory = ExifToolRunner::prepareTemporaryDirectory();
    FileLock targetLock = co_await TargetLock::acquire(temporaryDirectory, targetPath);
    QFuture<void> cleaned =
        QtConcurrent::run(&Leftovers::cleanBeforeChange, temporaryDirectory, targetPath);
    co_await cleaned;
    TemporaryClaim claim = TemporaryClaim::create(temporaryDirectory);
    QString outputPath = claim.path(outputSuffixFor(targetPath));
    co_return ChangeGuard(std::move(turn), std::move(targetLock), std::move(claim),
                          std::move(temporaryDirectory), std::move(outputPath));
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
