#pragma once

#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QByteArray>
#include <QCoroTask>
#include <QProcessEnvironment>
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

// Where the bundled ExifTool lives.
struct ExifToolLocation {
    QString binary;
    QStringList libraryPaths; // library root, then the architecture folder when present
};

namespace ExifToolRunner {

// Finds the script and its Perl library in the bundle; throws
// ServiceError::binaryMissing or ::libraryMissing. Looked up on every run.
ExifToolLocation locate(const ResourceBundle &bundle);

// The child's environment: the inherited one with PERL5LIB pointing at the
// bundled library first, and EXIFTOOL_TMPDIR when a temporary folder is given.
QProcessEnvironment environment(const ExifToolLocation &location,
                                const std::optional<QString> &temporaryDirectory,
                                const QProcessEnvironment &inherited);

// Runs ExifTool with exactly these arguments (no shell, no quoting) and
// collects both output streams. A non-zero exit throws
// ServiceError::executionFailed with standard error, or with the Error tag
// of ExifTool's JSON when standard error is empty; a launch failure throws
// PlatformError.
QCoro::Task<CommandOutput> run(ResourceBundle bundle, QStringList arguments,
                               std::optional<QString> temporaryDirectory);

// Where the shared private folder for ExifTool's output files is (or would be).
QString temporaryDirectoryPath();

// The shared private folder for ExifTool's output files, created on demand.
// Throws PlatformError when it cannot be created or is not safely ours.
QString prepareTemporaryDirectory();

// Text of standard error as the engine reports it.
QString decodeStandardError(const QByteArray &bytes);

} // namespace ExifToolRunner

} // namespace Metaloom
