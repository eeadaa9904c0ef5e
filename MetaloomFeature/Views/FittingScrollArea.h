#pragma once

#include <QScrollArea>

namespace Metaloom {

// A vertical scroll area as tall as its content, up to a limit, lying on its
// parent's background: a short list takes little room, a long one scrolls.
class FittingScrollArea : public QScrollArea {
    Q_OBJECT

public:
    FittingScrollArea(int maximumHeight, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return {0, 0}; }

private:
    int m_maximumHeight;
};

} // namespace Metaloom
