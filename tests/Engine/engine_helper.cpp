// A stand-in for a second Metaloom process in the engine tests, which kill it
// at chosen moments or run two of it against one file.
//
//   engine_helper rewrite TARGET OUTPUT
//       rewrites TARGET in place with OUTPUT's bytes (the path taken where
//       the folder takes no new file); prints "ready" just before.
//   engine_helper change BUNDLE TARGET KEY VALUE
//       sets one tag through the engine; BUNDLE is a resource bundle folder,
//       or "real" for the bundled ExifTool. Exit status 0 on success.

#include "MetaloomFeature/Engine/ExifToolService.h"
#include "MetaloomFeature/Engine/FileReplacement.h"
#include "tests/support/FakeExifToolBundle.h"
#include "tests/support/TaskRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <cstdio>

using namespace Metaloom;

static int rewrite(const QString &target, const QString &output)
{
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    QElapsedTimer timer;
    timer.start();
    FileReplacement::replaceOriginal(target, output, std::nullopt,
                                     FileReplacement::Strategy::rewriteInPlace);
    std::printf("done %lld\n", static_cast<long long>(timer.elapsed()));
    return 0;
}

static int change(const QString &bundle, const QString &target, const QString &key,
                  const QString &value)
{
    ExifToolService service(bundle == QLatin1String("real") ? Testing::realBundle()
                                                            : ResourceBundle(bundle));
    const auto outcome =
        Testing::runTask(service.applyOverrides({{key, value}}, QUrl::fromLocalFile(target)),
                         std::chrono::minutes(5));
    if (!outcome.succeeded()) {
        QTextStream(stderr) << outcome.errorMessage() << '\n';
        return 1;
    }
    return 0;
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    try {
        if (arguments.size() == 3 && arguments.at(0) == QLatin1String("rewrite"))
            return rewrite(arguments.at(1), arguments.at(2));
        if (arguments.size() == 5 && arguments.at(0) == QLatin1String("change"))
            return change(arguments.at(1), arguments.at(2), arguments.at(3), arguments.at(4));
    } catch (const Error &error) {
        QTextStream(stderr) << error.localizedDescription() << '\n';
        return 1;
    }
    QTextStream(stderr) << "usage: engine_helper rewrite TARGET OUTPUT | change BUNDLE TARGET "
                           "KEY VALUE\n";
    return 2;
}
