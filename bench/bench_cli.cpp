// metaloom-cli over 100 small JPEGs, timed as a script would see it (the
// whole run, from starting the program to its end), beside the window's
// preset over the same files and beside ExifTool itself: one command for
// all 100 files, and one ExifTool started per file as a shell loop does.
// ExifTool by hand uses "-P -overwrite_original": no read-back, no sync, no
// lock. Prints figures and ratios; asserts nothing.

#include "BenchSupport.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QProcess>

#include <cstdio>
#include <functional>

using namespace Metaloom;
using namespace Metaloom::Bench;
using namespace Metaloom::Testing;

namespace {

constexpr int fileCount = 100;
constexpr int rounds = 3;

QString exifToolFolder()
{
    return realBundle().directory() + QStringLiteral("/ExifTool");
}

double runMilliseconds(const QString &program, const QStringList &arguments,
                       const QProcessEnvironment &environment, int *exitCode = nullptr)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    process.waitForFinished(-1);
    const double elapsed = double(timer.nsecsElapsed()) / 1e6;
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return elapsed;
}

QProcessEnvironment exifToolEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PERL5LIB"), exifToolFolder() + QStringLiteral("/lib/perl5"));
    return environment;
}

// 100 fresh copies of the source in the folder, so each contender starts
// from the same bytes.
QStringList copiesOf(const QString &source, const QString &folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    QStringList paths;
    for (int i = 0; i < fileCount; ++i) {
        const QString path = folder + QStringLiteral("/%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        QFile::copy(source, path);
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::WriteOwner);
        paths << path;
    }
    return paths;
}

// The median of `rounds` runs, each on fresh copies.
double medianOf(const QString &source, const QString &folder,
                const std::function<double(const QString &, const QStringList &)> &work)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        const QStringList files = copiesOf(source, folder);
        times.push_back(work(folder, files));
    }
    return median(times);
}

// The window's preset: every file imported, then Apply Preset, until the
// library is no longer busy.
double windowPresetMilliseconds(const QStringList &files)
{
    ExifToolService service(realBundle());
    LibraryViewModel library(MetadataEngine::over(&service));
    QList<QUrl> urls;
    for (const QString &file : files)
        urls << QUrl::fromLocalFile(file);
    library.importItems(urls);
    waitFor(
        &library, &LibraryViewModel::isBusyChanged, [&] { return !library.isBusy(); }, 60000);
    QElapsedTimer timer;
    timer.start();
    library.applyPreset({QUuid::createUuid(), QStringLiteral("Bench"),
                         PresetAction::addOrModifyMetadata({{"XMP-dc:Title", "Bench"}})});
    waitFor(
        &library, &LibraryViewModel::isBusyChanged, [&] { return !library.isBusy(); }, 600000);
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Operation {
    const char *name;
    QStringList cliArguments;      // before the folder
    QStringList exifToolArguments; // before the files
};

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    TestEnvironment environment;
    const QString work = environment.workPath();
    const QString cli = QStringLiteral(METALOOM_CLI);
    const QString exifTool = exifToolFolder() + QStringLiteral("/exiftool");
    const QString source = copyTestData(QStringLiteral("Canon.jpg"), work);
    const QProcessEnvironment plain = QProcessEnvironment::systemEnvironment();

    const QList<Operation> operations{
        {"set",
         {QStringLiteral("set"), QStringLiteral("--tag"), QStringLiteral("XMP-dc:Title=Bench")},
         {QStringLiteral("-P"), QStringLiteral("-overwrite_original"),
          QStringLiteral("-XMP-dc:Title=Bench")}},
        {"strip",
         {QStringLiteral("strip")},
         {QStringLiteral("-P"), QStringLiteral("-overwrite_original"), QStringLiteral("-all=")}},
        {"read",
         {QStringLiteral("read")},
         {QStringLiteral("-json"), QStringLiteral("-G:1"), QStringLiteral("-all")}},
    };
    std::printf("%d copies of the Canon sample (%lld KB) each, median of %d runs; whole runs "
                "from start to end; ratios are metaloom-cli / the other\n",
                fileCount, QFileInfo(source).size() / 1024, rounds);
    for (const Operation &operation : operations) {
        int failures = 0;
        const double ours = medianOf(
            source, work + QStringLiteral("/cli"), [&](const QString &folder, const QStringList &) {
                int exitCode = 0;
                const double elapsed = runMilliseconds(
                    cli, QStringList(operation.cliArguments) << folder, plain, &exitCode);
                failures += exitCode == 0 ? 0 : 1;
                return elapsed;
            });
        const double oneCommand = medianOf(
            source, work + QStringLiteral("/one"), [&](const QString &, const QStringList &files) {
                return runMilliseconds(exifTool, QStringList(operation.exifToolArguments) << files,
                                       exifToolEnvironment());
            });
        // Once: it takes long.
        const QStringList files = copiesOf(source, work + QStringLiteral("/each"));
        QElapsedTimer timer;
        timer.start();
        for (const QString &file : files)
            runMilliseconds(exifTool, QStringList(operation.exifToolArguments) << file,
                            exifToolEnvironment());
        const double perFile = double(timer.nsecsElapsed()) / 1e6;

        std::printf("%-5s metaloom-cli %6.0f ms (%4.1f ms/file) | exiftool, one command %6.0f ms "
                    "(x%.2f) | exiftool per file %6.0f ms (x%.2f)%s\n",
                    operation.name, ours, ours / fileCount, oneCommand, ours / oneCommand, perFile,
                    ours / perFile, failures ? "  [metaloom-cli FAILED]" : "");
        if (QLatin1String(operation.name) == QLatin1String("set")) {
            const double window =
                windowPresetMilliseconds(copiesOf(source, work + QStringLiteral("/window")));
            std::printf("      the window's preset with the same value over the same files: %.0f "
                        "ms (metaloom-cli x%.2f)\n",
                        window, ours / window);
        }
    }
    return 0;
}
