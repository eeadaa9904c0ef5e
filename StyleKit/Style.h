#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

// Fonts and colours shared by the maker's applications and the companion
// apps catalog they all show. Sizes are given as on a Mac, where body text
// is 13 points, and scaled to the desktop's own font, so every view keeps
// its proportions at any font setting. Qt Gui only: no widget, nothing of
// any one application.
namespace StyleKit {

QFont scaled(const QFont &base, qreal macPoints, QFont::Weight weight = QFont::Normal);

// Text of lesser importance: the primary text colour, faded.
QColor secondaryText(const QPalette &palette);
// A colour at a fraction of its own opacity.
QColor withOpacity(QColor color, qreal opacity);

} // namespace StyleKit
