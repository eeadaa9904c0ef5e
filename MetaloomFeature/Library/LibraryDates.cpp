// Adjusting the dates of loaded files: the request the sheet asks with,
// its preview, the batch that makes the change, and the step that puts the
// previous dates back.

#include "LibraryViewModel.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QFileInfo>

#include <algorithm>

namespace Metaloom {

namespace {

QList<MediaItem> loadedItems(const QList<MediaItem> &items, const QList<QUuid> &ids)
{
    QList<MediaItem> found;
    for (const QUuid &id : ids) {
        const auto item =
            std::find_if(items.cbegin(), items.cend(),
                         [&id](const MediaItem &candidate) { return candidate.id == id; });
        if (item != items.cend())
            found.append(*item);
    }
    return found;
}

} // namespace

void LibraryViewModel::presentAdjustDates(const QList<QUuid> &items)
{
    const QList<MediaItem> chosen = loadedItems(m_items, items);
    if (chosen.isEmpty()) {
        setStatus(tr("Choose the files whose dates to adjust first."));
        return;
    }
    if (refuseWhileBatchRuns())
        return;
    m_adjustDatesRequest = AdjustDatesRequest{QUuid::createUuid(), chosen};
    m_datesPreview = DatePreviewState{};
    ++m_datesPreviewGeneration;
    Q_EMIT adjustDatesRequestChanged();
    Q_EMIT datesPreviewChanged();
}

void LibraryViewModel::previewDates(DateAdjustment adjustment)
{
    if (!m_adjustDatesRequest)
        return;
    m_datesPreview = DatePreviewState{adjustment, true, {}, {}};
    Q_EMIT datesPreviewChanged();
    loadDatesPreview(m_adjustDatesRequest->items, adjustment, ++m_datesPreviewGeneration);
}

QCoro::Task<void> LibraryViewModel::loadDatesPreview(QList<MediaItem> items,
                                                     DateAdjustment adjustment, quint64 generation)
{
    QPointer<LibraryViewModel> self(this);
    const BusyScope busy(this);
    QList<QUrl> urls;
    for (const MediaItem &item : std::as_const(items))
        urls.append(item.url);
    DatePreviewState state{adjustment, false, {}, {}};
    try {
        auto reply = co_await callEngine(
            std::nullopt, [urls, adjustment](const std::shared_ptr<MetadataEngine> &engine, QUrl) {
                return DateAdjusting::plansFor(engine, adjustment, urls);
            });
        if (reply.value) {
            for (qsizetype i = 0; i < items.size(); ++i)
                state.rows.append({items.at(i).id, items.at(i).fileName, reply.value->value(i)});
        } else {
            state.failure = describeException(reply.failure);
        }
    } catch (...) {
        state.failure = describeException(std::current_exception());
    }
    if (!self || generation != m_datesPreviewGeneration)
        co_return;
    m_datesPreview = state;
    Q_EMIT datesPreviewChanged();
}

void LibraryViewModel::confirmAdjustDates(DateAdjustment adjustment)
{
    if (!m_adjustDatesRequest)
        return;
    QList<QUuid> items;
    for (const MediaItem &item : std::as_const(m_adjustDatesRequest->items))
        items.append(item.id);
    cancelAdjustDates();
    adjustDates(items, adjustment);
}

void LibraryViewModel::cancelAdjustDates()
{
    if (!m_adjustDatesRequest)
        return;
    m_adjustDatesRequest.reset();
    m_datesPreview = DatePreviewState{};
    ++m_datesPreviewGeneration;
    Q_EMIT adjustDatesRequestChanged();
    Q_EMIT datesPreviewChanged();
}

QCoro::Task<void> LibraryViewModel::adjustDates(QList<QUuid> items, DateAdjustment adjustment)
{
    co_await runDatesBatch(loadedItems(m_items, items), adjustment);
}

QCoro::Task<void> LibraryViewModel::setFileDatesFromCapture(QList<QUuid> items)
{
    DateAdjustment adjustment;
    adjustment.fileDatesFromCapture = true;
    co_await runDatesBatch(loadedItems(m_items, items), adjustment);
}

QCoro::Task<void> LibraryViewModel::runDatesBatch(QList<MediaItem> items, DateAdjustment adjustment)
{
    if (items.isEmpty()) {
        setStatus(tr("Choose the files whose dates to adjust first."));
        co_return;
    }
    if (refuseWhileBatchRuns())
        co_return;
    QPointer<LibraryViewModel> self(this);
    BatchProgress progress;
    progress.kind = BatchProgress::Kind::adjustDates;
    const auto made = std::make_shared<QHash<QUrl, DatePlan>>();
    co_await performBatch(
        progress, items,
        [engine = m_engine, adjustment, made](QUrl url, ChangeOptions options) {
            return DateAdjusting::adjust(engine, adjustment, url, options, made);
        },
        ChangeOptions{},
        [](const BatchRun::Outcome &outcome) {
            return BatchReportTexts::datesReport(false, outcome);
        });
    if (!self)
        co_return;
    if (m_itemOrder == ItemOrder::captureDate || m_itemOrder == ItemOrder::fileDate)
        applyItemOrder();
    // One step puts back every file this adjustment changed; an adjustment
    // that changed nothing leaves the step before it.
    DatesUndoStep step;
    for (const MediaItem &item : std::as_const(items)) {
        if (made->contains(item.url))
            step.files.append({item.id, item.url, item.fileName, made->value(item.url)});
    }
    if (step.files.isEmpty())
        co_return;
    m_datesUndo = step;
    m_datesUndoStamp = m_editStepStamp;
    Q_EMIT datesUndoChanged();
}

QCoro::Task<void> LibraryViewModel::undoDates()
{
    if (!m_datesUndo || refuseWhileBatchRuns())
        co_return;
    const DatesUndoStep step = *m_datesUndo;
    m_datesUndo.reset();
    Q_EMIT datesUndoChanged();
    QList<MediaItem> items;
    QHash<QUrl, DatePlan> done;
    for (const DatesUndoStep::File &file : step.files) {
        const QList<MediaItem> loaded = loadedItems(m_items, {file.itemID});
        // A file removed from the window since is still put back.
        MediaItem item = loaded.isEmpty() ? MediaItem(file.url) : loaded.first();
        item.id = file.itemID;
        item.url = file.url;
        item.fileName = file.fileName;
        items.append(item);
        done.insert(file.url, file.done);
    }
    QPointer<LibraryViewModel> self(this);
    BatchProgress progress;
    progress.kind = BatchProgress::Kind::restoreDates;
    co_await performBatch(
        progress, items,
        [engine = m_engine, done](QUrl url, ChangeOptions options) {
            return DateAdjusting::restore(engine, done.value(url), url, options);
        },
        ChangeOptions{},
        [](const BatchRun::Outcome &outcome) {
            return BatchReportTexts::datesReport(true, outcome);
        });
    if (self && (m_itemOrder == ItemOrder::captureDate || m_itemOrder == ItemOrder::fileDate))
        applyItemOrder();
}

QCoro::Task<void> LibraryViewModel::setItemOrder(ItemOrder order)
{
    if (order == m_itemOrder)
        co_return;
    m_itemOrder = order;
    Q_EMIT itemOrderChanged();
    co_await applyItemOrder();
}

QCoro::Task<void> LibraryViewModel::applyItemOrder()
{
    QPointer<LibraryViewModel> self(this);
    const ItemOrder order = m_itemOrder;
    QHash<QUuid, ItemDates> dates;
    if (order == ItemOrder::captureDate) {
        const BusyScope busy(this);
        const QList<MediaItem> items = m_items;
        QList<QUrl> urls;
        for (const MediaItem &item : items)
            urls.append(item.url);
        auto reply = co_await callEngine(std::nullopt,
                                         [urls](const std::shared_ptr<MetadataEngine> &engine,
                                                QUrl) { return engine->readDates(urls, false); });
        if (!self || order != m_itemOrder)
            co_return;
        if (!reply.value) {
            setStatus(describeException(reply.failure));
            co_return;
        }
        for (qsizetype i = 0; i < items.size(); ++i)
            dates[items.at(i).id].capture = DatePlanning::captureDate(reply.value->value(i));
    } else if (order == ItemOrder::fileDate) {
        for (const MediaItem &item : std::as_const(m_items))
            dates[item.id].file = QFileInfo(item.url.toLocalFile()).lastModified();
    }
    const QList<MediaItem> sorted = ItemOrdering::ordered(m_items, order, m_importRank, dates);
    // A sort only moves items: the same identifiers in the same places are
    // the same list.
    if (std::equal(sorted.cbegin(), sorted.cend(), m_items.cbegin(), m_items.cend(),
                   [](const MediaItem &a, const MediaItem &b) { return a.id == b.id; }))
        co_return;
    m_items = sorted;
    Q_EMIT itemsChanged();
}

} // namespace Metaloom
