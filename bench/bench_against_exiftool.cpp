// Metaloom's engine side by side with ExifTool itself, in one run on the same
// files: a change of one tag, strip-all and a read of 100 files, each done
// by our engine (every safety step kept), by one ExifTool kept running with
// "-stay_open" and given one file a command, and by one ExifTool command for
// all 100 files. ExifTool by hand uses "-P -overwrite_original": no
// read-back, no sync, no lock. A fourth contender is ExifTool kept running
// and given, besides each file's change, the reads that prove it (the
// changed tag read back; for a strip, the file read before and after),
// with the arguments our engine gives those reads: the least any change
// that checks its result costs, whoever drives ExifTool. Prints figures and ratios; asserts
// nothing.

#include "BenchSupport.h"

#include "MetaloomFeature/Engine/Dialect/ChangeReadBack.h"
#include "MetaloomFeature/Engine/Dialect/MetadataJson.h"
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>

#include <cstdio>
#include <functional>

using namespace Metaloom;
using namespace Metaloom::Bench;
using namespace Metaloom::Testing;

namespace {

constexpr int fileCount = 100;

QString exifToolFolder()
{
    return realBundle().directory() + QStringLiteral("/ExifTool");
}

QProcessEnvironment exifToolEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PERL5LIB"), exifToolFolder() + QStringLiteral("/lib/perl5"));
    return environment;
}

// One ExifTool kept running by hand: arguments one per line, "-execute",
// and its answer read up to "{ready}".
class StayOpenExifTool {
public:
    StayOpenExifTool()
    {
        m_process.setProcessEnvironment(exifToolEnvironment());
        m_process.start(exifToolFolder() + QStringLiteral("/exiftool"),
                        {QStringLiteral("-stay_open"), QStringLiteral("True"), QStringLiteral("-@"),
                         QStringLiteral("-")});
        m_process.waitForStarted(-1);
    }
    ~StayOpenExifTool()
    {
        m_process.write("-stay_open\nFalse\n");
        m_process.closeWriteChannel();
        m_process.waitForFinished(-1);
    }

    QByteArray run(const QStringList &arguments)
    {
        QByteArray request;
        for (const QString &argument : arguments)
            request += argument.toUtf8() + '\n';
        request += "-execute\n";
        m_process.write(request);
        QByteArray answer;
        while (!answer.endsWith("{ready}\n")) {
            m_process.waitForReadyRead(-1);
            answer += m_process.readAllStandardOutput();
        }
        m_process.readAllStandardError();
        return answer;
    }

private:
    QProcess m_process;
};

void runOneCommand(const QStringList &arguments)
{
    QProcess process;
    process.setProcessEnvironment(exifToolEnvironment());
    process.start(exifToolFolder() + QStringLiteral("/exiftool"), arguments);
    process.waitForFinished(-1);
}

// A 12-megapixel photo with a camera's metadata, about as large as a camera
// JPEG (noise keeps the compression from shrinking it).
QString makeCameraJpeg(const QString &folder)
{
    const QString path = folder + QStringLiteral("/camera.jpg");
    QImage image(4000, 3000, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int noise = int(random.bounded(34));
            line[x] = qRgb((x / 16 + noise) & 0xff, (y / 12 + noise) & 0xff, (x + y) / 28 & 0xff);
        }
    }
    image.save(path, "JPEG", 80);
    runOneCommand({QStringLiteral("-overwrite_original"), QStringLiteral("-tagsFromFile"),
                   testDataFolder() + QStringLiteral("/Canon.jpg"), QStringLiteral("-all:all"),
                   path});
    return path;
}

// Fresh copies of the source for one contender, so each starts from the
// same bytes.
QStringList copiesOf(const QString &source, const QString &folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < fileCount; ++i) {
        const QString path = folder + QStringLiteral("/%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        QFile::copy(source, path);
        paths << path;
    }
    return paths;
}

// Time taken by work, added to a running total in nanoseconds.
template <typename Work> void timed(qint64 &total, Work &&work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    total += timer.nsecsElapsed();
}

double millisecondsPerFile(qint64 nanoseconds)
{
    return double(nanoseconds) / 1e6 / fileCount;
}

struct Operation {
    const char *name;
    // ExifTool's own arguments for the operation, before the file names.
    QStringList exifToolArguments;
    // The reads that prove the change, of the file before it and after it.
    QStringList proofBefore;
    QStringList proofAfter;
    std::function<bool(ExifToolService &, const QString &)> ours;
    // Untimed, before ours: what the window did with each file before.
    std::function<void(ExifToolService &, const QString &)> before = {};
};

// This machine's speed drifts by more than the differences measured, so
// the contenders take turns file by file, and ExifTool's single command runs
// once before and once after them.
void compare(const QString &label, const QString &source, const QString &folder,
             const Operation &operation)
{
    ExifToolService service(realBundle());
    // Start the kept processes before measuring, as a running window has.
    (void)runTask(service.readMetadata(QUrl::fromLocalFile(source)));
    StayOpenExifTool kept;
    (void)kept.run({QStringLiteral("-ver")});

    const QStringList ourFiles = copiesOf(source, folder + QStringLiteral("/ours"));
    const QStringList keptFiles = copiesOf(source, folder + QStringLiteral("/stay-open"));
    const QStringList provedFiles = copiesOf(source, folder + QStringLiteral("/proved"));
    if (operation.before) {
        for (const QString &file : ourFiles)
            operation.before(service, file);
    }
    const bool proves = !operation.proofBefore.isEmpty() || !operation.proofAfter.isEmpty();
    const auto runKept = [&](const QStringList &arguments, const QString &file) {
        if (!arguments.isEmpty())
            (void)kept.run(QStringList(arguments) << file);
    };
    bool failed = false;
    qint64 ours = 0;
    qint64 stayOpen = 0;
    qint64 proved = 0;
    for (int i = 0; i < fileCount; ++i) {
        timed(ours, [&] { failed = !operation.ours(service, ourFiles.at(i)) || failed; });
        timed(stayOpen, [&] { runKept(operation.exifToolArguments, keptFiles.at(i)); });
        if (proves) {
            timed(proved, [&] {
                runKept(operation.proofBefore, provedFiles.at(i));
                runKept(operation.exifToolArguments, provedFiles.at(i));
                runKept(operation.proofAfter, provedFiles.at(i));
            });
        }
    }
    qint64 oneCommand = 0;
    for (const char *round : {"/one-command", "/one-command-again"}) {
        const QStringList files = copiesOf(source, folder + QLatin1String(round));
        timed(oneCommand,
              [&] { runOneCommand(QStringList(operation.exifToolArguments) << files); });
    }
    const double oursPerFile = millisecondsPerFile(ours);
    const double keptPerFile = millisecondsPerFile(stayOpen);
    const double oneCommandPerFile = millisecondsPerFile(oneCommand) / 2;
    std::printf("%-6s %-24s ours %6.1f ms/file | exiftool -stay_open %6.1f (x%.2f) | one "
                "command %6.1f (x%.2f)%s\n",
                operation.name, qPrintable(label), oursPerFile, keptPerFile,
                oursPerFile / keptPerFile, oneCommandPerFile, oursPerFile / oneCommandPerFile,
                failed ? "  [some of ours FAILED]" : "");
    if (proves) {
        const double provedPerFile = millisecondsPerFile(proved);
        std::printf("%-6s %-24s      %6s         | exiftool and its proof %6.1f (x%.2f)\n", "", "",
                    "", provedPerFile, oursPerFile / provedPerFile);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    TestEnvironment environment;
    const QString work = environment.workPath();
    const QString canon = copyTestData(QStringLiteral("Canon.jpg"), work);
    const QString camera = makeCameraJpeg(work);

    const auto provedStrip = [](ExifToolService &service, const QString &file) {
        return runTask(
                   service.stripForSharing(QUrl::fromLocalFile(file), StripProfile::everything()))
            .succeeded();
    };
    // The reads that prove a change, as our engine asks for them: the set
    // tag read back, and a strip's reads of the file before and after.
    const QStringList setKeys{QStringLiteral("XMP-dc:Title")};
    const QStringList setReadBack = ChangeReadBack::arguments(
        ChangeReadBack::planFor(setKeys), {}, {}, ChangeReadBack::readsWithoutMakerNotes(setKeys));
    const QStringList fullRead = MetadataJson::storedTagsReadArguments({});
    const QList<Operation> operations{
        {"set",
         {QStringLiteral("-P"), QStringLiteral("-overwrite_original"),
          QStringLiteral("-XMP-dc:Title=Bench")},
         {},
         setReadBack,
         [](ExifToolService &service, const QString &file) {
             return runTask(service.applyOverrides(
                                {{QStringLiteral("XMP-dc:Title"), QStringLiteral("Bench")}},
                                QUrl::fromLocalFile(file)))
                 .succeeded();
         }},
        {"strip",
         {QStringLiteral("-P"), QStringLiteral("-overwrite_original"), QStringLiteral("-all=")},
         fullRead,
         fullRead,
         [](ExifToolService &service, const QString &file) {
             return runTask(service.removeAllMetadata(QUrl::fromLocalFile(file))).succeeded();
         }},
        // The window's Remove Metadata: the strip with its privacy check
        // before and after (the proof), against ExifTool's bare strip.
        {"proved",
         {QStringLiteral("-P"), QStringLiteral("-overwrite_original"), QStringLiteral("-all=")},
         fullRead,
         fullRead,
         provedStrip},
        // The same, of files the window has shown: their tags were read.
        {"shown",
         {QStringLiteral("-P"), QStringLiteral("-overwrite_original"), QStringLiteral("-all=")},
         {},
         fullRead,
         provedStrip,
         [](ExifToolService &service, const QString &file) {
             (void)runTask(service.readMetadata(QUrl::fromLocalFile(file)));
         }},
        {"read",
         MetadataJson::readArguments({}),
         {},
         {},
         [](ExifToolService &service, const QString &file) {
             return runTask(service.readMetadata(QUrl::fromLocalFile(file))).succeeded();
         }},
    };
    // Names given on the command line pick operations ("set strip"), for a
    // closer look at one of them.
    const QStringList chosen = application.arguments().mid(1);
    std::printf("%d files each; ratios are ours / theirs (lower is better)\n", fileCount);
    for (const Operation &operation : operations) {
        if (!chosen.isEmpty() && !chosen.contains(QLatin1String(operation.name)))
            continue;
        compare(QStringLiteral("Canon sample (%1 KB)").arg(QFileInfo(canon).size() / 1024), canon,
                work + QStringLiteral("/canon"), operation);
        compare(QStringLiteral("12 MP JPEG (%1 MB)")
                    .arg(double(QFileInfo(camera).size()) / 1e6, 0, 'f', 1),
                camera, work + QStringLiteral("/camera"), operation);
    }
    return 0;
}
