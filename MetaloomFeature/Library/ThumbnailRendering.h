#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QString>
#include <optional>

// Square thumbnails for the sidebar: centred, cropped, decoded at reduced
// size where the format allows it. Safe to call on worker threads.
namespace Metaloom::ThumbnailRendering {

// Where an image of the given size is drawn in a square of the given edge so
// that it fills the square, centred, with the overflow cut off equally.
QRectF fillRect(QSizeF imageSize, qreal edge);

// The thumbnail of an image file, or nothing when Qt cannot decode it.
std::optional<QImage> fromFile(const QString &path, int edge, qreal devicePixelRatio = 1.0);

// The thumbnail of encoded image bytes (an embedded preview). The EXIF
// orientation (1 to 8) of the file it came from is applied, since a preview
// is stored the way the sensor saw it.
std::optional<QImage> fromData(const QByteArray &encoded, int exifOrientation, int edge,
                               qreal devicePixelRatio = 1.0);

} // namespace Metaloom::ThumbnailRendering
