// Reading every tag of a file.

#include "ExifToolService.h"

#include "ReadBack.h"

#include "MetaloomFeature/Engine/Dialect/MetadataJson.h"
#include "MetaloomFeature/Engine/FileSafety/Leftovers.h"
#include "MetaloomFeature/Engine/FileSafety/TargetPath.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"

#include <QCoroFuture>

namespace Metaloom {

QCoro::Task<QList<MetadataEntry>> ExifToolService::readMetadata(QUrl fileUrl)
{
    const QString path = TargetPath::forFile(fileUrl);
    const QStringList arguments = MetadataJson::readArguments({path});
    const std::shared_ptr<RecentReads> recentReads = m_recentReads;
    // A file half rewritten when the program last died is whole again first.
    co_await Leftovers::atEngineStart();
    const std::optional<RecentReads::Version> version = RecentReads::versionOf(path);
    const CommandOutput output = co_await ExifToolRunner::run(m_bundle, arguments, std::nullopt);
    QList<MetadataEntry> entries =
        MetadataJson::entriesOfEachFile(output.standardOutput, true).first();
    // Kept only when the file stayed one version throughout the read.
    if (version && RecentReads::versionOf(path) == version)
        recentReads->remember(*version, entries);
    co_return MetadataEntry::shownOnly(std::move(entries));
}

QCoro::Task<PrivacyFindings> ExifToolService::checkPrivacy(QUrl fileUrl)
{
    co_return PrivacyFindings::of(co_await readMetadata(fileUrl));
}

QCoro::Task<StoredTags> ExifToolService::readTags(QUrl fileUrl, QStringList keys)
{
    keys.removeDuplicates();
    const QString path = TargetPath::forFile(fileUrl);
    co_await Leftovers::atEngineStart();
    StoredTags stored;
    if (keys.isEmpty())
        co_return stored;
    const QList<ChangeReadBack::FileAnswers> answers =
        co_await ChangeReadBack::read(m_bundle, keys, {path});
    for (const QString &key : std::as_const(keys)) {
        QList<StoredTag> &found = stored[key];
        for (const ChangeReadBack::PrintedTag &tag : answers.first().byKey.value(key))
            found.append({ChangeReadBack::familyOneKey(tag.key), tag.items});
    }
    co_return stored;
}

std::optional<QString> ExifToolService::unhandledNameMessage(const QUrl &fileUrl)
{
    return TargetPath::unhandledNameMessage(fileUrl);
}

} // namespace Metaloom
