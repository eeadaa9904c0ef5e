#include "VossaAppsTab.h"

#include "AppsCatalog.h"
#include "AppsLoader.h"
#include "CatalogStyle.h"
#include "LinkButton.h"
#include "MakerInfo.h"
#include "VossaAppsView.h"

#include "StyleKit/Style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace VossaApps {

namespace {

constexpr int margin = 20;
constexpr int spacing = 14;
constexpr int footerExtraSpace = 2;
constexpr int footerSpacing = 4;

} // namespace

VossaAppsTab::VossaAppsTab(const QString &currentApp, QWidget *parent)
    : VossaAppsTab(currentApp, AppsCatalog::shared(), AppsLoader::defaultFeedURL(), nullptr, parent)
{}

VossaAppsTab::VossaAppsTab(const QString &currentApp, AppsCatalog *catalog, const QUrl &feedURL,
                           RemoteIconCache *icons, QWidget *parent)
    : QScrollArea(parent), m_currentApp(currentApp)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The page shows the window's own background, not a list's.
    setBackgroundRole(QPalette::Window);

    auto *content = new QWidget(this);
    content->setBackgroundRole(QPalette::Window);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(spacing);

    auto *heading = new QLabel(tr("More from Quillforge"), content);
    heading->setFont(CatalogStyle::headline(font()));
    layout->addWidget(heading);

    m_view = new VossaAppsView(currentApp, feedURL, catalog, icons, content);
    layout->addWidget(m_view);

    auto *footer = new QWidget(content);
    auto *footerLayout = new QHBoxLayout(footer);
    footerLayout->setContentsMargins(0, footerExtraSpace, 0, 0);
    footerLayout->setSpacing(footerSpacing);
    auto *note = new QLabel(tr("Every app runs on your computer."), footer);
    note->setFont(CatalogStyle::caption(font()));
    QPalette secondary = note->palette();
    secondary.setColor(QPalette::WindowText, StyleKit::secondaryText(palette()));
    note->setPalette(secondary);
    auto *link = new LinkButton(tr("See them all"), MakerInfo::homePage(), footer);
    link->setFont(CatalogStyle::caption(font()));
    footerLayout->addWidget(note);
    footerLayout->addWidget(link);
    footerLayout->addStretch();
    layout->addWidget(footer);
    layout->addStretch();

    setWidget(content);
}

} // namespace VossaApps
