// Stands in for the installed program's engine. Copied into an install
// tree's bin/ folder, it finds the resource bundle the way the program does,
// sets a photo's title and reads it back:
//   installed_engine_probe <photo> <title>
// and prints the ExifTool folder it ran and the title read, one per line.
#include "MetaloomFeature/Engine/ExifToolService.h"
#include "tests/support/TaskRunner.h"

#include <QCoreApplication>

#include <cstdio>

using namespace Metaloom;
using namespace Metaloom::Testing;

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 3)
        return 64;
    const QUrl photo = QUrl::fromLocalFile(QString::fromLocal8Bit(argv[1]));
    const QString titleKey = QStringLiteral("XMP-dc:Title");

    ExifToolService engine; // the application's own bundle
    const auto written =
        runTask(engine.applyOverrides({{titleKey, QString::fromLocal8Bit(argv[2])}}, photo));
    const auto read = runTask(engine.readMetadata(photo));
    if (!written.succeeded() || !read.succeeded()) {
        std::fprintf(stderr, "%s%s\n", qPrintable(written.errorMessage()),
                     qPrintable(read.errorMessage()));
        return 1;
    }
    QString title;
    for (const MetadataEntry &entry : *read.value) {
        if (entry.rawKey == titleKey)
            title = entry.value;
    }
    std::printf("%s\n%s\n",
                qPrintable(*engine.bundle().pathForResource(QStringLiteral("ExifTool"))),
                qPrintable(title));
    return 0;
}
