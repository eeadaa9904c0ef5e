#pragma once

#include "AppsFeed.h"

#include <QAbstractButton>
#include <QImage>

#include <optional>

namespace VossaApps {

class RemoteIconCache;

// One application of the catalog: icon, name, one line about it and an arrow,
// on a rounded card. The whole card is a button that opens the application's
// web page. Hovering changes only the arrow's and the border's opacity, so
// nothing moves under the pointer.
class AppRow : public QAbstractButton {
    Q_OBJECT

public:
    explicit AppRow(const AppsFeed::Entry &app, QWidget *parent = nullptr);
    // With the icon cache to use instead of the shared one.
    AppRow(const AppsFeed::Entry &app, RemoteIconCache *icons, QWidget *parent = nullptr);

    const AppsFeed::Entry &app() const { return m_app; }
    bool isHovering() const { return m_hovering; }
    bool hasIconImage() const { return m_icon.has_value(); }

    // Where the two hover-dependent parts are drawn, and how strongly.
    QRectF arrowRect() const;
    qreal arrowOpacity() const { return m_hovering ? 1.0 : 0.35; }
    qreal borderOpacity() const { return m_hovering ? 0.55 : 0.0; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void setHovering(bool hovering);
    int textWidth(int rowWidth) const;
    int summaryHeight(int textWidth) const;
    QRect iconRect() const;

    AppsFeed::Entry m_app;
    std::optional<QImage> m_icon;
    bool m_hovering = false;
    bool m_keyboardFocus = false;
};

} // namespace VossaApps
