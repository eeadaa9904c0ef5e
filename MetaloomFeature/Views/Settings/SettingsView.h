#pragma once

#include "MetaloomFeature/Library/SettingsTab.h"
#include "MetaloomFeature/Platform/AppInfo.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

class QStackedWidget;
class QToolButton;

namespace VossaApps {
class VossaAppsTab;
}

namespace Metaloom {

class AboutPage;
class LibraryViewModel;
class MetadataSettingsView;
class SettingsTabButton;
class UpdateCheckBridge;

// The settings sheet: the metadata field settings, the maker's other
// applications and the About page, one tab at a time. It opens on the
// library's chosen tab and follows it; choosing a tab by hand changes only
// what the sheet shows. It is open while the library says so: closing it in
// any way tells the library, and the library closing it closes the window.
class SettingsView : public QDialog {
    Q_OBJECT

public:
    using Tab = SettingsTab;

    explicit SettingsView(LibraryViewModel *viewModel, UpdateCheckBridge *updateBridge = nullptr,
                          QWidget *parent = nullptr, const AppInfo &info = AppInfo::main());

    Tab selectedTab() const { return m_selectedTab; }
    void selectTab(Tab tab);

    // Tab titles and symbols, in tab order.
    static QString title(Tab tab);
    static QString symbol(Tab tab);

    SettingsTabButton *tabButton(Tab tab) const { return m_tabButtons.value(tab); }
    QToolButton *closeButton() const { return m_closeButton; }
    MetadataSettingsView *metadataView() const { return m_metadata; }
    VossaApps::VossaAppsTab *appsTab() const { return m_apps; }
    AboutPage *aboutPage() const { return m_about; }

    void done(int result) override;

private:
    QWidget *makeHeader();
    QWidget *makeTabBar();
    void presentedChanged();

    QPointer<LibraryViewModel> m_viewModel;
    Tab m_selectedTab;
    QHash<Tab, SettingsTabButton *> m_tabButtons;
    QToolButton *m_closeButton = nullptr;
    QStackedWidget *m_pages = nullptr;
    MetadataSettingsView *m_metadata = nullptr;
    VossaApps::VossaAppsTab *m_apps = nullptr;
    AboutPage *m_about = nullptr;
};

} // namespace Metaloom
