#include "MetaloomFeature/Views/Window/StatusBanner.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SoftShadow.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

namespace Metaloom {

namespace {

constexpr int paddingHorizontal = 16;
constexpr int paddingVertical = 8;
constexpr int shadowMargin = 10;
constexpr int animationMilliseconds = 250;

} // namespace

StatusBanner::StatusBanner(QWidget *parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFont(SheetStyle::footnote(font()));
    hide();
    parent->installEventFilter(this);
    m_animation.setDuration(animationMilliseconds);
    m_animation.setEasingCurve(QEasingCurve::InOutQuad);
    connect(&m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_progress = value.toReal();
        place();
        update();
    });
    connect(&m_animation, &QVariantAnimation::finished, this, [this] {
        if (!m_presented)
            hide();
    });
}

void StatusBanner::showMessage(const std::optional<QString> &message)
{
    if (!message) {
        if (m_presented) {
            m_presented = false;
            animateTo(0);
            Q_EMIT presentedChanged(false);
        }
        return;
    }
    m_message = *message;
    setAccessibleName(m_message);
    resize(sizeHint());
    update();
    if (!m_presented) {
        m_presented = true;
        show();
        raise();
        animateTo(1);
        Q_EMIT presentedChanged(true);
    } else {
        place();
    }
}

QSize StatusBanner::sizeHint() const
{
    const QFontMetricsF metrics(font());
    const int maximumWidth = parentWidget() ? parentWidget()->width() - 2 * bottomPadding : 600;
    // Rounded up: text is laid out in fractions of a pixel.
    const int textWidth = std::min(int(std::ceil(metrics.horizontalAdvance(m_message))) + 1,
                                   maximumWidth - 2 * (paddingHorizontal + shadowMargin));
    return {textWidth + 2 * (paddingHorizontal + shadowMargin),
            int(std::ceil(metrics.height())) + 2 * (paddingVertical + shadowMargin)};
}

int StatusBanner::reservedHeight() const
{
    return bottomPadding + sizeHint().height() - shadowMargin;
}

void StatusBanner::animateTo(qreal progress)
{
    m_animation.stop();
    m_animation.setStartValue(m_progress);
    m_animation.setEndValue(progress);
    m_animation.start();
}

void StatusBanner::place()
{
    if (!parentWidget())
        return;
    const QSize area = parentWidget()->size();
    const int resting = area.height() - bottomPadding - height() + shadowMargin;
    const int hidden = area.height();
    move((area.width() - width()) / 2, qRound(hidden + (resting - hidden) * m_progress));
}

bool StatusBanner::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize && isVisible()) {
        resize(sizeHint());
        place();
    }
    return QWidget::eventFilter(watched, event);
}

void StatusBanner::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_progress);
    const QRectF card =
        QRectF(rect()).adjusted(shadowMargin, shadowMargin, -shadowMargin, -shadowMargin);
    const qreal radius = card.height() / 2;

    // A soft black shadow at a third of full strength, spread thin.
    paintSoftShadow(painter, card, radius, shadowMargin, 0.33 / 4, 3, 2);
    // A thin material: the window's colour, lightly see-through.
    QColor fill = palette().color(QPalette::Window);
    fill = SheetStyle::isDark(palette()) ? fill.lighter(130) : fill.lighter(106);
    fill.setAlphaF(0.94);
    painter.setBrush(fill);
    painter.setPen(QPen(SheetStyle::textColor(palette(), SheetStyle::Tone::Tertiary), 0.5));
    painter.drawRoundedRect(card, radius, radius);

    painter.setPen(palette().color(QPalette::WindowText));
    const QRectF text = card.adjusted(paddingHorizontal, 0, -paddingHorizontal, 0);
    painter.drawText(
        text, Qt::AlignCenter,
        painter.fontMetrics().elidedText(m_message, Qt::ElideRight, int(text.width())));
}

} // namespace Metaloom
