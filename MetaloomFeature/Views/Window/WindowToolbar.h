#pragma once

#include <QPointer>
#include <QToolBar>

class QLineEdit;
class QMenu;
class QToolButton;

namespace Metaloom {

class LibraryViewModel;
class PresetsStore;

// The toolbar of a main window: the sidebar toggle, then the metadata
// filter (only while a file is selected), the Apply Preset menu over the
// window's own presets, the preset manager button and Remove All Metadata.
class WindowToolbar : public QToolBar {
    Q_OBJECT

public:
    WindowToolbar(LibraryViewModel *viewModel, PresetsStore *presetsStore,
                  QWidget *parent = nullptr);

    QLineEdit *searchField() const { return m_searchField; }
    // Whether the search field is part of the toolbar now.
    bool isSearchFieldShown() const;
    QToolButton *applyPresetButton() const { return m_applyPreset; }
    QMenu *applyPresetMenu() const { return m_presetMenu; }
    QToolButton *presetManagerButton() const { return m_presetManager; }
    QToolButton *removeAllMetadataButton() const { return m_removeAll; }

Q_SIGNALS:
    void sidebarToggled();

private:
    QWidget *makeSearchField();
    void rebuildPresetMenu();
    void updateEnabledState();
    void showSearchText();

    QPointer<LibraryViewModel> m_viewModel;
    QPointer<PresetsStore> m_presetsStore;
    QToolButton *m_sidebarToggle;
    QLineEdit *m_searchField = nullptr;
    QAction *m_searchAction = nullptr;
    QToolButton *m_applyPreset;
    QMenu *m_presetMenu;
    QToolButton *m_presetManager;
    QToolButton *m_removeAll;
};

} // namespace Metaloom
