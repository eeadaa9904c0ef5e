// Applying a preset to every loaded file, and the preset manager's flag.

#include "LibraryViewModel.h"

#include "BatchReportTexts.h"

#include "MetaloomFeature/Platform/Error.h"

namespace Metaloom {

void LibraryViewModel::presentPresetManager()
{
    m_presetManagerState = PresetManagerState{};
    Q_EMIT presetManagerStateChanged();
}

void LibraryViewModel::dismissPresetManager()
{
    if (!m_presetManagerState)
        return;
    m_presetManagerState.reset();
    Q_EMIT presetManagerStateChanged();
}

void LibraryViewModel::applyPreset(const Preset &preset)
{
    if (m_items.isEmpty()) {
        setStatus(QStringLiteral("No files loaded to apply preset to."));
        return;
    }
    applyPresetWhenChecked(preset);
}

QCoro::Task<void> LibraryViewModel::applyPresetWhenChecked(Preset preset)
{
    if (preset.action.overrides.isEmpty() && preset.action.removals.isEmpty()) {
        setStatus(QStringLiteral("Preset has no operations to apply."));
        co_return;
    }
    co_await performPreset(std::move(preset));
}

QCoro::Task<void> LibraryViewModel::performPreset(Preset preset)
{
    QPointer<LibraryViewModel> self(this);
    QPointer<ExifToolService> service = m_service;
    const QMap<QString, QString> overrides = preset.action.overrides;
    const QStringList removals = preset.action.removals;

    setBusy(true);
    BatchReportTexts::PresetOutcome outcome;
    outcome.presetName = preset.name;
    std::optional<QUuid> selectedWasChanged;
    const QList<MediaItem> snapshot = m_items;
    for (const MediaItem &item : snapshot) {
        storeBookmark(item.url);
        ChangeReport fileReport;
        try {
            if (!removals.isEmpty()) {
                const ChangeReport removed =
                    co_await withSecurityScope(item.url, [service, removals](QUrl url) {
                        return requireEngine(service)->removeMetadata(removals, url);
                    });
                if (!self)
                    co_return;
                fileReport.tagsNotRemoved = removed.tagsNotRemoved;
                fileReport.tagsNotWritten = removed.tagsNotWritten;
            }
            if (!overrides.isEmpty()) {
                const ChangeReport written =
                    co_await withSecurityScope(item.url, [service, overrides](QUrl url) {
                        return requireEngine(service)->applyOverrides(overrides, url);
                    });
                if (!self)
                    co_return;
                fileReport.tagsNotWritten += written.tagsNotWritten;
                fileReport.tagsNotRemoved += written.tagsNotRemoved;
            }
        } catch (...) {
            const QString message = describeException(std::current_exception());
            // The window closed: the change in flight finished or failed
            // whole; the remaining files stay as they are.
            if (!self)
                co_return;
            outcome.failures.append(message);
            continue;
        }
        ++outcome.succeeded;
        if (!fileReport.isComplete())
            outcome.incomplete.append({item.fileName, fileReport});
        if (m_selectedItemID == item.id)
            selectedWasChanged = item.id;
    }

    if (const std::optional<QString> alert = BatchReportTexts::presetAlert(outcome))
        showError(*alert);
    else if (const std::optional<QString> status = BatchReportTexts::presetStatus(outcome))
        setStatus(*status);
    setBusy(false);
    if (selectedWasChanged)
        reloadAfterChange(*selectedWasChanged);
}

} // namespace Metaloom
