#pragma once

#include <QAbstractButton>

namespace Metaloom {

// One tab of the settings sheet's tab bar: its symbol and title on a rounded
// rectangle, filled with the accent colour and drawn in white while it is
// the selected tab. Checked means selected.
class SettingsTabButton : public QAbstractButton {
    Q_OBJECT

public:
    SettingsTabButton(const QString &symbol, const QString &title, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_symbol;
};

} // namespace Metaloom
