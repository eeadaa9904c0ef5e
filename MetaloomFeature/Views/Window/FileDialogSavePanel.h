#pragma once

#include "MetaloomFeature/Library/SavePanel.h"

#include <QPointer>
#include <QWidget>

namespace Metaloom {

// The library's save panel as a window-modal file dialog over a window. The
// dialog is shown with open(), so the window keeps running; closing the
// window closes the dialog without an answer.
class FileDialogSavePanel : public SavePanel {
public:
    explicit FileDialogSavePanel(QWidget *window);

    void show(const Options &options, Completion completion) override;

private:
    QPointer<QWidget> m_window;
};

} // namespace Metaloom
