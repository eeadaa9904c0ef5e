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

Geometry Geometry::of(const QRect &rowRect, const Fonts &fonts, const EntryCard &card)
{
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

int sectionRowHeight(const Fonts &fonts)
{
    return sectionTopMargin + QFontMetrics(fonts.section).height() + sectionBottomMargin;
}

QRect sectionTitleRect(const QRect &rowRect)
{
    return rowRect.adjusted(insetHorizontal + 4, sectionTopMargin, -insetHorizontal,
                            -sectionBottomMargin);
}

} // namespace Metaloom::EntryCardLayout
