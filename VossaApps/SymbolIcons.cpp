#include "SymbolIcons.h"

#include "StyleKit/TintedSymbol.h"

#include <QHash>
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

QPixmap symbolPixmap(const QString &name, int size, const QColor &color, qreal devicePixelRatio)
{
    const auto it = symbols().constFind(name);
    if (it == symbols().cend())
        return {};
    loadCatalogResources();
    return StyleKit::tintedSymbol(it->themeNames, it->bundled, size, color, devicePixelRatio);
}

} // namespace VossaApps
