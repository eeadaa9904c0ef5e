#include "AppsLoader.h"

#include "AppsCache.h"
#include "MakerInfo.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QPointer>

namespace VossaApps::AppsLoader {

namespace {

// One manager for the life of the process, parented to the application so it
// goes away with it rather than after it.
QNetworkAccessManager &network()
{
    static QPointer<QNetworkAccessManager> manager;
    if (!manager)
        manager = new QNetworkAccessManager(QCoreApplication::instance());
    return *manager;
}

AppsLoadResult finishLoad(const DownloadResult &download)
{
    if (!download.body)
        return AppsLoadResult::failure(download.errorMessage);
    QString decodeError;
    auto feed = AppsFeed::decode(*download.body, &decodeError);
    if (!feed)
        return AppsLoadResult::failure(decodeError);
    writeCache(*download.body);
    return AppsLoadResult::success(std::move(*feed));
}

} // namespace

QUrl feedURLFrom(const std::optional<QString> &environmentValue)
{
    if (environmentValue) {
        const QUrl url(environmentValue->trimmed(), QUrl::StrictMode);
        if (url.isValid() && !url.isRelative())
            return url;
    }
    return MakerInfo::builtInFeedURL();
}

QUrl defaultFeedURL()
{
    static const QUrl url = feedURLFrom(qEnvironmentVariableIsSet(feedURLVariable)
                                            ? std::optional(qEnvironmentVariable(feedURLVariable))
                                            : std::nullopt);
    return url;
}

std::optional<QString> cacheFilePath()
{
    return cacheLocation();
}

std::optional<AppsFeed> cached()
{
    const auto bytes = readCache(DownloadLimits().maxBytes);
    return bytes ? AppsFeed::decode(*bytes) : std::nullopt;
}

QFuture<AppsLoadResult> load(const QUrl &url, DownloadLimits limits)
{
    // The continuation runs where the download finishes: on the main thread.
    return boundedGet(network(), QNetworkRequest(url), limits).then(finishLoad);
}

} // namespace VossaApps::AppsLoader
