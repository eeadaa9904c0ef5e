// Renders the application's SVG icon as a square PNG of the given size, for
// the fixed-size folders of the icon theme:
//   metaloom_icon_renderer <icon.svg> <size> <output.png>
// The drawing is rasterised at the target size (not scaled down from a large
// bitmap), so small sizes stay sharp. Qt reads SVG through its image format
// plugin (Debian package libqt6svg6).
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <cstdio>
#include <cstdlib>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "metaloom_icon_renderer: %s\n", qPrintable(message));
    return EXIT_FAILURE;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4)
        return fail(QStringLiteral("usage: metaloom_icon_renderer <icon.svg> <size> <output.png>"));
    const QString input = arguments.at(1);
    bool sizeIsNumber = false;
    const int size = arguments.at(2).toInt(&sizeIsNumber);
    const QString output = arguments.at(3);
    if (!sizeIsNumber || size <= 0 || size > 4096)
        return fail(
            QStringLiteral("the size must be a number of pixels, not '%1'").arg(arguments.at(2)));

    QImageReader reader(input, "svg");
    if (!reader.canRead())
        return fail(
            QStringLiteral("cannot read %1 as SVG (is Qt's SVG plugin, libqt6svg6, installed?)")
                .arg(input));
    reader.setScaledSize(QSize(size, size));
    QImage image = reader.read();
    if (image.isNull())
        return fail(QStringLiteral("cannot render %1: %2").arg(input, reader.errorString()));
    image = image.convertToFormat(QImage::Format_ARGB32);

    QDir().mkpath(QFileInfo(output).absolutePath());
    if (!image.save(output, "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(output));
    return EXIT_SUCCESS;
}
