#include "MetaloomFeature/Views/Kit/SoftShadow.h"

#include <QPainter>

namespace Metaloom {

void paintSoftShadow(QPainter &painter, const QRectF &card, qreal radius, int spread,
                     qreal strength, int offset, int step)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    for (int distance = spread; distance > 0; distance -= step) {
        const qreal alpha = strength * (1.0 - qreal(distance) / (spread + 1));
        painter.setBrush(QColor(0, 0, 0, qRound(255 * alpha)));
        painter.drawRoundedRect(
            card.adjusted(-distance, -distance + offset, distance, distance + offset),
            radius + distance, radius + distance);
    }
    painter.restore();
}

} // namespace Metaloom
