#pragma once

#include <QString>
#include <QUrl>

namespace Metaloom::TargetPath {

// The path ExifTool is given for a file: absolute, so a name that starts
// with a dash is never taken for an option. Throws PlatformError for an
// address that is not a local file, and for a folder (ExifTool would read or
// change every file inside it).
QString forFile(const QUrl &fileUrl);

} // namespace Metaloom::TargetPath
