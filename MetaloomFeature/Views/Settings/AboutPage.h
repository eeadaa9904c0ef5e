#pragma once

#include "MetaloomFeature/Platform/AppInfo.h"

#include <QPointer>
#include <QScrollArea>

class QLabel;
class QPushButton;

namespace Metaloom {

class UpdateCheckBridge;

// The About tab of the settings sheet: the icon, name and version, the
// update button (only where an updater exists), what the program does, the
// credits to ExifTool and the maker's links.
class AboutPage : public QScrollArea {
    Q_OBJECT

public:
    AboutPage(const AppInfo &info, UpdateCheckBridge *updateBridge, QWidget *parent = nullptr);

    // "Version 1.2 (34)", with "-" for a value the information list lacks.
    static QString versionText(const AppInfo &info);

    QLabel *versionLabel() const { return m_version; }
    // Shown only while the bridge has an action.
    QPushButton *updateButton() const { return m_updateButton; }
    bool showsUpdateButton() const { return !m_updateArea->isHidden(); }

private:
    QWidget *makeIdentity(const AppInfo &info, QWidget *parent);
    QWidget *makeInformation(QWidget *parent);
    void followBridge();

    QPointer<UpdateCheckBridge> m_bridge;
    QLabel *m_version = nullptr;
    QWidget *m_updateArea = nullptr;
    QPushButton *m_updateButton = nullptr;
};

} // namespace Metaloom
