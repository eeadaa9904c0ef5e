#include "TargetPath.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QFileInfo>

namespace Metaloom::TargetPath {

QString forFile(const QUrl &fileUrl)
{
    if (!fileUrl.isLocalFile()) {
        throw PlatformError(
            QStringLiteral("“%1” is not a file on this computer.").arg(fileUrl.toDisplayString()));
    }
    const QFileInfo info(fileUrl.toLocalFile());
    if (info.isDir()) {
        throw PlatformError(
            QStringLiteral("“%1” is a folder. Metaloom reads and writes the metadata of files.")
                .arg(info.fileName()));
    }
    return info.absoluteFilePath();
}

} // namespace Metaloom::TargetPath
