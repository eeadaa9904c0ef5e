#include "NetworkErrors.h"

#include <QCoreApplication>
#include <QNetworkReply>

namespace VossaApps {

namespace {

QString describeTransportError(const QNetworkReply &reply)
{
    switch (reply.error()) {
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError:
        // The inactivity timeout; the loader's own aborts carry their reason.
        return QCoreApplication::translate("VossaApps::Network", "The request timed out.");
    case QNetworkReply::ConnectionRefusedError:
        return QCoreApplication::translate("VossaApps::Network",
                                           "Could not connect to the server.");
    case QNetworkReply::HostNotFoundError:
        return QCoreApplication::translate(
            "VossaApps::Network", "A server with the specified host name could not be found.");
    case QNetworkReply::RemoteHostClosedError:
        return QCoreApplication::translate("VossaApps::Network",
                                           "The network connection was lost.");
    case QNetworkReply::SslHandshakeFailedError:
        return QCoreApplication::translate("VossaApps::Network",
                                           "A secure connection to the server could not be made.");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
        return QCoreApplication::translate("VossaApps::Network",
                                           "The Internet connection appears to be offline.");
    case QNetworkReply::UnknownContentError:
        // Qt's words for a compressed body that is damaged or would unpack to
        // an absurd size are only "Decompression failed: ".
        if (!reply.rawHeader("Content-Encoding").isEmpty())
            return QCoreApplication::translate(
                "VossaApps::Network",
                "The server's compressed answer could not be unpacked: it is damaged or "
                "would unpack to far more than it should.");
        return reply.errorString();
    default:
        return reply.errorString();
    }
}

} // namespace

std::optional<QString> replyFailure(const QNetworkReply &reply)
{
    const QNetworkReply::NetworkError error = reply.error();
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // Codes below 200 are failures of the connection itself (network layer
    // and proxy); they stand even when a status line had already arrived.
    if (error != QNetworkReply::NoError && (error < 200 || !status.isValid()))
        return describeTransportError(reply);
    if (status.isValid()) {
        const int code = status.toInt();
        if (code < 200 || code > 299) {
            const QString reason =
                reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
            return reason.isEmpty()
                       ? QCoreApplication::translate("VossaApps::Network",
                                                     "The server answered with status %1.")
                             .arg(code)
                       : QCoreApplication::translate("VossaApps::Network",
                                                     "The server answered with status %1 (%2).")
                             .arg(code)
                             .arg(reason);
        }
    }
    if (error != QNetworkReply::NoError)
        return describeTransportError(reply);
    return std::nullopt;
}

} // namespace VossaApps
