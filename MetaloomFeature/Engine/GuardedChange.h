#pragma once

// What every operation that changes a file shares. Each one runs ExifTool
// with "-o" into a new hidden file beside the user's file (or into the
// private temporary folder where that folder takes no new file), checks
// ExifTool's report that a file was created and reads back from the new
// file (and the original) what the change did: the changed tags for a change
// of tags, everything for a strip. Only then does the new file take the
// place of the user's file, and all of it happens under the file's guard.

#include "ChangeReport.h"
#include "ServiceError.h"
#include "TagAssignment.h"

#include "MetaloomFeature/Engine/Dialect/CommandOutput.h"
#include "MetaloomFeature/Engine/FileSafety/ChangeGuard.h"
#include "MetaloomFeature/Engine/FileSafety/FileReplacement.h"
#include "MetaloomFeature/Engine/FileSafety/TargetPath.h"
#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QCoroTask>
#include <QString>
#include <QStringList>

#include <exception>

namespace Metaloom::GuardedChange {

// The file's name as the user knows it: the one they chose, which may be
// a link to the file ExifTool works on.
QString chosenName(const TargetPath::ChangeTarget &target);

// ExifTool's warnings of a write, without the file name it appends.
QStringList writeWarnings(const CommandOutput &output, const QString &targetPath);

// ExifTool stopping at a minor error is told apart from other failures,
// so that the caller can offer to make the change anyway. Called only while
// `error` is being handled; rethrows it when it is no minor error.
[[noreturn]] void rethrowAsMinorError(const ServiceError &error,
                                      const TargetPath::ChangeTarget &target);

// Puts ExifTool's new file in the target's place (FileReplacement), on a
// worker thread: syncing a large video to disk takes longer than the
// interface may wait. Refused when the path the user chose no longer leads
// to the file the change was made from, or when another program changed
// the file since `targetVersion`.
QCoro::Task<void> replace(TargetPath::ChangeTarget target, QString outputPath,
                          FileStamp targetVersion, FileReplacement::KeptDate keptDate);

// What a change of tags came to, from ExifTool's output and the read-back
// of the new file (and of the original where the verdict needs its old
// values): whether the new file is to replace the original, and what it does
// not hold as asked. Throws when ExifTool created no file, refused every value
// or split a JPEG's EXIF.
struct Verdict {
    bool replaceOriginal = false;
    ChangeReport report;
};
QCoro::Task<Verdict> judgeTagChange(ResourceBundle bundle, CommandOutput output, QString outputPath,
                                    TargetPath::ChangeTarget target,
                                    QList<TagAssignment> assignments, ChangeOptions options = {});

// Runs one change with the guard held; outputs left behind are the guard's
// to remove.
template <typename Result, typename Change>
QCoro::Task<Result> underGuard(ResourceBundle bundle, TargetPath::ChangeTarget target,
                               Change change,
                               QCoro::Task<Result> (*body)(ResourceBundle, TargetPath::ChangeTarget,
                                                           Change, ChangeGuard::Paths))
{
    ChangeGuard guard = co_await ChangeGuard::begin(target.path);
    std::exception_ptr failure;
    Result result{};
    try {
        result = co_await body(bundle, target, change, guard.paths());
    } catch (...) {
        failure = std::current_exception();
    }
    co_await ChangeGuard::end(std::move(guard));
    if (failure)
        std::rethrow_exception(failure);
    co_return result;
}

} // namespace Metaloom::GuardedChange
