#include "ThumbnailLoader.h"

#include "MetadataEngine.h"
#include "ThumbnailRendering.h"

#include <QCoroFuture>
#include <QFileInfo>
#include <QPointer>
#include <QtConcurrent>

namespace Metaloom {

namespace {

// Each ExifTool run is a Perl process of its own; more than two at once only
// slows the reads and writes the user is waiting for.
constexpr int maxExifToolRuns = 2;

} // namespace

ThumbnailLoader::ThumbnailLoader(std::shared_ptr<MetadataEngine> engine, int edge,
                                 qreal devicePixelRatio, QObject *parent)
    : QObject(parent), m_engine(std::move(engine)), m_edge(edge),
      m_devicePixelRatio(devicePixelRatio)
{
    m_pool.setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
}

ThumbnailLoader::~ThumbnailLoader()
{
    // Queued renders return at once; the pool waits for the running ones.
    // Their coroutines resume later, see the loader gone, and end.
    forgetAll();
    for (const auto &waiter : m_exifToolWaiters)
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
                return ThumbnailRendering::fromFile(path, edge, ratio);
            });
        std::optional<QImage> image = co_await decoded;
        if (!self || !isCurrent(itemID, request))
            co_return;

        if (!image && QFileInfo(path).isFile()) {
            co_await waitForExifToolSlot();
            if (!self)
                co_return;
            std::optional<EmbeddedPreview::Preview> preview;
            if (isCurrent(itemID, request)) {
                try {
                    preview = co_await m_engine->embeddedPreview(fileUrl);
                } catch (...) {
                    // No picture then; the file's own read reports what is wrong.
                }
                if (!self)
                    co_return;
            }
            releaseExifToolSlot();
            if (preview && isCurrent(itemID, request)) {
                const EmbeddedPreview::Preview found = *preview;
                QFuture<std::optional<QImage>> fromPreview = QtConcurrent::run(
                    &m_pool, [found, edge, ratio, cancelled]() -> std::optional<QImage> {
                        if (*cancelled)
                            return std::nullopt;
                        return ThumbnailRendering::fromData(found.encoded, found.orientation, edge,
                                                            ratio);
                    });
                image = co_await fromPreview;
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

QCoro::Task<void> ThumbnailLoader::waitForExifToolSlot()
{
    if (m_runningExifTools < maxExifToolRuns) {
        ++m_runningExifTools;
        co_return;
    }
    auto waiter = std::make_shared<QPromise<void>>();
    waiter->start();
    m_exifToolWaiters.push_back(waiter);
    QFuture<void> turn = waiter->future();
    co_await turn;
}

void ThumbnailLoader::releaseExifToolSlot()
{
    if (m_exifToolWaiters.empty()) {
        --m_runningExifTools;
        return;
    }
    // The slot passes straight to the next waiter.
    std::shared_ptr<QPromise<void>> next = std::move(m_exifToolWaiters.front());
    m_exifToolWaiters.pop_front();
    next->finish();
}

} // namespace Metaloom
