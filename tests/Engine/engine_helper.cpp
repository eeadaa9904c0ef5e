// A second process of ours for the engine tests, which kill it at chosen
// moments or run two of it against one file.
//   engine_helper rewrite TARGET OUTPUT   rewrites TARGET in place with OUTPUT's
//                                         bytes; prints "ready" first, "done MS" last
//   engine_helper change BUNDLE TARGET KEY VALUE
//                                         sets one tag; BUNDLE is a bundle folder
//                                         or "real"; exit status 0 on success

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/FileSafety/FileReplacement.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <cstdio>

using namespace Metaloom;

static int run(const QStringList &arguments)
{
    if (arguments.size() == 3 && arguments.at(0) == QLatin1String("rewrite")) {
        std::puts("ready");
        std::fflush(stdout);
        QElapsedTimer timer;
        timer.start();
        FileReplacement::replaceOriginal(arguments.at(1), arguments.at(2), std::nullopt,
                                         FileReplacement::Strategy::rewriteInPlace);
        std::printf("done %lld\n", static_cast<long long>(timer.elapsed()));
        return 0;
    }
    if (arguments.size() == 5 && arguments.at(0) == QLatin1String("change")) {
        ExifToolService service(arguments.at(1) == QLatin1String("real")
                                    ? Testing::realBundle()
                                    : ResourceBundle(arguments.at(1)));
        const auto outcome =
            Testing::runTask(service.applyOverrides({{arguments.at(3), arguments.at(4)}},
                                                    QUrl::fromLocalFile(arguments.at(2))),
                             std::chrono::minutes(5));
        std::fputs(qPrintable(outcome.errorMessage()), stderr);
        return outcome.succeeded() ? 0 : 1;
    }
    std::fputs("usage: see the head of engine_helper.cpp\n", stderr);
    return 2;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    try {
        return run(app.arguments().mid(1));
    } catch (const Error &error) {
        std::fputs(qPrintable(error.localizedDescription()), stderr);
        return 1;
    }
}
