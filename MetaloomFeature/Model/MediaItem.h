#pragma once

#include <QImage>
#include <QString>
#include <QUrl>
#include <QUuid>
#include <optional>

namespace Metaloom {

// One imported file as the sidebar shows it.
struct MediaItem {
    QUuid id;
    QUrl url;
    QString fileName;
    QString fileType;
    std::optional<QImage> thumbnail;

    // Renders a centred, cropped square thumbnail of thumbnailSize points
    // (times devicePixelRatio pixels) from the file; files that cannot be
    // decoded as an image get none.
    MediaItem(const QUrl &url, int thumbnailSize, qreal devicePixelRatio = 1.0);

    bool operator==(const MediaItem &other) const;
};

size_t qHash(const MediaItem &item, size_t seed = 0) noexcept;

namespace Thumbnails {

// Where an image of the given size is drawn in a square of the given edge so
// that it fills the square, centred, with the overflow cut off equally.
QRectF fillRect(QSizeF imageSize, qreal edge);

// Reads the file at reduced size where the format allows it and returns the
// square thumbnail, or nothing when the file is not an image Qt can decode.
std::optional<QImage> render(const QString &path, int edge, qreal devicePixelRatio = 1.0);

} // namespace Thumbnails

} // namespace Metaloom
