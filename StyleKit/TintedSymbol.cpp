#include "TintedSymbol.h"

#include <QIcon>
#include <QPainter>

namespace StyleKit {

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

} // namespace StyleKit
