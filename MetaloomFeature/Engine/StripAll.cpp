#include "StripAll.h"

#include "ServiceError.h"
#include "WriteArguments.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Metaloom::StripAll {

QString withoutOwnWarnings(const QString &text)
{
    QStringList kept;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        if (!line.contains(QLatin1String("'ExifTool:*'")))
            kept << line;
    }
    return kept.join(QLatin1Char('\n')).trimmed();
}

namespace {

// One stripping run. ExifTool removes its unfinished output when it refuses.
QCoro::Task<CommandOutput> attempt(ResourceBundle bundle, QString targetPath, QString outputPath,
                                   QString temporaryDirectory, QStringList leftOut)
{
    try {
        co_return co_await ExifToolRunner::run(
            bundle, WriteArguments::forRemoveAll(outputPath, targetPath, leftOut),
            temporaryDirectory);
    } catch (const ServiceError &error) {
        if (error.kind() != ServiceError::Kind::executionFailed)
            throw;
        const QString message = withoutOwnWarnings(error.message());
        throw ServiceError::executionFailed(message.isEmpty() ? QStringLiteral("Unknown error")
                                                              : message);
    }
}

bool isRefusal(const ServiceError &error)
{
    return error.kind() == ServiceError::Kind::executionFailed;
}

} // namespace

QCoro::Task<CommandOutput> run(ResourceBundle bundle, QString targetPath, QString outputPath,
                               QString temporaryDirectory)
{
    std::optional<ServiceError> refusal;
    try {
        co_return co_await attempt(bundle, targetPath, outputPath, temporaryDirectory, {});
    } catch (const ServiceError &error) {
        if (!isRefusal(error))
            throw;
        refusal = error;
    }

    // Start from "-all=" alone, then take back in each further group of
    // deletions that ExifTool accepts together with those already kept.
    const QList<QStringList> optional = WriteArguments::optionalStripDeletions(targetPath);
    QStringList leftOut;
    for (const QStringList &group : optional)
        leftOut << group;
    CommandOutput kept;
    try {
        kept = co_await attempt(bundle, targetPath, outputPath, temporaryDirectory, leftOut);
    } catch (const ServiceError &error) {
        if (!isRefusal(error))
            throw;
        throw *refusal; // the file itself is the problem, not a deletion
    }
    // Named after the operation's identifier (the first 36 characters of the
    // output's name), so that the clean-up after a crash recognises it.
    const QFileInfo output(outputPath);
    const QString outputName = output.fileName();
    const QString candidatePath = output.dir().filePath(
        QLatin1Char('.') + outputName.left(36) + QStringLiteral("-next") + outputName.mid(36));
    // Should a run fail in a way that is no refusal, nothing stays behind.
    struct Leftovers {
        QStringList paths;
        bool keep = false;
        ~Leftovers()
        {
            if (!keep) {
                for (const QString &path : paths)
                    QFile::remove(path);
            }
        }
    } leftovers{{outputPath, candidatePath}};
    for (const QStringList &group : optional) {
        for (const QString &deletion : group)
            leftOut.removeOne(deletion);
        try {
            kept = co_await attempt(bundle, targetPath, candidatePath, temporaryDirectory, leftOut);
        } catch (const ServiceError &error) {
            if (!isRefusal(error))
                throw;
            leftOut << group;
            QFile::remove(candidatePath);
            continue;
        }
        QFile::remove(outputPath);
        if (!QFile::rename(candidatePath, outputPath))
            throw PlatformError(QStringLiteral("The stripped copy of “%1” could not be kept.")
                                    .arg(QFileInfo(targetPath).fileName()));
    }
    leftovers.keep = true;
    co_return kept;
}

} // namespace Metaloom::StripAll
