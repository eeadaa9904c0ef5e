#include "MetaloomFeature/Views/Kit/PlainButtons.h"

#include "MetaloomFeature/Views/Kit/SymbolIcons.h"

#include <QPushButton>
#include <QToolButton>

namespace Metaloom::PlainButtons {

QToolButton *iconButton(const QString &symbol, const QString &help, QWidget *parent, int iconSize)
{
    auto *button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIcon(symbolIcon(symbol, button->palette().color(QPalette::ButtonText), iconSize));
    button->setIconSize(QSize(iconSize, iconSize));
    button->setToolTip(help);
    button->setAccessibleName(help);
    button->setFocusPolicy(Qt::TabFocus);
    return button;
}

QPushButton *labeledButton(const QString &symbol, const QString &title, QWidget *parent)
{
    auto *button = new QPushButton(title, parent);
    button->setIcon(symbolIcon(symbol, button->palette().color(QPalette::ButtonText), 16));
    button->setIconSize(QSize(16, 16));
    button->setAutoDefault(false);
    return button;
}

} // namespace Metaloom::PlainButtons
