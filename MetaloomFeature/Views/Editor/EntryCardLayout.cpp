#include "MetaloomFeature/Views/Editor/EntryCardLayout.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"

#include <QFontMetrics>

#include <QCoreApplication>
#include <QStringList>
#include <QTextLayout>
#include <algorithm>
#include <cmath>

namespace Metaloom::EntryCardLayout {

namespace {

// The list is inset from the view's edges; rows are cards with a small gap.
constexpr int insetHorizontal = 12;
constexpr int gapVertical = 3;
constexpr int paddingHorizontal = 12;
constexpr int paddingVertical = 6;
constexpr int spacing = 8;
constexpr int starSize = 14;
constexpr int starHitMargin = 4;
constexpr int badgePaddingHorizontal = 6;
constexpr int badgePaddingVertical = 2;
constexpr int valuePadding = 8;
constexpr int sectionTopMargin = 12;
constexpr int sectionBottomMargin = 4;
constexpr int foldMarkSize = 10;
constexpr int foldMarkSpacing = 6;
// A compact row: a thin line, its name and value a little apart from its
// edges and from the column divider.
constexpr int compactPaddingHorizontal = 8;
constexpr int compactPaddingVertical = 3;
constexpr int compactValuePadding = 4;
constexpr int compactSectionTopMargin = 8;
constexpr int compactSectionBottomMargin = 2;

int compactLineHeight(const Fonts &fonts)
{
    const int badgeHeight = QFontMetrics(fonts.badge).height() + 2;
    return std::max({QFontMetrics(fonts.name).height(), QFontMetrics(fonts.value).lineSpacing(),
                     badgeHeight, starSize});
}

Geometry compactGeometry(const QRect &rowRect, const Fonts &fonts, const EntryCard &card,
                         const Look &look)
{
    Geometry geometry;
    geometry.card = rowRect.adjusted(insetHorizontal, 0, -insetHorizontal, 0);
    const int firstLine = compactLineHeight(fonts) + 2 * compactPaddingVertical;
    const int centre = geometry.card.top() + firstLine / 2;
    const int divider = columnDividerX(rowRect, look);
    const int right = geometry.card.right() - compactPaddingHorizontal;

    geometry.star = QRect(right - starSize + 1, centre - starSize / 2, starSize, starSize);
    geometry.starTarget =
        geometry.star.adjusted(-starHitMargin, -starHitMargin, starHitMargin, starHitMargin);
    const int nameLeft = geometry.card.left() + compactPaddingHorizontal;
    geometry.name = QRect(nameLeft, geometry.card.top(),
                          std::max(0, divider - compactPaddingHorizontal - nameLeft), firstLine);

    int valueRight = geometry.star.left() - spacing;
    if (const auto shown = EntryCardLayout::badge(card)) {
        const int height = QFontMetrics(fonts.badge).height() + 2;
        const int textWidth =
            int(std::ceil(QFontMetricsF(fonts.badge).horizontalAdvance(shown->text))) + 1;
        // A long warning keeps the value at least a little room; its
        // tooltip says the rest.
        const int room = valueRight - divider - minimumValueColumnWidth / 2;
        const int width = std::min(textWidth + 2 * badgePaddingHorizontal, room);
        if (width > 2 * badgePaddingHorizontal) {
            geometry.badge = QRect(valueRight - width + 1, centre - height / 2, width, height);
            valueRight = geometry.badge.left() - spacing;
        }
    }
    const int valueLeft = divider + 1 + compactPaddingHorizontal - compactValuePadding;
    geometry.valueBox =
        QRect(valueLeft, geometry.card.top() + 1, std::max(1, valueRight - valueLeft + 1),
              std::max(1, geometry.card.height() - 2));
    const int lineSpacing = QFontMetrics(fonts.value).lineSpacing();
    const int textTop = geometry.card.top() + (firstLine - lineSpacing) / 2;
    geometry.valueText = QRect(valueLeft + compactValuePadding, textTop,
                               std::max(1, geometry.valueBox.width() - 2 * compactValuePadding),
                               std::max(lineSpacing, geometry.card.bottom() - textTop -
                                                         (firstLine - lineSpacing) / 2 + 1));
    return geometry;
}

int headerLineHeight(const Fonts &fonts)
{
    const int badgeHeight = QFontMetrics(fonts.badge).height() + 2 * badgePaddingVertical;
    return std::max({QFontMetrics(fonts.name).height(), badgeHeight, starSize + 4});
}

bool isPlainAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

} // namespace

std::optional<Badge> badge(const EntryCard &card)
{
    if (card.warning)
        return Badge{Badge::Kind::Warning, *card.warning};
    if (!card.isWritable)
        return Badge{Badge::Kind::ReadOnly,
                     QCoreApplication::translate("EntryCardLayout", "Read-only")};
    if (card.isMarkedForRemoval)
        return Badge{Badge::Kind::Modified,
                     QCoreApplication::translate("EntryCardLayout", "Will be removed")};
    if (card.isChecking)
        return Badge{Badge::Kind::Checking,
                     QCoreApplication::translate("EntryCardLayout", "Checking…")};
    if (card.isModified)
        return Badge{Badge::Kind::Modified,
                     QCoreApplication::translate("EntryCardLayout", "Modified")};
    return std::nullopt;
}

QString starSymbol(const EntryCard &card)
{
    return card.isFavorite ? QStringLiteral("star.fill") : QStringLiteral("star");
}

QString starHelpText(const EntryCard &card)
{
    if (card.isDefaultFavorite)
        return QCoreApplication::translate("EntryCardLayout", "Standard field");
    return card.isFavorite ? QCoreApplication::translate("EntryCardLayout", "Remove from favorites")
                           : QCoreApplication::translate("EntryCardLayout", "Add to favorites");
}

Fonts::Fonts(const QFont &base)
    : name(SheetStyle::callout(base)), badge(SheetStyle::caption(base)),
      value(SheetStyle::monospaced(base)), section(SheetStyle::subheadline(base, QFont::DemiBold))
{
    name.setWeight(QFont::Medium);
}

int clampedNameColumnWidth(int asked, int rowWidth)
{
    const int available = rowWidth - 2 * insetHorizontal - minimumValueColumnWidth;
    return std::max(minimumNameColumnWidth, std::min(asked, available));
}

int columnDividerX(const QRect &rowRect, const Look &look)
{
    return rowRect.left() + insetHorizontal +
           clampedNameColumnWidth(look.nameColumnWidth, rowRect.width());
}

int nameColumnWidthAt(const QRect &rowRect, int x)
{
    return clampedNameColumnWidth(x - rowRect.left() - insetHorizontal, rowRect.width());
}

Geometry Geometry::of(const QRect &rowRect, const Fonts &fonts, const EntryCard &card,
                      const Look &look)
{
    if (look.compact)
        return compactGeometry(rowRect, fonts, card, look);
    Geometry geometry;
    geometry.card = rowRect.adjusted(insetHorizontal, gapVertical, -insetHorizontal, -gapVertical);
    const QRect content = geometry.card.adjusted(paddingHorizontal, paddingVertical,
                                                 -paddingHorizontal, -paddingVertical);
    const int lineHeight = headerLineHeight(fonts);
    const QRect header(content.left(), content.top(), content.width(), lineHeight);

    geometry.star = QRect(header.right() - starSize + 1, header.center().y() - starSize / 2 + 1,
                          starSize, starSize);
    geometry.starTarget =
        geometry.star.adjusted(-starHitMargin, -starHitMargin, starHitMargin, starHitMargin);
    // Rounded up: text is laid out in fractions of a pixel.
    const int nameWidth =
        std::min(int(std::ceil(QFontMetricsF(fonts.name).horizontalAdvance(card.name))) + 1,
                 std::max(0, header.width() - starSize - spacing));
    geometry.name = QRect(header.left(), header.top(), nameWidth, lineHeight);

    if (const auto shown = EntryCardLayout::badge(card)) {
        const QFontMetrics metrics(fonts.badge);
        const int left = geometry.name.right() + 1 + spacing;
        const int room = geometry.star.left() - spacing - left;
        const int textWidth =
            int(std::ceil(QFontMetricsF(fonts.badge).horizontalAdvance(shown->text))) + 1;
        const int width = std::min(textWidth + 2 * badgePaddingHorizontal, room);
        const int height = metrics.height() + 2 * badgePaddingVertical;
        if (width > 2 * badgePaddingHorizontal)
            geometry.badge = QRect(left, header.center().y() - height / 2 + 1, width, height);
    }

    geometry.valueBox = QRect(content.left(), header.bottom() + 1 + spacing, content.width(),
                              content.bottom() - header.bottom() - spacing);
    geometry.valueText =
        geometry.valueBox.adjusted(valuePadding, valuePadding, -valuePadding, -valuePadding);
    return geometry;
}

int valueTextWidth(int rowWidth)
{
    return std::max(1, rowWidth - 2 * (insetHorizontal + paddingHorizontal + valuePadding));
}

int valueLineCount(const QString &value, const QFont &font, int width)
{
    if (value.isEmpty())
        return 1;
    const QFontMetrics metrics(font);
    // Most values are one short line of plain characters in a fixed-pitch
    // font: no layout needed.
    if (!value.contains(u'\n') && isPlainAscii(value) &&
        value.size() * metrics.horizontalAdvance(u'M') <= width)
        return 1;

    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    int lines = 0;
    for (const QString &paragraph : value.split(u'\n')) {
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            if (++lines >= maximumValueLines)
                break;
        }
        layout.endLayout();
        if (lines >= maximumValueLines)
            return maximumValueLines;
    }
    return std::max(1, lines);
}

QString shownText(const EntryCard &card)
{
    if (!card.isList)
        return card.value;
    QStringList lines;
    lines.reserve(card.items.size());
    for (const QString &item : card.items)
        lines.append(QStringLiteral("• ") + item);
    return lines.join(u'\n');
}

bool hasNewItemLine(const EntryCard &card)
{
    return card.isList && card.isWritable;
}

int entryRowHeight(const EntryCard &card, const Fonts &fonts, int rowWidth)
{
    const QFontMetrics metrics(fonts.value);
    int lines = 1;
    if (!card.showsPicker && card.isList) {
        // An empty list is its line for the first item.
        const int itemLines = card.items.isEmpty() ? 0
                                                   : valueLineCount(shownText(card), fonts.value,
                                                                    valueTextWidth(rowWidth));
        lines = std::clamp(itemLines + (hasNewItemLine(card) ? 1 : 0), 1, maximumValueLines);
    } else if (!card.showsPicker) {
        lines = valueLineCount(card.value, fonts.value, valueTextWidth(rowWidth));
    }
    const int valueHeight = lines * metrics.lineSpacing() + 2 * valuePadding;
    return 2 * gapVertical + 2 * paddingVertical + headerLineHeight(fonts) + spacing + valueHeight;
}

int sectionRowHeight(const Fonts &fonts, const Look &look)
{
    if (look.compact)
        return compactSectionTopMargin + QFontMetrics(fonts.section).height() +
               compactSectionBottomMargin;
    return sectionTopMargin + QFontMetrics(fonts.section).height() + sectionBottomMargin;
}

QRect sectionFoldMarkRect(const QRect &rowRect, const Look &look)
{
    const int top = look.compact ? compactSectionTopMargin : sectionTopMargin;
    const int bottom = look.compact ? compactSectionBottomMargin : sectionBottomMargin;
    const int centre = (rowRect.top() + top + rowRect.bottom() - bottom) / 2;
    return QRect(rowRect.left() + insetHorizontal + 4, centre - foldMarkSize / 2 + 1, foldMarkSize,
                 foldMarkSize);
}

QRect sectionTitleRect(const QRect &rowRect, const Look &look)
{
    const int top = look.compact ? compactSectionTopMargin : sectionTopMargin;
    const int bottom = look.compact ? compactSectionBottomMargin : sectionBottomMargin;
    return rowRect.adjusted(insetHorizontal + 4 + foldMarkSize + foldMarkSpacing, top,
                            -insetHorizontal, -bottom);
}

int compactRowHeight(const Fonts &fonts)
{
    return compactLineHeight(fonts) + 2 * compactPaddingVertical;
}

int compactEditingRowHeight(const EntryCard &card, const Fonts &fonts, int rowWidth,
                            const Look &look)
{
    const int oneLine = compactRowHeight(fonts);
    if (card.showsPicker)
        return oneLine;
    const Geometry geometry = compactGeometry(QRect(0, 0, rowWidth, oneLine), fonts, card, look);
    const int width = geometry.valueText.width();
    int lines = 1;
    if (card.isList) {
        const int itemLines =
            card.items.isEmpty() ? 0 : valueLineCount(card.items.join(u'\n'), fonts.value, width);
        lines = std::clamp(itemLines + (hasNewItemLine(card) ? 1 : 0), 1, maximumValueLines);
    } else {
        lines = valueLineCount(card.value, fonts.value, width);
    }
    const int lineSpacing = QFontMetrics(fonts.value).lineSpacing();
    return std::max(oneLine, oneLine + (lines - 1) * lineSpacing);
}

QString compactText(const EntryCard &card)
{
    if (!card.isList) {
        QString text = card.value;
        text.replace(u'\n', QStringLiteral(" ↵ "));
        return text;
    }
    QStringList items;
    items.reserve(card.items.size());
    for (const QString &item : card.items)
        items.append(QStringLiteral("• ") + item);
    return items.join(QStringLiteral("  "));
}

} // namespace Metaloom::EntryCardLayout
