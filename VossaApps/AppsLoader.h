#pragma once

#include "AppsFeed.h"
#include "BoundedDownload.h"

#include <QFuture>
#include <QString>
#include <QUrl>

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

inline constexpr const char *feedURLVariable = "VOSSA_APPS_FEED_URL";

// The feed's address, fixed on first use: VOSSA_APPS_FEED_URL when it holds
// an absolute URL, otherwise the maker's address built into the program.
QUrl defaultFeedURL();
// The rule behind defaultFeedURL(), for a given value of the variable.
QUrl feedURLFrom(const std::optional<QString> &environmentValue);

// Where the last good feed is kept, or nothing when the platform has no
// per-user data folder.
std::optional<QString> cacheFilePath();
// The cached feed, or nothing when there is none, it cannot be decoded, or it
// is larger than any feed may be (a cache written by an older version that
// took any size). Reads the disk: call it off the main thread.
std::optional<AppsFeed> cached();

// Fetches, decodes and caches the feed, within the limits of time and size.
// The body is cached byte for byte as served, and only when it arrived whole
// within the limits and decodes; a cache that cannot be written is not an
// error. The future always finishes with a result, never with an exception.
QFuture<AppsLoadResult> load(const QUrl &url, DownloadLimits limits = {});

} // namespace AppsLoader

} // namespace VossaApps
