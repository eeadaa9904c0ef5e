#include "MetaloomFeature/Views/Settings/UpdateResultDialog.h"

#include "MetaloomFeature/Views/Kit/SymbolIcons.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPushButton>

namespace Metaloom {

UpdateResultDialog::UpdateResultDialog(const UpdateCheckOutcome &outcome, QWidget *parent)
    : QMessageBox(parent)
{
    setWindowTitle(tr("Software Update"));
    setIconPixmap(applicationIcon().pixmap(64, 64));
    switch (outcome.kind) {
    case UpdateCheckOutcome::Kind::UpdateAvailable: {
        const Appcast::Item &update = *outcome.update;
        setText(tr("A new version of Metaloom is available"));
        setInformativeText(tr("Metaloom %1 is available; you have %2. Metaloom does not install "
                              "updates itself: get the new version from its download page.")
                               .arg(update.displayVersion, outcome.currentVersion));
        auto *download = addButton(tr("&Open Download Page"), QMessageBox::AcceptRole);
        addButton(tr("&Later"), QMessageBox::RejectRole);
        setDefaultButton(download);
        const QUrl page = update.downloadPage;
        connect(download, &QAbstractButton::clicked, this,
                [page] { QDesktopServices::openUrl(page); });
        m_download = download;
        break;
    }
    case UpdateCheckOutcome::Kind::UpToDate:
        setText(tr("You're up to date"));
        setInformativeText(
            tr("Metaloom %1 is the newest version available.").arg(outcome.currentVersion));
        setStandardButtons(QMessageBox::Ok);
        break;
    case UpdateCheckOutcome::Kind::Failed:
        setText(tr("Metaloom could not check for updates"));
        setInformativeText(outcome.errorMessage);
        setStandardButtons(QMessageBox::Ok);
        break;
    }
}

void UpdateResultDialog::present(const UpdateCheckOutcome &outcome)
{
    auto *dialog = new UpdateResultDialog(outcome, QApplication::activeWindow());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

} // namespace Metaloom
