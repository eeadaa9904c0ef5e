#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace Metaloom {

// The sheets' symbols ("trash", "plus.circle", ...), drawn in one colour like
// a symbol: from the desktop's icon theme when it has a monochrome one,
// otherwise from the drawings bundled with the program. Unknown names give
// an empty picture.
QPixmap symbolPixmap(const QString &symbol, int size, const QColor &color, qreal devicePixelRatio);

// The same as an icon for buttons, in the colour given, with a faded variant
// for the disabled state.
QIcon symbolIcon(const QString &symbol, const QColor &color, int size = 16);

// The application's own icon: the icon theme's, named after the desktop
// entry, or the bundled drawing.
QIcon applicationIcon();

} // namespace Metaloom
