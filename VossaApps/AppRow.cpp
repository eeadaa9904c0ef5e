#include "AppRow.h"

#include "AccentColor.h"
#include "CatalogStyle.h"
#include "MakerInfo.h"
#include "RemoteIconCache.h"

#include "StyleKit/Style.h"

#include <QDesktopServices>
#include <QEnterEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace VossaApps {

namespace {

constexpr int padding = 12;
constexpr int iconSide = 48;
constexpr int spacing = 14;
constexpr int lineSpacing = 3;
constexpr int minimumGap = 8;
constexpr qreal cornerRadius = 10;
constexpr qreal placeholderOpacity = 0.18;
// The arrow is drawn like an 11-point semibold symbol.
constexpr qreal arrowSide = 9;
constexpr qreal arrowStroke = 1.6;

QPainterPath roundedRect(const QRectF &rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

} // namespace

AppRow::AppRow(const AppsFeed::Entry &app, QWidget *parent)
    : AppRow(app, RemoteIconCache::shared(), parent)
{}

AppRow::AppRow(const AppsFeed::Entry &app, RemoteIconCache *icons, QWidget *parent)
    : QAbstractButton(parent), m_app(app)
{
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setText(m_app.name);
    setToolTip(tr("Open %1 on %2").arg(m_app.name, MakerInfo::hostName()));
    setAccessibleName(m_app.name + QStringLiteral(". ") + m_app.summary());
    connect(this, &QAbstractButton::clicked, this,
            [this] { QDesktopServices::openUrl(m_app.url); });

    if (m_app.icon && icons) {
        const QUrl iconURL = *m_app.icon;
        m_icon = icons->image(iconURL);
        if (!m_icon) {
            connect(icons, &RemoteIconCache::iconLoaded, this,
                    [this, icons, iconURL](const QUrl &url) {
                        if (url != iconURL)
                            return;
                        m_icon = icons->image(url);
                        update();
                    });
            icons->request(iconURL);
        }
    }
}

int AppRow::textWidth(int rowWidth) const
{
    return std::max(0, rowWidth - 2 * padding - iconSide - spacing - minimumGap - qCeil(arrowSide) -
                           2);
}

int AppRow::summaryHeight(int width) const
{
    if (m_app.summary().isEmpty())
        return 0;
    const QFontMetrics metrics(CatalogStyle::caption(font()));
    return metrics
        .boundingRect(QRect(0, 0, std::max(1, width), 100'000), Qt::TextWordWrap, m_app.summary())
        .height();
}

int AppRow::heightForWidth(int width) const
{
    const QFontMetrics nameMetrics(CatalogStyle::rowTitle(font()));
    const int summary = summaryHeight(textWidth(width));
    const int text = nameMetrics.height() + (summary > 0 ? lineSpacing + summary : 0);
    return 2 * padding + std::max(iconSide, text);
}

QSize AppRow::sizeHint() const
{
    const int width = 420;
    return {width, heightForWidth(width)};
}

QSize AppRow::minimumSizeHint() const
{
    // The height the row needs with its summary on one line. A narrower row
    // grows through heightForWidth; were the minimum the height at the
    // narrowest width, a scroll area would keep room for that worst case.
    const int width = 2 * padding + iconSide + spacing + 60 + minimumGap + qCeil(arrowSide);
    const int summary = m_app.summary().isEmpty()
                            ? 0
                            : lineSpacing + QFontMetrics(CatalogStyle::caption(font())).height();
    const int text = QFontMetrics(CatalogStyle::rowTitle(font())).height() + summary;
    return {width, 2 * padding + std::max(iconSide, text)};
}

QRect AppRow::iconRect() const
{
    return {padding, (height() - iconSide) / 2, iconSide, iconSide};
}

QRectF AppRow::arrowRect() const
{
    return {width() - padding - arrowSide - 1, (height() - arrowSide) / 2.0, arrowSide, arrowSide};
}

void AppRow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QColor accent = accentColor(m_app, palette());

    // Card, and its border drawn inside the edge.
    const QRectF card = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.fillPath(roundedRect(QRectF(rect()), cornerRadius),
                     CatalogStyle::controlBackground(palette()));
    painter.setPen(QPen(StyleKit::withOpacity(accent, borderOpacity()), 1));
    painter.drawPath(roundedRect(card, cornerRadius - 0.5));
    if (m_keyboardFocus && hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawPath(roundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), cornerRadius - 1));
    }

    // Icon, or the tinted placeholder while there is none.
    const QRect iconArea = iconRect();
    if (m_icon) {
        const QSize fitted = m_icon->size().scaled(iconArea.size(), Qt::KeepAspectRatio);
        QRect target(QPoint(0, 0), fitted);
        target.moveCenter(iconArea.center());
        painter.drawImage(target, *m_icon);
    } else {
        painter.fillPath(roundedRect(iconArea, cornerRadius),
                         StyleKit::withOpacity(accent, placeholderOpacity));
    }

    // Name and summary, centred as a block beside the icon.
    const int left = iconArea.right() + 1 + spacing;
    const int available = textWidth(width());
    const QFont nameFont = CatalogStyle::rowTitle(font());
    const QFont summaryFont = CatalogStyle::caption(font());
    const QFontMetrics nameMetrics(nameFont);
    const int summary = summaryHeight(available);
    const int blockHeight = nameMetrics.height() + (summary > 0 ? lineSpacing + summary : 0);
    int top = (height() - blockHeight) / 2;
    painter.setFont(nameFont);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(QRect(left, top, available, nameMetrics.height()),
                     Qt::AlignLeft | Qt::AlignVCenter,
                     nameMetrics.elidedText(m_app.name, Qt::ElideRight, available));
    if (summary > 0) {
        top += nameMetrics.height() + lineSpacing;
        painter.setFont(summaryFont);
        painter.setPen(StyleKit::secondaryText(palette()));
        painter.drawText(QRect(left, top, available, summary),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_app.summary());
    }

    // The "opens elsewhere" arrow: a diagonal with its head at the top right.
    const QRectF arrow = arrowRect();
    painter.setPen(QPen(StyleKit::withOpacity(accent, arrowOpacity()), arrowStroke, Qt::SolidLine,
                        Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    const qreal inset = arrowStroke / 2;
    const QPointF tip(arrow.right() - inset, arrow.top() + inset);
    painter.drawLine(QPointF(arrow.left() + inset, arrow.bottom() - inset), tip);
    const qreal head = arrowSide * 0.62;
    painter.drawPolyline(
        QPolygonF({QPointF(tip.x() - head, tip.y()), tip, QPointF(tip.x(), tip.y() + head)}));
}

void AppRow::setHovering(bool hovering)
{
    if (m_hovering == hovering)
        return;
    m_hovering = hovering;
    update();
}

void AppRow::enterEvent(QEnterEvent *event)
{
    setHovering(true);
    QAbstractButton::enterEvent(event);
}

void AppRow::leaveEvent(QEvent *event)
{
    setHovering(false);
    QAbstractButton::leaveEvent(event);
}

void AppRow::focusInEvent(QFocusEvent *event)
{
    // Only keyboard focus is shown; a click needs no ring.
    m_keyboardFocus = event->reason() == Qt::TabFocusReason ||
                      event->reason() == Qt::BacktabFocusReason ||
                      event->reason() == Qt::ShortcutFocusReason;
    QAbstractButton::focusInEvent(event);
}

void AppRow::focusOutEvent(QFocusEvent *event)
{
    m_keyboardFocus = false;
    QAbstractButton::focusOutEvent(event);
}

void AppRow::hideEvent(QHideEvent *event)
{
    // The pointer's leaving goes unreported while hidden: a row shown again
    // must not come back highlighted.
    setHovering(false);
    QAbstractButton::hideEvent(event);
}

} // namespace VossaApps
