#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>

namespace VossaApps {

// The picture for one of the catalog's symbols ("wifi.exclamationmark"), at
// the given size in device-independent pixels, drawn in one colour like a
// symbol. It comes from the desktop's icon theme when that has a monochrome
// one, otherwise from the drawings bundled with the program.
QPixmap symbolPixmap(const QString &symbol, int size, const QColor &color, qreal devicePixelRatio);

} // namespace VossaApps
