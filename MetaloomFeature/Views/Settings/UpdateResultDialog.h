#pragma once

#include "MetaloomFeature/Updates/UpdateCheckOutcome.h"

#include <QMessageBox>

class QAbstractButton;

namespace Metaloom {

// Tells the user what an update check found: a newer version (with a button
// that opens its download page in the browser), that the running version is
// the newest, or why the check failed.
class UpdateResultDialog : public QMessageBox {
    Q_OBJECT

public:
    explicit UpdateResultDialog(const UpdateCheckOutcome &outcome, QWidget *parent = nullptr);

    // The download button, present only when a newer version was found.
    QAbstractButton *downloadButton() const { return m_download; }

    // Shows the dialog over the active window without waiting for it.
    static void present(const UpdateCheckOutcome &outcome);

private:
    QAbstractButton *m_download = nullptr;
};

} // namespace Metaloom
