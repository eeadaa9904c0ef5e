#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

// Thumbnails for the sidebar and the file header: the whole picture, its
// shorter side at the edge (the sidebar crops the middle square, the header
// shows all of it), decoded at reduced size where the format allows it.
// Safe to call on worker threads.
namespace Metaloom::ThumbnailRendering {

// The size a picture of the given size is scaled to: its shorter side at
// the edge, the aspect kept; the longer side stops at four edges, so a
// panorama stays small.
QSize thumbnailSize(QSize imageSize, int edge);

// The thumbnail of an image file, or nothing when Qt cannot decode it.
std::optional<QImage> fromFile(const QString &path, int edge, qreal devicePixelRatio = 1.0);

// The thumbnail of encoded image bytes (an embedded preview). The EXIF
// orientation (1 to 8) of the file it came from is applied, since a preview
// is stored the way the sensor saw it.
std::optional<QImage> fromData(const QByteArray &encoded, int exifOrientation, int edge,
                               qreal devicePixelRatio = 1.0);

// The thumbnail of a picture already decoded (from the shared cache or a
// thumbnailer), already upright.
std::optional<QImage> fromImage(const QImage &image, int edge, qreal devicePixelRatio = 1.0);

} // namespace Metaloom::ThumbnailRendering
