#include "MetaloomFeature/Views/Window/FileDrops.h"

#include <QMimeData>

namespace Metaloom {

namespace FileDrops {

QList<QUrl> fileUrls(const QMimeData *data)
{
    QList<QUrl> files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            files.append(url);
    }
    return files;
}

} // namespace FileDrops

} // namespace Metaloom
