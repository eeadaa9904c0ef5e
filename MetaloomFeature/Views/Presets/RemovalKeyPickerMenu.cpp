#include "MetaloomFeature/Views/Presets/RemovalKeyPickerMenu.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"

#include <QEvent>
#include <QMenu>
#include <QProxyStyle>
#include <QScreen>

namespace Metaloom {

namespace {

// Menus taller than the screen scroll instead of spreading into columns:
// one family alone can hold thousands of keys.
class ScrollingMenuStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == QStyle::SH_Menu_Scrollable)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle *scrollingMenuStyle()
{
    // One for the process; menus do not own a style set on them.
    static auto *style = new ScrollingMenuStyle;
    return style;
}

QString menuText(const QString &text)
{
    QString escaped = text;
    return escaped.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

RemovalKeyPickerMenu::RemovalKeyPickerMenu(QWidget *parent) : QToolButton(parent)
{
    setAutoRaise(true);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::TabFocus);
    setToolTip(tr("Choose a known tag"));
    setAccessibleName(tr("Choose a known tag"));
    updateIcon();
    hide();
    connect(this, &QToolButton::clicked, this, &RemovalKeyPickerMenu::openMenu);
}

void RemovalKeyPickerMenu::setAvailableKeys(std::shared_ptr<const TagKeyCatalog> keys)
{
    if (keys && keys->isEmpty())
        keys.reset();
    if (keys == m_keys)
        return;
    m_keys = std::move(keys);
    delete m_menu;
    m_menu = nullptr;
    setVisible(m_keys != nullptr);
}

QMenu *RemovalKeyPickerMenu::pickerMenu()
{
    if (!m_menu && m_keys)
        buildMenu();
    return m_menu;
}

void RemovalKeyPickerMenu::openMenu()
{
    QMenu *menu = pickerMenu();
    if (!menu)
        return;
    menu->popup(menuPosition(menu->sizeHint()));
}

QPoint RemovalKeyPickerMenu::menuPosition(const QSize &menuSize) const
{
    // Below the button, its right edges aligned; above it when there is no
    // room below; as high as the screen allows when there is room for neither.
    const QPoint below = mapToGlobal(QPoint(width() - menuSize.width(), height()));
    const QScreen *screen = this->screen();
    if (!screen)
        return below;
    const QRect available = screen->availableGeometry();
    QPoint position = below;
    if (below.y() + menuSize.height() > available.bottom()) {
        const int above = mapToGlobal(QPoint(0, 0)).y() - menuSize.height();
        position.setY(above >= available.top()
                          ? above
                          : std::max(available.top(), available.bottom() - menuSize.height()));
    }
    position.setX(std::clamp(position.x(), available.left(),
                             std::max(available.left(), available.right() - menuSize.width())));
    return position;
}

void RemovalKeyPickerMenu::buildMenu()
{
    m_menu = new QMenu(this);
    m_menu->setStyle(scrollingMenuStyle());

    // Typing in the menu would find nothing: the field finds keys.
    m_menu->addAction(tr("Type part of a name in the field to find a tag"))->setEnabled(false);
    m_menu->addSeparator();

    for (const TagKeyCatalog::Family &family : m_keys->families())
        addLazySubmenu(m_menu, family.name, family.keys, 0);
}

QMenu *RemovalKeyPickerMenu::addLazySubmenu(QMenu *parent, const QString &title,
                                            const QStringList &keys, int splitDepth)
{
    QMenu *submenu = parent->addMenu(menuText(title));
    submenu->setStyle(scrollingMenuStyle());
    connect(submenu, &QMenu::aboutToShow, this, [this, submenu, title, keys, splitDepth] {
        if (submenu->isEmpty())
            fillKeyMenu(submenu, title, keys, splitDepth);
    });
    return submenu;
}

void RemovalKeyPickerMenu::fillKeyMenu(QMenu *menu, const QString &title, const QStringList &keys,
                                       int splitDepth)
{
    menu->addSection(menuText(title))->setFont(SheetStyle::caption(font()));
    // Thousands of keys in one menu take long to lay out and longer to
    // scan: a large family is split by the first letters of the tag name,
    // one more letter at each level, until the parts are small.
    QMap<QString, QStringList> byPrefix;
    if (keys.size() > maximumKeysPerMenu && splitDepth < 3) {
        for (const QString &key : keys) {
            const QStringView name = QStringView(key).mid(key.indexOf(QLatin1Char(':')) + 1);
            byPrefix[name.left(splitDepth + 1).toString().toUpper()].append(key);
        }
    }
    if (byPrefix.size() < 2) {
        for (const QString &key : keys)
            keyAction(menu, key);
        return;
    }
    for (auto it = byPrefix.cbegin(); it != byPrefix.cend(); ++it)
        addLazySubmenu(menu, it.key() + QStringLiteral("…"), it.value(), splitDepth + 1);
}

QAction *RemovalKeyPickerMenu::keyAction(QMenu *menu, const QString &key)
{
    QAction *action = menu->addAction(menuText(key));
    connect(action, &QAction::triggered, this, [this, key] { Q_EMIT keySelected(key); });
    return action;
}

void RemovalKeyPickerMenu::updateIcon()
{
    setIcon(symbolIcon(QStringLiteral("chevron.down.circle"),
                       SheetStyle::textColor(palette(), SheetStyle::Tone::Secondary)));
}

void RemovalKeyPickerMenu::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange)
        updateIcon();
    QToolButton::changeEvent(event);
}

} // namespace Metaloom
