#pragma once

#include "MetaloomFeature/Library/BatchProgress.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace Metaloom {

class LibraryViewModel;

// The strip across the detail area while a change of several files runs:
// "Removing metadata: 3 of 17 — photo.jpg" over a bar filled to the files
// done, and Cancel, which stops the batch after the file being changed.
// Hidden while no batch runs.
class BatchProgressView : public QWidget {
    Q_OBJECT

public:
    explicit BatchProgressView(LibraryViewModel *viewModel, QWidget *parent = nullptr);

    QLabel *textLabel() const { return m_text; }
    QProgressBar *bar() const { return m_bar; }
    QPushButton *cancelButton() const { return m_cancel; }

private:
    void showProgress();

    QPointer<LibraryViewModel> m_viewModel;
    QLabel *m_text;
    QProgressBar *m_bar;
    QPushButton *m_cancel;
};

} // namespace Metaloom
