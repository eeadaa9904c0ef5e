#pragma once

#include <QComboBox>
#include <QPlainTextEdit>

namespace Metaloom {

// The two editors of a metadata row. Both pass every change at once and
// hand the arrow keys at their edge back to the list, so Up and Down walk
// through the rows while each row edits in place.

// Free text, wrapped like the painted value. Return ends editing,
// Shift-Return starts a new line.
class ValueTextEditor : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit ValueTextEditor(QWidget *parent = nullptr);

    QString text() const;
    // Shows a value that changed elsewhere (revert, reload); the cursor
    // stays where it was when the text is the same. Not reported as an edit.
    void showValue(const QString &value);

Q_SIGNALS:
    // The user changed the text.
    void edited(const QString &text);
    // Up on the first line (-1) or Down on the last line (+1).
    void moveRequested(int delta);
    void finished();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_showingValue = false;
};

// The items of a list tag, one per line. Return starts the next item, and
// Return on an empty line (or Ctrl+Return) ends editing; blank lines are no
// items. Changes are passed as the whole list of items.
class ValueListEditor : public ValueTextEditor {
    Q_OBJECT

public:
    explicit ValueListEditor(QWidget *parent = nullptr);

    QStringList items() const;
    // Shows items that changed elsewhere; lines being typed that stand for
    // the same items (a new empty line) stay as they are.
    void showItems(const QStringList &items);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// A choice among the permitted values of an enumerated tag. A value that is
// none of them shows as it is, with nothing chosen. Only an explicit choice
// changes the value: arrow keys move through the rows, typing and the wheel
// do nothing, Space, Return or Alt-Down open the list.
class ValueChoiceEditor : public QComboBox {
    Q_OBJECT

public:
    explicit ValueChoiceEditor(QWidget *parent = nullptr);

    QStringList labels() const;
    void showChoices(const QStringList &labels, const QString &value);
    QString value() const { return m_value; }

Q_SIGNALS:
    void chosen(const QString &label);
    void moveRequested(int delta);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    QString m_value;
};

} // namespace Metaloom
