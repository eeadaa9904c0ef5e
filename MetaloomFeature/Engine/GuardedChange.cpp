#include "GuardedChange.h"

#include "MetaloomFeature/Engine/Dialect/ChangeComparison.h"
#include "MetaloomFeature/Engine/Dialect/MinorErrors.h"
#include "MetaloomFeature/Engine/Dialect/WriteReport.h"

#include <QCoroFuture>
#include <QFileInfo>
#include <QtConcurrent>

namespace Metaloom::GuardedChange {

QString chosenName(const TargetPath::ChangeTarget &target)
{
    return QFileInfo(target.chosen).fileName();
}

QStringList writeWarnings(const CommandOutput &output, const QString &targetPath)
{
    QStringList warnings;
    for (const QString &warning : WriteReport::warningLines(output.standardError))
        warnings << ChangeComparison::withoutFileName(warning, targetPath);
    return warnings;
}

void rethrowAsMinorError(const ServiceError &error, const TargetPath::ChangeTarget &target)
{
    if (error.kind() == ServiceError::Kind::executionFailed) {
        const QString text = MinorErrors::minorErrorText(error.message(), target.path);
        if (!text.isEmpty())
            throw ServiceError::minorError(chosenName(target), text, MinorErrors::plainWords(text));
    }
    throw;
}

QCoro::Task<void> replace(TargetPath::ChangeTarget target, QString outputPath,
                          FileStamp targetVersion, FileReplacement::KeptDate keptDate)
{
    QFuture<void> replaced = QtConcurrent::run([=] {
        FileReplacement::replaceOriginal(target.path, outputPath, {targetVersion, target.chosen},
                                         FileReplacement::Strategy::automatic, keptDate);
    });
    co_await replaced;
}

} // namespace Metaloom::GuardedChange
