#pragma once

#include <QString>

#include <optional>

class QNetworkReply;

namespace VossaApps {

// Why a finished reply cannot be used, in words for the user, or nothing when
// the server delivered a successful response. A transport failure (no
// network, time-out, refused connection) and an HTTP status outside 2xx both
// count: an error page is never taken for the document asked for.
std::optional<QString> replyFailure(const QNetworkReply &reply);

} // namespace VossaApps
