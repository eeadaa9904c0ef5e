#include "ThumbnailRendering.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
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

// Decodes just large enough to fill the square: JPEG decodes at a fraction
// of its size this way, which is what keeps imports fast.
void requestReducedSize(QImageReader &reader, QImageIOHandler::Transformations transformation,
                        int pixelEdge)
{
    QSize fullSize = reader.size();
    if (!fullSize.isValid())
        return;
    const bool quarterTurn = transformation & QImageIOHandler::TransformationRotate90;
    if (quarterTurn)
        fullSize.transpose();
    const QSizeF fill = fillRect(QSizeF(fullSize), pixelEdge).size();
    if (fill.width() >= fullSize.width() || fill.height() >= fullSize.height())
        return;
    QSize decodeSize(qCeil(fill.width()), qCeil(fill.height()));
    if (quarterTurn)
        decodeSize.transpose();
    reader.setScaledSize(decodeSize);
}

std::optional<QImage> square(const QImage &image, int pixelEdge, qreal devicePixelRatio)
{
    if (image.isNull())
        return std::nullopt;
    QImage result(pixelEdge, pixelEdge, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    {
        QPainter painter(&result);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(fillRect(QSizeF(image.size()), pixelEdge), image);
    }
    result.setDevicePixelRatio(devicePixelRatio);
    return result;
}

int pixelEdgeFor(int edge, qreal devicePixelRatio)
{
    return qMax(1, qRound(edge * devicePixelRatio));
}

} // namespace

QRectF fillRect(QSizeF imageSize, qreal edge)
{
    if (imageSize.isEmpty())
        return QRectF(0, 0, edge, edge);
    const qreal scale = std::max(edge / imageSize.width(), edge / imageSize.height());
    const qreal width = imageSize.width() * scale;
    const qreal height = imageSize.height() * scale;
    return QRectF((edge - width) / 2, (edge - height) / 2, width, height);
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
    return square(reader.read(), pixelEdge, devicePixelRatio);
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
    return square(image, pixelEdge, devicePixelRatio);
}

} // namespace Metaloom::ThumbnailRendering
