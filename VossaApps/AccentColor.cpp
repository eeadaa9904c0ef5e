#include "AccentColor.h"

namespace VossaApps {

namespace {

std::optional<unsigned> hexDigit(QChar c)
{
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return std::nullopt;
}

// An unsigned hexadecimal number as the standard integer parsers read it:
// digits only, after an optional plus sign. No "0x" prefix and no minus sign.
std::optional<unsigned> parseHex(QStringView text)
{
    if (text.startsWith(u'+'))
        text = text.mid(1);
    if (text.isEmpty())
        return std::nullopt;
    unsigned value = 0;
    for (QChar c : text) {
        const auto digit = hexDigit(c);
        if (!digit)
            return std::nullopt;
        value = value * 16 + *digit;
    }
    return value;
}

} // namespace

std::optional<QColor> parseAccentColor(const QString &text)
{
    QStringView digits = QStringView(text).trimmed();
    if (digits.startsWith(u'#'))
        digits = digits.mid(1);
    if (digits.size() != 6)
        return std::nullopt;
    const auto value = parseHex(digits);
    if (!value)
        return std::nullopt;
    return QColor::fromRgb((*value >> 16) & 0xFF, (*value >> 8) & 0xFF, *value & 0xFF);
}

QColor accentColor(const AppsFeed::Entry &entry, const QPalette &palette)
{
    // Qt 6.4 has no accent role of its own; the selection colour is the
    // style's accent.
    return parseAccentColor(entry.color).value_or(palette.color(QPalette::Highlight));
}

} // namespace VossaApps
