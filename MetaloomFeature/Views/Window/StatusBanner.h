#pragma once

#include <QVariantAnimation>
#include <QWidget>

#include <optional>

namespace Metaloom {

// The transient status line, laid over the bottom of its parent: a small
// card with the message that rises from the bottom edge while fading in,
// and sinks away fading out when the message is cleared. A new message
// while one is shown just replaces the text.
class StatusBanner : public QWidget {
    Q_OBJECT

public:
    static constexpr int bottomPadding = 16;

    explicit StatusBanner(QWidget *parent);

    // The message to show, or nothing to let the banner leave.
    void showMessage(const std::optional<QString> &message);
    QString message() const { return m_message; }
    // Shown, or on its way in.
    bool isPresented() const { return m_presented; }

    // How far up from its parent's bottom edge the resting banner reaches:
    // a list under it keeps that much room free while it is presented.
    int reservedHeight() const;

    QSize sizeHint() const override;

Q_SIGNALS:
    void presentedChanged(bool presented);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place();
    void animateTo(qreal progress);

    QString m_message;
    bool m_presented = false;
    // 0 hidden below the edge and transparent, 1 resting and opaque.
    qreal m_progress = 0;
    QVariantAnimation m_animation;
};

} // namespace Metaloom
