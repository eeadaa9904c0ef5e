#include "MediaItem.h"

#include <QDir>
#include <QFileInfo>
#include <QHashFunctions>
#include <QImageReader>
#include <QPainter>
#include <QtMath>

namespace Metaloom {

MediaItem::MediaItem(const QUrl &fileUrl, int thumbnailSize, qreal devicePixelRatio)
    : id(QUuid::createUuid()), url(fileUrl)
{
    const QString path = fileUrl.isLocalFile() ? fileUrl.toLocalFile() : fileUrl.path();
    QString name = fileUrl.fileName();
    if (name.isEmpty()) // a folder URL ending in a slash
        name = QFileInfo(QDir::cleanPath(path)).fileName();
    fileName = name;
    fileType = QFileInfo(name).suffix().toUpper();
    if (fileUrl.isLocalFile())
        thumbnail = Thumbnails::render(path, thumbnailSize, devicePixelRatio);
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

namespace Thumbnails {

QRectF fillRect(QSizeF imageSize, qreal edge)
{
    if (imageSize.isEmpty())
        return QRectF(0, 0, edge, edge);
    const qreal scale = std::max(edge / imageSize.width(), edge / imageSize.height());
    const qreal width = imageSize.width() * scale;
    const qreal height = imageSize.height() * scale;
    return QRectF((edge - width) / 2, (edge - height) / 2, width, height);
}

std::optional<QImage> render(const QString &path, int edge, qreal devicePixelRatio)
{
    if (edge <= 0 || !QFileInfo(path).isFile())
        return std::nullopt;
    QImageReader reader(path);
    reader.setAutoTransform(true); // honour the camera's orientation flag
    QSize fullSize = reader.size();
    if (!fullSize.isValid() && !reader.canRead())
        return std::nullopt;

    const int pixelEdge = qMax(1, qRound(edge * devicePixelRatio));
    if (fullSize.isValid()) {
        if (reader.transformation() & QImageIOHandler::TransformationRotate90)
            fullSize.transpose();
        // Decode just large enough to fill the square; JPEG decodes at a
        // fraction of its size this way, which is what keeps imports fast.
        const QSizeF fill = fillRect(QSizeF(fullSize), pixelEdge).size();
        if (fill.width() < fullSize.width() && fill.height() < fullSize.height()) {
            QSize decodeSize(qCeil(fill.width()), qCeil(fill.height()));
            if (reader.transformation() & QImageIOHandler::TransformationRotate90)
                decodeSize.transpose();
            reader.setScaledSize(decodeSize);
        }
    }
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;

    QImage square(pixelEdge, pixelEdge, QImage::Format_ARGB32_Premultiplied);
    square.fill(Qt::transparent);
    {
        QPainter painter(&square);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(fillRect(QSizeF(image.size()), pixelEdge), image);
    }
    square.setDevicePixelRatio(devicePixelRatio);
    return square;
}

} // namespace Thumbnails

} // namespace Metaloom
