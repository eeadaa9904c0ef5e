#include "PreviewPalette.h"

#include <QGuiApplication>
#include <QPalette>

namespace Metaloom::Testing {

void useDarkPreviewPalette()
{
    const QColor text(0xee, 0xee, 0xee);
    const QColor disabled(0x80, 0x80, 0x80);
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2d));
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, QColor(0x3a, 0x3a, 0x3c));
    palette.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x35));
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(0x45, 0x45, 0x48));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(0x3d, 0x8b, 0xf7));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, QColor(0x5a, 0xa5, 0xff));
    palette.setColor(QPalette::PlaceholderText, QColor(0x90, 0x90, 0x94));
    palette.setColor(QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3c));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Disabled, QPalette::Text, disabled);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, disabled);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    QGuiApplication::setPalette(palette);
}

} // namespace Metaloom::Testing
