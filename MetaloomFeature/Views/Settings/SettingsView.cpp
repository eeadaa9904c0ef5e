#include "MetaloomFeature/Views/Settings/SettingsView.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "MetaloomFeature/Views/Settings/AboutPage.h"
#include "MetaloomFeature/Views/Settings/MetadataSettingsView.h"
#include "MetaloomFeature/Views/Settings/SettingsTabButton.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Updates/UpdateCheckBridge.h"
#include "VossaApps/VossaAppsTab.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace Metaloom {

namespace {

// The tab bar's own hairline along its bottom edge.
class TabBar : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QColor line = palette().color(QPalette::WindowText);
        line.setAlphaF(0.1);
        painter.fillRect(QRect(0, height() - 1, width(), 1), line);
    }
};

} // namespace

SettingsView::SettingsView(LibraryViewModel *viewModel, UpdateCheckBridge *updateBridge,
                           QWidget *parent, const AppInfo &info)
    : QDialog(parent), m_viewModel(viewModel), m_selectedTab(viewModel->settingsTab())
{
    setWindowTitle(tr("Settings"));
    setWindowModality(Qt::WindowModal);
    setFixedSize(650, 600);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeHeader());
    layout->addWidget(makeTabBar());
    layout->addWidget(SheetStyle::divider(this));

    m_pages = new QStackedWidget(this);
    m_metadata = new MetadataSettingsView(viewModel, m_pages);
    m_apps = new VossaApps::VossaAppsTab(QStringLiteral("metaloom"), m_pages);
    m_about =
        new AboutPage(info, updateBridge ? updateBridge : UpdateCheckBridge::shared(), m_pages);
    m_pages->addWidget(m_metadata);
    m_pages->addWidget(m_apps);
    m_pages->addWidget(m_about);
    layout->addWidget(m_pages, 1);

    connect(viewModel, &LibraryViewModel::settingsTabChanged, this,
            [this] { selectTab(m_viewModel->settingsTab()); });
    connect(viewModel, &LibraryViewModel::isMetadataSettingsPresentedChanged, this,
            &SettingsView::presentedChanged);
    selectTab(m_selectedTab);
}

QString SettingsView::title(Tab tab)
{
    switch (tab) {
    case Tab::metadata:
        return tr("Metadata");
    case Tab::apps:
        return tr("Our Apps");
    case Tab::about:
        return tr("About");
    }
    return {};
}

QString SettingsView::symbol(Tab tab)
{
    switch (tab) {
    case Tab::metadata:
        return QStringLiteral("tag");
    case Tab::apps:
        return QStringLiteral("square.stack.3d.up");
    case Tab::about:
        return QStringLiteral("info.circle");
    }
    return {};
}

QWidget *SettingsView::makeHeader()
{
    auto *header = new QWidget(this);
    auto *layout = new QHBoxLayout(header);
    layout->setContentsMargins(20, 16, 20, 8);
    layout->addWidget(SheetStyle::label(tr("Settings"), SheetStyle::title2(font()),
                                        SheetStyle::Tone::Primary, header));
    layout->addStretch();
    m_closeButton = new QToolButton(header);
    m_closeButton->setAutoRaise(true);
    m_closeButton->setIcon(symbolIcon(QStringLiteral("xmark.circle.fill"),
                                      SheetStyle::textColor(palette(), SheetStyle::Tone::Secondary),
                                      20));
    m_closeButton->setIconSize(QSize(20, 20));
    m_closeButton->setToolTip(tr("Close Settings"));
    m_closeButton->setAccessibleName(tr("Close Settings"));
    connect(m_closeButton, &QToolButton::clicked, this, [this] {
        if (m_viewModel)
            m_viewModel->dismissMetadataSettings();
    });
    layout->addWidget(m_closeButton);
    return header;
}

QWidget *SettingsView::makeTabBar()
{
    auto *bar = new TabBar(this);
    auto *layout = new QHBoxLayout(bar);
    layout->setContentsMargins(16, 8, 16, 8);
    layout->setSpacing(8);
    for (Tab tab : SettingsTabs::allCases()) {
        auto *button = new SettingsTabButton(symbol(tab), title(tab), bar);
        // Choosing by hand changes only this sheet; the library keeps its tab.
        connect(button, &QAbstractButton::clicked, this, [this, tab] { selectTab(tab); });
        m_tabButtons.insert(tab, button);
        layout->addWidget(button);
    }
    layout->addStretch();
    return bar;
}

void SettingsView::selectTab(Tab tab)
{
    m_selectedTab = tab;
    m_tabButtons.value(tab)->setChecked(true);
    QWidget *page = tab == Tab::metadata ? static_cast<QWidget *>(m_metadata)
                    : tab == Tab::apps   ? static_cast<QWidget *>(m_apps)
                                         : static_cast<QWidget *>(m_about);
    m_pages->setCurrentWidget(page);
}

void SettingsView::presentedChanged()
{
    if (m_viewModel && !m_viewModel->isMetadataSettingsPresented() && isVisible())
        QDialog::done(QDialog::Rejected);
}

void SettingsView::done(int result)
{
    // Escape and the window's close button close through the library, which
    // then closes this window (presentedChanged).
    if (m_viewModel && m_viewModel->isMetadataSettingsPresented()) {
        m_viewModel->dismissMetadataSettings();
        if (!isVisible())
            return;
    }
    QDialog::done(result);
}

} // namespace Metaloom
