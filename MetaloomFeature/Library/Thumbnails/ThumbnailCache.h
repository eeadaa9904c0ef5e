#pragma once

#include <QDateTime>
#include <QImage>
#include <QString>
#include <optional>

// The thumbnail cache every freedesktop program shares
// (`$XDG_CACHE_HOME/thumbnails`, the Thumbnail Managing Standard): a
// picture made once by a file manager is reused here, and one made here by
// an installed thumbnailer is reused by them. Safe to call on worker threads.
namespace Metaloom::ThumbnailCache {

// The standard's folders and the edge their pictures fit in.
struct Size {
    const char *folder;
    int edge;
};
inline constexpr Size sizes[] = {
    {"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}};

// `${XDG_CACHE_HOME:-~/.cache}/thumbnails`.
QString root();
// The file's URI as the cache names it ("file:///a%20b.jpg").
QByteArray fileUri(const QString &path);
// The cache's name for the file: the MD5 of its URI in hex, then ".png".
QString fileName(const QString &path);

// The size a thumbnailer is asked for when a picture needs the given edge
// in pixels (its shorter side); only `normal` and `large` are written.
Size sizeToMake(int pixelEdge);

// The cached picture of the file that is still valid (its Thumb::URI and
// Thumb::MTime match the file), from the size that suits the edge first,
// then the larger ones, then the smaller.
std::optional<QImage> lookUp(const QString &path, int pixelEdge);

// Whether a cached picture belongs to the file as it is now.
bool isValidFor(const QImage &cached, const QString &path);

// Writes the picture made for the file into the cache folder of the size,
// with the chunks the standard asks for, under a temporary name renamed into
// place, readable by the user alone. A picture larger than the size is
// scaled down first. False when the file or the cache cannot be written.
bool store(const QString &path, const QImage &picture, Size size);

} // namespace Metaloom::ThumbnailCache
