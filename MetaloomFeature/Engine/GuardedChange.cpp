#include "GuardedChange.h"

#include "ReadBack.h"

#include "MetaloomFeature/Engine/Dialect/ChangeComparison.h"
#include "MetaloomFeature/Engine/Dialect/JpegExifLimit.h"
#include "MetaloomFeature/Engine/Dialect/MinorErrors.h"
#include "MetaloomFeature/Engine/Dialect/WriteReport.h"
#include "MetaloomFeature/Engine/FileSafety/PosixFile.h"

#include <QCoroFuture>
#include <QFileInfo>
#include <QtConcurrent>

namespace Metaloom::GuardedChange {

namespace {

QStringList keysOf(const QList<TagAssignment> &assignments)
{
    QStringList keys;
    for (const TagAssignment &assignment : assignments)
        keys << assignment.key;
    return keys;
}

} // namespace

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

// Setting and deleting tags: ExifTool silently skips a tag the format has
// no place for, keeps an old value it cannot rewrite and stores a value it
// could not convert as it was, so the changed tags are read back and
// compared. When none of the change took, the original is left alone and
// the report names every tag (ExifTool's words when it refused a value).
QCoro::Task<Verdict> judgeTagChange(ResourceBundle bundle, CommandOutput output, QString outputPath,
                                    TargetPath::ChangeTarget target,
                                    QList<TagAssignment> assignments, ChangeOptions options)
{
    const QString targetPath = target.path;
    const QString fileName = chosenName(target);
    const WriteReport::FileCounts counts = WriteReport::filesReported(output);
    if (counts.created == 0 && counts.copied == 0)
        WriteReport::verifyFilesCreated(output, fileName, keysOf(assignments)); // throws
    const QStringList warnings = writeWarnings(output, targetPath);
    // The new file's bytes go to disk while ExifTool reads it back, so
    // that the sync before the replacement has little left to wait for.
    PosixFile::startWritingOut(outputPath);
    // The new file first; the original only when its old values or its
    // warnings decide the verdict, which spares a change that took as
    // asked a second reading.
    const QList<ChangeReadBack::FileAnswers> written =
        co_await ChangeReadBack::read(bundle, keysOf(assignments), {outputPath}, options);
    ChangeReadBack::Answers answers = ChangeReadBack::combine(written.first(), std::nullopt);
    QStringList oldValuesNeeded =
        ChangeComparison::keysNeedingTheOriginal(assignments, answers, warnings);
    if (oldValuesNeeded.isEmpty() && JpegExifLimit::splitsExif(answers.newWarnings))
        oldValuesNeeded = keysOf(assignments); // for the original's warnings
    if (!oldValuesNeeded.isEmpty()) {
        const QList<ChangeReadBack::FileAnswers> original =
            co_await ChangeReadBack::read(bundle, oldValuesNeeded, {targetPath}, options);
        answers = ChangeReadBack::combine(written.first(), original.first());
    }
    if (const std::optional<QString> refusal = JpegExifLimit::refusalAfterWriting(
            fileName, warnings, answers.originalWarnings, answers.newWarnings))
        throw ServiceError::invalidInput(*refusal);
    const ChangeComparison::Verdict verdict = ChangeComparison::judge(
        assignments, answers, warnings, ChangeComparison::fileKindOf(targetPath));
    if (!verdict.anythingTook) {
        if (verdict.anyRefused)
            throw ServiceError::nothingWritten(fileName, keysOf(assignments), warnings);
        co_return Verdict{false, verdict.report};
    }
    co_return Verdict{counts.created > 0, verdict.report};
}

} // namespace Metaloom::GuardedChange
