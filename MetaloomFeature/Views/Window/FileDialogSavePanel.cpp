#include "MetaloomFeature/Views/Window/FileDialogSavePanel.h"

#include <QFileDialog>

namespace Metaloom {

FileDialogSavePanel::FileDialogSavePanel(QWidget *window) : m_window(window) {}

void FileDialogSavePanel::show(const Options &options, Completion completion)
{
    if (!m_window)
        return;
    auto *dialog = new QFileDialog(m_window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Only the one kind of file is offered, and a name typed without the
    // extension gets it.
    dialog->setNameFilter(QStringLiteral("%1 (*.%2)").arg(options.typeName, options.fileExtension));
    dialog->setDefaultSuffix(options.fileExtension);
    dialog->selectFile(options.suggestedFileName);

    QObject::connect(dialog, &QFileDialog::finished, dialog, [dialog, completion](int result) {
        const QList<QUrl> chosen = dialog->selectedUrls();
        if (result == QDialog::Accepted && !chosen.isEmpty())
            completion(chosen.first());
        else
            completion(std::nullopt);
    });
    dialog->open();
}

} // namespace Metaloom
