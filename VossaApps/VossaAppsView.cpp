#include "VossaAppsView.h"

#include "AppRow.h"
#include "AppsCatalog.h"
#include "BusyIndicator.h"
#include "CatalogStyle.h"
#include "LinkButton.h"
#include "MakerInfo.h"
#include "RemoteIconCache.h"
#include "SymbolIcons.h"

#include "StyleKit/Style.h"

#include <QEvent>
#include <QLabel>
#include <QShowEvent>
#include <QVBoxLayout>

namespace VossaApps {

namespace {

constexpr int progressMinimumHeight = 120;
constexpr int errorPadding = 24;
constexpr int errorSpacing = 10;
constexpr int rowSpacing = 10;

} // namespace

VossaAppsView::VossaAppsView(const QString &currentApp, const QUrl &feedURL, QWidget *parent)
    : VossaAppsView(currentApp, feedURL, AppsCatalog::shared(), nullptr, parent)
{}

VossaAppsView::VossaAppsView(const QString &currentApp, const QUrl &feedURL, AppsCatalog *catalog,
                             RemoteIconCache *icons, QWidget *parent)
    : QWidget(parent), m_currentApp(currentApp), m_feedURL(feedURL), m_catalog(catalog),
      m_icons(icons ? icons : RemoteIconCache::shared())
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildProgress());
    layout->addWidget(buildErrorBlock());
    m_rowsContainer = new QWidget(this);
    m_rowsLayout = new QVBoxLayout(m_rowsContainer);
    m_rowsLayout->setContentsMargins(0, 0, 0, 0);
    m_rowsLayout->setSpacing(rowSpacing);
    layout->addWidget(m_rowsContainer);

    connect(m_catalog, &AppsCatalog::appsChanged, this, &VossaAppsView::updateContent);
    connect(m_catalog, &AppsCatalog::loadErrorChanged, this, &VossaAppsView::updateContent);
    updateContent();
}

QWidget *VossaAppsView::buildProgress()
{
    m_progress = new QWidget(this);
    m_progress->setMinimumHeight(progressMinimumHeight);
    auto *layout = new QVBoxLayout(m_progress);
    layout->addWidget(new BusyIndicator(m_progress), 0, Qt::AlignCenter);
    return m_progress;
}

QWidget *VossaAppsView::buildErrorBlock()
{
    m_errorBlock = new QWidget(this);
    auto *layout = new QVBoxLayout(m_errorBlock);
    layout->setContentsMargins(0, errorPadding, 0, errorPadding);
    layout->setSpacing(errorSpacing);

    m_errorSymbol = new QLabel(m_errorBlock);
    m_errorSymbol->setAlignment(Qt::AlignCenter);
    updateErrorSymbol();

    auto *title = new QLabel(tr("Couldn't load the app list"), m_errorBlock);
    title->setFont(CatalogStyle::callout(font()));
    title->setAlignment(Qt::AlignCenter);

    m_errorMessage = new QLabel(m_errorBlock);
    m_errorMessage->setFont(CatalogStyle::caption(font()));
    m_errorMessage->setAlignment(Qt::AlignCenter);
    m_errorMessage->setWordWrap(true);
    m_errorMessage->setTextFormat(Qt::PlainText);
    m_errorMessage->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette secondary = m_errorMessage->palette();
    secondary.setColor(QPalette::WindowText, StyleKit::secondaryText(palette()));
    m_errorMessage->setPalette(secondary);

    auto *link = new LinkButton(tr("See them at %1").arg(MakerInfo::hostName()),
                                MakerInfo::homePage(), m_errorBlock);
    link->setFont(CatalogStyle::callout(font()));

    layout->addWidget(m_errorSymbol);
    layout->addWidget(title);
    layout->addWidget(m_errorMessage);
    layout->addWidget(link, 0, Qt::AlignHCenter);
    return m_errorBlock;
}

void VossaAppsView::updateErrorSymbol()
{
    // Title-sized, in the secondary colour; redrawn when the palette or the
    // font changes.
    const int side = QFontMetrics(CatalogStyle::title(font())).height();
    m_errorSymbol->setPixmap(symbolPixmap(QStringLiteral("wifi.exclamationmark"), side,
                                          StyleKit::secondaryText(palette()), devicePixelRatioF()));
}

bool VossaAppsView::event(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        updateErrorSymbol();
    return QWidget::event(event);
}

void VossaAppsView::updateContent()
{
    const QList<AppsFeed::Entry> apps = m_catalog->others(m_currentApp);
    if (!apps.isEmpty())
        m_state = State::Rows;
    else if (m_catalog->hasLoadError())
        m_state = State::Error;
    else
        m_state = State::Loading;

    m_errorMessage->setText(m_catalog->loadError());
    updateRows(apps);
    m_progress->setVisible(m_state == State::Loading);
    m_errorBlock->setVisible(m_state == State::Error);
    m_rowsContainer->setVisible(m_state == State::Rows);
}

void VossaAppsView::updateRows(const QList<AppsFeed::Entry> &apps)
{
    // Rows whose entry is unchanged are kept, so a refresh that brings the
    // same list back neither flickers nor reloads icons.
    QList<AppRow *> unused = m_rows;
    QList<AppRow *> rows;
    for (const AppsFeed::Entry &entry : apps) {
        const auto reusable = std::find_if(unused.begin(), unused.end(),
                                           [&](AppRow *row) { return row->app() == entry; });
        if (reusable != unused.end()) {
            rows.append(*reusable);
            unused.erase(reusable);
        } else {
            rows.append(new AppRow(entry, m_icons, m_rowsContainer));
        }
    }
    for (AppRow *row : unused)
        delete row;
    for (AppRow *row : rows)
        m_rowsLayout->removeWidget(row);
    for (int i = 0; i < rows.size(); ++i)
        m_rowsLayout->insertWidget(i, rows.at(i));
    m_rows = rows;
}

void VossaAppsView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // A window merely coming back from being minimised does not count.
    if (!event->spontaneous())
        m_catalog->refresh(m_feedURL);
}

} // namespace VossaApps
