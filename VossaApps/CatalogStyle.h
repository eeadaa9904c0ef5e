#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

// Fonts and colours shared by the catalog's views. Sizes are given as on a
// Mac, where body text is 13 points, and scaled to the desktop's own font, so
// the catalog keeps its proportions at any font setting.
namespace VossaApps::CatalogStyle {

QFont scaled(const QFont &base, qreal macPoints, QFont::Weight weight = QFont::Normal);

inline QFont title(const QFont &base)
{
    return scaled(base, 22);
}
inline QFont headline(const QFont &base)
{
    return scaled(base, 13, QFont::Bold);
}
inline QFont callout(const QFont &base)
{
    return scaled(base, 12);
}
inline QFont caption(const QFont &base)
{
    return scaled(base, 10);
}
// The application names in the rows.
inline QFont rowTitle(const QFont &base)
{
    return scaled(base, 14, QFont::DemiBold);
}

// Text of lesser importance: the primary text colour, faded.
QColor secondaryText(const QPalette &palette);
// The fill behind controls such as the rows.
QColor controlBackground(const QPalette &palette);
// A colour at a fraction of its own opacity.
QColor withOpacity(QColor color, qreal opacity);

} // namespace VossaApps::CatalogStyle
