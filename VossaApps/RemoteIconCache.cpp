#include "RemoteIconCache.h"

#include "AppsLoader.h"
#include "NetworkErrors.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkReply>
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
    QNetworkRequest request(url);
    request.setTransferTimeout(static_cast<int>(AppsLoader::requestTimeout.count()));
    QNetworkReply *reply = m_network->get(request);
    connect(reply, &QNetworkReply::finished, this, [this, reply, url] { finish(reply, url); });
}

void RemoteIconCache::finish(QNetworkReply *reply, const QUrl &url)
{
    reply->deleteLater();
    m_loading.remove(url);
    const auto image = replyFailure(*reply) ? std::nullopt : decodeIcon(reply->readAll());
    if (!image) {
        Q_EMIT iconFailed(url);
        return;
    }
    m_images.insert(url, *image);
    Q_EMIT iconLoaded(url);
}

} // namespace VossaApps
