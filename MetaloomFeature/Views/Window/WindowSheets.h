#pragma once

#include <QDialog>
#include <QObject>
#include <QPointer>
#include <QUuid>

#include <functional>

class QMessageBox;

namespace Metaloom {

class LibraryViewModel;
class PresetsStore;
class ConfirmationDialog;

// One window-modal dialog bound to a property of the library: it is shown
// while the property holds a value and closed when it is cleared. Closing
// it by the user's means (a button, Escape) runs `dismissed`, which writes
// the empty value back.
class SheetSlot {
public:
    QDialog *dialog() const { return m_dialog; }

    // Shows the dialog in place of any earlier one.
    void present(QDialog *dialog, std::function<void()> dismissed);
    // Closes the dialog without telling anyone: the property is already clear.
    void close();

private:
    QPointer<QDialog> m_dialog;
};

// The sheets and the alert of a main window, each driven by one property of
// its library: the preset manager, the two removal confirmations, the
// settings sheet, the error alert, titled by what failed, and the alert
// that offers to write anyway past a minor ExifTool error, the copy of
// metadata between files and the comparison of two.
class WindowSheets : public QObject {
    Q_OBJECT

public:
    WindowSheets(LibraryViewModel *viewModel, PresetsStore *presetsStore, QWidget *window);
    ~WindowSheets() override;

    QDialog *presetManager() const { return m_presetManager.dialog(); }
    QDialog *removeMetadataConfirmation() const { return m_removeMetadata.dialog(); }
    QDialog *removeAllMetadataConfirmation() const { return m_removeAllMetadata.dialog(); }
    QDialog *settings() const { return m_settings.dialog(); }
    QDialog *copyMetadata() const { return m_copyMetadata.dialog(); }
    QDialog *compare() const { return m_compare.dialog(); }
    QDialog *adjustDates() const { return m_adjustDates.dialog(); }
    QMessageBox *errorAlert() const;
    QMessageBox *writeAnywayAlert() const;
    // The alert's button that makes the change anyway.
    static QString writeAnywayButtonText() { return tr("&Write Anyway"); }

private:
    // Runs the library's operation later, if the library still exists then.
    std::function<void()> call(void (LibraryViewModel::*operation)()) const;
    void showPresetManager();
    void showRemoveMetadataConfirmation();
    void showRemoveAllMetadataConfirmation();
    void updateRemoveAllCount();
    void offerStripProfiles(ConfirmationDialog *dialog);
    void showSettings();
    void showError();
    void showWriteAnyway();
    void showCopyMetadata();
    void showCompare();
    void showAdjustDates();

    QPointer<LibraryViewModel> m_viewModel;
    QPointer<PresetsStore> m_presetsStore;
    QPointer<QWidget> m_window;
    SheetSlot m_presetManager;
    SheetSlot m_removeMetadata;
    SheetSlot m_removeAllMetadata;
    SheetSlot m_settings;
    SheetSlot m_error;
    SheetSlot m_writeAnyway;
    SheetSlot m_copyMetadata;
    SheetSlot m_compare;
    SheetSlot m_adjustDates;
    // Which request or error the open dialog answers.
    QUuid m_presetManagerID;
    QUuid m_removeMetadataID;
    QUuid m_removeAllMetadataID;
    QUuid m_errorID;
    QUuid m_writeAnywayID;
    QUuid m_copyMetadataID;
    QUuid m_compareID;
    QUuid m_adjustDatesID;
};

} // namespace Metaloom
