#pragma once

#include "StyleKit/Style.h"

#include <QColor>
#include <QFont>
#include <QPalette>

// The catalog's own text styles, drawn from the shared style kit (its sizes
// as on a Mac, scaled to the desktop's font).
namespace VossaApps::CatalogStyle {

inline QFont title(const QFont &base)
{
    return StyleKit::scaled(base, 22);
}
inline QFont headline(const QFont &base)
{
    return StyleKit::scaled(base, 13, QFont::Bold);
}
inline QFont callout(const QFont &base)
{
    return StyleKit::scaled(base, 12);
}
inline QFont caption(const QFont &base)
{
    return StyleKit::scaled(base, 10);
}
// The application names in the rows.
inline QFont rowTitle(const QFont &base)
{
    return StyleKit::scaled(base, 14, QFont::DemiBold);
}

// The fill behind controls such as the rows.
inline QColor controlBackground(const QPalette &palette)
{
    return palette.color(QPalette::Base);
}

} // namespace VossaApps::CatalogStyle
