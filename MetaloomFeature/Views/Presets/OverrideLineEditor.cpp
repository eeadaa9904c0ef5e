#include "MetaloomFeature/Views/Presets/OverrideLineEditor.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "MetaloomFeature/Views/Presets/GrowingTextField.h"
#include "MetaloomFeature/Views/Presets/KeyField.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>

namespace Metaloom {

namespace {

constexpr int padding = 6;
constexpr int handleWidth = 20;
constexpr qreal cornerRadius = 7;

QToolButton *borderlessButton(const QString &help, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setToolTip(help);
    button->setAccessibleName(help);
    button->setIconSize(QSize(16, 16));
    return button;
}

} // namespace

OverrideLineEditor::OverrideLineEditor(const OverrideLine &row,
                                       std::shared_ptr<const TagKeyCatalog> availableKeys,
                                       bool canRemove, QWidget *parent)
    : QFrame(parent), m_row(row), m_canRemove(canRemove)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(padding, padding, padding, padding);
    layout->setSpacing(6);

    m_handle = new QLabel(this);
    m_handle->setFixedWidth(handleWidth);
    m_handle->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_handle, 0, Qt::AlignVCenter);

    m_key = new KeyField(tr("Metadata tag"), this);
    m_key->setText(row.key);
    m_key->setAvailableKeys(std::move(availableKeys));
    layout->addWidget(m_key, 1, Qt::AlignVCenter);

    m_value = new GrowingTextField(tr("Value"), this);
    m_value->setFont(SheetStyle::monospaced(font()));
    m_value->setPlainText(row.value);
    layout->addWidget(m_value, 1, Qt::AlignVCenter);

    m_remove = borderlessButton(tr("Remove row"), this);
    m_addBelow = borderlessButton(tr("Add row below"), this);
    layout->addWidget(m_remove, 0, Qt::AlignVCenter);
    layout->addWidget(m_addBelow, 0, Qt::AlignVCenter);
    setCanRemove(canRemove);
    updateIcons();

    connect(m_key, &QLineEdit::textChanged, this, [this](const QString &key) {
        m_row.key = key;
        Q_EMIT rowChanged(m_row);
    });
    connect(m_value, &QPlainTextEdit::textChanged, this, [this] {
        if (m_value->text() == m_row.value)
            return;
        m_row.value = m_value->text();
        Q_EMIT rowChanged(m_row);
    });
    connect(m_remove, &QToolButton::clicked, this, [this] { Q_EMIT removeRequested(m_row.id); });
    connect(m_addBelow, &QToolButton::clicked, this,
            [this] { Q_EMIT addBelowRequested(m_row.id); });
}

void OverrideLineEditor::setCanRemove(bool canRemove)
{
    m_canRemove = canRemove;
    m_remove->setEnabled(canRemove);
    updateIcons();
}

void OverrideLineEditor::setAvailableKeys(std::shared_ptr<const TagKeyCatalog> keys)
{
    m_key->setAvailableKeys(std::move(keys));
}

void OverrideLineEditor::updateIcons()
{
    const QPalette &colors = palette();
    const QColor secondary = SheetStyle::textColor(colors, SheetStyle::Tone::Secondary);
    m_handle->setPixmap(
        symbolPixmap(QStringLiteral("line.3.horizontal"), 14, secondary, devicePixelRatioF()));
    // Grey and faint while the last row cannot go.
    QColor removeColor = m_canRemove ? SheetStyle::red(colors) : QColor(Qt::gray);
    if (!m_canRemove)
        removeColor.setAlphaF(0.4);
    QIcon removeIcon;
    removeIcon.addPixmap(
        symbolPixmap(QStringLiteral("minus.circle"), 16, removeColor, devicePixelRatioF()),
        m_canRemove ? QIcon::Normal : QIcon::Disabled);
    m_remove->setIcon(removeIcon);
    m_addBelow->setIcon(
        symbolIcon(QStringLiteral("plus.circle"), colors.color(QPalette::WindowText)));
}

void OverrideLineEditor::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        updateIcons();
    QFrame::changeEvent(event);
}

void OverrideLineEditor::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &colors = palette();
    QColor fill = colors.color(QPalette::WindowText);
    fill.setAlphaF(SheetStyle::isDark(colors) ? 0.06 : 0.035);
    QColor outline = colors.color(QPalette::WindowText);
    outline.setAlphaF(0.12);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(fill);
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius,
                            cornerRadius);
}

} // namespace Metaloom
