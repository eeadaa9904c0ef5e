#pragma once

#include "MetaloomFeature/Library/Thumbnails/Thumbnailers.h"

#include <QCoroTask>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPromise>
#include <QThreadPool>
#include <QUrl>
#include <QUuid>

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <optional>

namespace Metaloom {

class MetadataEngine;

// Renders the sidebar's thumbnails away from the main thread, from the first
// source that has a picture: the desktop's shared thumbnail cache, Qt's
// image readers (both on a small thread pool), the desktop's installed
// thumbnailers (videos, HEIC, PDF; their pictures are written into the
// shared cache for every program), and last the preview ExifTool finds
// inside the file (RAW). Results arrive through thumbnailReady, in whatever
// order they finish, always from the event loop. The user's files are only
// read.
class ThumbnailLoader : public QObject {
    Q_OBJECT

public:
    // The engine finds the previews inside files Qt cannot decode.
    ThumbnailLoader(std::shared_ptr<MetadataEngine> engine, int edge, qreal devicePixelRatio,
                    QObject *parent = nullptr);
    ~ThumbnailLoader() override;

    // Starts rendering the file's thumbnail for the item.
    void request(QUuid itemID, QUrl fileUrl);
    // A result for the item, if one is still coming, is dropped.
    void forget(QUuid itemID);
    void forgetAll();

    // How many renders and ExifTool runs are in flight or waiting.
    int pendingCount() const { return static_cast<int>(m_pending.size()); }

    // How long one thumbnailer may run before it is killed.
    void setThumbnailerTimeLimit(std::chrono::milliseconds limit)
    {
        m_thumbnailerTimeLimit = limit;
    }

Q_SIGNALS:
    void thumbnailReady(QUuid itemID, QImage thumbnail);

private:
    // One request; a newer request for the item, forget() or the loader's
    // end raise `cancelled`, so work still queued for it is skipped.
    struct Request {
        quint64 ticket = 0;
        std::shared_ptr<std::atomic_bool> cancelled;
    };

    QCoro::Task<void> render(QUuid itemID, QUrl fileUrl, Request request);
    QCoro::Task<std::optional<QImage>> fromThumbnailer(QString path, Request request);
    QCoro::Task<std::optional<QImage>> fromEmbeddedPreview(QUrl fileUrl, Request request);
    // ExifTool runs and thumbnailers are child processes; a few at a time.
    QCoro::Task<void> waitForProcessSlot();
    void releaseProcessSlot();
    const QList<Thumbnailers::Thumbnailer> &thumbnailers();
    bool isCurrent(QUuid itemID, const Request &request) const;
    // Hands the result over later, if the request is still the item's latest.
    void deliver(QUuid itemID, Request request, std::optional<QImage> image);

    std::shared_ptr<MetadataEngine> m_engine;
    int m_edge;
    qreal m_devicePixelRatio;
    QThreadPool m_pool;
    // The latest request of every item whose thumbnail is still coming.
    QHash<QUuid, Request> m_pending;
    quint64 m_nextTicket = 1;
    std::chrono::milliseconds m_thumbnailerTimeLimit;
    // Read at the first file that needs one.
    std::optional<QList<Thumbnailers::Thumbnailer>> m_thumbnailers;
    int m_runningProcesses = 0;
    std::deque<std::shared_ptr<QPromise<void>>> m_processWaiters;
};

} // namespace Metaloom
