#include "RemoteIconCache.h"

#include "BoundedDownload.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QPointer>

namespace VossaApps {

namespace {

// Rows draw icons at 48 points, 96 pixels on a doubled screen; anything much
// larger only costs memory for the rest of the process.
constexpr int largestKeptSide = 256;

std::optional<QImage> decodeIcon(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > largestKeptSide || size.height() > largestKeptSide))
        reader.setScaledSize(size.scaled(largestKeptSide, largestKeptSide, Qt::KeepAspectRatio));
    QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    if (image.width() > largestKeptSide || image.height() > largestKeptSide)
        image = image.scaled(largestKeptSide, largestKeptSide, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    return image;
}

} // namespace

RemoteIconCache::RemoteIconCache(QObject *parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this))
{}

RemoteIconCache *RemoteIconCache::shared()
{
    static QPointer<RemoteIconCache> cache;
    if (!cache)
        cache = new RemoteIconCache(QCoreApplication::instance());
    return cache;
}

std::optional<QImage> RemoteIconCache::image(const QUrl &url) const
{
    const auto it = m_images.constFind(url);
    return it == m_images.cend() ? std::nullopt : std::optional(*it);
}

void RemoteIconCache::request(const QUrl &url)
{
    if (!url.isValid() || m_images.contains(url) || m_loading.contains(url))
        return;
    m_loading.insert(url);
    // Bounded like the feed, so an address that never stops sending neither
    // fills the memory nor stays "loading" (and so never asked again).
    boundedGet(*m_network, QNetworkRequest(url))
        .then(this, [this, url](const DownloadResult &download) { finish(download, url); });
}

void RemoteIconCache::finish(const DownloadResult &download, const QUrl &url)
{
    m_loading.remove(url);
    const auto image = download.body ? decodeIcon(*download.body) : std::nullopt;
    if (!image) {
        Q_EMIT iconFailed(url);
        return;
    }
    m_images.insert(url, *image);
    Q_EMIT iconLoaded(url);
}

} // namespace VossaApps
