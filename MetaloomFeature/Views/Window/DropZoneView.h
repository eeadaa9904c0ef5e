#pragma once

#include <QWidget>

#include <functional>

class QPushButton;

namespace Metaloom {

// What an empty library shows in place of the editor: a large dashed frame
// inviting a drop, a short guide, and a Select Files… button that runs
// `action`. The frame takes the accent colour while files hover over the
// window.
class DropZoneView : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool isHighlighted READ isHighlighted WRITE setHighlighted)

public:
    explicit DropZoneView(std::function<void()> action, QWidget *parent = nullptr);

    bool isHighlighted() const { return m_isHighlighted; }
    void setHighlighted(bool highlighted);

    QPushButton *selectFilesButton() const { return m_button; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QRectF frameRect() const;

    std::function<void()> m_action;
    bool m_isHighlighted = false;
    QPushButton *m_button;
};

} // namespace Metaloom
