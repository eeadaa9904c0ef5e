#pragma once

#include "AppsFeed.h"

#include <QColor>
#include <QPalette>
#include <QString>

#include <optional>

namespace VossaApps {

// Reads an entry's colour text: six hexadecimal digits, with or without one
// leading "#", in either case, with white space around them ignored. Anything
// else (three or eight digits, empty text, a non-hexadecimal character) gives
// no colour.
std::optional<QColor> parseAccentColor(const QString &text);

// The entry's own colour, or the toolkit's accent colour when it has none.
QColor accentColor(const AppsFeed::Entry &entry, const QPalette &palette);

} // namespace VossaApps
