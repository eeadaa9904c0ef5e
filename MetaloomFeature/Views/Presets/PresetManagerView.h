#pragma once

#include "MetaloomFeature/Model/Preset.h"
#include "MetaloomFeature/Platform/ResourceBundle.h"
#include "MetaloomFeature/Views/Presets/TagKeyCatalog.h"

#include <QCoroTask>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <chrono>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QVBoxLayout;

namespace Metaloom {

class ConfirmationBanner;
class ExifToolService;
class MetadataOverridesEditor;
class PresetChooserButton;
class PresetsStore;

// The sheet in which the user creates, edits, saves and deletes presets. It
// edits one preset at a time in a working copy and writes to the store only
// on Save and Delete; closing it drops unsaved edits without a question.
// The tag keys for its pickers come from an engine of its own, loaded in the
// background: until they arrive, or if they never do, keys are typed.
class PresetManagerView : public QDialog {
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds confirmationDuration{1500};

    // The engine that lists the tag keys runs the ExifTool of `keysBundle`,
    // or the application's own when none is given.
    explicit PresetManagerView(PresetsStore *presetsStore, QWidget *parent = nullptr,
                               std::optional<ResourceBundle> keysBundle = std::nullopt);
    ~PresetManagerView() override;

    std::optional<QUuid> selectedPresetID() const { return m_selectedPresetID; }
    bool isCreatingNew() const { return m_isCreatingNew; }
    const std::optional<Preset> &editingPreset() const { return m_editingPreset; }
    bool showSaveConfirmation() const { return m_showSaveConfirmation; }
    const QStringList &availableKeys() const { return m_availableKeys; }
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

Q_SIGNALS:
    void availableKeysChanged();

private:
    QWidget *makeHeader();
    QWidget *makePresetRow();
    QWidget *makeButtonRow();
    void rebuildChooserMenu();
    void setSelectedPresetID(std::optional<QUuid> id);
    void setWorkingCopy(std::optional<Preset> preset, bool creatingNew);
    void refreshControls();
    void rebuildDetailIfNeeded();
    QString editorIdentity() const;
    void setShowSaveConfirmation(bool shown);
    void reportUnwrittenChange();
    void alert(const QString &title, const QString &text, const QString &name);
    void setAvailableKeys(const QStringList &keys);
    QCoro::Task<void> loadAvailableKeys();

    PresetsStore *m_store;
    std::optional<QUuid> m_selectedPresetID;
    bool m_isCreatingNew = false;
    std::optional<Preset> m_editingPreset;
    bool m_showSaveConfirmation = false;
    QStringList m_availableKeys;
    std::shared_ptr<const TagKeyCatalog> m_keyCatalog;
    ExifToolService *m_engine = nullptr;

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
};

} // namespace Metaloom
