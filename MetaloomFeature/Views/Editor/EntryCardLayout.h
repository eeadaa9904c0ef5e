#pragma once

#include "MetaloomFeature/Views/Editor/EntryCard.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <QCoreApplication>
#include <optional>

// Where the parts of an entry's card lie in its row of the metadata editor,
// and what they say: the display name, at most one badge, the favorite star
// and the value box. The editor's delegate paints rows with it, places their
// editors and answers clicks and help requests; nothing here draws.
namespace Metaloom::EntryCardLayout {

struct Badge {
    enum class Kind { Warning, ReadOnly, Checking, Modified };
    Kind kind;
    QString text;
    bool operator==(const Badge &) const = default;
};

// The first that applies: the warning itself, "Read-only", "Checking…"
// (the tag's definition is still awaited), "Modified".
std::optional<Badge> badge(const EntryCard &card);

// "star.fill" for favorites, "star" otherwise.
QString starSymbol(const EntryCard &card);
// "Standard field", "Remove from favorites" or "Add to favorites".
QString starHelpText(const EntryCard &card);
// Default favorites cannot be unpinned from the row.
inline bool isStarEnabled(const EntryCard &card)
{
    return !card.isDefaultFavorite;
}

// The fonts of a row, derived from the view's font.
struct Fonts {
    explicit Fonts(const QFont &base);
    QFont name;
    QFont badge;
    QFont value;
    QFont section;
};

// Where the parts of a row lie inside the rectangle the view gives it.
struct Geometry {
    QRect card;
    QRect name;
    QRect badge; // empty without a badge
    QRect star;
    // The star's clickable area, a little larger than the star itself.
    QRect starTarget;
    QRect valueBox;
    QRect valueText;

    static Geometry of(const QRect &rowRect, const Fonts &fonts, const EntryCard &card);
};

// At most this many lines of a value are shown; the editor scrolls the rest.
constexpr int maximumValueLines = 12;

// The text a row shows for its entry: the value, or the items of a list one
// per line, each after a bullet.
QString shownText(const EntryCard &card);
// A list the user may change ends in a line for the next item.
bool hasNewItemLine(const EntryCard &card);
// What that line says while it is empty.
inline QString newItemPlaceholder()
{
    return QCoreApplication::translate("EntryCardLayout", "Add item");
}

// The width the value's text has in a row of this width.
int valueTextWidth(int rowWidth);
// The lines the value takes when wrapped at word boundaries (or anywhere
// inside a word longer than a line) to this width, as the editor wraps it.
int valueLineCount(const QString &value, const QFont &font, int width);
// The height of an entry row of this width (a list's line for the next
// item included), and of a section header.
int entryRowHeight(const EntryCard &card, const Fonts &fonts, int rowWidth);
int sectionRowHeight(const Fonts &fonts);
// Where a section header's title is drawn.
QRect sectionTitleRect(const QRect &rowRect);

} // namespace Metaloom::EntryCardLayout
