// Several files at once: the shared tag list of 2, 100 and 1,000 selected
// files once their tags are read (the pure computation and the selection
// through the library), and one tag saved into 100 selected small JPEGs
// through the library's edit and save against the same change as a preset.

#include "BenchSupport.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/Process/ExifToolPool.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Library/Selection/SharedTagList.h"
#include "tests/Engine/RealFiles.h"
#include "tests/Library/ScriptedEngine.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

using namespace Metaloom;
using namespace Metaloom::Bench;
using Metaloom::Testing::runTask;
using Metaloom::Testing::ScriptedEngine;

namespace {

double elapsedMilliseconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// About what a camera JPEG holds: 150 tags, 120 of them alike in every file
// (camera, lens, settings), the rest differing.
QMap<QString, QStringList> cameraTags(int file)
{
    QMap<QString, QStringList> tags;
    for (int tag = 0; tag < 150; ++tag) {
        const QString key = QStringLiteral("ExifIFD:Tag%1").arg(tag);
        tags.insert(key, {tag < 120 ? QStringLiteral("same %1").arg(tag)
                                    : QStringLiteral("file %1 tag %2").arg(file).arg(tag)});
    }
    tags.insert(QStringLiteral("XMP-dc:Subject"), {"sea", QStringLiteral("k%1").arg(file % 7)});
    return tags;
}

QList<SharedTagList::FileTags> pureFiles(int count)
{
    QList<SharedTagList::FileTags> files;
    for (int file = 0; file < count; ++file) {
        SharedTagList::FileTags tags;
        tags.itemID = QUuid::createUuid();
        tags.fileName = QStringLiteral("f%1.jpg").arg(file);
        const QMap<QString, QStringList> held = cameraTags(file);
        for (auto it = held.cbegin(); it != held.cend(); ++it)
            tags.entries.append(it->size() > 1 ? MetadataEntry::listEntry(it.key(), *it)
                                               : MetadataEntry(it.key(), it->first()));
        files.append(tags);
    }
    return files;
}

void benchSharedList(const QString &folder)
{
    for (const int count : {2, 100, 1000}) {
        const QList<SharedTagList::FileTags> files = pureFiles(count);
        std::vector<double> pure;
        for (int run = 0; run < 9; ++run) {
            QElapsedTimer timer;
            timer.start();
            const QList<SharedTagList::Row> rows = SharedTagList::compute(files);
            pure.push_back(elapsedMilliseconds(timer));
            if (rows.size() != 151)
                std::printf("shared list bench went wrong\n");
        }

        // Through the library: every file read once, then the selection
        // made again (what the user waits for once the tags are in).
        const QString sub = folder + QStringLiteral("/shared%1").arg(count);
        QDir().mkpath(sub);
        auto engine = ScriptedEngine::make();
        QList<QUrl> urls;
        for (int file = 0; file < count; ++file) {
            const QString path = Testing::makeImage(
                sub, QStringLiteral("f%1.jpg").arg(file, 4, 10, QLatin1Char('0')));
            engine->files.insert(path, cameraTags(file));
            urls.append(QUrl::fromLocalFile(path));
        }
        LibraryViewModel library(engine);
        library.importItems(urls);
        const auto idle = [&] { return !library.isBusy(); };
        waitFor(&library, &LibraryViewModel::isBusyChanged, idle, 120000);
        QList<QUuid> ids;
        for (const MediaItem &item : library.items())
            ids.append(item.id);
        library.setSelectedItemIDs(ids);
        waitFor(&library, &LibraryViewModel::isBusyChanged, idle, 120000);
        std::vector<double> selecting;
        for (int run = 0; run < 5; ++run) {
            library.setSelectedItemID(ids.first());
            waitFor(&library, &LibraryViewModel::isBusyChanged, idle, 120000);
            const int reads = engine->readCount;
            QElapsedTimer timer;
            timer.start();
            library.setSelectedItemIDs(ids);
            selecting.push_back(elapsedMilliseconds(timer));
            if (engine->readCount != reads || library.filteredEntries().size() < 151)
                std::printf("selection bench went wrong (%d reads, %lld rows)\n",
                            engine->readCount - reads, qlonglong(library.filteredEntries().size()));
        }
        std::printf("shared list of %d files (151 keys each): computed in median %.2f ms; "
                    "selected through the library and shown in median %.1f ms (budget 200 ms)\n",
                    count, median(pure), median(selecting));
    }
}

void benchSelectionSave(const QString &folder)
{
    ExifToolPool::shared().stopAll();
    ExifToolPool::shared().setResident(true);
    const QList<QUrl> urls = makeSmallJpegs(folder, QStringLiteral("save"), 100);
    ExifToolService service(Testing::realBundle());
    LibraryViewModel library(MetadataEngine::over(&service));
    library.importItems(urls);
    const auto idle = [&] { return !library.isBusy(); };
    waitFor(&library, &LibraryViewModel::isBusyChanged, idle, 60000);
    QList<QUuid> ids;
    for (const MediaItem &item : library.items())
        ids.append(item.id);
    QElapsedTimer reading;
    reading.start();
    library.setSelectedItemIDs(ids);
    waitFor(&library, &LibraryViewModel::isBusyChanged, idle, 600000);
    const double read = elapsedMilliseconds(reading);

    const QString key = QStringLiteral("XMP-dc:Title");
    const MetadataEntry *title = library.filteredEntry(key);
    if (!title) {
        std::printf("no title row to edit\n");
        return;
    }
    library.editValue(*title, QStringLiteral("Bench"));
    StallMeter meter;
    QElapsedTimer saving;
    saving.start();
    const auto saved = runTask(library.saveChanges());
    const double save = elapsedMilliseconds(saving);
    const double stall = meter.longestMilliseconds();

    QElapsedTimer applying;
    applying.start();
    library.applyPresetToSelection({QUuid::createUuid(), QStringLiteral("Bench"),
                                    PresetAction::addOrModifyMetadata({{key, "Bench 2"}})});
    waitFor(&library, &LibraryViewModel::isBusyChanged, idle, 600000);
    const double preset = elapsedMilliseconds(applying);
    std::printf("100 selected small JPEGs: first read %.0f ms; one tag saved through the "
                "selection %.0f ms (%.1f ms per file, re-read included, longest stall %.1f ms, "
                "%s); the same as a preset on the selection %.0f ms (%.1f ms per file)\n",
                read, save, save / 100, stall, saved.value && *saved.value ? "all saved" : "FAILED",
                preset, preset / 100);

    // The first file gets a caption and keywords, which the copy then takes
    // into the other 99 (and a title that differs in every file: untouched).
    library.setSelectedItemID(ids.first());
    waitFor(&library, &LibraryViewModel::isBusyChanged, idle, 60000);
    library.applyPresetToSelection(
        {QUuid::createUuid(), QStringLiteral("Source"),
         PresetAction::addOrModifyMetadata({{QStringLiteral("XMP-dc:Description"), "A caption"},
                                            {QStringLiteral("XMP-dc:Subject"), "one, two"}})});
    waitFor(&library, &LibraryViewModel::isBusyChanged, idle, 60000);
    QElapsedTimer copying;
    copying.start();
    const auto copied = runTask(library.copyMetadata(library.items().first().url, ids.mid(1),
                                                     CopyFamily::descriptionAndKeywords));
    const double copy = elapsedMilliseconds(copying);
    std::printf("\"Description and keywords\" copied from one file into 99: %.0f ms (%.1f ms per "
                "file, %s)\n",
                copy, copy / 99, copied.errorMessage().isEmpty() ? "done" : "FAILED");
}

} // namespace

// "bench_selection list" measures only the shared list.
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    Testing::TestEnvironment environment;
    benchSharedList(environment.workPath());
    if (app.arguments().value(1) != QLatin1String("list"))
        benchSelectionSave(environment.workPath());
    return 0;
}
