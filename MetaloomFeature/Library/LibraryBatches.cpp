// Changes of several files: one file after the other through the shared
// per-file operations, going on past files that fail, with their progress
// published and a cancel that stops after the file being changed; and the
// offer to make a change ExifTool refused for a minor error anyway.

#include "LibraryViewModel.h"

#include "ThumbnailLoader.h"

#include "MetaloomFeature/Platform/Error.h"

#include <QFileInfo>

namespace Metaloom {

void LibraryViewModel::cancelBatch()
{
    if (!m_batchProgress || m_batchProgress->isCancelling)
        return;
    BatchProgress progress = *m_batchProgress;
    progress.isCancelling = true;
    setBatchProgress(progress);
}

void LibraryViewModel::setBatchProgress(std::optional<BatchProgress> progress)
{
    if (progress == m_batchProgress)
        return;
    m_batchProgress = std::move(progress);
    Q_EMIT batchProgressChanged();
}

bool LibraryViewModel::refuseWhileBatchRuns()
{
    if (!m_batchProgress)
        return false;
    setStatus(tr("Files are still being changed. Wait until they are done, or "
                 "cancel."));
    return true;
}

void LibraryViewModel::showReport(const BatchReportTexts::Report &report,
                                  std::function<void()> writeAnyway)
{
    if (report.offersWriteAnyway && writeAnyway)
        offerWriteAnyway(report.alertTitle, report.alertText, std::move(writeAnyway));
    else if (report.isAlert())
        setActiveError(ViewModelError(report.alertText, report.alertTitle));
    else if (!report.status.isEmpty())
        setStatus(report.status);
}

void LibraryViewModel::offerWriteAnyway(const QString &title, const QString &message,
                                        std::function<void()> repeat)
{
    m_writeAnyway = std::move(repeat);
    m_writeAnywayRequest = WriteAnywayRequest{QUuid::createUuid(), title, message};
    Q_EMIT writeAnywayRequestChanged();
}

void LibraryViewModel::confirmWriteAnyway()
{
    if (!m_writeAnywayRequest)
        return;
    const std::function<void()> repeat = std::exchange(m_writeAnyway, nullptr);
    m_writeAnywayRequest.reset();
    Q_EMIT writeAnywayRequestChanged();
    if (repeat)
        repeat();
}

void LibraryViewModel::cancelWriteAnyway()
{
    if (!m_writeAnywayRequest)
        return;
    m_writeAnyway = nullptr;
    m_writeAnywayRequest.reset();
    Q_EMIT writeAnywayRequestChanged();
}

void LibraryViewModel::fileDidChange(QUuid itemID)
{
    // What was read of it is out of date.
    m_reads.forget(itemID);
    if (m_hiddenPictureItem == itemID)
        m_hiddenPictureItem.reset();
    applyThumbnailDemand(m_thumbnailDemand.fileChanged(itemID));
    // Its badge is checked again, unless the change itself tells it first
    // (a strip's proof).
    ++m_privacyNews[itemID];
    checkPrivacyLater({itemID});
}

BatchRun::Operation LibraryViewModel::withScope(FileChange change, ChangeOptions options)
{
    QPointer<LibraryViewModel> self(this);
    return [self, change, options](QUrl url) { return changeInScope(self, change, options, url); };
}

QCoro::Task<FileOutcome> LibraryViewModel::changeInScope(QPointer<LibraryViewModel> library,
                                                         FileChange change, ChangeOptions options,
                                                         QUrl file)
{
    // The batch asks before each file whether its window is still there.
    if (!library)
        co_return co_await change(file, options);
    // The change holds its engine itself.
    auto reply = co_await library->callEngine(
        file, [change, options](const auto &, QUrl scoped) { return change(scoped, options); });
    if (reply.value)
        co_return *reply.value;
    // Only opening the file's access can fail here: the changes themselves
    // tell their failures in the outcome.
    FileOutcome failed;
    failed.file = file;
    failed.fileName = QFileInfo(file.toLocalFile()).fileName();
    failed.error = reply.failure;
    failed.failure = describeException(reply.failure);
    co_return failed;
}

void LibraryViewModel::showBatchStarting(qsizetype index, const QString &fileName)
{
    if (!m_batchProgress)
        return;
    BatchProgress now = *m_batchProgress;
    now.current = index + 1;
    now.currentFileName = fileName;
    setBatchProgress(now);
}

void LibraryViewModel::showBatchFinished(qsizetype index)
{
    if (!m_batchProgress)
        return;
    BatchProgress now = *m_batchProgress;
    now.finished = index + 1;
    setBatchProgress(now);
}

QCoro::Task<void> LibraryViewModel::performBatch(BatchProgress progress, QList<MediaItem> items,
                                                 FileChange change, ChangeOptions options,
                                                 BatchReporter reporter)
{
    QPointer<LibraryViewModel> self(this);
    const BusyScope busy(this);
    progress.total = items.size();
    setBatchProgress(progress);
    QList<BatchRun::File> files;
    files.reserve(items.size());
    for (const MediaItem &item : std::as_const(items)) {
        storeBookmark(item.url);
        files.append({item.url, item.fileName});
    }

    BatchRun::Hooks hooks;
    // A closed window stops the batch too: the file in flight finishes or
    // fails whole, the rest stay as they are.
    hooks.shouldStop = [self] {
        return !self || !self->m_batchProgress || self->m_batchProgress->isCancelling;
    };
    hooks.starting = [self](qsizetype index, const BatchRun::File &file) {
        if (self)
            self->showBatchStarting(index, file.name);
    };
    // Shared with the hook rather than referred to: the hook lives in the
    // batch's own frame.
    const auto selectedWasChanged = std::make_shared<std::optional<QUuid>>();
    hooks.finished = [self, items, selectedWasChanged](qsizetype index,
                                                       const FileOutcome &outcome) {
        if (!self || !self->m_batchProgress)
            return;
        self->showBatchFinished(index);
        if (!outcome.succeeded())
            return;
        const QUuid itemID = items.at(index).id;
        self->fileDidChange(itemID);
        if (self->m_selectedItemID == itemID)
            *selectedWasChanged = itemID;
    };

    const BatchRun::Outcome outcome =
        co_await BatchRun::run(files, withScope(change, options), hooks, m_batchLanes);
    if (!self)
        co_return;
    setBatchProgress(std::nullopt);
    // Write Anyway makes the change again in the files ExifTool stopped at
    // for a minor error, as a batch of its own.
    QList<MediaItem> refused;
    for (qsizetype index = 0; index < outcome.files.size(); ++index) {
        if (outcome.files.at(index).stoppedAtMinorError())
            refused.append(items.at(index));
    }
    showReport(reporter(outcome), [self, progress, refused, change, reporter] {
        if (!self || self->refuseWhileBatchRuns())
            return;
        BatchProgress again = progress;
        again.id = QUuid::createUuid();
        self->performBatch(again, refused, change, ChangeOptions{true}, reporter);
    });
    if (*selectedWasChanged)
        reloadAfterChange(**selectedWasChanged);
}

} // namespace Metaloom
