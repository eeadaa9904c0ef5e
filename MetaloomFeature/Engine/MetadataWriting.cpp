// The four operations that change a file. Each one runs ExifTool with "-o"
// into the private temporary folder, checks ExifTool's report that a file was
// created, and only then puts the new file in the place of the user's file.

#include "ExifToolService.h"

#include "ChangeGuard.h"
#include "ExifToolRunner.h"
#include "FileReplacement.h"
#include "TagKeyRules.h"
#include "TargetPath.h"
#include "WriteArguments.h"
#include "WriteReport.h"

#include <QCoroFuture>
#include <QFile>
#include <QFileInfo>
#include <QtConcurrent>

#include <functional>

namespace Metaloom {

namespace {

using ArgumentBuilder = std::function<QStringList(const QString &outputPath)>;

QCoro::Task<void> changeFile(ResourceBundle bundle, QString targetPath, QStringList checkedTags,
                             ArgumentBuilder buildArguments)
{
    const ChangeGuard guard = co_await ChangeGuard::begin(targetPath);
    // The version ExifTool is about to read; if another program changes the
    // file meanwhile, its change must not be silently replaced.
    const FileReplacement::FileStamp readVersion = FileReplacement::stampOf(targetPath);

    const QString temporaryDirectory = guard.temporaryDirectory();
    const QString outputPath = guard.outputPath();

    const CommandOutput output =
        co_await ExifToolRunner::run(bundle, buildArguments(outputPath), temporaryDirectory);
    try {
        WriteReport::verifyFilesCreated(output, QFileInfo(targetPath).fileName(), checkedTags);
    } catch (...) {
        QFile::remove(outputPath);
        throw;
    }
    // Copying a large video and syncing it to disk takes longer than the
    // interface may wait, so the replacement runs on a worker thread.
    QFuture<void> replaced = QtConcurrent::run([targetPath, outputPath, readVersion] {
        FileReplacement::replaceOriginal(targetPath, outputPath, readVersion);
    });
    co_await replaced;
}

} // namespace

QCoro::Task<ChangeReport> ExifToolService::writeMetadata(QUrl fileUrl, QList<MetadataEntry> entries)
{
    QList<MetadataEntry> modified;
    QStringList keys;
    for (const MetadataEntry &entry : entries) {
        if (entry.isModified()) {
            modified.append(entry);
            keys << entry.rawKey;
        }
    }
    if (modified.isEmpty())
        co_return ChangeReport{};
    QList<QPair<QString, QString>> assignments;
    for (const MetadataEntry &entry : modified)
        assignments.append({entry.rawKey, entry.value});
    TagKeyRules::requireUsable(assignments);
    const QString target = TargetPath::forFile(fileUrl);
    co_await changeFile(m_bundle, target, keys, [modified, target](const QString &output) {
        return WriteArguments::forEntries(modified, output, target);
    });
    co_return ChangeReport{};
}

QCoro::Task<ChangeReport> ExifToolService::applyOverrides(QMap<QString, QString> overrides,
                                                          QUrl fileUrl)
{
    if (overrides.isEmpty())
        co_return ChangeReport{};
    TagKeyRules::requireUsable(overrides);
    const QString target = TargetPath::forFile(fileUrl);
    co_await changeFile(m_bundle, target, overrides.keys(),
                        [overrides, target](const QString &output) {
                            return WriteArguments::forOverrides(overrides, output, target);
                        });
    co_return ChangeReport{};
}

QCoro::Task<ChangeReport> ExifToolService::removeMetadata(QStringList tagKeys, QUrl fileUrl)
{
    if (tagKeys.isEmpty())
        co_return ChangeReport{};
    TagKeyRules::requireUsable(tagKeys);
    const QString target = TargetPath::forFile(fileUrl);
    co_await changeFile(m_bundle, target, tagKeys, [tagKeys, target](const QString &output) {
        return WriteArguments::forRemovals(tagKeys, output, target);
    });
    co_return ChangeReport{};
}

QCoro::Task<void> ExifToolService::removeAllMetadata(QUrl fileUrl)
{
    const QString target = TargetPath::forFile(fileUrl);
    co_await changeFile(m_bundle, target, {}, [target](const QString &output) {
        return WriteArguments::forRemoveAll(output, target);
    });
}

} // namespace Metaloom
