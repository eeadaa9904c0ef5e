#include "FittingScrollArea.h"

namespace Metaloom {

FittingScrollArea::FittingScrollArea(int maximumHeight, QWidget *parent)
    : QScrollArea(parent), m_maximumHeight(maximumHeight)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Maximum);
    viewport()->setAutoFillBackground(false);
}

QSize FittingScrollArea::sizeHint() const
{
    const int content = widget() ? widget()->sizeHint().height() : 0;
    return {QScrollArea::sizeHint().width(), std::min(m_maximumHeight, content + 2)};
}

} // namespace Metaloom
