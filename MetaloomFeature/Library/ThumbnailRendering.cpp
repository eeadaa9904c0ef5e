#include "ThumbnailRendering.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QtMath>

namespace Metaloom::ThumbnailRendering {

namespace {

QImageIOHandler::Transformations transformationForOrientation(int orientation)
{
    switch (orientation) {
    case 2:
        return QImageIOHandler::TransformationMirror;
    case 3:
        return QImageIOHandler::TransformationRotate180;
    case 4:
        return QImageIOHandler::TransformationFlip;
    case 5:
        return QImageIOHandler::TransformationFlipAndRotate90;
    case 6:
        return QImageIOHandler::TransformationRotate90;
    case 7:
        return QImageIOHandler::TransformationMirrorAndRotate90;
    case 8:
        return QImageIOHandler::TransformationRotate270;
    default:
        return QImageIOHandler::TransformationNone;
    }
}

// Decodes just large enough: JPEG decodes at a fraction of its size this
// way, which is what keeps imports fast.
void requestReducedSize(QImageReader &reader, QImageIOHandler::Transformations transformation,
                        int pixelEdge)
{
    QSize fullSize = reader.size();
    if (!fullSize.isValid())
        return;
    const bool quarterTurn = transformation & QImageIOHandler::TransformationRotate90;
    if (quarterTurn)
        fullSize.transpose();
    QSize decodeSize = thumbnailSize(fullSize, pixelEdge);
    if (decodeSize.width() >= fullSize.width() || decodeSize.height() >= fullSize.height())
        return;
    if (quarterTurn)
        decodeSize.transpose();
    reader.setScaledSize(decodeSize);
}

std::optional<QImage> scaled(const QImage &image, int pixelEdge, qreal devicePixelRatio)
{
    if (image.isNull())
        return std::nullopt;
    const QSize size = thumbnailSize(image.size(), pixelEdge);
    QImage result = image.size() == size
                        ? image
                        : image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    if (result.format() != QImage::Format_ARGB32_Premultiplied &&
        result.format() != QImage::Format_RGB32)
        result = result.convertToFormat(
            result.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

int pixelEdgeFor(int edge, qreal devicePixelRatio)
{
    return qMax(1, qRound(edge * devicePixelRatio));
}

} // namespace

QSize thumbnailSize(QSize imageSize, int edge)
{
    if (imageSize.isEmpty() || edge <= 0)
        return QSize(qMax(edge, 1), qMax(edge, 1));
    const qreal scale = qreal(edge) / std::min(imageSize.width(), imageSize.height());
    const int longest = 4 * edge;
    const int width = std::clamp(qRound(imageSize.width() * scale), 1, longest);
    const int height = std::clamp(qRound(imageSize.height() * scale), 1, longest);
    return QSize(width, height);
}

std::optional<QImage> fromFile(const QString &path, int edge, qreal devicePixelRatio)
{
    if (edge <= 0 || !QFileInfo(path).isFile())
        return std::nullopt;
    QImageReader reader(path);
    reader.setAutoTransform(true); // honour the camera's orientation flag
    if (!reader.size().isValid() && !reader.canRead())
        return std::nullopt;
    const int pixelEdge = pixelEdgeFor(edge, devicePixelRatio);
    requestReducedSize(reader, reader.transformation(), pixelEdge);
    return scaled(reader.read(), pixelEdge, devicePixelRatio);
}

std::optional<QImage> fromData(const QByteArray &encoded, int exifOrientation, int edge,
                               qreal devicePixelRatio)
{
    if (edge <= 0 || encoded.isEmpty())
        return std::nullopt;
    QBuffer buffer;
    buffer.setData(encoded);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The preview carries no orientation of its own; the file's applies.
    reader.setAutoTransform(false);
    const QImageIOHandler::Transformations transformation =
        transformationForOrientation(exifOrientation);
    const int pixelEdge = pixelEdgeFor(edge, devicePixelRatio);
    requestReducedSize(reader, transformation, pixelEdge);
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    // QImage::transformed takes a QTransform; the reader's own mapping is
    // not public, so apply the eight EXIF cases by hand.
    const bool mirror = transformation & QImageIOHandler::TransformationMirror;
    const bool flip = transformation & QImageIOHandler::TransformationFlip;
    if (mirror || flip)
        image = image.mirrored(mirror, flip);
    if (transformation & QImageIOHandler::TransformationRotate90)
        image = image.transformed(QTransform().rotate(90));
    return scaled(image, pixelEdge, devicePixelRatio);
}

std::optional<QImage> fromImage(const QImage &image, int edge, qreal devicePixelRatio)
{
    if (edge <= 0)
        return std::nullopt;
    return scaled(image, pixelEdgeFor(edge, devicePixelRatio), devicePixelRatio);
}

} // namespace Metaloom::ThumbnailRendering
