#pragma once

#include "MetaloomFeature/Library/Presets/PresetEditing.h"
#include "MetaloomFeature/Model/Preset.h"

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QMenu;
class QMessageBox;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace Metaloom {

class ConfirmationBanner;
class MetadataEngine;
class MetadataOverridesEditor;
class PresetChooserButton;
class PresetsStore;

// The sheet in which the user creates, edits, saves and deletes presets. It
// shows and drives a PresetEditing: one preset at a time in a working copy,
// written to the store only on Save and Delete; closing it with unsaved
// edits asks first whether to save them, drop them or stay. The tag keys for its pickers come from
// the window's engine, loaded in the background: until they arrive, or if they never do, keys are
// typed.
class PresetManagerView : public QDialog {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds confirmationDuration{1500};

    // The window's presets and its engine (LibraryViewModel::presetsStore
    // and engine), which lists the tag keys.
    PresetManagerView(PresetsStore *presetsStore, std::shared_ptr<MetadataEngine> engine,
                      QWidget *parent = nullptr);
    ~PresetManagerView() override;

    const PresetEditing &editing() const { return *m_editing; }
    std::optional<QUuid> selectedPresetID() const { return m_editing->selectedPresetID(); }
    bool isCreatingNew() const { return m_editing->isCreatingNew(); }
    const std::optional<Preset> &editingPreset() const { return m_editing->editingPreset(); }
    bool showSaveConfirmation() const { return m_showSaveConfirmation; }
    const QStringList &availableKeys() const { return m_editing->availableKeys(); }
    // "New Preset" while creating one, else the working copy's name.
    QString chooserText() const;

    // What the controls do.
    void selectPreset(const QUuid &id);
    void startNewPreset();
    void save();
    void deletePreset();

    PresetChooserButton *chooser() const { return m_chooser; }
    QMenu *chooserMenu() const { return m_chooserMenu; }
    QLineEdit *nameField() const { return m_nameField; }
    QToolButton *deleteButton() const { return m_deleteButton; }
    QPushButton *saveButton() const { return m_saveButton; }
    QPushButton *closeButton() const { return m_closeButton; }
    // The editor of the working copy; null without one.
    MetadataOverridesEditor *editor() const { return m_editor; }
    ConfirmationBanner *banner() const { return m_banner; }
    // The question asked on closing with unsaved edits, while it is open.
    QMessageBox *unsavedQuestion() const { return m_unsavedQuestion; }

    // Closing (Close, Escape, the window's close button) asks first while
    // the working copy has unsaved edits.
    void done(int result) override;

private:
    QWidget *makeHeader();
    QWidget *makePresetRow();
    QWidget *makeButtonRow();
    void rebuildChooserMenu();
    void showWorkingCopy();
    void refreshControls();
    void rebuildDetailIfNeeded();
    void setShowSaveConfirmation(bool shown);
    void reportUnwrittenChange();
    void alert(const QString &title, const QString &text, const QString &name);
    void askAboutUnsavedEdits(int result);
    PresetEditing::SaveOutcome saveWorkingCopy();

    PresetEditing *m_editing = nullptr;
    bool m_showSaveConfirmation = false;

    PresetChooserButton *m_chooser = nullptr;
    QMenu *m_chooserMenu = nullptr;
    QLineEdit *m_nameField = nullptr;
    QToolButton *m_deleteButton = nullptr;
    QPushButton *m_saveButton = nullptr;
    QPushButton *m_closeButton = nullptr;
    QVBoxLayout *m_detailLayout = nullptr;
    QWidget *m_detail = nullptr;
    QString m_detailIdentity;
    QPointer<MetadataOverridesEditor> m_editor;
    ConfirmationBanner *m_banner = nullptr;
    QTimer m_confirmationTimer;
    QPointer<QMessageBox> m_unsavedQuestion;
};

} // namespace Metaloom
