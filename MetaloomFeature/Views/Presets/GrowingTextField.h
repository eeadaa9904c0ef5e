#pragma once

#include <QPlainTextEdit>

namespace Metaloom {

// A text field that grows downwards with its text, from one line up to a
// few, for values that may be long. Return is left to the window (it saves),
// Shift-Return starts a new line, Tab moves on to the next control.
class GrowingTextField : public QPlainTextEdit {
    Q_OBJECT

public:
    static constexpr int maximumLines = 5;

    explicit GrowingTextField(const QString &placeholder, QWidget *parent = nullptr);

    QString text() const { return toPlainText(); }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    int heightForLines(int lines) const;
    void fitToText();
};

} // namespace Metaloom
