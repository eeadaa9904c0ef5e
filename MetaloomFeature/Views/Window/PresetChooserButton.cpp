#include "MetaloomFeature/Views/Window/PresetChooserButton.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"

#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace Metaloom {

namespace {

constexpr int horizontalPadding = 10;
constexpr int verticalPadding = 6;
constexpr int chevronSize = 12;
constexpr qreal cornerRadius = 6;

} // namespace

PresetChooserButton::PresetChooserButton(const QString &prompt, QWidget *parent)
    : QAbstractButton(parent), m_prompt(prompt)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAccessibleName(prompt);
    connect(this, &QAbstractButton::pressed, this, &PresetChooserButton::showMenu);
}

void PresetChooserButton::setChoiceText(const QString &text)
{
    setText(text);
    setAccessibleDescription(shownText());
    updateGeometry();
    update();
}

QSize PresetChooserButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int textWidth = std::max(metrics.horizontalAdvance(shownText()), 160);
    return {horizontalPadding * 3 + textWidth + chevronSize,
            verticalPadding * 2 + std::max(metrics.height(), chevronSize) + 2};
}

QSize PresetChooserButton::minimumSizeHint() const
{
    return {140, sizeHint().height()};
}

void PresetChooserButton::setMenu(QMenu *menu)
{
    m_menu = menu;
    connect(menu, &QMenu::aboutToHide, this, [this] { setDown(false); });
}

void PresetChooserButton::showMenu()
{
    if (!m_menu)
        return;
    m_menu->setMinimumWidth(width());
    m_menu->popup(mapToGlobal(QPoint(0, height() + 2)));
}

void PresetChooserButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &colors = palette();
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor outline = colors.color(QPalette::WindowText);
    outline.setAlphaF(isDown() ? 0.35 : 0.2);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(colors.color(QPalette::Base));
    painter.drawRoundedRect(box, cornerRadius, cornerRadius);

    const bool prompting = text().isEmpty();
    painter.setPen(SheetStyle::textColor(colors, prompting ? SheetStyle::Tone::Secondary
                                                           : SheetStyle::Tone::Primary));
    const QRect textRect =
        rect().adjusted(horizontalPadding, 0, -(horizontalPadding * 2 + chevronSize), 0);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                     fontMetrics().elidedText(shownText(), Qt::ElideRight, textRect.width()));

    const QPixmap chevron = symbolPixmap(QStringLiteral("chevron.down"), chevronSize,
                                         SheetStyle::textColor(colors, SheetStyle::Tone::Secondary),
                                         devicePixelRatioF());
    painter.drawPixmap(width() - horizontalPadding - chevronSize, (height() - chevronSize) / 2,
                       chevron);

    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

} // namespace Metaloom
