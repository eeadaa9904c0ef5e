#pragma once

#include "AppsFeed.h"

#include <QFuture>
#include <QNetworkRequest>
#include <QString>
#include <QUrl>

#include <chrono>
#include <optional>

namespace VossaApps {

// The outcome of fetching the feed: the feed, or the message to show instead.
struct AppsLoadResult {
    std::optional<AppsFeed> feed;
    QString errorMessage;

    static AppsLoadResult success(AppsFeed feed) { return {std::move(feed), QString()}; }
    static AppsLoadResult failure(QString message) { return {std::nullopt, std::move(message)}; }
    bool succeeded() const { return feed.has_value(); }

    bool operator==(const AppsLoadResult &) const = default;
};

// Fetching and caching the companion-apps feed. Main thread only: the
// requests go through one long-lived network manager owned by the process.
namespace AppsLoader {

inline constexpr std::chrono::milliseconds requestTimeout{10'000};
inline constexpr const char *feedURLVariable = "VOSSA_APPS_FEED_URL";
inline constexpr const char *cacheFileName = "vossa-apps.json";

// The feed's address, fixed on first use: VOSSA_APPS_FEED_URL when it holds
// an absolute URL, otherwise the maker's address built into the program.
QUrl defaultFeedURL();
// The rule behind defaultFeedURL(), for a given value of the variable.
QUrl feedURLFrom(const std::optional<QString> &environmentValue);

// Where the last good feed is kept, or nothing when the platform has no
// per-user data folder.
std::optional<QString> cacheFilePath();
// The cached feed, or nothing when there is none or it cannot be decoded.
std::optional<AppsFeed> cached();

// The GET request for the feed. The timeout is an inactivity timeout: the
// request fails when no data arrives for that long.
QNetworkRequest feedRequest(const QUrl &url, std::chrono::milliseconds timeout = requestTimeout);

// Fetches, decodes and caches the feed. The body is cached byte for byte as
// served, and only when it decodes; a cache that cannot be written is not an
// error. The future always finishes with a result, never with an exception.
QFuture<AppsLoadResult> load(const QUrl &url, std::chrono::milliseconds timeout = requestTimeout);

} // namespace AppsLoader

} // namespace VossaApps
