#pragma once

#include <QPointer>
#include <QWidget>

class QPropertyAnimation;
class QParallelAnimationGroup;

namespace Metaloom {

// A short success notice: a green check mark and a message on a small
// rounded card with a soft shadow. Laid over the top of its parent, centred,
// it slides down and fades in when presented and leaves the same way.
class ConfirmationBanner : public QWidget {
    Q_OBJECT
    Q_PROPERTY(qreal opacity READ opacity WRITE setOpacity)

public:
    static constexpr int topPadding = 8;

    explicit ConfirmationBanner(const QString &message, QWidget *parent = nullptr);

    QString message() const { return m_message; }
    void setMessage(const QString &message);

    // Whether the banner is shown or on its way in (not on its way out).
    bool isPresented() const { return m_presented; }
    void present();
    void dismiss();

    qreal opacity() const { return m_opacity; }
    void setOpacity(qreal opacity);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRect cardRect() const;
    QPoint restingPosition() const;
    QPoint hiddenPosition() const;
    void animateTo(bool presented);

    QString m_message;
    qreal m_opacity = 1.0;
    bool m_presented = false;
    QPointer<QParallelAnimationGroup> m_animation;
};

} // namespace Metaloom
