#include "LinkButton.h"

#include <QDesktopServices>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace VossaApps {

LinkButton::LinkButton(const QString &text, const QUrl &url, QWidget *parent)
    : QAbstractButton(parent), m_url(url)
{
    setText(text);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setToolTip(url.toDisplayString());
    connect(this, &QAbstractButton::clicked, this, [this] { QDesktopServices::openUrl(m_url); });
}

QSize LinkButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 2, metrics.height()};
}

void LinkButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QFont linkFont = font();
    linkFont.setUnderline(m_hovering || isDown());
    painter.setFont(linkFont);
    painter.setPen(palette().color(QPalette::Link));
    painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void LinkButton::enterEvent(QEnterEvent *event)
{
    m_hovering = true;
    update();
    QAbstractButton::enterEvent(event);
}

void LinkButton::leaveEvent(QEvent *event)
{
    m_hovering = false;
    update();
    QAbstractButton::leaveEvent(event);
}

} // namespace VossaApps
