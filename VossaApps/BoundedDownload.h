#pragma once

#include <QByteArray>
#include <QFuture>
#include <QNetworkRequest>
#include <QString>

#include <chrono>
#include <optional>

class QNetworkAccessManager;

namespace VossaApps {

// What a download of the catalog may cost. The feed and the icons are a few
// kilobytes each; the defaults are generous for both and still keep a broken
// or hostile server from holding a refresh, or the memory, for long.
struct DownloadLimits {
    // The transfer fails when no data arrives for this long.
    std::chrono::milliseconds inactivity{10'000};
    // The whole transfer ends after this long, however steadily data arrives.
    std::chrono::milliseconds overall{30'000};
    // A body announced or received larger than this is refused at once,
    // without being read to its end.
    qint64 maxBytes = 1024 * 1024;
};

// The whole body of a successful response, or why there is none, in words
// for the user.
struct DownloadResult {
    std::optional<QByteArray> body;
    QString errorMessage;
};

// Sends the GET and gathers the body within the limits. A transport failure,
// an HTTP status outside 2xx, a time-out and a refusal all give a message.
// The future always finishes with a result on the calling (main) thread,
// unless the manager goes away first, which cancels it.
QFuture<DownloadResult> boundedGet(QNetworkAccessManager &network, QNetworkRequest request,
                                   DownloadLimits limits = {});

} // namespace VossaApps
