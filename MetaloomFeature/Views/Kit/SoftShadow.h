#pragma once

#include <QRectF>

class QPainter;

namespace Metaloom {

// A soft black shadow under a rounded card, as the main window's floating
// parts have it: rounded outlines widening by `step` up to `spread` pixels,
// faintest outside, strongest at the card's edge (`strength` is that alpha),
// shifted down by `offset`. Paint it before the card.
void paintSoftShadow(QPainter &painter, const QRectF &card, qreal radius, int spread,
                     qreal strength, int offset, int step = 1);

} // namespace Metaloom
