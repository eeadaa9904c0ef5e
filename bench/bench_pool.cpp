// The resident ExifTool pool under concurrent work: changes started all at
// once against the same changes one after another (time and processes
// started), and two services (two windows) mixing changes and reads.

#include "BenchSupport.h"

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/Process/ExifToolPool.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"
#include "tests/support/TestEnvironment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

using namespace Metaloom;
using namespace Metaloom::Testing;
using namespace Metaloom::Bench;

namespace {

QList<QUrl> makeJpegs(const QString &folder, int count)
{
    QDir().mkpath(folder);
    QList<QUrl> files;
    for (int i = 0; i < count; ++i) {
        const QString path = folder + QStringLiteral("/%1.jpg").arg(i);
        QImage image(640, 480, QImage::Format_RGB32);
        image.fill(QColor(30 + i, 120, 200));
        image.save(path, "jpg", 85);
        files << QUrl::fromLocalFile(path);
    }
    return files;
}

QMap<QString, QString> overrideFor(int i)
{
    return {{QStringLiteral("XMP-dc:Title"), QStringLiteral("Bench %1").arg(i)},
            {QStringLiteral("IFD0:Artist"), QStringLiteral("Ann %1").arg(i)}};
}

// CPU time of this program and of the ExifTool processes it started and
// waited for: the kept processes are reaped only when stopped, so theirs is
// read from /proc while they run.
double cpuMilliseconds()
{
    struct rusage own {};
    ::getrusage(RUSAGE_SELF, &own);
    const auto ms = [](const timeval &t) {
        return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
    };
    double total = ms(own.ru_utime) + ms(own.ru_stime);
    const double tick = double(::sysconf(_SC_CLK_TCK));
    for (const qint64 pid : ExifToolPool::shared().processIds()) {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 13)
            total += (fields.at(11).toDouble() + fields.at(12).toDouble()) * 1e3 / tick;
    }
    return total;
}

struct Run {
    double milliseconds = 0;
    double cpu = 0;
    int started = 0;
    int mostAtOnce = 0;
    int failed = 0;
};

// Every task is started first (they run until their first wait), then all
// are driven to the end together.
template <typename T> int finishAll(std::vector<QCoro::Task<T>> &tasks)
{
    int failed = 0;
    for (QCoro::Task<T> &task : tasks) {
        const auto outcome = runTask(std::move(task), std::chrono::minutes(10));
        if (!outcome.succeeded()) {
            if (failed++ == 0)
                std::printf("  failed: %s\n", qPrintable(outcome.errorMessage()));
        }
    }
    return failed;
}

Run changes(const QList<QUrl> &files, bool concurrently)
{
    ExifToolPool &pool = ExifToolPool::shared();
    pool.stopAll();
    ExifToolService service(realBundle());
    // A warm pool, as in a window that has already saved a few files: as
    // many changes at once as the pool has room for, so that every process
    // has loaded ExifTool's writing code (of other files, made for it).
    const QList<QUrl> spare = makeJpegs(QFileInfo(files.constFirst().toLocalFile()).absolutePath() +
                                            QStringLiteral("/warm-up"),
                                        pool.maximumProcesses());
    std::vector<QCoro::Task<ChangeReport>> warmUp;
    for (int i = 0; i < spare.size(); ++i)
        warmUp.push_back(service.applyOverrides(overrideFor(i), spare.at(i)));
    finishAll(warmUp);
    pool.resetStatistics();
    Run run;
    const double cpuBefore = cpuMilliseconds();
    QElapsedTimer timer;
    timer.start();
    if (concurrently) {
        std::vector<QCoro::Task<ChangeReport>> tasks;
        for (int i = 0; i < files.size(); ++i)
            tasks.push_back(service.applyOverrides(overrideFor(i), files.at(i)));
        run.failed = finishAll(tasks);
    } else {
        for (int i = 0; i < files.size(); ++i) {
            if (!runTask(service.applyOverrides(overrideFor(i), files.at(i))).succeeded())
                ++run.failed;
        }
    }
    run.milliseconds = double(timer.nsecsElapsed()) / 1e6;
    run.cpu = cpuMilliseconds() - cpuBefore;
    run.started = pool.processesStarted();
    run.mostAtOnce = pool.mostProcessesAtOnce();
    return run;
}

void benchConcurrentChanges(const QString &folder)
{
    const QList<QUrl> files = makeJpegs(folder + QStringLiteral("/twenty"), 20);
    std::vector<double> sequential, concurrent;
    Run lastSequential, lastConcurrent;
    for (int round = 0; round < 5; ++round) {
        lastSequential = changes(files, false);
        lastConcurrent = changes(files, true);
        sequential.push_back(lastSequential.milliseconds);
        concurrent.push_back(lastConcurrent.milliseconds);
    }
    std::printf("20 changes of small JPEGs, one service, pool of %d (median of 5):\n",
                ExifToolPool::shared().maximumProcesses());
    std::printf("  one after another: %.0f ms (CPU %.0f ms), %d processes started, at most %d at "
                "once%s\n",
                median(sequential), lastSequential.cpu, lastSequential.started,
                lastSequential.mostAtOnce, lastSequential.failed ? " (FAILURES)" : "");
    std::printf("  all at once:       %.0f ms (CPU %.0f ms), %d processes started, at most %d at "
                "once%s\n",
                median(concurrent), lastConcurrent.cpu, lastConcurrent.started,
                lastConcurrent.mostAtOnce, lastConcurrent.failed ? " (FAILURES)" : "");
    std::printf("  -> all at once takes %.2f times as long\n",
                median(concurrent) / median(sequential));
}

void benchTwoServicesMixed(const QString &folder)
{
    const QList<QUrl> files = makeJpegs(folder + QStringLiteral("/mixed"), 80);
    ExifToolPool &pool = ExifToolPool::shared();
    pool.stopAll();
    ExifToolService first(realBundle());
    ExifToolService second(realBundle());
    pool.resetStatistics();
    QElapsedTimer timer;
    timer.start();
    std::vector<QCoro::Task<ChangeReport>> writes;
    std::vector<QCoro::Task<QList<MetadataEntry>>> reads;
    for (int i = 0; i < 80; ++i) {
        ExifToolService &service = i % 2 ? first : second;
        writes.push_back(service.applyOverrides(overrideFor(i), files.at(i)));
        if (i % 2 == 0)
            reads.push_back((i % 4 ? second : first).readMetadata(files.at(79 - i)));
    }
    const int failed = finishAll(writes) + finishAll(reads);
    std::printf("two services, 80 changes and 40 reads at once: %.0f ms, %d processes started, "
                "at most %d at once%s\n",
                double(timer.nsecsElapsed()) / 1e6, pool.processesStarted(),
                pool.mostProcessesAtOnce(), failed ? " (FAILURES)" : "");
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    TestEnvironment environment;
    // "bench_pool N" measures with a pool of N processes.
    if (const int size = app.arguments().value(1).toInt(); size > 0)
        ExifToolPool::shared().setMaximumProcesses(size);
    benchConcurrentChanges(environment.workPath());
    benchTwoServicesMixed(environment.workPath());
    return 0;
}
