#include "SymbolIcons.h"

#include <QHash>
#include <QIcon>
#include <QPainter>
#include <QStringList>

// Static libraries drop resources nobody names; this pulls them in.
static void loadCatalogResources()
{
    Q_INIT_RESOURCE(vossa_apps);
}

namespace VossaApps {

namespace {

struct Symbol {
    QStringList themeNames;
    QString bundled;
};

const QHash<QString, Symbol> &symbols()
{
    static const QHash<QString, Symbol> table{
        {QStringLiteral("wifi.exclamationmark"),
         {{QStringLiteral("network-wireless-no-route-symbolic"),
           QStringLiteral("network-wireless-offline-symbolic"),
           QStringLiteral("network-error-symbolic")},
          QStringLiteral(":/vossa-apps/wifi-exclamationmark.svg")}},
    };
    return table;
}

} // namespace

QPixmap tintedSymbol(const QStringList &themeNames, const QString &bundledPath, int size,
                     const QColor &color, qreal devicePixelRatio)
{
    QIcon icon;
    for (const QString &name : themeNames) {
        if (QIcon::hasThemeIcon(name)) {
            icon = QIcon::fromTheme(name);
            break;
        }
    }
    if (icon.isNull())
        icon = QIcon(bundledPath);
    const QPixmap shape = icon.pixmap(QSize(size, size), devicePixelRatio);
    if (shape.isNull())
        return {};
    // Only the shape's coverage is kept; the colour is ours, as for a symbol.
    QPixmap tinted(shape.size());
    tinted.setDevicePixelRatio(shape.devicePixelRatio());
    tinted.fill(Qt::transparent);
    QPainter painter(&tinted);
    painter.drawPixmap(0, 0, shape);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRect(QPoint(0, 0), shape.size()), color);
    return tinted;
}

QPixmap symbolPixmap(const QString &name, int size, const QColor &color, qreal devicePixelRatio)
{
    const auto it = symbols().constFind(name);
    if (it == symbols().cend())
        return {};
    loadCatalogResources();
    return tintedSymbol(it->themeNames, it->bundled, size, color, devicePixelRatio);
}

} // namespace VossaApps
