#include "MetaloomFeature/Views/Window/DropZoneView.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "StyleKit/Style.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace Metaloom {

namespace {

constexpr int padding = 30;
constexpr qreal cornerRadius = 24;
constexpr qreal lineWidth = 3;
constexpr int guideWidth = 480;

// The sentence broken at spaces into lines no wider than the column. A label
// holding its own line breaks is given the height it needs in a centred
// column, which a word-wrapping one is not; an English sentence fits on one
// line, a German one may take two.
QString brokenToWidth(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    QString line;
    for (const QString &word : text.split(u' ', Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + u' ' + word;
        if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    lines << line;
    return lines.join(u'\n');
}

} // namespace

DropZoneView::DropZoneView(std::function<void()> action, QWidget *parent)
    : QWidget(parent), m_action(std::move(action))
{
    const QColor secondary = SheetStyle::textColor(palette(), SheetStyle::Tone::Secondary);

    auto *symbol = new QLabel(this);
    symbol->setPixmap(
        symbolPixmap(QStringLiteral("photo.on.rectangle"), 56, secondary, devicePixelRatioF()));
    symbol->setAlignment(Qt::AlignCenter);

    auto *title = SheetStyle::label(tr("Drop images or media files here"),
                                    SheetStyle::title2(font(), QFont::Normal),
                                    SheetStyle::Tone::Primary, this);
    title->setAlignment(Qt::AlignCenter);

    auto *guide = new QWidget(this);
    guide->setMaximumWidth(guideWidth);
    auto *guideColumn = new QVBoxLayout(guide);
    guideColumn->setContentsMargins(0, 0, 0, 0);
    guideColumn->setSpacing(8);
    for (const QString &text :
         {tr("Choose a file from the list or import new media to inspect its metadata."),
          tr("You can also use Paste (Ctrl+V) or the Import button in the toolbar.")}) {
        const QFont callout = SheetStyle::callout(font());
        auto *line = SheetStyle::label(brokenToWidth(text, QFontMetrics(callout), guideWidth),
                                       callout, SheetStyle::Tone::Secondary, guide);
        line->setAlignment(Qt::AlignCenter);
        line->setWordWrap(false);
        guideColumn->addWidget(line);
    }

    m_button = new QPushButton(tr("&Select Files…"), this);
    m_button->setIcon(symbolIcon(QStringLiteral("folder.badge.plus"),
                                 m_button->palette().color(QPalette::ButtonText), 18));
    m_button->setIconSize(QSize(18, 18));
    m_button->setDefault(true);
    m_button->setMinimumHeight(m_button->sizeHint().height() + 8);
    QFont large = m_button->font();
    large.setPointSizeF(large.pointSizeF() * 1.1);
    m_button->setFont(large);
    connect(m_button, &QPushButton::clicked, this, [this] {
        if (m_action)
            m_action();
    });

    auto *column = new QVBoxLayout(this);
    // The content keeps its padding inside the frame, and the frame its own
    // padding from the area's edges.
    column->setContentsMargins(2 * padding, 2 * padding, 2 * padding, 2 * padding);
    column->setSpacing(20);
    column->addStretch();
    column->addWidget(symbol);
    column->addWidget(title);
    column->addWidget(guide, 0, Qt::AlignHCenter);
    column->addWidget(m_button, 0, Qt::AlignHCenter);
    column->addStretch();
}

void DropZoneView::setHighlighted(bool highlighted)
{
    if (m_isHighlighted == highlighted)
        return;
    m_isHighlighted = highlighted;
    update();
}

QRectF DropZoneView::frameRect() const
{
    // The stroke lies inside the frame's bounds.
    const qreal inset = padding + lineWidth / 2;
    return QRectF(rect()).adjusted(inset, inset, -inset, -inset);
}

void DropZoneView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor color =
        m_isHighlighted ? SheetStyle::accent(palette())
                        : StyleKit::withOpacity(palette().color(QPalette::WindowText), 0.6 * 0.35);
    QPen pen(color, lineWidth);
    // A dash of 12 points and a gap of 12, in units of the line width.
    pen.setDashPattern({12 / lineWidth, 12 / lineWidth});
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    if (m_isHighlighted)
        painter.setBrush(StyleKit::withOpacity(color, 0.06));
    painter.drawRoundedRect(frameRect(), cornerRadius, cornerRadius);
}

} // namespace Metaloom
