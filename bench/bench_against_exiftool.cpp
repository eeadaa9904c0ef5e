// Metaloom's engine side by side with ExifTool itself, in one run on the same
// files: a change of one tag, strip-all and a read of 100 files, each done
// by our engine (every safety step kept), by one ExifTool kept running with
// "-stay_open" and given one file a command, and by one ExifTool command for
// all 100 files. ExifTool by hand uses "-P -overwrite_original": no
// read-back, no sync, no lock. Prints figures and ratios; asserts nothing.

#include "BenchSupport.h"

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

double millisecondsPerFile(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6 / fileCount;
}

struct Operation {
    const char *name;
    // ExifTool's own arguments for the operation, before the file names.
    QStringList exifToolArguments;
    std::function<bool(ExifToolService &, const QString &)> ours;
    // Untimed, before ours: what the window did with each file before.
    std::function<void(ExifToolService &, const QString &)> before = {};
};

void compare(const QString &label, const QString &source, const QString &folder,
             const Operation &operation)
{
    ExifToolService service(realBundle());
    // Start the kept processes before measuring, as a running window has.
    (void)runTask(service.readMetadata(QUrl::fromLocalFile(source)));

    QStringList files = copiesOf(source, folder + QStringLiteral("/ours"));
    if (operation.before) {
        for (const QString &file : files)
            operation.before(service, file);
    }
    bool failed = false;
    const double ours = millisecondsPerFile([&] {
        for (const QString &file : files)
            failed = !operation.ours(service, file) || failed;
    });

    files = copiesOf(source, folder + QStringLiteral("/stay-open"));
    StayOpenExifTool kept;
    (void)kept.run({QStringLiteral("-ver")});
    const double stayOpen = millisecondsPerFile([&] {
        for (const QString &file : files)
            (void)kept.run(QStringList(operation.exifToolArguments) << file);
    });

    files = copiesOf(source, folder + QStringLiteral("/one-command"));
    const double oneCommand = millisecondsPerFile(
        [&] { runOneCommand(QStringList(operation.exifToolArguments) << files); });

    std::printf("%-6s %-24s ours %6.1f ms/file | exiftool -stay_open %6.1f (x%.2f) | one "
                "command %6.1f (x%.2f)%s\n",
                operation.name, qPrintable(label), ours, stayOpen, ours / stayOpen, oneCommand,
                ours / oneCommand, failed ? "  [some of ours FAILED]" : "");
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
    const QList<Operation> operations{
        {"set",
         {QStringLiteral("-P"), QStringLiteral("-overwrite_original"),
          QStringLiteral("-XMP-dc:Title=Bench")},
         [](ExifToolService &service, const QString &file) {
             return runTask(service.applyOverrides(
                                {{QStringLiteral("XMP-dc:Title"), QStringLiteral("Bench")}},
                                QUrl::fromLocalFile(file)))
                 .succeeded();
         }},
        {"strip",
         {QStringLiteral("-P"), QStringLiteral("-overwrite_original"), QStringLiteral("-all=")},
         [](ExifToolService &service, const QString &file) {
             return runTask(service.removeAllMetadata(QUrl::fromLocalFile(file))).succeeded();
         }},
        // The window's Remove Metadata: the strip with its privacy check
        // before and after (the proof), against ExifTool's bare strip.
        {"proved",
         {QStringLiteral("-P"), QStringLiteral("-overwrite_original"), QStringLiteral("-all=")},
         provedStrip},
        // The same, of files the window has shown: their tags were read.
        {"shown",
         {QStringLiteral("-P"), QStringLiteral("-overwrite_original"), QStringLiteral("-all=")},
         provedStrip,
         [](ExifToolService &service, const QString &file) {
             (void)runTask(service.readMetadata(QUrl::fromLocalFile(file)));
         }},
        {"read",
         {QStringLiteral("-json"), QStringLiteral("-G:1"), QStringLiteral("-all")},
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
