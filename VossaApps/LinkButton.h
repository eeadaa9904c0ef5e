#pragma once

#include <QAbstractButton>
#include <QUrl>

namespace VossaApps {

// A button that looks like a link and opens its address in the browser.
class LinkButton : public QAbstractButton {
    Q_OBJECT

public:
    LinkButton(const QString &text, const QUrl &url, QWidget *parent = nullptr);

    QUrl url() const { return m_url; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    QUrl m_url;
    bool m_hovering = false;
};

} // namespace VossaApps
