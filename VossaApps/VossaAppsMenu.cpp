#include "VossaAppsMenu.h"

#include "AppsCatalog.h"
#include "MakerInfo.h"

#include <QDesktopServices>

namespace VossaApps {

namespace {

// "&" in a menu text marks the keyboard mnemonic; an application called
// "Pen & Ink" must show its ampersand.
QString menuText(QString text)
{
    return text.replace(u'&', QStringLiteral("&&"));
}

} // namespace

VossaAppsMenu::VossaAppsMenu(const QString &currentApp, const QString &title, QWidget *parent)
    : VossaAppsMenu(currentApp, title, AppsCatalog::shared(), parent)
{}

VossaAppsMenu::VossaAppsMenu(const QString &currentApp, const QString &title, AppsCatalog *catalog,
                             QWidget *parent)
    : QMenu(title, parent), m_currentApp(currentApp), m_catalog(catalog)
{
    connect(m_catalog, &AppsCatalog::appsChanged, this, &VossaAppsMenu::rebuild);
    rebuild();
}

void VossaAppsMenu::rebuild()
{
    clear();
    auto addLink = [this](const QString &text, const QUrl &url) {
        QAction *action = addAction(menuText(text));
        action->setData(url);
        connect(action, &QAction::triggered, this, [url] { QDesktopServices::openUrl(url); });
    };
    for (const AppsFeed::Entry &entry : m_catalog->others(m_currentApp))
        addLink(entry.name, entry.url);
    addSeparator();
    addLink(tr("Visit Quillforge Website"), MakerInfo::homePage());
}

} // namespace VossaApps
