#include "ThumbnailLoader.h"

#include "MetadataEngine.h"
#include "ThumbnailRendering.h"
#include "Thumbnails/ThumbnailCache.h"
#include "Thumbnails/ThumbnailerRun.h"

#include <QCoroFuture>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPointer>
#include <QtConcurrent>

namespace Metaloom {

namespace {

// Each ExifTool run is a Perl process of its own and a thumbnailer decodes
// video; more than two at once only slows the reads and writes the user is
// waiting for.
constexpr int maxProcesses = 2;

} // namespace

ThumbnailLoader::ThumbnailLoader(std::shared_ptr<MetadataEngine> engine, int edge,
                                 qreal devicePixelRatio, QObject *parent)
    : QObject(parent), m_engine(std::move(engine)), m_edge(edge),
      m_devicePixelRatio(devicePixelRatio), m_thumbnailerTimeLimit(ThumbnailerRun::defaultTimeLimit)
{
    m_pool.setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
}

ThumbnailLoader::~ThumbnailLoader()
{
    // Queued renders return at once; the pool waits for the running ones.
    // Their coroutines resume later, see the loader gone, and end.
    forgetAll();
    for (const auto &waiter : m_processWaiters)
        waiter->finish();
}

void ThumbnailLoader::request(QUuid itemID, QUrl fileUrl)
{
    forget(itemID);
    const Request request{m_nextTicket++, std::make_shared<std::atomic_bool>(false)};
    m_pending.insert(itemID, request);
    render(itemID, std::move(fileUrl), request);
}

void ThumbnailLoader::forget(QUuid itemID)
{
    const auto found = m_pending.constFind(itemID);
    if (found == m_pending.constEnd())
        return;
    *found->cancelled = true;
    m_pending.erase(found);
}

void ThumbnailLoader::forgetAll()
{
    for (const Request &request : std::as_const(m_pending))
        *request.cancelled = true;
    m_pending.clear();
}

bool ThumbnailLoader::isCurrent(QUuid itemID, const Request &request) const
{
    // A forgotten item has no entry, and no entry is current: tickets are
    // only compared between a request and its own item's latest one.
    const auto found = m_pending.constFind(itemID);
    return found != m_pending.constEnd() && found->ticket == request.ticket;
}

void ThumbnailLoader::deliver(QUuid itemID, Request request, std::optional<QImage> image)
{
    // Always from the event loop, never on the requester's time: a render
    // can finish before request() returns (a small file, a busy machine),
    // and a forget() right after the request must still hold.
    QMetaObject::invokeMethod(
        this,
        [this, itemID, request, image] {
            if (!isCurrent(itemID, request))
                return;
            m_pending.remove(itemID);
            if (image)
                Q_EMIT thumbnailReady(itemID, *image);
        },
        Qt::QueuedConnection);
}

QCoro::Task<void> ThumbnailLoader::render(QUuid itemID, QUrl fileUrl, Request request)
{
    QPointer<ThumbnailLoader> self(this);
    const int edge = m_edge;
    const qreal ratio = m_devicePixelRatio;
    const QString path = fileUrl.toLocalFile();
    const std::shared_ptr<std::atomic_bool> cancelled = request.cancelled;
    try {
        QFuture<std::optional<QImage>> decoded =
            QtConcurrent::run(&m_pool, [path, edge, ratio, cancelled]() -> std::optional<QImage> {
                if (*cancelled)
                    return std::nullopt;
                const int pixelEdge = qMax(1, qRound(edge * ratio));
                if (std::optional<QImage> cached = ThumbnailCache::lookUp(path, pixelEdge))
                    return ThumbnailRendering::fromImage(*cached, edge, ratio);
                return ThumbnailRendering::fromFile(path, edge, ratio);
            });
        std::optional<QImage> image = co_await decoded;
        if (!self || !isCurrent(itemID, request))
            co_return;

        if (!image && QFileInfo(path).isFile()) {
            image = co_await fromThumbnailer(path, request);
            if (!self)
                co_return;
            if (!image && isCurrent(itemID, request)) {
                image = co_await fromEmbeddedPreview(fileUrl, request);
                if (!self)
                    co_return;
            }
        }
        deliver(itemID, request, std::move(image));
    } catch (...) {
        // A render that fails leaves the item without a picture, as a file
        // that is no image does.
        if (self)
            deliver(itemID, request, std::nullopt);
    }
}

const QList<Thumbnailers::Thumbnailer> &ThumbnailLoader::thumbnailers()
{
    if (!m_thumbnailers)
        m_thumbnailers = Thumbnailers::installed(Thumbnailers::folders());
    return *m_thumbnailers;
}

QCoro::Task<std::optional<QImage>> ThumbnailLoader::fromThumbnailer(QString path, Request request)
{
    const std::optional<Thumbnailers::Thumbnailer> thumbnailer =
        Thumbnailers::forType(thumbnailers(), QMimeDatabase().mimeTypeForFile(path));
    if (!thumbnailer)
        co_return std::nullopt;
    QPointer<ThumbnailLoader> self(this);
    co_await waitForProcessSlot();
    if (!self)
        co_return std::nullopt;
    const ThumbnailCache::Size size =
        ThumbnailCache::sizeToMake(qMax(1, qRound(m_edge * m_devicePixelRatio)));
    std::optional<QImage> picture;
    if (!*request.cancelled)
        picture =
            co_await ThumbnailerRun::make(*thumbnailer, path, size.edge, m_thumbnailerTimeLimit);
    if (!self)
        co_return std::nullopt;
    releaseProcessSlot();
    if (!picture)
        co_return std::nullopt;
    // Written to the shared cache even when the item is gone meanwhile: the
    // picture is good, and the next look at the file needs no run.
    const QImage made = *picture;
    const int edge = m_edge;
    const qreal ratio = m_devicePixelRatio;
    const std::shared_ptr<std::atomic_bool> cancelled = request.cancelled;
    QFuture<std::optional<QImage>> rendered = QtConcurrent::run(
        &m_pool, [path, made, size, edge, ratio, cancelled]() -> std::optional<QImage> {
            ThumbnailCache::store(path, made, size);
            if (*cancelled)
                return std::nullopt;
            return ThumbnailRendering::fromImage(made, edge, ratio);
        });
    co_return co_await rendered;
}

QCoro::Task<std::optional<QImage>> ThumbnailLoader::fromEmbeddedPreview(QUrl fileUrl,
                                                                        Request request)
{
    QPointer<ThumbnailLoader> self(this);
    co_await waitForProcessSlot();
    if (!self)
        co_return std::nullopt;
    std::optional<EmbeddedPreview::Preview> preview;
    if (!*request.cancelled) {
        try {
            preview = co_await m_engine->embeddedPreview(fileUrl);
        } catch (...) {
            // No picture then; the file's own read reports what is wrong.
        }
        if (!self)
            co_return std::nullopt;
    }
    releaseProcessSlot();
    if (!preview || *request.cancelled)
        co_return std::nullopt;
    const EmbeddedPreview::Preview found = *preview;
    const int edge = m_edge;
    const qreal ratio = m_devicePixelRatio;
    const std::shared_ptr<std::atomic_bool> cancelled = request.cancelled;
    QFuture<std::optional<QImage>> fromPreview =
        QtConcurrent::run(&m_pool, [found, edge, ratio, cancelled]() -> std::optional<QImage> {
            if (*cancelled)
                return std::nullopt;
            return ThumbnailRendering::fromData(found.encoded, found.orientation, edge, ratio);
        });
    co_return co_await fromPreview;
}

QCoro::Task<void> ThumbnailLoader::waitForProcessSlot()
{
    if (m_runningProcesses < maxProcesses) {
        ++m_runningProcesses;
        co_return;
    }
    auto waiter = std::make_shared<QPromise<void>>();
    waiter->start();
    m_processWaiters.push_back(waiter);
    QFuture<void> turn = waiter->future();
    co_await turn;
}

void ThumbnailLoader::releaseProcessSlot()
{
    if (m_processWaiters.empty()) {
        --m_runningProcesses;
        return;
    }
    // The slot passes straight to the next waiter.
    std::shared_ptr<QPromise<void>> next = std::move(m_processWaiters.front());
    m_processWaiters.pop_front();
    next->finish();
}

} // namespace Metaloom
