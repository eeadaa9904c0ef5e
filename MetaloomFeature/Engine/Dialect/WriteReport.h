#pragma once

#include "CommandOutput.h"

#include <QStringList>

namespace Metaloom::WriteReport {

// ExifTool's account of a "-o" run: files it created with changes, and
// files it copied unchanged because there was nothing it could change.
struct FileCounts {
    qint64 created = 0;
    qint64 copied = 0;
};
FileCounts filesReported(const CommandOutput &output);

// Sums ExifTool's "N image files created" lines; throws
// ServiceError::nothingWritten (with the warnings) when the sum is zero.
void verifyFilesCreated(const CommandOutput &output, const QString &fileName,
                        const QStringList &tags);

// The texts after "Warning:" of standard error's warning lines, in order.
QStringList warningLines(const QString &standardError);

} // namespace Metaloom::WriteReport
