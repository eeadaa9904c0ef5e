#pragma once

#include <QScrollArea>
#include <QUrl>

namespace VossaApps {

class AppsCatalog;
class RemoteIconCache;
class VossaAppsView;

// The settings page of the maker's other applications: a heading, the list
// and a footer with a link to the maker's site, scrolling vertically.
class VossaAppsTab : public QScrollArea {
    Q_OBJECT

public:
    explicit VossaAppsTab(const QString &currentApp, QWidget *parent = nullptr);
    // With a catalog, feed address and icon cache of the caller's instead of
    // the shared ones.
    VossaAppsTab(const QString &currentApp, AppsCatalog *catalog, const QUrl &feedURL,
                 RemoteIconCache *icons = nullptr, QWidget *parent = nullptr);

    QString currentApp() const { return m_currentApp; }
    VossaAppsView *appsView() const { return m_view; }

private:
    QString m_currentApp;
    VossaAppsView *m_view;
};

} // namespace VossaApps
