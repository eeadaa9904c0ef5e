// Copying tags from one file to others: ExifTool's own "-TagsFromFile",
// judged and put in place like every other change of tags.

#include "ExifToolService.h"

#include "GuardedChange.h"
#include "ReadBack.h"
#include "ServiceError.h"

#include "MetaloomFeature/Engine/Dialect/TagCopyPlan.h"
#include "MetaloomFeature/Engine/Dialect/TagKeyRules.h"
#include "MetaloomFeature/Engine/FileSafety/Leftovers.h"
#include "MetaloomFeature/Engine/Process/ValueFiles.h"

#include <QCoreApplication>
#include <QCoroFuture>

namespace Metaloom {

namespace {

using namespace GuardedChange;

struct TagCopy {
    QString sourcePath;
    QStringList keys;
    // What the source gives, as the new file must hold it.
    QList<TagAssignment> copied;
    ChangeOptions options;
};

QCoro::Task<ChangeReport> copyTagsGuarded(ResourceBundle bundle, TargetPath::ChangeTarget target,
                                          TagCopy copy, ChangeGuard::Paths paths)
{
    CommandOutput output;
    try {
        output = co_await ValueFiles::run(bundle,
                                          TagCopyPlan::arguments(copy.sourcePath, copy.keys,
                                                                 copy.copied, paths.output,
                                                                 target.path, copy.options),
                                          paths.temporaryDirectory, paths.valueFileStem);
    } catch (const ServiceError &error) {
        rethrowAsMinorError(error, target);
    }
    const Verdict verdict =
        co_await judgeTagChange(bundle, output, paths.output, target, copy.copied, copy.options);
    // A copy never sets the file's own dates: the target keeps its own.
    if (verdict.replaceOriginal)
        co_await replace(target, paths.output, paths.targetVersion,
                         FileReplacement::KeptDate::original);
    co_return verdict.report;
}

void requireUsableKeys(const QStringList &keys)
{
    for (const QString &key : keys) {
        if (const std::optional<QString> reason = TagKeyRules::refusalReason(key))
            throw ServiceError::invalidInput(*reason);
    }
}

} // namespace

QCoro::Task<ChangeReport> ExifToolService::copyTags(QUrl source, QUrl target, CopyFamily family,
                                                    ChangeOptions options)
{
    const QStringList keys = TagCopyPlan::keysFor(family);
    requireUsableKeys(keys);
    const QString sourcePath = TargetPath::resolved(TargetPath::forFile(source));
    const TargetPath::ChangeTarget changeTarget = TargetPath::forChange(target);
    if (sourcePath == changeTarget.path)
        throw ServiceError::invalidInput(
            QCoreApplication::translate("ExifToolService", "“%1” cannot be copied onto itself.")
                .arg(chosenName(changeTarget)));
    co_await Leftovers::atEngineStart();
    const QList<ChangeReadBack::FileAnswers> read =
        co_await ChangeReadBack::read(m_bundle, keys, {sourcePath});
    // The read-back asks for each copied tag by the name the source printed;
    // a name the key rules refuse is neither read back nor judged.
    QList<TagAssignment> copied;
    for (const TagAssignment &tag : TagCopyPlan::copiedTags(read.first(), keys)) {
        if (TagKeyRules::isUsable(tag.key))
            copied.append(tag);
    }
    if (copied.isEmpty())
        co_return ChangeReport{};
    co_return co_await underGuard<ChangeReport, TagCopy>(
        m_bundle, changeTarget, TagCopy{sourcePath, keys, copied, options}, &copyTagsGuarded);
}

QCoro::Task<QList<CopyPreview>> ExifToolService::previewCopy(QUrl source, QList<QUrl> targets,
                                                             CopyFamily family)
{
    const QStringList keys = TagCopyPlan::keysFor(family);
    requireUsableKeys(keys);
    QStringList paths{TargetPath::forFile(source)};
    for (const QUrl &target : std::as_const(targets))
        paths << TargetPath::forFile(target);
    co_await Leftovers::atEngineStart();
    const QList<ChangeReadBack::FileAnswers> read =
        co_await ChangeReadBack::read(m_bundle, keys, paths);
    const QList<TagAssignment> copied = TagCopyPlan::copiedTags(read.first(), keys);
    QList<CopyPreview> previews;
    for (qsizetype index = 0; index < targets.size(); ++index)
        previews.append({targets.at(index), TagCopyPlan::differences(copied, read.at(index + 1))});
    co_return previews;
}

} // namespace Metaloom
