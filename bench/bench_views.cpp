// The window's figures: the metadata editor showing a 2,000-entry list, the
// longest main-thread stall while typing in the search field over 2,000
// entries, drops of 500 and 10,000 files, and the program's start to its first window.
// Prints figures; asserts nothing. Run under the offscreen platform.
#include "BenchSupport.h"
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"
#include "MetaloomFeature/Views/Window/ContentView.h"
#include "MetaloomFeature/Views/Window/ImportQueue.h"
#include "MetaloomFeature/Views/Window/SidebarModel.h"
#include "MetaloomFeature/Views/Window/SidebarView.h"
#include "MetaloomFeature/Views/Window/WindowToolbar.h"
#include "tests/support/EntryListSource.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include <cstdio>
#include <functional>

#include <unistd.h>

using namespace Metaloom;
using namespace Metaloom::Bench;
using namespace Metaloom::Testing;

namespace {

constexpr int entryCount = 2000;

QList<MetadataEntry> fileOfTags(int count, const QString &prefix)
{
    QList<MetadataEntry> entries;
    for (int i = 0; i < count; ++i) {
        const QString key = QStringLiteral("%1%2:Tag%3")
                                .arg(prefix)
                                .arg(i / 40, 2, 10, QLatin1Char('0'))
                                .arg(i, 4, 10, QLatin1Char('0'));
        entries.append(MetadataEntry(key, QStringLiteral("value %1 of a camera file").arg(i)));
    }
    return entries;
}

// Time from handing the editor a new list to the end of its first paint,
// in cards or in compact rows.
void benchEditorFirstPaint(bool compact)
{
    const char *look = compact ? "compact rows" : "cards";
    EntryListSource source;
    MetadataEditorView view(&source.tree);
    view.setCompact(compact);
    view.resize(740, 560);
    view.show();
    (void)QTest::qWaitForWindowExposed(&view);
    std::vector<double> firstPaints;
    std::vector<double> edits;
    for (int run = 0; run < 21; ++run) {
        QList<MetadataEntry> entries =
            fileOfTags(entryCount, run % 2 ? QStringLiteral("Odd") : QStringLiteral("Even"));
        QElapsedTimer timer;
        timer.start();
        source.publish(entries);
        view.viewport()->repaint();
        firstPaints.push_back(double(timer.nsecsElapsed()) / 1e6);

        // The same list again with one value changed (as a revert publishes it).
        entries[entryCount / 2].value += QStringLiteral("x");
        timer.restart();
        source.publish(entries);
        view.viewport()->repaint();
        edits.push_back(double(timer.nsecsElapsed()) / 1e6);
        QTest::qWait(5);
    }
    std::printf("editor (%s), %d entries published to first paint: median %.1f ms, worst "
                "%.1f ms (budget 50 ms)\n",
                look, entryCount, median(firstPaints),
                *std::max_element(firstPaints.begin(), firstPaints.end()));
    std::printf("editor (%s), one edited value republished and painted: median %.2f ms\n", look,
                median(edits));

    // Scrolling the whole list a page at a time, each page painted.
    std::vector<double> frames;
    QScrollBar *bar = view.verticalScrollBar();
    for (int value = 0; value < bar->maximum(); value += bar->pageStep()) {
        QElapsedTimer timer;
        timer.start();
        bar->setValue(value);
        view.viewport()->repaint();
        frames.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("editor (%s), scrolling %zu pages of %d entries: median %.2f ms, worst %.1f ms "
                "per painted page\n",
                look, frames.size(), entryCount, median(frames),
                *std::max_element(frames.begin(), frames.end()));

    // A key typed into the open editor of a row in the middle of the list:
    // the edit reaches the source, its row is measured again and painted.
    const QModelIndex middle = source.tree.index(5, 0, source.tree.index(25, 0));
    view.scrollTo(middle);
    view.setFocus();
    view.setCurrentIndex(middle);
    if (!view.activeEditor())
        view.edit(middle);
    std::vector<double> keys;
    if (QWidget *field = view.activeEditor()) {
        for (int run = 0; run < 41; ++run) {
            QElapsedTimer timer;
            timer.start();
            QTest::keyClick(field, Qt::Key_A);
            view.viewport()->repaint();
            keys.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        std::printf("editor (%s), one keystroke in a value to painted row: median %.2f ms, "
                    "worst %.2f ms\n",
                    look, median(keys), *std::max_element(keys.begin(), keys.end()));
    } else {
        std::printf("editor (%s): no editor opened on the middle row\n", look);
    }
}

// A bundle whose ExifTool reads every file as 2,000 tags.
QString manyTagsScript()
{
    QString json = QStringLiteral("[{\"SourceFile\":\"x\"");
    for (const MetadataEntry &entry : fileOfTags(entryCount, QStringLiteral("Group")))
        json += QStringLiteral(",\"%1\":\"%2\"").arg(entry.rawKey, entry.value);
    json += QStringLiteral("}]");
    return QStringLiteral("case \"$1\" in -json) cat <<'JSON'\n") + json +
           QStringLiteral("\nJSON\n;; *) exit 1;; esac\n");
}

// One keystroke in a value of a 2,000-entry file, the whole way: the
// library records the edit and publishes that one entry, the entry tree
// redraws its row and the editor paints.
void benchOneEditThroughTheLibrary(LibraryViewModel &library, ContentView &view)
{
    std::vector<double> edits;
    for (int run = 0; run < 41; ++run) {
        const MetadataEntry entry = library.filteredEntries().at(entryCount / 2);
        QElapsedTimer timer;
        timer.start();
        library.editValue(entry, entry.value + QStringLiteral("x"));
        QApplication::processEvents();
        view.editor()->viewport()->repaint();
        edits.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("one value edit of a %d-entry file through the library, republished and "
                "painted: median %.2f ms\n",
                entryCount, median(edits));
}

void benchSearchTyping(const QString &folder)
{
    FakeExifToolBundle bundle(folder + QStringLiteral("/many"), manyTagsScript());
    ExifToolService engine(bundle.bundle());
    LibraryViewModel library(MetadataEngine::over(&engine));
    ContentView view(&library);
    view.resize(1180, 760);
    view.show();
    (void)QTest::qWaitForWindowExposed(&view);
    QImage(64, 48, QImage::Format_RGB32).save(folder + QStringLiteral("/photo.png"));
    library.importItems({QUrl::fromLocalFile(folder + QStringLiteral("/photo.png"))});
    (void)QTest::qWaitFor([&] { return library.filteredEntries().size() >= entryCount; }, 30000);
    QTest::qWait(200);

    QLineEdit *search = view.toolbar()->searchField();
    search->setFocus();
    double longest = 0;
    std::vector<double> keystrokes;
    auto press = [&](auto type) {
        StallMeter meter;
        QElapsedTimer timer;
        timer.start();
        type();
        QApplication::processEvents();
        keystrokes.push_back(double(timer.nsecsElapsed()) / 1e6);
        QTest::qWait(30);
        longest = std::max({longest, meter.longestMilliseconds(), keystrokes.back()});
    };
    for (int round = 0; round < 3; ++round) {
        for (const QChar c : QStringLiteral("tag1"))
            press([&] { QTest::keyClick(search, c.toLatin1()); });
        for (int i = 0; i < 4; ++i)
            press([&] { QTest::keyClick(search, Qt::Key_Backspace); });
    }
    std::printf("search field over %d entries: keystroke to painted list median %.1f ms; "
                "longest main-thread stall %.1f ms\n",
                entryCount, median(keystrokes), longest);
    search->clear();
    QApplication::processEvents();
    benchOneEditThroughTheLibrary(library, view);
}

void benchDropOf500Files(const QString &folder)
{
    const QString files = folder + QStringLiteral("/drop");
    QDir().mkpath(files);
    QImage image(1600, 1200, QImage::Format_RGB32);
    image.fill(QColor(90, 140, 200));
    QList<QUrl> urls;
    for (int i = 0; i < 500; ++i) {
        const QString path =
            files + QStringLiteral("/photo-%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        if (i == 0)
            image.save(path, "JPEG", 80);
        else
            QFile::copy(files + QStringLiteral("/photo-000.jpg"), path);
        urls << QUrl::fromLocalFile(path);
    }
    ExifToolService engine(realBundle());
    LibraryViewModel library(MetadataEngine::over(&engine));
    ContentView view(&library);
    view.resize(1180, 760);
    view.show();
    (void)QTest::qWaitForWindowExposed(&view);

    StallMeter meter;
    QElapsedTimer timer;
    timer.start();
    view.importQueue()->enqueue(urls);
    (void)QTest::qWaitFor([&] { return library.items().size() == urls.size(); }, 120000);
    const double listed = double(timer.nsecsElapsed()) / 1e6;
    // Only the rows in and near view get pictures; the rest wait for a scroll.
    (void)QTest::qWaitFor(
        [&] {
            for (const QModelIndex &row : view.sidebar()->fileList()->rowsNearView()) {
                if (row.data(SidebarModel::ThumbnailRole).isNull())
                    return false;
            }
            return true;
        },
        120000);
    std::printf("drop of 500 photos: all listed after %.0f ms, thumbnails of the rows in and near "
                "view after %.0f ms; "
                "longest main-thread stall %.1f ms\n",
                listed, double(timer.nsecsElapsed()) / 1e6, meter.longestMilliseconds());
    (void)QTest::qWaitFor([&] { return !library.isBusy(); }, 60000);
}

// The resident set of this process now and at its peak, in megabytes.
std::pair<double, double> memoryMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    double now = 0, peak = 0;
    if (!status.open(QIODevice::ReadOnly))
        return {now, peak};
    for (const QByteArray &line : status.readAll().split('\n')) {
        const auto field = [&](const char *name) {
            return line.startsWith(name)
                       ? line.mid(int(qstrlen(name))).trimmed().split(' ').value(0).toDouble() /
                             1024.0
                       : -1.0;
        };
        if (const double value = field("VmRSS:"); value >= 0)
            now = value;
        if (const double value = field("VmHWM:"); value >= 0)
            peak = value;
    }
    return {now, peak};
}

// Ten thousand photos dropped at once (hard links of one small JPEG): the
// longest main-thread stall while they are listed and afterwards, how many
// thumbnails get made while nobody scrolls, the memory, and a click far down
// the list to its tags shown.
void benchDropOf10000Files(const QString &folder)
{
    constexpr int count = 10000;
    const QString files = folder + QStringLiteral("/drop10k");
    QDir().mkpath(files);
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(QColor(200, 140, 90));
    const QString original = files + QStringLiteral("/photo-00000.jpg");
    image.save(original, "JPEG", 80);
    QList<QUrl> urls{QUrl::fromLocalFile(original)};
    for (int i = 1; i < count; ++i) {
        const QString path =
            files + QStringLiteral("/photo-%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        if (::link(QFile::encodeName(original).constData(), QFile::encodeName(path).constData()) !=
            0)
            QFile::copy(original, path);
        urls << QUrl::fromLocalFile(path);
    }
    const double before = memoryMegabytes().first;
    ExifToolService engine(realBundle());
    LibraryViewModel library(MetadataEngine::over(&engine));
    ContentView view(&library);
    view.resize(1180, 760);
    view.show();
    (void)QTest::qWaitForWindowExposed(&view);
    int thumbnails = 0;
    QObject::connect(&library, &LibraryViewModel::itemThumbnailChanged, [&] { ++thumbnails; });

    StallMeter meter;
    QElapsedTimer timer;
    timer.start();
    view.importQueue()->enqueue(urls);
    (void)QTest::qWaitFor([&] { return library.items().size() == count; }, 300000);
    const double listed = double(timer.nsecsElapsed()) / 1e6;
    QTest::qWait(5000);
    const int thumbnailsAfterFiveSeconds = thumbnails;
    const double stallWhileListing = meter.longestMilliseconds();

    std::vector<double> clicks;
    for (const int row : {count / 2, count - 1, 1234, 8765, 42}) {
        const QUuid id = library.items().at(row).id;
        QElapsedTimer click;
        click.start();
        library.setSelectedItemID(id);
        (void)waitFor(
            &library, &LibraryViewModel::filteredEntriesChanged,
            [&] { return !library.filteredEntries().isEmpty() && library.selectedItemID() == id; },
            30000);
        clicks.push_back(double(click.nsecsElapsed()) / 1e6);
        QTest::qWait(100);
    }
    const auto [now, peak] = memoryMegabytes();
    std::printf("drop of %d photos: all listed after %.0f ms; longest main-thread stall %.1f ms "
                "(budget 50 ms); %d thumbnails made in the 5 s after, without scrolling; a click "
                "to its tags shown: median %.1f ms, worst %.1f ms (budget 100 ms); memory %.0f MB "
                "(peak %.0f MB, %.0f MB before the window; budget 500 MB)\n",
                count, listed, stallWhileListing, thumbnailsAfterFiveSeconds, median(clicks),
                *std::max_element(clicks.begin(), clicks.end()), now, peak, before);
    library.clearAllItems();
    (void)QTest::qWaitFor([&] { return !library.isBusy(); }, 60000);
}

void benchStartUp(const QString &folder)
{
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/metaloom");
    std::vector<double> starts;
    for (int run = 0; run < 7; ++run) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("METALOOM_EXIT_WHEN_SHOWN"), QStringLiteral("1"));
        // Its own preferences and no catalog fetch from the network.
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), folder + QStringLiteral("/config"));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), folder + QStringLiteral("/data"));
        environment.insert(QStringLiteral("VOSSA_APPS_FEED_URL"),
                           QStringLiteral("http://127.0.0.1:9/apps.json"));
        process.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        process.start(program, {});
        process.waitForReadyRead(30000);
        const double shown = double(timer.nsecsElapsed()) / 1e6;
        process.waitForFinished(30000);
        if (process.readAllStandardOutput().contains("first window shown"))
            starts.push_back(shown);
    }
    if (starts.empty()) {
        std::printf("start-up: the program did not report its first window\n");
        return;
    }
    std::printf("program start to first window painted: median %.0f ms over %zu runs\n",
                median(starts), starts.size());
}

} // namespace

// The same meter over a second of doing nothing: what the machine's other
// work costs the figures above.
void benchIdleBaseline()
{
    StallMeter meter;
    QTest::qWait(1000);
    std::printf("idle event loop for comparison: longest stall %.1f ms\n",
                meter.longestMilliseconds());
}

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    TestEnvironment environment;
    const QString folder = environment.workPath();
    // `bench_views drop` runs only the figures whose name holds "drop".
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const std::vector<std::pair<const char *, std::function<void()>>> figures{
        {"idle", [] { benchIdleBaseline(); }},
        {"editor cards", [] { benchEditorFirstPaint(false); }},
        {"editor compact", [] { benchEditorFirstPaint(true); }},
        {"search typing", [&] { benchSearchTyping(folder); }},
        {"drop 500", [&] { benchDropOf500Files(folder); }},
        {"drop 10000", [&] { benchDropOf10000Files(folder); }},
        {"start-up", [&] { benchStartUp(folder); }},
    };
    for (const auto &[name, run] : figures) {
        if (only.isEmpty() || QString::fromLatin1(name).contains(only))
            run();
    }
    return 0;
}
