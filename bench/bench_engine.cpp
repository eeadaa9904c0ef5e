// Engine benchmarks: reading against ExifTool run by hand, parsing the tag
// listing against ExifTool's own time to print it, the tag listing for a
// further window, the read-back that checks every change, sorting a large
// tag list, main-thread stalls, and ExifTool kept running against ExifTool
// started for every operation (reads, batches, a 2 GB save).

#include "BenchSupport.h"

#include "MetaloomFeature/Engine/Dialect/TagDefinitionsParser.h"
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/FileSafety/FileReplacement.h"
#include "MetaloomFeature/Engine/FileSafety/PrivateFolder.h"
#include "MetaloomFeature/Engine/Process/ExifToolPool.h"
#include "MetaloomFeature/Engine/Process/ExifToolRunner.h"
#include "MetaloomFeature/Engine/ReadBack.h"
#include "MetaloomFeature/Model/EntryOrder.h"
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
#include <QUuid>
#include <QXmlStreamReader>
#include <QtConcurrent>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace Metaloom;
using namespace Metaloom::Testing;
using namespace Metaloom::Bench;

namespace {

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
        const auto readBack = runTask(ChangeReadBack::read(realBundle(), keys, {path}));
        readBacks.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!change.succeeded() || !readBack.succeeded() ||
            readBack.value->first().byKey.value(keys.at(1)).isEmpty()) {
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
        EntryOrder::sortByGroupAndTag(copy);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::printf("sorting 5,000 entries by group and tag: median %.2f ms\n", median(times));
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

const char *modeName(bool resident)
{
    return resident ? "kept running" : "started per operation";
}

void setResident(bool resident)
{
    ExifToolPool::shared().stopAll();
    ExifToolPool::shared().setResident(resident);
}

QString makeSmallJpeg(const QString &path)
{
    QImage image(640, 480, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    image.save(path, "jpg", 85);
    return path;
}

void benchReadModes(const QString &file)
{
    double medians[2] = {0, 0};
    for (const bool resident : {false, true}) {
        setResident(resident);
        ExifToolService service(realBundle());
        std::vector<double> times;
        for (int i = 0; i < 21; ++i) {
            QElapsedTimer timer;
            timer.start();
            if (!runTask(service.readMetadata(QUrl::fromLocalFile(file))).succeeded())
                std::printf("read failed\n");
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        medians[resident] = median(times);
        std::printf("readMetadata of a small JPEG, ExifTool %s: median %.1f ms (first %.1f ms)\n",
                    modeName(resident), medians[resident], times.front());
    }
    std::printf("  -> %.1f times faster\n", medians[0] / medians[1]);
}

// One change of every file in turn, as the library applies a preset or
// removes all metadata.
void benchBatches(const QString &folder)
{
    double preset[2] = {0, 0};
    double strip[2] = {0, 0};
    for (const bool resident : {false, true}) {
        const QString batch = folder + (resident ? "/kept" : "/alone");
        QDir().mkpath(batch);
        QList<QUrl> files;
        for (int i = 0; i < 100; ++i)
            files << QUrl::fromLocalFile(makeSmallJpeg(batch + QStringLiteral("/%1.jpg").arg(i)));
        setResident(resident);
        ExifToolService service(realBundle());
        QElapsedTimer timer;
        timer.start();
        for (const QUrl &file : files) {
            if (!runTask(service.applyOverrides({{"XMP-dc:Title", "Bench"}}, file)).succeeded())
                std::printf("preset failed\n");
        }
        preset[resident] = double(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        for (const QUrl &file : files) {
            if (!runTask(service.removeAllMetadata(file)).succeeded())
                std::printf("remove-all failed\n");
        }
        strip[resident] = double(timer.nsecsElapsed()) / 1e6;
        std::printf("100 small JPEGs, ExifTool %s: preset with one override %.0f ms (%.1f ms per "
                    "file), remove-all %.0f ms (%.1f ms per file)\n",
                    modeName(resident), preset[resident], preset[resident] / 100, strip[resident],
                    strip[resident] / 100);
    }
    std::printf("  -> preset %.1f times faster, remove-all %.1f times faster\n",
                preset[0] / preset[1], strip[0] / strip[1]);
}

qint64 writtenBy(qint64 pid)
{
    QFile io(QStringLiteral("/proc/%1/io").arg(pid));
    if (!io.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : io.readAll().split('\n')) {
        if (line.startsWith("write_bytes:"))
            return line.mid(12).trimmed().toLongLong();
    }
    return 0;
}

// Bytes this program and its ExifTool processes have sent to the disk so
// far (a finished child's count joins its parent's).
qint64 bytesWritten()
{
    qint64 total = writtenBy(::getpid());
    for (const qint64 pid : ExifToolPool::shared().processIds())
        total += writtenBy(pid);
    return total;
}

// A QuickTime movie of 2 GB: the sample's header and a sparse media atom.
void makeLargeMovie(const QString &path)
{
    QFile source(qEnvironmentVariable("METALOOM_TESTDATA_DIR") + "/QuickTime.mov");
    source.open(QIODevice::ReadOnly);
    const QByteArray header = source.read(3863); // the "moov" atom
    const quint32 media = (2u << 30) + 8;
    QFile movie(path);
    movie.open(QIODevice::WriteOnly | QIODevice::Truncate);
    movie.write(header);
    const char atom[8] = {
        char(media >> 24), char(media >> 16), char(media >> 8), char(media), 'm', 'd', 'a', 't'};
    movie.write(atom, 8);
    movie.resize(header.size() + media);
}

// The save as it was made before ExifTool wrote beside the target: into
// the private temporary folder, then copied beside the target and renamed.
bool saveThroughTheTemporaryFolder(const QString &target)
{
    const QString temporary = PrivateFolder::prepare();
    const QString output =
        temporary + '/' + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + ".mov";
    const auto run = runTask(ExifToolRunner::run(
        realBundle(), {"-P", "-o", output, "-XMP-dc:Title=Large", target}, temporary));
    const auto check = runTask(ChangeReadBack::read(realBundle(), {"XMP-dc:Title"}, {output}));
    QtConcurrent::run([&] { FileReplacement::replaceOriginal(target, output); }).waitForFinished();
    return run.succeeded() && check.succeeded();
}

void benchLargeSave(const QString &folder)
{
    const QString target = folder + QStringLiteral("/large.mov");
    for (int way = 0; way < 3; ++way) {
        makeLargeMovie(target);
        const bool resident = way == 2;
        setResident(resident);
        ExifToolService service(realBundle());
        MetadataEntry title(QStringLiteral("XMP-dc:Title"), QString());
        title.value = QStringLiteral("Large");
        const qint64 before = bytesWritten();
        QElapsedTimer timer;
        timer.start();
        const bool saved =
            way == 0 ? saveThroughTheTemporaryFolder(target)
                     : runTask(service.writeMetadata(QUrl::fromLocalFile(target), {title}),
                               std::chrono::minutes(10))
                           .succeeded();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        const double gigabytes = double(bytesWritten() - before) / double(1 << 30);
        std::printf("saving one edit of a 2 GB movie, %s: %.1f s, %.2f GB written%s\n",
                    way == 0   ? "through the temporary folder (before), ExifTool started"
                    : resident ? "beside the file, ExifTool kept running"
                               : "beside the file, ExifTool started",
                    seconds, gigabytes, saved ? "" : " FAILED");
        QFile::remove(target);
    }
}

void benchResidentAgainstPerProcess(const QString &folder, const QString &smallJpeg)
{
    benchReadModes(smallJpeg);
    benchBatches(folder);
    benchLargeSave(folder);
    setResident(true);
}

// Writable XMP text tags from ExifTool's own listing, as "XMP-ns:Name"
// keys: the kind of tags a large preset or an import sets in one change.
QStringList writableXmpKeys(int count, bool textOnly)
{
    QByteArray listing;
    byHandMilliseconds({QStringLiteral("-listx"), QStringLiteral("-XMP:all")}, &listing);
    QXmlStreamReader xml(listing);
    QStringList keys;
    QSet<QString> seen;
    QString group;
    while (!xml.atEnd() && keys.size() < count) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == u"table") {
            group = attributes.value(QLatin1String("g1")).toString();
            continue;
        }
        if (xml.name() != u"tag" || attributes.value(QLatin1String("writable")) != u"true" ||
            !group.startsWith(QLatin1String("XMP-")))
            continue;
        if (textOnly && (attributes.value(QLatin1String("type")) != u"string" ||
                         attributes.hasAttribute(QLatin1String("flags"))))
            continue;
        const QString key =
            group + QLatin1Char(':') + attributes.value(QLatin1String("name")).toString();
        if (!seen.contains(key.toLower())) {
            seen.insert(key.toLower());
            keys << key;
        }
    }
    return keys;
}

// One change of many tags, and one removal of many keys, on a small JPEG;
// then one change of one tag on the Canon sample, where the read-back is
// most of the cost.
void benchLargeChanges(const QString &folder, const QString &canon)
{
    const QStringList textKeys = writableXmpKeys(1000, true);
    const QStringList anyKeys = writableXmpKeys(2000, false);
    ExifToolService service(realBundle());
    const QUrl large = QUrl::fromLocalFile(makeSmallJpeg(folder + QStringLiteral("/many.jpg")));
    QMap<QString, QString> values;
    for (qsizetype i = 0; i < textKeys.size(); ++i)
        values.insert(textKeys.at(i), QStringLiteral("value %1").arg(i));
    QElapsedTimer timer;
    timer.start();
    const auto written = runTask(service.applyOverrides(values, large), std::chrono::minutes(5));
    const double writeSeconds = double(timer.nsecsElapsed()) / 1e9;
    QString detail = QStringLiteral(" FAILED ") + written.errorMessage();
    if (written.succeeded()) {
        QMap<int, int> kinds;
        for (const TagOutcome &outcome : written.value->outcomes)
            ++kinds[int(outcome.kind)];
        detail = QStringLiteral(", %1 not stored as asked (not written %2, refused %3, "
                                "shortened %4, converted %5)")
                     .arg(written.value->tagsNotWritten.size())
                     .arg(kinds.value(int(TagOutcome::Kind::notWritten)))
                     .arg(kinds.value(int(TagOutcome::Kind::refused)))
                     .arg(kinds.value(int(TagOutcome::Kind::shortened)))
                     .arg(kinds.value(int(TagOutcome::Kind::converted)));
    }
    std::printf("one change of %lld tags: %.2f s (budget 2 s)%s\n",
                static_cast<long long>(values.size()), writeSeconds, qPrintable(detail));
    timer.restart();
    const auto removed = runTask(service.removeMetadata(anyKeys, large), std::chrono::minutes(5));
    const double removeSeconds = double(timer.nsecsElapsed()) / 1e9;
    std::printf(
        "removing %lld keys: %.2f s (budget 2 s)%s\n", static_cast<long long>(anyKeys.size()),
        removeSeconds,
        removed.succeeded() ? "" : qPrintable(QStringLiteral(" FAILED ") + removed.errorMessage()));

    std::vector<double> small;
    for (int i = 0; i < 21; ++i) {
        timer.restart();
        const auto change = runTask(service.applyOverrides(
            {{QStringLiteral("IFD0:Artist"), QStringLiteral("Ann %1").arg(i)}},
            QUrl::fromLocalFile(canon)));
        if (i > 0) // the first one starts the kept ExifTool processes
            small.push_back(double(timer.nsecsElapsed()) / 1e6);
        if (!change.succeeded()) {
            std::printf("small change failed: %s\n", qPrintable(change.errorMessage()));
            return;
        }
    }
    std::printf("one change of one tag on Canon.jpg: median of 20 %.1f ms\n", median(small));
}

} // namespace

// "bench_engine resident" measures only ExifTool kept running against
// ExifTool started for every operation; "bench_engine changes" only the
// large changes and the cost of one small change.
int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestEnvironment environment;
    if (qEnvironmentVariableIsEmpty("METALOOM_TESTDATA_DIR"))
        qputenv("METALOOM_TESTDATA_DIR", QByteArray(METALOOM_BENCH_TESTDATA_DIR));
    if (app.arguments().value(1) == QLatin1String("changes")) {
        benchLargeChanges(environment.workPath(),
                          copyTestData(QStringLiteral("Canon.jpg"), environment.workPath()));
        return 0;
    }
    if (app.arguments().value(1) != QLatin1String("resident")) {
        const QString canon = copyTestData(QStringLiteral("Canon.jpg"), environment.workPath());
        benchRead(canon);
        benchRead(copyTestData(QStringLiteral("QuickTime.mov"), environment.workPath()));
        benchListing();
        benchSharedListing();
        benchReadBack(environment.workPath());
        benchLargeChanges(environment.workPath(), canon);
        benchSort();
        benchMainThreadStalls(environment.workPath());
    }
    benchResidentAgainstPerProcess(environment.workPath(),
                                   makeSmallJpeg(environment.workPath() + "/small-read.jpg"));
    return 0;
}
