#include "Style.h"

#include <algorithm>

namespace StyleKit {

QFont scaled(const QFont &base, qreal macPoints, QFont::Weight weight)
{
    QFont font = base;
    constexpr qreal macBody = 13.0;
    // Below 7.5 points text stops being readable on a desktop screen.
    constexpr qreal smallest = 7.5;
    if (base.pointSizeF() > 0)
        font.setPointSizeF(std::max(smallest, base.pointSizeF() * macPoints / macBody));
    else
        font.setPixelSize(std::max(10, qRound(base.pixelSize() * macPoints / macBody)));
    font.setWeight(weight);
    return font;
}

QColor secondaryText(const QPalette &palette)
{
    return withOpacity(palette.color(QPalette::WindowText), 0.6);
}

QColor withOpacity(QColor color, qreal opacity)
{
    color.setAlphaF(color.alphaF() * opacity);
    return color;
}

} // namespace StyleKit
