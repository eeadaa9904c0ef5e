// Comparing two files: both are read as the editor reads them and their
// tags are aligned by key for the Compare view.

#include "LibraryViewModel.h"

#include "MetaloomFeature/Platform/Error.h"

namespace Metaloom {

void LibraryViewModel::presentCompare(QUuid left, QUuid right)
{
    std::optional<MediaItem> first;
    std::optional<MediaItem> second;
    for (const MediaItem &item : std::as_const(m_items)) {
        if (item.id == left)
            first = item;
        if (item.id == right)
            second = item;
    }
    if (!first || !second || left == right) {
        setStatus(tr("Choose two files to compare."));
        return;
    }
    Comparison comparison;
    comparison.leftName = first->fileName;
    comparison.rightName = second->fileName;
    m_comparison = comparison;
    Q_EMIT comparisonChanged();
    loadComparison(comparison.id, first->url, second->url);
}

void LibraryViewModel::dismissCompare()
{
    if (!m_comparison)
        return;
    m_comparison.reset();
    Q_EMIT comparisonChanged();
}

QCoro::Task<void> LibraryViewModel::loadComparison(QUuid comparisonID, QUrl left, QUrl right)
{
    QPointer<LibraryViewModel> self(this);
    const auto read = [](const std::shared_ptr<MetadataEngine> &engine, QUrl scoped) {
        return engine->readMetadata(scoped);
    };
    auto first = co_await callEngine(left, read);
    if (!self)
        co_return;
    auto second = co_await callEngine(right, read);
    if (!self || !m_comparison || m_comparison->id != comparisonID)
        co_return;
    Comparison done = *m_comparison;
    done.isLoading = false;
    if (first.value && second.value)
        done.rows = CompareAlignment::align(*first.value, *second.value);
    else
        done.failure = describeException(first.value ? second.failure : first.failure);
    m_comparison = done;
    Q_EMIT comparisonChanged();
}

} // namespace Metaloom
