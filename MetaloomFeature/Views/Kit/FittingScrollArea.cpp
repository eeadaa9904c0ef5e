#include "MetaloomFeature/Views/Kit/FittingScrollArea.h"

#include <QEvent>

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

void FittingScrollArea::setContent(QWidget *content)
{
    setWidget(content);
    content->setAutoFillBackground(false);
    content->installEventFilter(this);
}

bool FittingScrollArea::eventFilter(QObject *watched, QEvent *event)
{
    // Rows come and go and grow: the height this area asks for follows.
    if (watched == widget() && event->type() == QEvent::LayoutRequest)
        updateGeometry();
    return QScrollArea::eventFilter(watched, event);
}

QSize FittingScrollArea::sizeHint() const
{
    const int content = widget() ? widget()->sizeHint().height() : 0;
    return {QScrollArea::sizeHint().width(), std::min(m_maximumHeight, content + 2)};
}

} // namespace Metaloom
