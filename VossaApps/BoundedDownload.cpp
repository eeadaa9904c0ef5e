#include "BoundedDownload.h"

#include "NetworkErrors.h"

#include <QCoreApplication>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPromise>
#include <QTimer>

#include <memory>

namespace VossaApps {

namespace {

QString tooLargeMessage(qint64 maxBytes)
{
    return QCoreApplication::translate(
               "VossaApps::Network",
               "The server sent more than %1, far more than this list should be, so it was "
               "not loaded.")
        .arg(QLocale::system().formattedDataSize(maxBytes, 0, QLocale::DataSizeTraditionalFormat));
}

// Moves what the reply holds into the body, one byte past the limit at most.
// Answers whether the body is still within the limit.
bool takeAvailable(QNetworkReply &reply, QByteArray &body, qint64 maxBytes)
{
    const qint64 room = maxBytes + 1 - body.size();
    body += reply.read(qMin(reply.bytesAvailable(), room));
    return body.size() <= maxBytes;
}

// Shared by the reply's handlers; it lives as long as the reply's connections.
struct Transfer {
    QPromise<DownloadResult> promise;
    QByteArray body;
    // Set when the transfer was ended on purpose, with the reason to show.
    std::optional<QString> refusal;
};

} // namespace

QFuture<DownloadResult> boundedGet(QNetworkAccessManager &network, QNetworkRequest request,
                                   DownloadLimits limits)
{
    request.setTransferTimeout(static_cast<int>(limits.inactivity.count()));
    auto transfer = std::make_shared<Transfer>();
    transfer->promise.start();
    QFuture<DownloadResult> future = transfer->promise.future();
    QNetworkReply *reply = network.get(request);

    // abort() delivers finished() before it returns; the reason must be
    // known by then.
    const auto refuse = [reply, transfer](const QString &reason) {
        if (transfer->refusal || reply->isFinished())
            return;
        transfer->refusal = reason;
        reply->abort();
    };
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply, [=] {
        const QVariant length = reply->header(QNetworkRequest::ContentLengthHeader);
        if (length.isValid() && length.toLongLong() > limits.maxBytes)
            refuse(tooLargeMessage(limits.maxBytes));
    });
    // The body is taken as it comes, so the count is of the bytes after any
    // decompression, and nothing piles up inside the reply.
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [=] {
        if (!takeAvailable(*reply, transfer->body, limits.maxBytes))
            refuse(tooLargeMessage(limits.maxBytes));
    });
    auto *deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [=] {
        refuse(QCoreApplication::translate("VossaApps::Network", "The request timed out."));
    });
    deadline->start(limits.overall);

    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, transfer, limits] {
        reply->deleteLater();
        DownloadResult result;
        if (transfer->refusal) {
            result.errorMessage = *transfer->refusal;
        } else if (const auto failure = replyFailure(*reply)) {
            result.errorMessage = *failure;
        } else {
            if (!takeAvailable(*reply, transfer->body, limits.maxBytes))
                result.errorMessage = tooLargeMessage(limits.maxBytes);
            else
                result.body = std::exchange(transfer->body, QByteArray());
        }
        transfer->promise.addResult(std::move(result));
        transfer->promise.finish();
    });
    return future;
}

} // namespace VossaApps
