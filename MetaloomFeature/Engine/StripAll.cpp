#include "StripAll.h"

#include "ServiceError.h"

#include "MetaloomFeature/Engine/Dialect/MinorErrors.h"
#include "MetaloomFeature/Engine/Dialect/WriteArguments.h"
#include "MetaloomFeature/Platform/Error.h"

#include <QCoreApplication>
#include <QCoroFuture>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent>

namespace Metaloom::StripAll {

namespace {

// One stripping run. ExifTool removes its unfinished output when it refuses.
QCoro::Task<CommandOutput> attempt(ResourceBundle bundle, QString targetPath, QString outputPath,
                                   QString temporaryDirectory, QStringList leftOut,
                                   ChangeOptions options, QStringList keptTags)
{
    co_return co_await ExifToolRunner::run(
        bundle, WriteArguments::forRemoveAll(outputPath, targetPath, leftOut, options, keptTags),
        temporaryDirectory);
}

bool isRefusal(const ServiceError &error, const QString &targetPath)
{
    return error.kind() == ServiceError::Kind::executionFailed &&
           MinorErrors::minorErrorText(error.message(), targetPath).isEmpty();
}

// After a further attempt: its output replaces the one kept when ExifTool
// accepted it, and is dropped otherwise. Runs on a worker thread.
bool keepBetterOutput(bool accepted, const QString &outputPath, const QString &retryOutputPath)
{
    if (!accepted) {
        QFile::remove(retryOutputPath);
        return true;
    }
    QFile::remove(outputPath);
    return QFile::rename(retryOutputPath, outputPath);
}

} // namespace

QCoro::Task<CommandOutput> run(ResourceBundle bundle, QString targetPath, QString outputPath,
                               QString retryOutputPath, QString temporaryDirectory,
                               ChangeOptions options, QStringList keptTags, QStringList needless)
{
    std::optional<ServiceError> refusal;
    try {
        co_return co_await attempt(bundle, targetPath, outputPath, temporaryDirectory, needless,
                                   options, keptTags);
    } catch (const ServiceError &error) {
        if (!isRefusal(error, targetPath))
            throw;
        refusal = error;
    }

    // Start from "-all=" alone, then take back in each further group of
    // deletions that ExifTool accepts together with those already kept.
    QList<QStringList> optional;
    for (QStringList group : WriteArguments::optionalStripDeletions(targetPath)) {
        group.removeIf(
            [&needless](const QString &deletion) { return needless.contains(deletion); });
        if (!group.isEmpty())
            optional << group;
    }
    QStringList leftOut = needless;
    for (const QStringList &group : std::as_const(optional))
        leftOut << group;
    CommandOutput kept;
    try {
        kept = co_await attempt(bundle, targetPath, outputPath, temporaryDirectory, leftOut,
                                options, keptTags);
    } catch (const ServiceError &error) {
        if (!isRefusal(error, targetPath))
            throw;
        throw *refusal; // the file itself is the problem, not a deletion
    }
    for (const QStringList &group : std::as_const(optional)) {
        for (const QString &deletion : group)
            leftOut.removeOne(deletion);
        bool accepted = true;
        try {
            kept = co_await attempt(bundle, targetPath, retryOutputPath, temporaryDirectory,
                                    leftOut, options, keptTags);
        } catch (const ServiceError &error) {
            if (!isRefusal(error, targetPath))
                throw;
            leftOut << group;
            accepted = false;
        }
        QFuture<bool> settled =
            QtConcurrent::run(keepBetterOutput, accepted, outputPath, retryOutputPath);
        if (!co_await settled)
            throw PlatformError(QCoreApplication::translate(
                                    "StripAll", "The stripped copy of “%1” could not be kept.")
                                    .arg(QFileInfo(targetPath).fileName()));
    }
    co_return kept;
}

} // namespace Metaloom::StripAll
