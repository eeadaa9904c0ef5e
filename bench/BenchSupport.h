#pragma once

#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <vector>

// Measuring helpers shared by the benchmark programs.
namespace Metaloom::Bench {

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// ExifTool run the way a user would from a shell: same script, same library,
// same arguments, output read to the end.
inline double byHandMilliseconds(const QStringList &arguments, QByteArray *output = nullptr)
{
    const QString folder = Testing::realBundle().directory() + QStringLiteral("/ExifTool");
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

// Measures the longest gap between ticks of a 5 ms timer on the main thread
// while it lives: how long the event loop was kept from running.
class StallMeter {
public:
    StallMeter()
    {
        m_clock.start();
        m_last = 0;
        m_ticker.setInterval(5);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
        m_ticker.start();
    }
    double longestMilliseconds() const { return double(m_longest) / 1e6; }

private:
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
    QTimer m_ticker;
};

// Runs the event loop until the condition holds, checked each time `sender`
// emits `signal`. (QTest::qWaitFor sleeps 10 ms between its rounds, which
// would be counted in every figure measured while it waits.)
template <typename Sender, typename Signal, typename Condition>
bool waitFor(Sender *sender, Signal signal, Condition condition, int timeoutMilliseconds)
{
    if (condition())
        return true;
    bool met = false;
    QEventLoop loop;
    QObject::connect(sender, signal, &loop, [&] {
        if (condition()) {
            met = true;
            loop.quit();
        }
    });
    QTimer::singleShot(timeoutMilliseconds, &loop, &QEventLoop::quit);
    loop.exec();
    return met;
}

// Longest main-thread stall while the task ran.
template <typename T> double longestMainThreadStall(QCoro::Task<T> task, QString *error)
{
    StallMeter meter;
    const auto outcome = Testing::runTask(std::move(task));
    if (error)
        *error = outcome.errorMessage();
    return meter.longestMilliseconds();
}

// `count` small JPEGs (640×480, no metadata) in a new subfolder of `folder`.
inline QList<QUrl> makeSmallJpegs(const QString &folder, const QString &subfolder, int count)
{
    QDir(folder).mkpath(subfolder);
    QImage small(640, 480, QImage::Format_RGB32);
    small.fill(QColor(30, 120, 200));
    QList<QUrl> urls;
    for (int i = 0; i < count; ++i) {
        const QString path = folder + u'/' + subfolder +
                             QStringLiteral("/small%1.jpg").arg(i, 3, 10, QLatin1Char('0'));
        small.save(path, "jpg", 85);
        urls.append(QUrl::fromLocalFile(path));
    }
    return urls;
}

} // namespace Metaloom::Bench
