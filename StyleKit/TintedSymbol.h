#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QStringList>

namespace StyleKit {

// A picture drawn in one colour like a symbol, at the given size in
// device-independent pixels: the first of the theme's names the desktop's
// icon theme has, otherwise the drawing at `bundledPath` (a resource path),
// with only its shape kept and filled in the colour. Null when neither
// exists.
QPixmap tintedSymbol(const QStringList &themeNames, const QString &bundledPath, int size,
                     const QColor &color, qreal devicePixelRatio);

} // namespace StyleKit
