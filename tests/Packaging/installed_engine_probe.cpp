// Stands in for the installed program's engine. Copied into an install
// tree's bin/ folder, it finds the resource bundle the way the program does,
// reads a photo, sets its title and reads it back:
//   installed_engine_probe <photo> <title>
// and prints the bundle's folder and the title read back, one per line.
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "tests/support/TaskRunner.h"

#include <QCoreApplication>

#include <cstdio>

using namespace Metaloom;
using namespace Metaloom::Testing;

namespace {

const QString titleKey = QStringLiteral("XMP-dc:Title");

int fail(const char *step, const QString &message)
{
    std::fprintf(stderr, "%s failed: %s\n", step, qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return fail("reading the arguments", QStringLiteral("expected <photo> <title>"));
    const QUrl photo = QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1]));
    const QString title = QString::fromLocal8Bit(argv[2]);

    ExifToolService engine; // the application's own bundle
    const auto before = runTask(engine.readMetadata(photo));
    if (!before.succeeded() || before.value->isEmpty())
        return fail("reading", before.errorMessage());
    const auto written = runTask(engine.applyOverrides({{titleKey, title}}, photo));
    if (!written.succeeded())
        return fail("writing", written.errorMessage());
    const auto after = runTask(engine.readMetadata(photo));
    if (!after.succeeded())
        return fail("reading back", after.errorMessage());

    QString titleRead;
    for (const MetadataEntry &entry : *after.value) {
        if (entry.rawKey == titleKey)
            titleRead = entry.value;
    }
    std::printf("%s\n%s\n", qPrintable(engine.bundle().directory()), qPrintable(titleRead));
    return 0;
}
