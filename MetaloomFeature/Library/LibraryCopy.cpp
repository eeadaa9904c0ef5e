// Copying metadata from one file into others: the request the dialog asks
// with, its preview, and the batch that makes the copy.

#include "LibraryViewModel.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QFileInfo>

namespace Metaloom {

namespace {

QList<MediaItem> itemsWithIDs(const QList<MediaItem> &items, const QList<QUuid> &ids)
{
    QList<MediaItem> found;
    for (const QUuid &id : ids) {
        for (const MediaItem &item : items) {
            if (item.id == id) {
                found.append(item);
                break;
            }
        }
    }
    return found;
}

// The targets other than the source: a file never copies onto itself.
QList<MediaItem> withoutSource(QList<MediaItem> targets, const CopySource &source)
{
    if (!source)
        return targets;
    const QString sourcePath = QFileInfo(source->toLocalFile()).absoluteFilePath();
    targets.removeIf([&sourcePath](const MediaItem &item) {
        return QFileInfo(item.url.toLocalFile()).absoluteFilePath() == sourcePath;
    });
    return targets;
}

} // namespace

void LibraryViewModel::presentCopyMetadata(const QList<QUuid> &targets)
{
    const QList<MediaItem> chosen = itemsWithIDs(m_items, targets);
    if (chosen.isEmpty()) {
        setStatus(tr("Choose the files to copy metadata into first."));
        return;
    }
    if (refuseWhileBatchRuns())
        return;
    CopyMetadataRequest request;
    request.targets = chosen;
    request.sources = m_items;
    request.offersPartner = std::all_of(chosen.cbegin(), chosen.cend(), [](const MediaItem &item) {
        return partnerFile(item.url.toLocalFile()).has_value();
    });
    m_copyMetadataRequest = request;
    m_copyPreview = CopyPreviewState{};
    ++m_copyPreviewGeneration;
    Q_EMIT copyMetadataRequestChanged();
    Q_EMIT copyPreviewChanged();
}

void LibraryViewModel::previewCopyMetadata(CopySource source, CopyFamily family)
{
    if (!m_copyMetadataRequest)
        return;
    QList<QUrl> targets;
    for (const MediaItem &item : withoutSource(m_copyMetadataRequest->targets, source))
        targets.append(item.url);
    m_copyPreview = CopyPreviewState{source, family, true, {}, {}};
    Q_EMIT copyPreviewChanged();
    loadCopyPreview(source, targets, family, ++m_copyPreviewGeneration);
}

QCoro::Task<void> LibraryViewModel::loadCopyPreview(CopySource source, QList<QUrl> targets,
                                                    CopyFamily family, quint64 generation)
{
    QPointer<LibraryViewModel> self(this);
    QList<CopyPreview> previews;
    QString failure;
    try {
        if (source) {
            auto reply = co_await callEngine(
                *source,
                [targets, family](const std::shared_ptr<MetadataEngine> &engine, QUrl scoped) {
                    return engine->previewCopy(scoped, targets, family);
                });
            if (reply.value)
                previews = *reply.value;
            else
                failure = describeException(reply.failure);
        } else {
            // Each target against its own partner: one read each.
            for (const QUrl &target : std::as_const(targets)) {
                const std::optional<QString> partner = partnerFile(target.toLocalFile());
                if (!partner)
                    continue;
                auto reply = co_await callEngine(
                    target,
                    [partner, family](const std::shared_ptr<MetadataEngine> &engine, QUrl scoped) {
                        return engine->previewCopy(QUrl::fromLocalFile(*partner), {scoped}, family);
                    });
                if (!self)
                    co_return;
                if (!reply.value) {
                    failure = describeException(reply.failure);
                    break;
                }
                for (CopyPreview preview : *reply.value) {
                    preview.target = target;
                    previews.append(preview);
                }
            }
        }
    } catch (...) {
        failure = describeException(std::current_exception());
    }
    if (!self || generation != m_copyPreviewGeneration)
        co_return;
    m_copyPreview = CopyPreviewState{source, family, false, previews, failure};
    Q_EMIT copyPreviewChanged();
}

void LibraryViewModel::confirmCopyMetadata(CopySource source, CopyFamily family)
{
    if (!m_copyMetadataRequest)
        return;
    QList<QUuid> targets;
    for (const MediaItem &item : std::as_const(m_copyMetadataRequest->targets))
        targets.append(item.id);
    cancelCopyMetadata();
    copyMetadata(source, targets, family);
}

void LibraryViewModel::cancelCopyMetadata()
{
    if (!m_copyMetadataRequest)
        return;
    m_copyMetadataRequest.reset();
    m_copyPreview = CopyPreviewState{};
    ++m_copyPreviewGeneration;
    Q_EMIT copyMetadataRequestChanged();
    Q_EMIT copyPreviewChanged();
}

QCoro::Task<void> LibraryViewModel::copyMetadata(CopySource source, QList<QUuid> targets,
                                                 CopyFamily family)
{
    const QList<MediaItem> items = withoutSource(itemsWithIDs(m_items, targets), source);
    if (items.isEmpty()) {
        setStatus(tr("There is no other file to copy the metadata into."));
        co_return;
    }
    if (refuseWhileBatchRuns())
        co_return;
    if (source)
        storeBookmark(*source);
    const QString sourceName = source ? QFileInfo(source->toLocalFile()).fileName() : QString();
    BatchProgress progress;
    progress.kind = BatchProgress::Kind::copyMetadata;
    progress.presetName = sourceName;
    co_await performBatch(
        progress, items,
        [engine = m_engine, source, family](QUrl url, ChangeOptions options) {
            return FileOperations::copyFrom(engine, source, family, url, options);
        },
        ChangeOptions{},
        [sourceName](const BatchRun::Outcome &outcome) {
            return BatchReportTexts::copyReport(sourceName, outcome);
        });
}

} // namespace Metaloom
