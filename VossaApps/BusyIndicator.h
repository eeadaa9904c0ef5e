#pragma once

#include <QTimer>
#include <QWidget>

namespace VossaApps {

// A small spinning progress indicator. It animates only while shown.
class BusyIndicator : public QWidget {
    Q_OBJECT

public:
    explicit BusyIndicator(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {16, 16}; }
    bool isAnimating() const { return m_timer.isActive(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QTimer m_timer;
    int m_step = 0;
};

} // namespace VossaApps
