#include "MetaloomFeature/Views/Window/WindowSheets.h"

#include "MetaloomFeature/Views/Copying/CompareView.h"
#include "MetaloomFeature/Views/Copying/CopyMetadataDialog.h"
#include "MetaloomFeature/Views/Kit/Confirmations.h"
#include "MetaloomFeature/Views/Presets/MetadataOverridesEditor.h"
#include "MetaloomFeature/Views/Presets/PresetManagerView.h"
#include "MetaloomFeature/Views/Settings/SettingsView.h"
#include "MetaloomFeature/Views/Window/AdjustDatesSheet.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Library/PrivacyReportTexts.h"
#include "MetaloomFeature/Model/PresetsStore.h"
#include "MetaloomFeature/Updates/UpdateCheckBridge.h"

#include <QMessageBox>
#include <QPushButton>

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
    connect(viewModel, &LibraryViewModel::writeAnywayRequestChanged, this,
            &WindowSheets::showWriteAnyway);
    connect(viewModel, &LibraryViewModel::copyMetadataRequestChanged, this,
            &WindowSheets::showCopyMetadata);
    connect(viewModel, &LibraryViewModel::comparisonChanged, this, &WindowSheets::showCompare);
    connect(viewModel, &LibraryViewModel::adjustDatesRequestChanged, this,
            &WindowSheets::showAdjustDates);
}

WindowSheets::~WindowSheets()
{
    for (SheetSlot *slot : {&m_presetManager, &m_removeMetadata, &m_removeAllMetadata, &m_settings,
                            &m_error, &m_writeAnyway, &m_copyMetadata, &m_compare,
                            &m_adjustDates})
        slot->close();
}

QMessageBox *WindowSheets::errorAlert() const
{
    return qobject_cast<QMessageBox *>(m_error.dialog());
}

QMessageBox *WindowSheets::writeAnywayAlert() const
{
    return qobject_cast<QMessageBox *>(m_writeAnyway.dialog());
}

namespace {

// Shows the dialog of a request (or error) while the library holds one: a
// new request replaces the dialog, the same one leaves it be, none closes it.
template <typename Request, typename MakeDialog>
void presentFor(SheetSlot &slot, QUuid &shownID, const std::optional<Request> &request,
                MakeDialog makeDialog, std::function<void()> dismissed)
{
    if (!request) {
        slot.close();
        return;
    }
    if (slot.dialog() && shownID == request->id)
        return;
    shownID = request->id;
    slot.present(makeDialog(*request), std::move(dismissed));
}

} // namespace

std::function<void()> WindowSheets::call(void (LibraryViewModel::*operation)()) const
{
    QPointer<LibraryViewModel> library = m_viewModel;
    return [library, operation] {
        if (library)
            (library.data()->*operation)();
    };
}

void WindowSheets::showPresetManager()
{
    presentFor(
        m_presetManager, m_presetManagerID,
        m_viewModel ? m_viewModel->presetManagerState() : std::nullopt,
        [this](const auto &) {
            return new PresetManagerView(m_presetsStore, m_viewModel->engine(), m_window);
        },
        call(&LibraryViewModel::dismissPresetManager));
}

void WindowSheets::showAdjustDates()
{
    presentFor(
        m_adjustDates, m_adjustDatesID,
        m_viewModel ? m_viewModel->adjustDatesRequest() : std::nullopt,
        [this](const AdjustDatesRequest &request) {
            return new AdjustDatesSheet(m_viewModel, request, m_window);
        },
        call(&LibraryViewModel::cancelAdjustDates));
}

void WindowSheets::showRemoveMetadataConfirmation()
{
    presentFor(m_removeMetadata, m_removeMetadataID,
               m_viewModel ? m_viewModel->removeMetadataRequest() : std::nullopt,
               [this](const LibraryViewModel::RemoveMetadataRequest &request) {
                   auto *dialog = new RemoveMetadataConfirmation(
                       request.fileName,
                       {call(&LibraryViewModel::confirmRemoveMetadata),
                        call(&LibraryViewModel::cancelRemoveMetadata)},
                       m_window);
                   offerStripProfiles(dialog);
                   return dialog;
               },
               {});
}

void WindowSheets::showRemoveAllMetadataConfirmation()
{
    presentFor(m_removeAllMetadata, m_removeAllMetadataID,
               m_viewModel ? m_viewModel->removeAllMetadataRequest() : std::nullopt,
               [this](const auto &) {
                   auto *dialog = new RemoveAllMetadataConfirmation(
                       int(m_viewModel->items().size()),
                       {call(&LibraryViewModel::confirmRemoveAllMetadata),
                        call(&LibraryViewModel::cancelRemoveAllMetadata)},
                       m_window);
                   offerStripProfiles(dialog);
                   return dialog;
               },
               {});
}

void WindowSheets::offerStripProfiles(ConfirmationDialog *dialog)
{
    // The confirmation names the profile the strip uses, and changes it.
    const QList<StripProfile> profiles = m_viewModel->stripProfiles();
    QStringList titles;
    int current = 0;
    for (const StripProfile &profile : profiles) {
        if (profile.name == m_viewModel->stripProfileName())
            current = int(titles.size());
        titles << PrivacyReportTexts::profileTitle(profile);
    }
    // The question names the profile unless it strips everything.
    const auto follow = [titles, profiles,
                         dialog = QPointer<ConfirmationDialog>(dialog)](int index) {
        if (!dialog || index >= profiles.size())
            return;
        const QString title = profiles.at(index).name == StripProfile::everything().name
                                  ? QString()
                                  : titles.at(index);
        if (auto *one = qobject_cast<RemoveMetadataConfirmation *>(dialog.data()))
            one->setProfileTitle(title);
        else if (auto *all = qobject_cast<RemoveAllMetadataConfirmation *>(dialog.data()))
            all->setProfileTitle(title);
    };
    follow(current);
    QPointer<LibraryViewModel> library = m_viewModel;
    dialog->setChoice(tr("Strip profile:"), titles, current,
                      [library, profiles, follow](int index) {
                          if (library && index < profiles.size())
                              library->setStripProfileName(profiles.at(index).name);
                          follow(index);
                      });
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
    presentFor(
        m_error, m_errorID, m_viewModel ? m_viewModel->activeError() : std::nullopt,
        [this](const LibraryViewModel::ViewModelError &error) {
            auto *alert = new QMessageBox(QMessageBox::Warning, error.title, error.message,
                                          QMessageBox::Ok, m_window);
            alert->setTextFormat(Qt::PlainText);
            return alert;
        },
        [this] {
            if (m_viewModel)
                m_viewModel->setActiveError(std::nullopt);
        });
}

void WindowSheets::showWriteAnyway()
{
    // OK leaves the file as it is, like any dismissal; only the button
    // that says so makes the change.
    presentFor(
        m_writeAnyway, m_writeAnywayID,
        m_viewModel ? m_viewModel->writeAnywayRequest() : std::nullopt,
        [this](const LibraryViewModel::WriteAnywayRequest &request) {
            auto *alert = new QMessageBox(QMessageBox::Warning, request.title, request.message,
                                          QMessageBox::Ok, m_window);
            alert->setTextFormat(Qt::PlainText);
            QPushButton *anyway =
                alert->addButton(writeAnywayButtonText(), QMessageBox::AcceptRole);
            alert->setDefaultButton(QMessageBox::Ok);
            alert->setEscapeButton(alert->button(QMessageBox::Ok));
            // Connected before the slot's own handler of `finished`, so the
            // answer is given before the dismissal would cancel the request.
            QPointer<LibraryViewModel> library = m_viewModel;
            connect(alert, &QDialog::finished, alert, [library, alert, anyway] {
                if (library && alert->clickedButton() == anyway)
                    library->confirmWriteAnyway();
            });
            return alert;
        },
        call(&LibraryViewModel::cancelWriteAnyway));
}

void WindowSheets::showCopyMetadata()
{
    presentFor(
        m_copyMetadata, m_copyMetadataID,
        m_viewModel ? m_viewModel->copyMetadataRequest() : std::nullopt,
        [this](const CopyMetadataRequest &request) {
            return new CopyMetadataDialog(m_viewModel, request, m_window);
        },
        call(&LibraryViewModel::cancelCopyMetadata));
}

void WindowSheets::showCompare()
{
    // The view follows the comparison's rows itself; a new one (other
    // files) replaces it.
    presentFor(
        m_compare, m_compareID, m_viewModel ? m_viewModel->comparison() : std::nullopt,
        [this](const auto &) { return new CompareView(m_viewModel, m_window); },
        call(&LibraryViewModel::dismissCompare));
}

} // namespace Metaloom
