// Engine benchmarks: reading against ExifTool run by hand, parsing the tag
// listing against ExifTool's own time to print it, the tag listing for a
// further window, the read-back that checks every change, thumbnails of a
// 12-megapixel JPEG, and sorting a large tag list.

#include "MetaloomFeature/Engine/ChangeReadBack.h"
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/MetadataJson.h"
#include "MetaloomFeature/Engine/TagDefinitionsParser.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// ExifTool run the way a user would from a shell: same script, same library,
// same arguments, output read to the end.
double byHandMilliseconds(const QStringList &arguments, QByteArray *output = nullptr)
{
    const QString folder = realBundle().directory() + QStringLiteral("/ExifTool");
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PERL5LIB"), folder + QStringLiteral("/lib/perl5"));
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(folder + QStringLiteral("/exiftool"), arguments);
    process.waitForFinished(-1);
    const QByteArray bytes = process.readAllStandardOutput();
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    if (output)
        *output = bytes;
    return elapsed;
}

void benchRead(const QString &file)
{
    ExifToolService service(realBundle());
    std::vector<double> ratios, ours, theirs;
    for (int i = 0; i < 20; ++i) {
        // Alternate which one goes first, so warm caches favour neither.
        double hand = 0;
        const auto runByHand = [&] {
            hand = byHandMilliseconds(
                {QStringLiteral("-json"), QStringLiteral("-G:1"), QStringLiteral("-all"), file});
        };
        if (i % 2 == 0)
            runByHand();
        QElapsedTimer timer;
        timer.start();
        const auto outcome = runTask(service.readMetadata(QUrl::fromLocalFile(file)));
        const double engine = double(timer.nsecsElapsed()) / 1e6;
        if (i % 2 == 1)
            runByHand();
        if (!outcome.succeeded()) {
            std::printf("read failed: %s\n", qPrintable(outcome.errorMessage()));
            return;
        }
        ours.push_back(engine);
        theirs.push_back(hand);
        ratios.push_back(engine / hand);
    }
    std::printf(
        "readMetadata %-16s median %.1f ms, by hand %.1f ms, median ratio %.3f (budget 1.05)\n",
        qPrintable(QFileInfo(file).fileName()), median(ours), median(theirs), median(ratios));
}

void benchListing()
{
    QByteArray xml;
    std::vector<double> printing;
    for (int i = 0; i < 3; ++i)
        printing.push_back(byHandMilliseconds({QStringLiteral("-listx")}, &xml));
    std::vector<double> parsing;
    qsizetype keys = 0;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer timer;
        timer.start();
        keys = TagDefinitionsParser::parse(xml).size();
        parsing.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("-listx: %.1f MB, %lld keys; ExifTool prints it in %.0f ms, parsing takes %.0f ms "
                "= %.1f %% (budget 25 %%)\n",
                double(xml.size()) / 1e6, static_cast<long long>(keys), median(printing),
                median(parsing), 100 * median(parsing) / median(printing));
}

// A window opened after the first finds the listing loaded: only its own
// sorted key list is left to make.
void benchSharedListing()
{
    ExifToolService first(realBundle());
    QElapsedTimer timer;
    timer.start();
    if (!runTask(first.allTagKeys()).succeeded())
        std::printf("tag listing failed\n");
    const double firstWindow = double(timer.nsecsElapsed()) / 1e6;
    std::vector<double> later;
    for (int i = 0; i < 5; ++i) {
        ExifToolService another(realBundle());
        timer.restart();
        runTask(another.allTagKeys());
        later.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("allTagKeys: first window %.0f ms, every further window median %.1f ms\n",
                firstWindow, median(later));
}

// Every targeted change reads the changed tags back from ExifTool's new file
// before it replaces the original; what that costs against the whole change.
void benchReadBack(const QString &folder)
{
    const QString path = folder + QStringLiteral("/small.jpg");
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(QColor(30, 90, 160));
    image.save(path, "jpg", 85);
    ExifToolService service(realBundle());
    const QStringList keys{QStringLiteral("IFD0:Artist"), QStringLiteral("XMP-dc:Title")};
    std::vector<double> changes, readBacks;
    for (int i = 0; i < 20; ++i) {
        QElapsedTimer timer;
        timer.start();
        const auto change =
            runTask(service.applyOverrides({{keys.at(0), QStringLiteral("Ann %1").arg(i)},
                                            {keys.at(1), QStringLiteral("Title %1").arg(i)}},
                                           QUrl::fromLocalFile(path)));
        changes.push_back(double(timer.nsecsElapsed()) / 1e6);
        timer.restart();
        const auto readBack = runTask(ChangeReadBack::keysPresent(realBundle(), keys, path));
        readBacks.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!change.succeeded() || !readBack.succeeded() || readBack.value->size() != 2) {
            std::printf("read-back bench failed: %s\n", qPrintable(change.errorMessage()));
            return;
        }
    }
    std::printf("change of 2 tags in a %.0f kB JPEG: median %.1f ms, of which the read-back "
                "median %.1f ms (%.0f %%)\n",
                double(QFileInfo(path).size()) / 1e3, median(changes), median(readBacks),
                100 * median(readBacks) / median(changes));
}

void benchSort()
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
            QStringLiteral("value %1").arg(i)));
    }
    std::vector<double> times;
    for (int i = 0; i < 10; ++i) {
        QList<MetadataEntry> copy = entries;
        QElapsedTimer timer;
        timer.start();
        MetadataJson::sortByGroupAndTag(copy);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("sorting 5,000 entries by group and tag: median %.2f ms\n", median(times));
}

// Longest time the main thread went without serving its event loop while
// the task ran: a timer asks to run every 5 ms and the gaps are measured.
template <typename T> double longestMainThreadStall(QCoro::Task<T> task, QString *error)
{
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    ticker.start();
    const auto outcome = runTask(std::move(task));
    if (error)
        *error = outcome.errorMessage();
    return double(longest) / 1e6;
}

void benchMainThreadStalls(const QString &folder)
{
    const QString path = folder + QStringLiteral("/large.tif");
    QImage image(6000, 4000, QImage::Format_RGB888);
    image.fill(QColor(90, 140, 200));
    QImageWriter writer(path, "tiff");
    writer.setCompression(0);
    writer.write(image);
    const double megabytes = double(QFileInfo(path).size()) / 1e6;

    ExifToolService service(realBundle());
    QString error;
    const double writeStall = longestMainThreadStall(
        service.applyOverrides({{QStringLiteral("XMP-dc:Title"), QStringLiteral("Stall test")}},
                               QUrl::fromLocalFile(path)),
        &error);
    std::printf("writing a %.0f MB TIFF: longest main-thread stall %.1f ms (budget 50 ms)%s\n",
                megabytes, writeStall,
                error.isEmpty() ? "" : qPrintable(QStringLiteral(" ERROR ") + error));
    const double listingStall = longestMainThreadStall(service.allTagKeys(), &error);
    std::printf(
        "loading and sorting the tag listing: longest main-thread stall %.1f ms (budget 50 ms)%s\n",
        listingStall, error.isEmpty() ? "" : qPrintable(QStringLiteral(" ERROR ") + error));
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestEnvironment environment;
    const QString data = QStringLiteral(METALOOM_BENCH_TESTDATA_DIR);
    const QString canon = copyTestData(QStringLiteral("Canon.jpg"), environment.workPath());
    qputenv("METALOOM_TESTDATA_DIR", data.toLocal8Bit());
    benchRead(canon);
    benchRead(copyTestData(QStringLiteral("QuickTime.mov"), environment.workPath()));
    benchListing();
    benchSharedListing();
    benchReadBack(environment.workPath());
    benchSort();
    benchMainThreadStalls(environment.workPath());
    return 0;
}
