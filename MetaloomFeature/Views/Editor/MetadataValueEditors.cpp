#include "MetaloomFeature/Views/Editor/MetadataValueEditors.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QWheelEvent>

namespace Metaloom {

ValueTextEditor::ValueTextEditor(QWidget *parent) : QPlainTextEdit(parent)
{
    setFrameShape(QFrame::NoFrame);
    // The row grows with the text up to a dozen lines; a longer text
    // scrolls inside the box, with a bar that says how much more there is.
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    setTabChangesFocus(true);
    // Files dropped here are imported by the window, not typed as text.
    setAcceptDrops(false);
    document()->setDocumentMargin(0);
    // The row paints the box underneath; the editor only adds the text.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    QPalette transparent = palette();
    transparent.setColor(QPalette::Base, Qt::transparent);
    setPalette(transparent);
    // Return ends editing here, unlike in most text boxes of several lines:
    // the field says so before the first surprise.
    setPlaceholderText(tr("Value (Return finishes, Shift+Return adds a line)"));
    setToolTip(tr("Return finishes editing the value; Shift+Return starts a new line."));
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_showingValue)
            Q_EMIT edited(text());
    });
}

QString ValueTextEditor::text() const
{
    // Blocks are lines; the raw text keeps every other character as typed.
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, u'\n');
    raw.replace(QChar::LineSeparator, u'\n');
    return raw;
}

void ValueTextEditor::showValue(const QString &value)
{
    if (value == text())
        return;
    const QScopedValueRollback<bool> guard(m_showingValue, true);
    setPlainText(value);
    moveCursor(QTextCursor::End);
}

void ValueTextEditor::keyPressEvent(QKeyEvent *event)
{
    // Copy with nothing selected copies the whole value, as on a row
    // without an editor.
    if (event->matches(QKeySequence::Copy) && !textCursor().hasSelection()) {
        QGuiApplication::clipboard()->setText(text());
        return;
    }
    const bool plain = !(event->modifiers() & (Qt::ShiftModifier | Qt::AltModifier |
                                               Qt::ControlModifier | Qt::MetaModifier));
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (plain) {
            Q_EMIT finished();
        } else {
            insertPlainText(QStringLiteral("\n"));
        }
        return;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (!plain)
            break;
        const bool up = event->key() == Qt::Key_Up;
        QTextCursor probe = textCursor();
        if (!probe.movePosition(up ? QTextCursor::Up : QTextCursor::Down)) {
            Q_EMIT moveRequested(up ? -1 : 1);
            return;
        }
        break;
    }
    default:
        break;
    }
    QPlainTextEdit::keyPressEvent(event);
}

ValueListEditor::ValueListEditor(QWidget *parent) : ValueTextEditor(parent)
{
    setPlaceholderText(tr("One item per line (Return on an empty line finishes)"));
    setToolTip(tr("Return starts the next item; Return on an empty line or Ctrl+Return "
                  "finishes editing the list."));
}

QStringList ValueListEditor::items() const
{
    return LibraryViewModel::itemsOfText(text());
}

void ValueListEditor::showItems(const QStringList &items)
{
    if (items == this->items())
        return;
    showValue(items.join(u'\n'));
}

void ValueListEditor::keyPressEvent(QKeyEvent *event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!isReturn) {
        ValueTextEditor::keyPressEvent(event);
        return;
    }
    const bool onEmptyLine = textCursor().block().text().trimmed().isEmpty();
    if ((event->modifiers() & Qt::ControlModifier) || onEmptyLine) {
        Q_EMIT finished();
        return;
    }
    insertPlainText(QStringLiteral("\n"));
}

ValueChoiceEditor::ValueChoiceEditor(QWidget *parent) : QComboBox(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index < 0)
            return;
        m_value = itemText(index);
        Q_EMIT chosen(m_value);
    });
}

QStringList ValueChoiceEditor::labels() const
{
    QStringList labels;
    for (int i = 0; i < count(); ++i)
        labels.append(itemText(i));
    return labels;
}

void ValueChoiceEditor::showChoices(const QStringList &labels, const QString &value)
{
    const QSignalBlocker blocker(this);
    m_value = value;
    if (labels != this->labels()) {
        clear();
        addItems(labels);
    }
    // Choices are told apart by their label; a value matching none shows
    // itself with nothing selected.
    setPlaceholderText(value);
    setCurrentIndex(int(labels.indexOf(value)));
}

void ValueChoiceEditor::keyPressEvent(QKeyEvent *event)
{
    const bool alt = event->modifiers() & Qt::AltModifier;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (alt && event->key() == Qt::Key_Down) {
            showPopup();
        } else {
            Q_EMIT moveRequested(event->key() == Qt::Key_Up ? -1 : 1);
        }
        return;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_F4:
        showPopup();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        QComboBox::keyPressEvent(event);
        return;
    default:
        // Typing would pick a value by its first letter without a look at
        // the list; it is ignored instead.
        event->ignore();
        return;
    }
}

void ValueChoiceEditor::wheelEvent(QWheelEvent *event)
{
    // The wheel scrolls the list of rows, never the value under the pointer.
    event->ignore();
}

} // namespace Metaloom
