#pragma once

#include <QString>

class QPushButton;
class QToolButton;
class QWidget;

// The small buttons of the main window, drawn with the program's symbols in
// the text colour of their palette.
namespace Metaloom::PlainButtons {

// A borderless button showing only a symbol, with its help text as tooltip
// and accessible name.
QToolButton *iconButton(const QString &symbol, const QString &help, QWidget *parent,
                        int iconSize = 16);

// A bordered button with a symbol before its title.
QPushButton *labeledButton(const QString &symbol, const QString &title, QWidget *parent);

} // namespace Metaloom::PlainButtons
