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

// How the rows are laid out: as cards (name above a value box, the
// default), or compact, one line per tag with the names in a column of
// their own and the value beside them, for reading through many tags.
struct Look {
    bool compact = false;
    // The width of the compact rows' name column, from the row's inset edge.
    int nameColumnWidth = 200;
    bool operator==(const Look &) const = default;
};

// The narrowest the compact name and value columns get.
constexpr int minimumNameColumnWidth = 60;
constexpr int minimumValueColumnWidth = 120;
// The name column's width for a row of this width, kept so both columns
// keep some room whatever the width asked for.
int clampedNameColumnWidth(int asked, int rowWidth);
// The x coordinate of the line between a compact row's two columns, and
// the name column's width that puts the line at x.
int columnDividerX(const QRect &rowRect, const Look &look);
int nameColumnWidthAt(const QRect &rowRect, int x);

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

    static Geometry of(const QRect &rowRect, const Fonts &fonts, const EntryCard &card,
                       const Look &look = {});
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

// The width the value's text has in a card of this width.
int valueTextWidth(int rowWidth);
// The lines the value takes when wrapped at word boundaries (or anywhere
// inside a word longer than a line) to this width, as the editor wraps it.
int valueLineCount(const QString &value, const QFont &font, int width);
// The height of an entry row of this width (a list's line for the next
// item included), and of a section header.
int entryRowHeight(const EntryCard &card, const Fonts &fonts, int rowWidth);
int sectionRowHeight(const Fonts &fonts, const Look &look = {});
// Where a section header's fold mark and title are drawn.
QRect sectionFoldMarkRect(const QRect &rowRect, const Look &look = {});
QRect sectionTitleRect(const QRect &rowRect, const Look &look = {});

// The height of a compact row: one line, whatever the value.
int compactRowHeight(const Fonts &fonts);
// The height of a compact row while its value is edited in place: the
// lines of the value as wrapped in the value column (at most
// maximumValueLines), never less than one line.
int compactEditingRowHeight(const EntryCard &card, const Fonts &fonts, int rowWidth,
                            const Look &look);
// The one line a compact row shows of a value: line breaks as "↵", the
// items of a list each after a bullet.
QString compactText(const EntryCard &card);

} // namespace Metaloom::EntryCardLayout
