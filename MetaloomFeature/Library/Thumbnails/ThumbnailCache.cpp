#include "ThumbnailCache.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>
#include <QUrl>

namespace Metaloom::ThumbnailCache {

namespace {

const QString uriKey = QStringLiteral("Thumb::URI");
const QString mtimeKey = QStringLiteral("Thumb::MTime");

// The picture is cropped to a square or fitted into the header, so its
// shorter side must reach the edge; half as much again covers the usual
// 3:2 and 16:9 pictures whose longer side the cache size bounds.
int wantedCacheEdge(int pixelEdge)
{
    return pixelEdge + pixelEdge / 2;
}

QString modificationTime(const QFileInfo &file)
{
    return QString::number(file.lastModified().toSecsSinceEpoch());
}

// The standard keeps the cache private: folders 0700, files 0600.
bool makePrivateFolder(const QString &path)
{
    if (QFileInfo(path).isDir())
        return true;
    return QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

QString root()
{
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (cache.isEmpty() || !QDir::isAbsolutePath(cache))
        cache = QDir::homePath() + QStringLiteral("/.cache");
    return cache + QStringLiteral("/thumbnails");
}

QByteArray fileUri(const QString &path)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
}

QString fileName(const QString &path)
{
    return QString::fromLatin1(
               QCryptographicHash::hash(fileUri(path), QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

Size sizeToMake(int pixelEdge)
{
    return wantedCacheEdge(pixelEdge) <= sizes[0].edge ? sizes[0] : sizes[1];
}

bool isValidFor(const QImage &cached, const QString &path)
{
    const QFileInfo file(path);
    return !cached.isNull() && file.isFile() &&
           cached.text(uriKey) == QString::fromLatin1(fileUri(path)) &&
           cached.text(mtimeKey) == modificationTime(file);
}

std::optional<QImage> lookUp(const QString &path, int pixelEdge)
{
    const int wanted = wantedCacheEdge(pixelEdge);
    QList<Size> order;
    for (const Size &size : sizes) {
        if (size.edge >= wanted)
            order.append(size);
    }
    for (auto it = std::rbegin(sizes); it != std::rend(sizes); ++it) {
        if (it->edge < wanted)
            order.append(*it);
    }
    const QString cacheRoot = root();
    const QString name = fileName(path);
    for (const Size &size : std::as_const(order)) {
        const QString candidate = cacheRoot + u'/' + QLatin1String(size.folder) + u'/' + name;
        if (!QFileInfo::exists(candidate))
            continue;
        QImageReader reader(candidate, "png");
        const QImage cached = reader.read();
        // A stale picture (the file changed since) or another file's (a
        // collision, a moved file) is passed over; its owner replaces it.
        if (isValidFor(cached, path))
            return cached;
    }
    return std::nullopt;
}

bool store(const QString &path, const QImage &picture, Size size)
{
    const QFileInfo file(path);
    if (picture.isNull() || !file.isFile())
        return false;
    QImage thumbnail = picture;
    if (thumbnail.width() > size.edge || thumbnail.height() > size.edge)
        thumbnail =
            thumbnail.scaled(size.edge, size.edge, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    thumbnail.setText(uriKey, QString::fromLatin1(fileUri(path)));
    thumbnail.setText(mtimeKey, modificationTime(file));
    thumbnail.setText(QStringLiteral("Thumb::Size"), QString::number(file.size()));
    thumbnail.setText(QStringLiteral("Software"), QStringLiteral("Metaloom"));

    const QString cacheRoot = root();
    const QString folder = cacheRoot + u'/' + QLatin1String(size.folder);
    if (!QDir().mkpath(QFileInfo(cacheRoot).path()) || !makePrivateFolder(cacheRoot) ||
        !makePrivateFolder(folder))
        return false;
    // Another program may read the cache at any moment: it sees the old
    // picture or the whole new one, never half of it.
    QSaveFile out(folder + u'/' + fileName(path));
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    if (!thumbnail.save(&out, "PNG"))
        return false;
    return out.commit();
}

} // namespace Metaloom::ThumbnailCache
