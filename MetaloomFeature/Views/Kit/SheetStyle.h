#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

// Fonts and colours of the sheets. Sizes are given as on a Mac, where body
// text is 13 points, and scaled to the desktop's own font (as the apps
// catalog does), so the sheets keep their proportions at any font setting.
namespace Metaloom::SheetStyle {

QFont title2(const QFont &base, QFont::Weight weight = QFont::DemiBold);
QFont headline(const QFont &base);
QFont subheadline(const QFont &base, QFont::Weight weight = QFont::Normal);
QFont callout(const QFont &base);
QFont footnote(const QFont &base);
QFont caption(const QFont &base);
QFont caption2(const QFont &base);
// A fixed-pitch font of the base's size, for tag keys and values.
QFont monospaced(const QFont &base);
QFont systemSize(const QFont &base, qreal macPoints, QFont::Weight weight = QFont::Normal);

enum class Tone { Primary, Secondary, Tertiary };

QColor textColor(const QPalette &palette, Tone tone);
bool isDark(const QPalette &palette);
QColor red(const QPalette &palette);
QColor green(const QPalette &palette);
QColor accent(const QPalette &palette);

// A word-wrapping label in the given font and tone.
QLabel *label(const QString &text, const QFont &font, Tone tone, QWidget *parent);
void setTone(QWidget *widget, Tone tone);
void setTextColor(QWidget *widget, const QColor &color);

// A filled button in a strong colour with white text, for the one action a
// sheet leads to ("prominent" style); disabled it fades.
void makeProminent(QPushButton *button, const QColor &fill);

// A thin horizontal line in the palette's separator colour.
QWidget *divider(QWidget *parent);

} // namespace Metaloom::SheetStyle
