#pragma once

#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QByteArray>
#include <QCoroTask>
#include <QString>
#include <QStringList>
#include <optional>

namespace Metaloom {

// The output of one ExifTool run that exited with status 0.
struct CommandOutput {
    QByteArray standardOutput; // byte for byte as received
    QString standardError;     // UTF-8 decoded (empty when invalid), trimmed
    bool operator==(const CommandOutput &) const = default;
};

namespace ExifToolRunner {

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

} // namespace ExifToolRunner

} // namespace Metaloom
