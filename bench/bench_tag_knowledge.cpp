// What the tag listing costs a start: from the start of a window's engine to
// the first read-only badge of a photo's tags, on a first start (ExifTool
// prints "-listx") and on the next one (the listing kept on disk); and a
// keystroke of the preset manager's key filter over the full listing.
//
// Each start runs in a child process of this program, since a process
// keeps the loaded listing for its own later windows: only a new process
// shows what the kept file saves.

#include "BenchSupport.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/TagListingCache.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Library/Presets/TagKeyCatalog.h"
#include "tests/support/FutureWaiting.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>

#include <cstdio>

using namespace Metaloom;
using namespace Metaloom::Bench;

namespace {

double since(const QElapsedTimer &clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

// One start: prints "tags <ms> badge <ms>", both from the engine's start:
// when the photo's tags were first shown, and when the last of the badges
// the tag table gives them was there (the count of read-only rows reached
// what it comes to once the table has been applied to every row).
int measureOneStart(const QString &photo)
{
    QElapsedTimer clock;
    clock.start();
    ExifToolService service(Testing::realBundle());
    LibraryViewModel library(MetadataEngine::over(&service));
    double tagsShown = -1;
    std::vector<std::pair<double, int>> readOnlyCounts;
    const auto look = [&] {
        const QList<MetadataEntry> &entries = library.filteredEntries();
        if (entries.isEmpty())
            return;
        if (tagsShown < 0) {
            tagsShown = since(clock);
            // What the editor does for the rows it shows.
            for (const MetadataEntry &entry : entries)
                library.ensureOptionsLoaded(entry);
        }
        const int readOnly =
            int(std::count_if(entries.cbegin(), entries.cend(),
                              [](const MetadataEntry &e) { return !e.isWritable(); }));
        readOnlyCounts.emplace_back(since(clock), readOnly);
    };
    QObject::connect(&library, &LibraryViewModel::filteredEntriesChanged, &library, look);
    QObject::connect(&library, &LibraryViewModel::filteredEntryChanged, &library, look);
    library.importItems({QUrl::fromLocalFile(photo)});
    QElapsedTimer watchdog;
    watchdog.start();
    while ((tagsShown < 0 || service.isLoadingTagDefinitions() || library.isBusy()) &&
           watchdog.elapsed() < 60000)
        QTest::qWait(1);
    QTest::qWait(300); // the lookups of the shown rows, answered from the table
    // The first start writes the file for the next one before it ends.
    Testing::waitForFuture(TagListingCache::shared().fileWritten(Testing::realBundle()));
    if (readOnlyCounts.empty())
        return 1;
    const int final = readOnlyCounts.back().second;
    double badges = -1;
    for (const auto &[at, count] : readOnlyCounts) {
        if (count == final) {
            badges = at;
            break;
        }
    }
    std::printf("tags %.1f badge %.1f\n", tagsShown, badges);
    return 0;
}

struct Start {
    double tags = -1;
    double badge = -1;
};

Start startInChild(const QString &photo)
{
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--one-start"), photo});
    child.waitForFinished(-1);
    Start start;
    std::sscanf(child.readAllStandardOutput().constData(), "tags %lf badge %lf", &start.tags,
                &start.badge);
    return start;
}

void benchStarts(const Testing::TestEnvironment &environment)
{
    const QString photo =
        Testing::copyTestData(QStringLiteral("Canon.jpg"), environment.workPath());
    std::vector<double> firstAfterTags, nextAfterTags, nextFromStart;
    for (int round = 0; round < 3; ++round) {
        QDir(environment.root() + QStringLiteral("/cache/metaloom")).removeRecursively();
        const Start first = startInChild(photo);
        firstAfterTags.push_back(first.badge - first.tags);
        for (int again = 0; again < 3; ++again) {
            const Start next = startInChild(photo);
            nextAfterTags.push_back(next.badge - next.tags);
            nextFromStart.push_back(next.badge);
        }
        std::printf("  round %d: first start tags %.0f ms, badge %.0f ms; next start tags %.0f "
                    "ms, badge %.0f ms\n",
                    round + 1, first.tags, first.badge, nextFromStart.back() - nextAfterTags.back(),
                    nextFromStart.back());
    }
    std::printf(
        "start to the file's badges, first start (no kept listing): median %.0f ms after the "
        "file's tags\n",
        median(firstAfterTags));
    std::printf("start to the file's badges, next starts (kept listing): median %.1f ms after the "
                "file's tags, %.0f ms from the start (target < 100 ms after the tags)\n",
                median(nextAfterTags), median(nextFromStart));
    const QFileInfo kept(environment.root() + QStringLiteral("/cache/metaloom/tag-listing.cache"));
    std::printf("kept listing: %.1f MB\n", double(kept.size()) / 1e6);
}

void benchKeyFilter()
{
    ExifToolService service(Testing::realBundle());
    const auto keys = Testing::runTask(service.allTagKeys(), std::chrono::seconds(120));
    if (!keys.succeeded()) {
        std::printf("no listing: %s\n", qPrintable(keys.errorMessage()));
        return;
    }
    const TagKeyCatalog catalog(*keys.value);
    QElapsedTimer clock;
    clock.start();
    catalog.matching(QStringLiteral("x"), 100);
    const double firstUse = since(clock);
    std::vector<double> keystrokes;
    const QString typed = QStringLiteral("gpslatituderef");
    for (int round = 0; round < 5; ++round) {
        for (qsizetype length = 1; length <= typed.size(); ++length) {
            clock.restart();
            qsizetype total = 0;
            catalog.matching(typed.left(length), 100, &total);
            keystrokes.push_back(since(clock));
        }
    }
    std::printf("key filter over %lld keys: first use (grouping and folding) %.0f ms, then per "
                "keystroke median %.2f ms, worst %.2f ms (budget 50 ms)\n",
                qlonglong(keys.value->size()), firstUse, median(keystrokes),
                *std::max_element(keystrokes.begin(), keystrokes.end()));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (app.arguments().value(1) == QLatin1String("--one-start"))
        return measureOneStart(app.arguments().value(2));
    Testing::TestEnvironment environment;
    benchStarts(environment);
    benchKeyFilter();
    return 0;
}
