#pragma once

#include <QScrollArea>

namespace Metaloom {

// A vertical scroll area as tall as its content, up to a limit, lying on its
// parent's background: a short list takes little room, a long one scrolls.
class FittingScrollArea : public QScrollArea {
    Q_OBJECT

public:
    FittingScrollArea(int maximumHeight, QWidget *parent = nullptr);

    // Shows the content on the parent's background (a plain setWidget()
    // would give it a fill of its own).
    void setContent(QWidget *content);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    int m_maximumHeight;
};

} // namespace Metaloom
