#pragma once

#include <QMenu>

namespace VossaApps {

class AppsCatalog;

// The maker's other applications as a menu: one item per application, then a
// separator and "Visit Quillforge Website". It follows the catalog but never
// refreshes it; the host does that at launch.
class VossaAppsMenu : public QMenu {
    Q_OBJECT

public:
    VossaAppsMenu(const QString &currentApp, const QString &title, QWidget *parent = nullptr);
    // With a catalog of the caller's instead of the shared one.
    VossaAppsMenu(const QString &currentApp, const QString &title, AppsCatalog *catalog,
                  QWidget *parent = nullptr);

    QString currentApp() const { return m_currentApp; }

private:
    void rebuild();

    QString m_currentApp;
    AppsCatalog *m_catalog;
};

} // namespace VossaApps
