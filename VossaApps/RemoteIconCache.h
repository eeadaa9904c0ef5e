#pragma once

#include <QHash>
#include <QImage>
#include <QObject>
#include <QSet>
#include <QUrl>

#include <optional>

class QNetworkAccessManager;

namespace VossaApps {

struct DownloadResult;

// The application icons fetched from the feed's addresses, kept in memory for
// the life of the process: a row shown again paints its icon at once, and an
// address is fetched once however many rows show it. Main thread only.
class RemoteIconCache : public QObject {
    Q_OBJECT

public:
    explicit RemoteIconCache(QObject *parent = nullptr);

    // The cache the views use, created on first use.
    static RemoteIconCache *shared();

    // The image, once it has arrived.
    std::optional<QImage> image(const QUrl &url) const;
    bool isLoading(const QUrl &url) const { return m_loading.contains(url); }

    // Starts fetching unless the image is here or already on its way;
    // iconLoaded or iconFailed follows. A failed address may be asked for
    // again later (the network may be back).
    void request(const QUrl &url);

Q_SIGNALS:
    void iconLoaded(const QUrl &url);
    void iconFailed(const QUrl &url);

private:
    void finish(const DownloadResult &download, const QUrl &url);

    QNetworkAccessManager *m_network;
    QHash<QUrl, QImage> m_images;
    QSet<QUrl> m_loading;
};

} // namespace VossaApps
