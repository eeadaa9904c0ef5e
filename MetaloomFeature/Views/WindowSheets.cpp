#include "WindowSheets.h"

#include "Confirmations.h"
#include "MetadataOverridesEditor.h"
#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "PresetManagerView.h"
#include "SettingsView.h"
#include "UpdateCheckBridge.h"

#include <QMessageBox>

namespace Metaloom {

void SheetSlot::present(QDialog *dialog, std::function<void()> dismissed)
{
    close();
    m_dialog = dialog;
    dialog->setWindowModality(Qt::WindowModal);
    QObject::connect(dialog, &QDialog::finished, dialog, [this, dialog, dismissed] {
        if (m_dialog != dialog)
            return; // closed by close(): the property is already clear
        m_dialog = nullptr;
        dialog->deleteLater();
        if (dismissed)
            dismissed();
    });
    dialog->open();
}

void SheetSlot::close()
{
    // Hidden, not finished: a confirmation must not answer Cancel for a
    // request that was already answered or replaced.
    if (QDialog *dialog = m_dialog.data()) {
        m_dialog = nullptr;
        dialog->hide();
        dialog->deleteLater();
    }
}

WindowSheets::WindowSheets(LibraryViewModel *viewModel, PresetsStore *presetsStore, QWidget *window)
    : QObject(window), m_viewModel(viewModel), m_presetsStore(presetsStore), m_window(window)
{
    connect(viewModel, &LibraryViewModel::presetManagerStateChanged, this,
            &WindowSheets::showPresetManager);
    connect(viewModel, &LibraryViewModel::removeMetadataRequestChanged, this,
            &WindowSheets::showRemoveMetadataConfirmation);
    connect(viewModel, &LibraryViewModel::removeAllMetadataRequestChanged, this,
            &WindowSheets::showRemoveAllMetadataConfirmation);
    connect(viewModel, &LibraryViewModel::itemsChanged, this, &WindowSheets::updateRemoveAllCount);
    connect(viewModel, &LibraryViewModel::isMetadataSettingsPresentedChanged, this,
            &WindowSheets::showSettings);
    connect(viewModel, &LibraryViewModel::activeErrorChanged, this, &WindowSheets::showError);
}

WindowSheets::~WindowSheets()
{
    for (SheetSlot *slot :
         {&m_presetManager, &m_removeMetadata, &m_removeAllMetadata, &m_settings, &m_error})
        slot->close();
}

QMessageBox *WindowSheets::errorAlert() const
{
    return qobject_cast<QMessageBox *>(m_error.dialog());
}

void WindowSheets::showPresetManager()
{
    const auto state = m_viewModel ? m_viewModel->presetManagerState() : std::nullopt;
    if (!state) {
        m_presetManager.close();
        return;
    }
    // Each opening is a fresh manager.
    if (m_presetManager.dialog() && m_presetManagerID == state->id)
        return;
    m_presetManagerID = state->id;
    m_presetManager.present(new PresetManagerView(m_presetsStore, m_window), [this] {
        if (m_viewModel)
            m_viewModel->dismissPresetManager();
    });
}

void WindowSheets::showRemoveMetadataConfirmation()
{
    const auto request = m_viewModel ? m_viewModel->removeMetadataRequest() : std::nullopt;
    if (!request) {
        m_removeMetadata.close();
        return;
    }
    if (m_removeMetadata.dialog() && m_removeMetadataID == request->id)
        return;
    m_removeMetadataID = request->id;
    QPointer<LibraryViewModel> library = m_viewModel;
    ConfirmationDialog::Answers answers{[library] {
                                            if (library)
                                                library->confirmRemoveMetadata();
                                        },
                                        [library] {
                                            if (library)
                                                library->cancelRemoveMetadata();
                                        }};
    m_removeMetadata.present(
        new RemoveMetadataConfirmation(request->fileName, std::move(answers), m_window), {});
}

void WindowSheets::showRemoveAllMetadataConfirmation()
{
    const auto request = m_viewModel ? m_viewModel->removeAllMetadataRequest() : std::nullopt;
    if (!request) {
        m_removeAllMetadata.close();
        return;
    }
    if (m_removeAllMetadata.dialog() && m_removeAllMetadataID == request->id)
        return;
    m_removeAllMetadataID = request->id;
    QPointer<LibraryViewModel> library = m_viewModel;
    ConfirmationDialog::Answers answers{[library] {
                                            if (library)
                                                library->confirmRemoveAllMetadata();
                                        },
                                        [library] {
                                            if (library)
                                                library->cancelRemoveAllMetadata();
                                        }};
    m_removeAllMetadata.present(new RemoveAllMetadataConfirmation(int(m_viewModel->items().size()),
                                                                  std::move(answers), m_window),
                                {});
}

void WindowSheets::updateRemoveAllCount()
{
    if (auto *dialog = qobject_cast<RemoveAllMetadataConfirmation *>(m_removeAllMetadata.dialog()))
        dialog->setItemCount(int(m_viewModel->items().size()));
}

void WindowSheets::showSettings()
{
    if (!m_viewModel || !m_viewModel->isMetadataSettingsPresented()) {
        m_settings.close();
        return;
    }
    if (m_settings.dialog())
        return; // open already; it follows the library's tab itself
    m_settings.present(new SettingsView(m_viewModel, UpdateCheckBridge::shared(), m_window),
                       [this] {
                           if (m_viewModel)
                               m_viewModel->dismissMetadataSettings();
                       });
}

void WindowSheets::showError()
{
    const auto error = m_viewModel ? m_viewModel->activeError() : std::nullopt;
    if (!error) {
        m_error.close();
        return;
    }
    if (m_error.dialog() && m_errorID == error->id)
        return;
    m_errorID = error->id;
    auto *alert = new QMessageBox(QMessageBox::Warning, tr("ExifTool Error"), error->message,
                                  QMessageBox::Ok, m_window);
    alert->setTextFormat(Qt::PlainText);
    m_error.present(alert, [this] {
        if (m_viewModel)
            m_viewModel->setActiveError(std::nullopt);
    });
}

} // namespace Metaloom
