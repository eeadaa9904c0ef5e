#include "MetaloomFeature/Views/Kit/SheetStyle.h"

#include "StyleKit/Style.h"

#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace Metaloom::SheetStyle {

using StyleKit::scaled;

QFont title2(const QFont &base, QFont::Weight weight)
{
    return scaled(base, 17, weight);
}

QFont headline(const QFont &base)
{
    return scaled(base, 13, QFont::Bold);
}

QFont subheadline(const QFont &base, QFont::Weight weight)
{
    return scaled(base, 11, weight);
}

QFont callout(const QFont &base)
{
    return scaled(base, 12);
}

QFont footnote(const QFont &base)
{
    return scaled(base, 10);
}

QFont caption(const QFont &base)
{
    return scaled(base, 10);
}

QFont caption2(const QFont &base)
{
    return scaled(base, 10);
}

QFont monospaced(const QFont &base)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    if (base.pointSizeF() > 0)
        font.setPointSizeF(base.pointSizeF());
    return font;
}

QFont systemSize(const QFont &base, qreal macPoints, QFont::Weight weight)
{
    return scaled(base, macPoints, weight);
}

bool isDark(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor textColor(const QPalette &palette, Tone tone)
{
    QColor color = palette.color(QPalette::WindowText);
    switch (tone) {
    case Tone::Primary:
        return color;
    case Tone::Secondary:
        return StyleKit::secondaryText(palette);
    case Tone::Tertiary:
        return StyleKit::withOpacity(color, 0.4);
    }
    return color;
}

QColor red(const QPalette &palette)
{
    return isDark(palette) ? QColor(0xFF, 0x45, 0x3A) : QColor(0xE0, 0x2F, 0x25);
}

QColor green(const QPalette &palette)
{
    return isDark(palette) ? QColor(0x30, 0xD1, 0x58) : QColor(0x28, 0xA7, 0x45);
}

QColor accent(const QPalette &palette)
{
    return palette.color(QPalette::Highlight);
}

void setTextColor(QWidget *widget, const QColor &color)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

void setTone(QWidget *widget, Tone tone)
{
    setTextColor(widget, textColor(widget->palette(), tone));
}

QLabel *label(const QString &text, const QFont &font, Tone tone, QWidget *parent)
{
    auto *label = new QLabel(parent);
    // File names and tag keys are shown as typed, never read as markup.
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(font);
    label->setWordWrap(true);
    setTone(label, tone);
    return label;
}

void makeProminent(QPushButton *button, const QColor &fill)
{
    const QString style = QStringLiteral(
        "QPushButton { background-color: %1; color: white; border: 1px solid %2;"
        " border-radius: 5px; padding: 4px 14px; }"
        "QPushButton:hover { background-color: %3; }"
        "QPushButton:pressed { background-color: %2; }"
        "QPushButton:focus { border: 1px solid %4; }"
        "QPushButton:disabled { background-color: %5; border-color: %5; color: %6; }");
    QColor faded = fill;
    faded.setAlphaF(0.35);
    button->setStyleSheet(style.arg(fill.name(), fill.darker(125).name(), fill.lighter(110).name(),
                                    fill.darker(160).name(), faded.name(QColor::HexArgb),
                                    QStringLiteral("rgba(255,255,255,0.75)")));
}

QWidget *divider(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Plain);
    line->setFixedHeight(1);
    QPalette palette = line->palette();
    palette.setColor(QPalette::WindowText,
                     StyleKit::withOpacity(palette.color(QPalette::WindowText), 0.15));
    line->setPalette(palette);
    return line;
}

} // namespace Metaloom::SheetStyle
