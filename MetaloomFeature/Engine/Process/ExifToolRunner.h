#pragma once

#include "MetaloomFeature/Engine/Dialect/CommandOutput.h"
#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QCoroTask>
#include <QString>
#include <QStringList>
#include <optional>

namespace Metaloom::ExifToolRunner {

// Runs ExifTool with exactly these arguments (no shell, no quoting) and
// collects both output streams. The bundle is looked up on every run.
// EXIFTOOL_TMPDIR is the given folder, else the private folder's location
// (PrivateFolder), for reads as for writes: ExifTool processes are kept per
// environment, and one that differed would keep reads and writes from
// sharing them.
// ExifTool is kept running between runs (ExifToolPool) where the argument
// list can travel through its argument channel, and started for this run
// alone otherwise; the result is the same. A non-zero exit throws
// ServiceError::executionFailed with standard error, or with the Error tag
// of ExifTool's JSON when standard error is empty; a launch failure throws
// PlatformError, as does a resident ExifTool that has to be ended.
QCoro::Task<CommandOutput> run(ResourceBundle bundle, QStringList arguments,
                               std::optional<QString> temporaryDirectory);

// Has `count` resident ExifTool processes of this bundle started and ready
// for the runs to come (ExifToolPool::keepReady).
void keepReady(const ResourceBundle &bundle, int count);

} // namespace Metaloom::ExifToolRunner
