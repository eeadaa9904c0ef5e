#include "MetaloomFeature/Views/Presets/GrowingTextField.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QTextBlock>

namespace Metaloom {

GrowingTextField::GrowingTextField(const QString &placeholder, QWidget *parent)
    : QPlainTextEdit(parent)
{
    setPlaceholderText(placeholder);
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    document()->setDocumentMargin(3);
    connect(this, &QPlainTextEdit::textChanged, this, &GrowingTextField::fitToText);
    fitToText();
}

int GrowingTextField::heightForLines(int lines) const
{
    const QMargins margins = contentsMargins();
    return lines * fontMetrics().lineSpacing() + int(2 * document()->documentMargin()) +
           margins.top() + margins.bottom() + 2;
}

QSize GrowingTextField::sizeHint() const
{
    return {QPlainTextEdit::sizeHint().width(), height()};
}

QSize GrowingTextField::minimumSizeHint() const
{
    return {60, heightForLines(1)};
}

void GrowingTextField::fitToText()
{
    // Wrapped lines count: the layout knows them once the width is known.
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines += std::max(1, block.layout() ? block.layout()->lineCount() : 1);
    const int wanted = heightForLines(std::clamp(lines, 1, maximumLines));
    if (wanted != height()) {
        setFixedHeight(wanted);
        updateGeometry();
    }
}

void GrowingTextField::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    fitToText();
}

void GrowingTextField::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (isReturn && !(event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier))) {
        event->ignore();
        return;
    }
    if (isReturn) {
        insertPlainText(QStringLiteral("\n"));
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace Metaloom
