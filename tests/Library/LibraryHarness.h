#pragma once

#include "ScriptedEngine.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Library/SavePanel.h"
#include "MetaloomFeature/Library/StatusTimer.h"

#include <QUrl>
#include <memory>
#include <optional>

namespace Metaloom::Testing {

// A status timer whose clock only moves when the test says so.
class ManualStatusTimer : public StatusTimer {
public:
    void start(std::chrono::milliseconds delay, std::function<void()> expired) override;
    void stop() override;
    void advance(std::chrono::milliseconds by);
    bool isRunning() const { return bool(m_expired); }

private:
    std::chrono::milliseconds m_now{0};
    std::chrono::milliseconds m_deadline{0};
    std::function<void()> m_expired;
};

// Remembers what the library asked and answers when the test says so.
class ScriptedSavePanel : public SavePanel {
public:
    void show(const Options &options, Completion completion) override;
    void answer(std::optional<QUrl> chosen);
    std::optional<Options> lastOptions;

private:
    Completion m_pending;
};

// One window's library, with a status clock and a save panel the test
// drives: over its own ExifToolService (the real bundled ExifTool unless a
// bundle is given), or over a scripted engine. Create it after the test's
// TestEnvironment.
struct LibraryHarness {
    explicit LibraryHarness(std::optional<ResourceBundle> bundle = std::nullopt);
    explicit LibraryHarness(std::shared_ptr<ScriptedEngine> engine);

    // Over ExifTool only.
    std::unique_ptr<ExifToolService> service;
    // Over a scripted engine only.
    std::shared_ptr<ScriptedEngine> scripted;
    ManualStatusTimer *timer;
    std::shared_ptr<ScriptedSavePanel> savePanel;
    std::unique_ptr<LibraryViewModel> library;
};

// The two tags the library's tests edit most.
inline const QString title = QStringLiteral("XMP-dc:Title");
inline const QString description = QStringLiteral("XMP-dc:Description");

inline QUrl url(const QString &path)
{
    return QUrl::fromLocalFile(path);
}

// Looks like a JPEG by name; ExifTool refuses to read or change it.
QString brokenJpeg(const QString &folder, const QString &name);

// Runs the event loop until no engine operation of the library is running.
bool waitUntilIdle(const LibraryViewModel &library);
// The visible entry of the key, or nothing.
std::optional<MetadataEntry> visibleEntry(const LibraryViewModel &library, const QString &key);
// The id of the listed file of that name (the list is sorted by name, so a
// file added last need not be listed last); a null id when none is.
QUuid itemNamed(const LibraryViewModel &library, const QString &fileName);
// The alert's text, or an empty string.
QString alertText(const LibraryViewModel &library);
QString statusText(const LibraryViewModel &library);
// The user-visible text of the failure of an engine call run directly.
QString directFailure(QCoro::Task<void> task);

} // namespace Metaloom::Testing
