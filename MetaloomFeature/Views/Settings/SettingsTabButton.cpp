#include "MetaloomFeature/Views/Settings/SettingsTabButton.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace Metaloom {

namespace {

constexpr int horizontalPadding = 16;
constexpr int verticalPadding = 8;
constexpr int symbolSize = 16;
constexpr int iconSpacing = 6;
constexpr qreal cornerRadius = 8;

} // namespace

SettingsTabButton::SettingsTabButton(const QString &symbol, const QString &title, QWidget *parent)
    : QAbstractButton(parent), m_symbol(symbol)
{
    setText(title);
    setCheckable(true);
    setAutoExclusive(true);
    setAccessibleName(title);
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

QSize SettingsTabButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {2 * horizontalPadding + symbolSize + iconSpacing + metrics.horizontalAdvance(text()),
            2 * verticalPadding + std::max(symbolSize, metrics.height())};
}

void SettingsTabButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &colors = palette();
    const QColor fill = isChecked() ? SheetStyle::accent(colors) : colors.color(QPalette::Window);
    const QColor ink = isChecked() ? QColor(Qt::white) : colors.color(QPalette::WindowText);
    painter.setPen(Qt::NoPen);
    painter.setBrush(isDown() && !isChecked() ? fill.darker(108) : fill);
    painter.drawRoundedRect(QRectF(rect()), cornerRadius, cornerRadius);

    const QPixmap icon = symbolPixmap(m_symbol, symbolSize, ink, devicePixelRatioF());
    const int contentWidth = sizeHint().width() - 2 * horizontalPadding;
    const int left = (width() - contentWidth) / 2;
    painter.drawPixmap(left, (height() - symbolSize) / 2, icon);
    painter.setPen(ink);
    painter.drawText(QRect(left + symbolSize + iconSpacing, 0, width(), height()),
                     Qt::AlignLeft | Qt::AlignVCenter, text());

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace Metaloom
