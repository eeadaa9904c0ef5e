#include "MetaloomFeature/Views/Kit/SymbolIcons.h"

#include "StyleKit/TintedSymbol.h"

#include <QGuiApplication>
#include <QHash>
#include <QPixmapCache>
#include <QStringList>

// Static libraries drop resources nobody names; this pulls them in.
static void loadViewResources()
{
    Q_INIT_RESOURCE(views);
}

namespace Metaloom {

namespace {

struct Symbol {
    QStringList themeNames;
    QString bundled;
};

Symbol symbol(QStringList themeNames, const char *bundled)
{
    return {std::move(themeNames), QStringLiteral(":/metaloom/%1.svg").arg(QLatin1String(bundled))};
}

const QHash<QString, Symbol> &symbols()
{
    static const QHash<QString, Symbol> table{
        {QStringLiteral("trash"),
         symbol({QStringLiteral("user-trash-symbolic"), QStringLiteral("edit-delete-symbolic")},
                "trash")},
        {QStringLiteral("chevron.down"),
         symbol({QStringLiteral("pan-down-symbolic")}, "chevron-down")},
        {QStringLiteral("chevron.down.circle"), symbol({}, "chevron-down-circle")},
        {QStringLiteral("plus.circle"), symbol({}, "plus-circle")},
        {QStringLiteral("minus.circle"), symbol({}, "minus-circle")},
        {QStringLiteral("line.3.horizontal"),
         symbol({QStringLiteral("open-menu-symbolic")}, "line-3-horizontal")},
        {QStringLiteral("checkmark.circle.fill"), symbol({}, "checkmark-circle-fill")},
        {QStringLiteral("xmark.circle.fill"), symbol({}, "xmark-circle-fill")},
        {QStringLiteral("tag"), symbol({}, "tag")},
        {QStringLiteral("square.stack.3d.up"), symbol({}, "square-stack-3d-up")},
        {QStringLiteral("info.circle"), symbol({QStringLiteral("help-about-symbolic"),
                                                QStringLiteral("dialog-information-symbolic")},
                                               "info-circle")},
        // The main window's symbols.
        {QStringLiteral("plus"), symbol({QStringLiteral("list-add-symbolic")}, "plus")},
        {QStringLiteral("xmark.circle"), symbol({}, "xmark-circle")},
        {QStringLiteral("tray.and.arrow.down"), symbol({}, "tray-and-arrow-down")},
        {QStringLiteral("doc"), symbol({QStringLiteral("text-x-generic-symbolic")}, "doc")},
        {QStringLiteral("photo"), symbol({QStringLiteral("image-x-generic-symbolic")}, "photo")},
        {QStringLiteral("square.and.arrow.down"),
         symbol({QStringLiteral("document-save-symbolic")}, "square-and-arrow-down")},
        {QStringLiteral("arrow.uturn.backward"),
         symbol({QStringLiteral("edit-undo-symbolic")}, "arrow-uturn-backward")},
        {QStringLiteral("arrow.clockwise"),
         symbol({QStringLiteral("view-refresh-symbolic")}, "arrow-clockwise")},
        {QStringLiteral("sidebar.left"),
         symbol({QStringLiteral("sidebar-show-symbolic")}, "sidebar-left")},
        {QStringLiteral("magnifyingglass"),
         symbol({QStringLiteral("edit-find-symbolic"), QStringLiteral("system-search-symbolic")},
                "magnifyingglass")},
        {QStringLiteral("slider.horizontal.3"), symbol({}, "slider-horizontal-3")},
        {QStringLiteral("photo.on.rectangle"), symbol({}, "photo-on-rectangle")},
        {QStringLiteral("folder.badge.plus"),
         symbol({QStringLiteral("folder-new-symbolic")}, "folder-badge-plus")},
        {QStringLiteral("star"), symbol({QStringLiteral("non-starred-symbolic")}, "star")},
        {QStringLiteral("star.fill"), symbol({QStringLiteral("starred-symbolic")}, "star-fill")},
    };
    return table;
}

} // namespace

QPixmap symbolPixmap(const QString &name, int size, const QColor &color, qreal devicePixelRatio)
{
    const auto it = symbols().constFind(name);
    if (it == symbols().cend())
        return {};
    // Rows paint their symbols on every repaint; drawing an SVG each time
    // would cost a long list its smoothness.
    const QString key = QStringLiteral("metaloom-symbol/%1/%2/%3/%4")
                            .arg(name)
                            .arg(size)
                            .arg(color.rgba(), 8, 16)
                            .arg(devicePixelRatio);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    loadViewResources();
    pixmap = StyleKit::tintedSymbol(it->themeNames, it->bundled, size, color, devicePixelRatio);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

QIcon symbolIcon(const QString &name, const QColor &color, int size)
{
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    QIcon icon;
    icon.addPixmap(symbolPixmap(name, size, color, ratio), QIcon::Normal);
    QColor faded = color;
    faded.setAlphaF(color.alphaF() * 0.4);
    icon.addPixmap(symbolPixmap(name, size, faded, ratio), QIcon::Disabled);
    return icon;
}

QIcon applicationIcon()
{
    loadViewResources();
    const QIcon bundled(QStringLiteral(":/metaloom/metaloom.svg"));
    // Installed, the icon sits in the desktop's icon theme under the
    // application's identifier, where a theme may restyle it; the bundled
    // drawing stands in for a program run from its build folder.
    const QString installedName = QGuiApplication::desktopFileName();
    return installedName.isEmpty() ? bundled : QIcon::fromTheme(installedName, bundled);
}

} // namespace Metaloom
