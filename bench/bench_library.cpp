// The library's figures: the entry list's merge, sort and filter, one search
// keystroke, an import of 100 large photos, a preset over 100 files, and the
// thumbnails the desktop's thumbnailers make of a film, a HEIC and a PDF.

#include "BenchSupport.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/Process/ExifToolPool.h"
#include "MetaloomFeature/Library/EntryListMerge.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Library/SearchFilter.h"
#include "MetaloomFeature/Library/ThumbnailLoader.h"
#include "MetaloomFeature/Library/ThumbnailRendering.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

#include <algorithm>
#include <cstdio>

using namespace Metaloom;
using namespace Metaloom::Bench;

namespace {

double elapsedMilliseconds(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

QString makeLargeJpeg(const QString &path)
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    QPainter painter(&image);
    QRandomGenerator random(7);
    for (int i = 0; i < 400; ++i)
        painter.fillRect(int(random.bounded(4000)), int(random.bounded(3000)), 300, 200,
                         QColor::fromRgb(random.generate()));
    painter.end();
    image.save(path, "jpg", 90);
    return path;
}

QList<MetadataEntry> fiveThousandEntries()
{
    QList<MetadataEntry> entries;
    QRandomGenerator random(11);
    const QStringList groups{"ExifIFD", "IFD0",       "XMP-dc",  "XMP-photoshop",
                             "Canon",   "GPS",        "IPTC",    "Composite",
                             "File",    "MakerNotes", "xmp-xmp", "ICC_Profile"};
    for (int i = 0; i < 5000; ++i) {
        const QString group = groups.at(int(random.bounded(groups.size())));
        entries.append(MetadataEntry(
            group + QLatin1Char(':') + QStringLiteral("Tag%1Name").arg(random.generate() % 100000),
            i % 7 ? QStringLiteral("value %1").arg(i) : QString()));
    }
    return entries;
}

void benchThumbnail(const QString &folder)
{
    const QString path = makeLargeJpeg(folder + QStringLiteral("/12mp.jpg"));
    for (const qreal pixelRatio : {1.0, 2.0}) {
        std::vector<double> times;
        for (int i = 0; i < 15; ++i) {
            QElapsedTimer timer;
            timer.start();
            const bool rendered = ThumbnailRendering::fromFile(path, 120, pixelRatio).has_value();
            times.push_back(elapsedMilliseconds(timer));
            if (!rendered)
                std::printf("thumbnail failed\n");
        }
        std::printf("thumbnail of a 12-megapixel JPEG (%d px square, on a worker): median %.1f ms "
                    "(budget 15 ms)\n",
                    int(120 * pixelRatio), median(times));
    }
}

void benchEntryList()
{
    const QList<MetadataEntry> read = fiveThousandEntries();
    const EntryListMerge::FieldSettings settings{
        LibraryViewModel::defaultFavoriteTags() + QSet<QString>{"IFD0:Software"},
        {{QUuid::createUuid(), "XMP-dc:Caption", "Caption"}},
        LibraryViewModel::defaultFavoriteTags()};
    std::vector<double> merging, typing;
    for (int i = 0; i < 20; ++i) {
        QList<MetadataEntry> entries = read;
        QElapsedTimer timer;
        timer.start();
        EntryListMerge::mergeFieldSettings(entries, settings);
        const QList<MetadataEntry> shown = SearchFilter::filter(entries, QString());
        merging.push_back(elapsedMilliseconds(timer));
        timer.restart();
        const QList<MetadataEntry> found =
            SearchFilter::filter(entries, QStringLiteral("value 12"));
        typing.push_back(elapsedMilliseconds(timer));
        if (shown.isEmpty() || found.isEmpty())
            std::printf("entry list bench went wrong\n");
    }
    // The machine is shared: the best run shows the cost, the median the noise.
    std::printf("merge, sort and filter of 5,000 entries: median %.2f ms, best %.2f ms (budget 10 "
                "ms)\n",
                median(merging), *std::min_element(merging.begin(), merging.end()));
    std::printf("one search keystroke over 5,000 entries: median %.2f ms, best %.2f ms (budget 2 "
                "ms)\n",
                median(typing), *std::min_element(typing.begin(), typing.end()));
}

// `count` copies of the file in a subfolder, named photo00000.jpg and on.
QList<QUrl> copiesOf(const QString &original, const QString &folder, const QString &subfolder,
                     int count)
{
    QDir(folder).mkpath(subfolder);
    QList<QUrl> urls;
    urls.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString copy = folder + u'/' + subfolder +
                             QStringLiteral("/photo%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        QFile::copy(original, copy);
        urls.append(QUrl::fromLocalFile(copy));
    }
    return urls;
}

// Imports the files, as a drop does, and reports the first `shown` rows in
// view, as the sidebar would; answers how long the import call took.
double importShowing(LibraryViewModel &library, const QList<QUrl> &urls, qsizetype shown)
{
    QElapsedTimer timer;
    timer.start();
    library.importItems(urls);
    const double importCall = elapsedMilliseconds(timer);
    QList<QUuid> inView;
    for (qsizetype i = 0; i < std::min(shown, library.items().size()); ++i)
        inView.append(library.items().at(i).id);
    library.setItemsInView(inView);
    return importCall;
}

void benchImport(const QString &folder)
{
    const QList<QUrl> urls = copiesOf(makeLargeJpeg(folder + QStringLiteral("/source.jpg")), folder,
                                      QStringLiteral("import"), 100);
    ExifToolService service(Testing::realBundle());
    LibraryViewModel library(MetadataEngine::over(&service));
    int thumbnails = 0;
    QObject::connect(&library, &LibraryViewModel::itemThumbnailChanged, [&] { ++thumbnails; });

    StallMeter meter;
    QElapsedTimer timer;
    timer.start();
    // As a sidebar tall enough for all of them would report.
    const double importCall = importShowing(library, urls, urls.size());
    if (!waitFor(
            &library, &LibraryViewModel::itemThumbnailChanged, [&] { return thumbnails == 100; },
            120000))
        std::printf("timed out waiting\n");
    const double allShown = elapsedMilliseconds(timer);
    if (!waitFor(
            &library, &LibraryViewModel::isBusyChanged, [&] { return !library.isBusy(); }, 60000))
        std::printf("timed out waiting\n");
    std::printf(
        "import of 100 12-megapixel JPEGs: importItems returns in %.1f ms, every thumbnail "
        "shown after %.0f ms (%d of 100), longest main-thread stall %.1f ms (budget 50 ms)\n",
        importCall, allShown, thumbnails, meter.longestMilliseconds());
}

// What the program holds in memory now, ExifTool's processes aside.
double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

// 10,000 camera files dropped at once, a sidebar showing 20 of them: the
// longest main-thread stall while they come in and are checked in the
// background, the memory held, and how soon a click on one far down the
// list shows its tags.
void benchManyFiles(const QString &folder)
{
    constexpr int count = 10000;
    const QList<QUrl> urls = copiesOf(Testing::copyTestData(QStringLiteral("Canon.jpg"), folder),
                                      folder, QStringLiteral("many"), count);
    ExifToolService service(Testing::realBundle());
    LibraryViewModel library(MetadataEngine::over(&service));
    const double before = residentMegabytes();

    StallMeter meter;
    QElapsedTimer timer;
    timer.start();
    const double importCall = importShowing(library, urls, 20);
    waitFor(
        &library, &LibraryViewModel::isBusyChanged, [&] { return !library.isBusy(); }, 60000);
    // The background check at work for a while.
    QTest::qWait(3000);
    const double stall = meter.longestMilliseconds();

    timer.restart();
    library.setSelectedItemID(library.items().at(count / 2).id);
    const double clickCall = elapsedMilliseconds(timer);
    waitFor(
        &library, &LibraryViewModel::isBusyChanged,
        [&] { return !library.isBusy() && !library.filteredEntries().isEmpty(); }, 60000);
    const double click = elapsedMilliseconds(timer);
    std::printf(
        "%d files dropped at once: importItems returns in %.0f ms, longest main-thread "
        "stall %.1f ms over the import and 3 s of background checks (budget 50 ms), "
        "%d badges by then; memory %.0f MB (%.0f MB before; budget 500 MB); a click on "
        "the 5,000th shows its %lld tags after %.1f ms (budget 100 ms; the call itself %.1f ms)\n",
        count, importCall, stall, int(library.privacyFlaggedItemIDs().size()), residentMegabytes(),
        before, qlonglong(library.filteredEntries().size()), click, clickCall);
}

// Samples made with ffmpeg and heif-enc when they are installed: the test
// data's films and HEIC are cut short and hold no picture.
QStringList makeThumbnailerSamples(const QString &folder)
{
    QStringList made;
    const auto run = [](const QString &program, const QStringList &arguments) {
        if (QStandardPaths::findExecutable(program).isEmpty())
            return false;
        QProcess process;
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(program, arguments);
        return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    };
    const QStringList source{
        QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"),
        QStringLiteral("error"),        QStringLiteral("-y"),
        QStringLiteral("-f"),           QStringLiteral("lavfi"),
        QStringLiteral("-i"),           QStringLiteral("testsrc=duration=3:size=1280x720:rate=25")};
    for (const QString &extension :
         {QStringLiteral("mov"), QStringLiteral("mkv"), QStringLiteral("mp4")}) {
        const QString path = folder + QStringLiteral("/film.") + extension;
        if (run(QStringLiteral("ffmpeg"),
                source + QStringList{QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"), path}))
            made << path;
    }
    const QString frame = folder + QStringLiteral("/frame.png");
    makeLargeJpeg(folder + QStringLiteral("/frame.jpg"));
    QImage(folder + QStringLiteral("/frame.jpg")).save(frame);
    for (const QString &extension : {QStringLiteral("heic"), QStringLiteral("avif")}) {
        const QString path = folder + QStringLiteral("/photo.") + extension;
        QStringList arguments{QStringLiteral("-q"), QStringLiteral("60"), QStringLiteral("-o"),
                              path, frame};
        if (extension == QLatin1String("avif"))
            arguments.prepend(QStringLiteral("--avif"));
        if (run(QStringLiteral("heif-enc"), arguments))
            made << path;
    }
    const QString pdf = Testing::copyTestData(QStringLiteral("PDF.pdf"), folder);
    if (!pdf.isEmpty())
        made << pdf;
    return made;
}

// The desktop's thumbnailers, as installed: each file once with an empty
// cache (the thumbnailer runs) and once more (the shared cache answers).
void benchThumbnailers(const QString &folder)
{
    const QByteArray testDataDirs = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
    QDir(folder).mkpath(QStringLiteral("thumbnailers"));
    const QStringList samples = makeThumbnailerSamples(folder + QStringLiteral("/thumbnailers"));
    ExifToolService service(Testing::realBundle());
    for (const QString &path : samples) {
        std::vector<double> times;
        QSize size;
        double stall = 0;
        for (int round = 0; round < 2; ++round) {
            ThumbnailLoader loader(MetadataEngine::over(&service), 120, 1.0);
            bool ready = false;
            QObject::connect(&loader, &ThumbnailLoader::thumbnailReady,
                             [&](QUuid, const QImage &thumbnail) {
                                 ready = true;
                                 size = thumbnail.size();
                             });
            StallMeter meter;
            QElapsedTimer timer;
            timer.start();
            loader.request(QUuid::createUuid(), QUrl::fromLocalFile(path));
            waitFor(
                &loader, &ThumbnailLoader::thumbnailReady, [&] { return ready; }, 30000);
            times.push_back(ready ? elapsedMilliseconds(timer) : -1);
            stall = std::max(stall, meter.longestMilliseconds());
        }
        std::printf("thumbnail of %s (%dx%d): %.0f ms through the thumbnailer, %.1f ms from the "
                    "shared cache; longest main-thread stall %.1f ms\n",
                    qPrintable(QFileInfo(path).fileName()), size.width(), size.height(), times[0],
                    times[1], stall);
    }
    qputenv("XDG_DATA_DIRS", testDataDirs);
}

void benchPreset(const QString &folder, bool resident)
{
    ExifToolPool::shared().stopAll();
    ExifToolPool::shared().setResident(resident);
    const QList<QUrl> urls = makeSmallJpegs(folder, QStringLiteral("preset"), 100);
    ExifToolService service(Testing::realBundle());
    LibraryViewModel library(MetadataEngine::over(&service));
    library.importItems(urls);
    if (!waitFor(
            &library, &LibraryViewModel::isBusyChanged, [&] { return !library.isBusy(); }, 60000))
        std::printf("timed out waiting\n");

    StallMeter meter;
    QElapsedTimer timer;
    timer.start();
    library.applyPreset({QUuid::createUuid(), QStringLiteral("Bench"),
                         PresetAction::addOrModifyMetadata({{"XMP-dc:Title", "Bench"}})});
    if (!waitFor(
            &library, &LibraryViewModel::isBusyChanged, [&] { return !library.isBusy(); }, 600000))
        std::printf("timed out waiting\n");
    const double total = elapsedMilliseconds(timer);
    std::vector<double> byHand;
    for (int i = 0; i < 5; ++i) {
        // A fresh file each time, written over the last.
        const QString path =
            makeSmallJpegs(folder, QStringLiteral("preset/hand"), 1).first().toLocalFile();
        byHand.push_back(
            byHandMilliseconds({QStringLiteral("-P"), QStringLiteral("-overwrite_original"),
                                QStringLiteral("-XMP-dc:Title=Bench"), path}));
    }
    std::printf("preset with one override over 100 small JPEGs, ExifTool %s: %.0f ms in all, %.1f "
                "ms per file; exiftool by hand on one file: median %.1f ms; longest main-thread "
                "stall %.1f ms; status: %s\n",
                resident ? "kept running" : "started per operation", total, total / 100,
                median(byHand), meter.longestMilliseconds(),
                qPrintable(library.statusMessage().value_or(
                    library.activeError() ? library.activeError()->message : QString())));
}

} // namespace

// "bench_library thumbnailers" measures only the thumbnailers;
// "bench_library preset" measures only the preset, with ExifTool started
// for every operation and kept running.
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    Testing::TestEnvironment environment;
    if (app.arguments().value(1) == QLatin1String("thumbnailers")) {
        benchThumbnailers(environment.workPath());
        return 0;
    }
    if (app.arguments().value(1) == QLatin1String("many")) {
        benchManyFiles(environment.workPath());
        return 0;
    }
    if (app.arguments().value(1) != QLatin1String("preset")) {
        benchEntryList();
        benchThumbnail(environment.workPath());
        benchImport(environment.workPath());
        benchManyFiles(environment.workPath());
        benchThumbnailers(environment.workPath());
    }
    for (const bool resident : {false, true})
        benchPreset(environment.workPath(), resident);
    return 0;
}
