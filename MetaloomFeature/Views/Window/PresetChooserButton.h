#pragma once

#include <QAbstractButton>

class QMenu;

namespace Metaloom {

// The preset chooser: a bordered box showing the current choice (or a grey
// prompt when there is none) and a chevron; pressing it opens its menu.
class PresetChooserButton : public QAbstractButton {
    Q_OBJECT

public:
    PresetChooserButton(const QString &prompt, QWidget *parent = nullptr);

    // What the box reads; the prompt is shown while this is empty.
    void setChoiceText(const QString &text);
    QString choiceText() const { return text(); }
    QString shownText() const { return text().isEmpty() ? m_prompt : text(); }

    void setMenu(QMenu *menu);
    QMenu *menu() const { return m_menu; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void showMenu();

    QString m_prompt;
    QMenu *m_menu = nullptr;
};

} // namespace Metaloom
