#include "MediaItem.h"

#include "SessionId.h"

#include <QDir>
#include <QFileInfo>
#include <QHashFunctions>

namespace Metaloom {

MediaItem::MediaItem(const QUrl &fileUrl) : id(freshSessionId()), url(fileUrl)
{
    const QString path = fileUrl.isLocalFile() ? fileUrl.toLocalFile() : fileUrl.path();
    QString name = fileUrl.fileName();
    if (name.isEmpty()) // a folder URL ending in a slash
        name = QFileInfo(QDir::cleanPath(path)).fileName();
    fileName = name;
    fileType = QFileInfo(name).suffix().toUpper();
}

bool MediaItem::operator==(const MediaItem &other) const
{
    // Thumbnails compare as image objects: the same shared image, not equal pixels.
    const auto imageKey = [](const std::optional<QImage> &image) -> qint64 {
        return image ? image->cacheKey() : -1;
    };
    return id == other.id && url == other.url && fileName == other.fileName &&
           fileType == other.fileType && imageKey(thumbnail) == imageKey(other.thumbnail);
}

size_t qHash(const MediaItem &item, size_t seed) noexcept
{
    return qHashMulti(seed, item.id, item.url, item.fileName, item.fileType);
}

} // namespace Metaloom
