#include "AppsLoader.h"

#include "AppsCache.h"
#include "MakerInfo.h"
#include "NetworkErrors.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <QPromise>

#include <memory>

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

AppsLoadResult finishLoad(QNetworkReply &reply)
{
    if (auto failure = replyFailure(reply))
        return AppsLoadResult::failure(*failure);
    const QByteArray body = reply.readAll();
    QString decodeError;
    auto feed = AppsFeed::decode(body, &decodeError);
    if (!feed)
        return AppsLoadResult::failure(decodeError);
    writeCache(body);
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
    const auto bytes = readCache();
    return bytes ? AppsFeed::decode(*bytes) : std::nullopt;
}

QNetworkRequest feedRequest(const QUrl &url, std::chrono::milliseconds timeout)
{
    QNetworkRequest request(url);
    request.setTransferTimeout(static_cast<int>(timeout.count()));
    return request;
}

QFuture<AppsLoadResult> load(const QUrl &url, std::chrono::milliseconds timeout)
{
    auto promise = std::make_shared<QPromise<AppsLoadResult>>();
    promise->start();
    QNetworkReply *reply = network().get(feedRequest(url, timeout));
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, promise] {
        reply->deleteLater();
        promise->addResult(finishLoad(*reply));
        promise->finish();
    });
    return promise->future();
}

} // namespace VossaApps::AppsLoader
