#include "MetaloomFeature/Views/Kit/ConfirmationBanner.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>

namespace Metaloom {

namespace {

constexpr int horizontalPadding = 12;
constexpr int verticalPadding = 8;
constexpr int spacing = 8;
constexpr int iconSize = 16;
constexpr qreal cornerRadius = 10;
// Room around the card for its shadow.
constexpr int shadowMargin = 8;
constexpr int animationMilliseconds = 220;

} // namespace

ConfirmationBanner::ConfirmationBanner(const QString &message, QWidget *parent)
    : QWidget(parent), m_message(message)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFont(SheetStyle::callout(font()));
    setAccessibleName(message);
    hide();
    if (parent)
        parent->installEventFilter(this);
}

void ConfirmationBanner::setMessage(const QString &message)
{
    m_message = message;
    setAccessibleName(message);
    resize(sizeHint());
    update();
}

QSize ConfirmationBanner::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int width = horizontalPadding * 2 + iconSize + spacing +
                      metrics.horizontalAdvance(m_message) + shadowMargin * 2;
    const int height =
        verticalPadding * 2 + std::max(iconSize, metrics.height()) + shadowMargin * 2;
    return {width, height};
}

void ConfirmationBanner::setOpacity(qreal opacity)
{
    m_opacity = opacity;
    update();
}

QRect ConfirmationBanner::cardRect() const
{
    return rect().adjusted(shadowMargin, shadowMargin, -shadowMargin, -shadowMargin);
}

QPoint ConfirmationBanner::restingPosition() const
{
    const int parentWidth = parentWidget() ? parentWidget()->width() : width();
    return {(parentWidth - width()) / 2, topPadding - shadowMargin};
}

QPoint ConfirmationBanner::hiddenPosition() const
{
    return {restingPosition().x(), -height()};
}

void ConfirmationBanner::present()
{
    if (m_presented)
        return;
    m_presented = true;
    resize(sizeHint());
    if (isHidden()) {
        move(hiddenPosition());
        m_opacity = 0;
        show();
    }
    raise();
    animateTo(true);
}

void ConfirmationBanner::dismiss()
{
    if (!m_presented)
        return;
    m_presented = false;
    animateTo(false);
}

void ConfirmationBanner::animateTo(bool presented)
{
    if (m_animation)
        m_animation->stop();
    auto *group = new QParallelAnimationGroup(this);
    auto *slide = new QPropertyAnimation(this, "pos", group);
    slide->setDuration(animationMilliseconds);
    slide->setEndValue(presented ? restingPosition() : hiddenPosition());
    slide->setEasingCurve(presented ? QEasingCurve::OutCubic : QEasingCurve::InCubic);
    auto *fade = new QPropertyAnimation(this, "opacity", group);
    fade->setDuration(animationMilliseconds);
    fade->setEndValue(presented ? 1.0 : 0.0);
    group->addAnimation(slide);
    group->addAnimation(fade);
    if (!presented)
        connect(group, &QAbstractAnimation::finished, this, [this] {
            if (!m_presented)
                hide();
        });
    m_animation = group;
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

bool ConfirmationBanner::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && m_presented &&
        !(m_animation && m_animation->state() == QAbstractAnimation::Running))
        move(restingPosition());
    return QWidget::eventFilter(watched, event);
}

void ConfirmationBanner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_opacity);
    const QRectF card = cardRect();

    // A soft shadow: a few widening rounded outlines, faint black.
    painter.setPen(Qt::NoPen);
    for (int spread = shadowMargin; spread > 0; spread -= 2) {
        const qreal alpha = 0.10 * (1.0 - qreal(spread) / (shadowMargin + 1)) / 2.5;
        painter.setBrush(QColor(0, 0, 0, qRound(255 * alpha)));
        painter.drawRoundedRect(card.adjusted(-spread, -spread + 2, spread, spread + 2),
                                cornerRadius + spread, cornerRadius + spread);
    }

    // The card: the window's colour, slightly see-through, with a hairline.
    QColor fill = palette().color(QPalette::Window);
    fill = SheetStyle::isDark(palette()) ? fill.lighter(125) : fill.lighter(104);
    fill.setAlphaF(0.96);
    painter.setBrush(fill);
    painter.setPen(QPen(SheetStyle::textColor(palette(), SheetStyle::Tone::Tertiary), 0.5));
    painter.drawRoundedRect(card, cornerRadius, cornerRadius);

    const QPixmap check = symbolPixmap(QStringLiteral("checkmark.circle.fill"), iconSize,
                                       SheetStyle::green(palette()), devicePixelRatioF());
    const int iconTop = int(card.center().y()) - iconSize / 2;
    painter.drawPixmap(int(card.left()) + horizontalPadding, iconTop, check);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRectF text =
        card.adjusted(horizontalPadding + iconSize + spacing, 0, -horizontalPadding, 0);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, m_message);
}

} // namespace Metaloom
