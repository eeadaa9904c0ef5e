#pragma once

#include "ExifToolRunner.h"

#include <QStringList>

namespace Metaloom::WriteReport {

// Sums ExifTool's "N image files created" lines; throws
// ServiceError::nothingWritten (with the warnings) when the sum is zero.
void verifyFilesCreated(const CommandOutput &output, const QString &fileName,
                        const QStringList &tags);

// The texts after "Warning:" of standard error's warning lines, in order.
QStringList warningLines(const QString &standardError);

} // namespace Metaloom::WriteReport
