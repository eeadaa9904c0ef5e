#include "LibraryHarness.h"

#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"

#include <QFile>
#include <QTest>

namespace Metaloom::Testing {

void ManualStatusTimer::start(std::chrono::milliseconds delay, std::function<void()> expired)
{
    m_deadline = m_now + delay;
    m_expired = std::move(expired);
}

void ManualStatusTimer::stop()
{
    m_expired = nullptr;
}

void ManualStatusTimer::advance(std::chrono::milliseconds by)
{
    m_now += by;
    if (m_expired && m_now >= m_deadline)
        std::exchange(m_expired, nullptr)();
}

void ScriptedSavePanel::show(const Options &options, Completion completion)
{
    lastOptions = options;
    m_pending = std::move(completion);
}

void ScriptedSavePanel::answer(std::optional<QUrl> chosen)
{
    if (m_pending)
        std::exchange(m_pending, nullptr)(std::move(chosen));
}

LibraryHarness::LibraryHarness(std::optional<ResourceBundle> bundle)
    : service(std::make_unique<ExifToolService>(bundle ? *bundle : realBundle())),
      timer(new ManualStatusTimer), savePanel(std::make_shared<ScriptedSavePanel>()),
      library(std::make_unique<LibraryViewModel>(MetadataEngine::over(service.get()),
                                                 std::unique_ptr<StatusTimer>(timer)))
{
    library->setSavePanel(savePanel);
}

LibraryHarness::LibraryHarness(std::shared_ptr<ScriptedEngine> engine)
    : scripted(std::move(engine)), timer(new ManualStatusTimer),
      savePanel(std::make_shared<ScriptedSavePanel>()),
      library(std::make_unique<LibraryViewModel>(scripted, std::unique_ptr<StatusTimer>(timer)))
{
    library->setSavePanel(savePanel);
}

bool waitUntilIdle(const LibraryViewModel &library)
{
    return QTest::qWaitFor([&library] { return !library.isBusy(); }, 60000);
}

std::optional<MetadataEntry> visibleEntry(const LibraryViewModel &library, const QString &key)
{
    for (const MetadataEntry &entry : library.filteredEntries()) {
        if (entry.rawKey == key)
            return entry;
    }
    return std::nullopt;
}

QUuid itemNamed(const LibraryViewModel &library, const QString &fileName)
{
    for (const MediaItem &item : library.items()) {
        if (item.fileName == fileName)
            return item.id;
    }
    return {};
}

QString alertText(const LibraryViewModel &library)
{
    return library.activeError() ? library.activeError()->message : QString();
}

QString statusText(const LibraryViewModel &library)
{
    return library.statusMessage().value_or(QString());
}

QString brokenJpeg(const QString &folder, const QString &name)
{
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("this is not a JPEG") < 0)
        qWarning("could not write %s", qPrintable(path));
    return path;
}

QString directFailure(QCoro::Task<void> task)
{
    return runTask(std::move(task)).errorMessage();
}

} // namespace Metaloom::Testing
