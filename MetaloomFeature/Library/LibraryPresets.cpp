// Applying a preset to every loaded file, and the preset manager's flag.

#include "LibraryViewModel.h"

#include "FileOperations.h"

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
        setStatus(tr("No files loaded to apply preset to."));
        return;
    }
    if (refuseWhileBatchRuns())
        return;
    applyPresetWhenChecked(preset, m_items);
}

void LibraryViewModel::applyPresetToSelection(const Preset &preset)
{
    const QList<MediaItem> selected = selectedItems();
    if (selected.isEmpty()) {
        setStatus(tr("Select files to apply the preset to."));
        return;
    }
    if (refuseWhileBatchRuns())
        return;
    applyPresetWhenChecked(preset, selected);
}

QCoro::Task<void> LibraryViewModel::applyPresetWhenChecked(Preset preset, QList<MediaItem> items)
{
    if (preset.action.overrides.isEmpty() && preset.action.removals.isEmpty()) {
        setStatus(tr("Preset has no operations to apply."));
        co_return;
    }
    const PresetAction action = preset.action;
    const QString name = preset.name;
    BatchProgress progress;
    progress.kind = BatchProgress::Kind::applyPreset;
    progress.presetName = name;
    co_await performBatch(
        progress, items,
        [engine = m_engine, action](QUrl url, ChangeOptions options) {
            return FileOperations::applyPreset(engine, action, url, options);
        },
        ChangeOptions{},
        [name](const BatchRun::Outcome &outcome) {
            return BatchReportTexts::presetReport(name, outcome);
        });
}

} // namespace Metaloom
