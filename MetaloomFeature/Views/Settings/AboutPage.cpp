#include "MetaloomFeature/Views/Settings/AboutPage.h"

#include "MetaloomFeature/Views/Kit/SheetStyle.h"
#include "MetaloomFeature/Views/Kit/SymbolIcons.h"
#include "MetaloomFeature/Views/Settings/AboutLinks.h"

#include "MetaloomFeature/Updates/UpdateCheckBridge.h"
#include "VossaApps/LinkButton.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Metaloom {

namespace {

constexpr int iconSize = 96;
constexpr int informationWidth = 480;

QIcon runningApplicationIcon()
{
    const QIcon own = QApplication::windowIcon();
    return own.isNull() ? applicationIcon() : own;
}

VossaApps::LinkButton *link(const QString &text, const QUrl &url, const QFont &font,
                            QWidget *parent)
{
    auto *button = new VossaApps::LinkButton(text, url, parent);
    button->setFont(font);
    return button;
}

} // namespace

AboutPage::AboutPage(const AppInfo &info, UpdateCheckBridge *updateBridge, QWidget *parent)
    : QScrollArea(parent), m_bridge(updateBridge)
{
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setBackgroundRole(QPalette::Window);

    auto *content = new QWidget(this);
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(20, 20, 20, 24);
    layout->setSpacing(20);
    layout->addWidget(makeIdentity(info, content), 0, Qt::AlignHCenter);
    // A fixed width lets the wrapped texts measure their height.
    auto *information = new QHBoxLayout;
    information->addStretch();
    information->addWidget(makeInformation(content));
    information->addStretch();
    layout->addLayout(information);
    layout->addStretch();
    setWidget(content);

    if (m_bridge) {
        connect(m_bridge, &UpdateCheckBridge::canCheckChanged, this, &AboutPage::followBridge);
        connect(m_bridge, &UpdateCheckBridge::actionChanged, this, &AboutPage::followBridge);
    }
    followBridge();
}

QString AboutPage::versionText(const AppInfo &info)
{
    return tr("Version %1 (%2)")
        .arg(info.textOrHyphen(AppInfo::shortVersionKey),
             info.textOrHyphen(AppInfo::buildNumberKey));
}

QWidget *AboutPage::makeIdentity(const AppInfo &info, QWidget *parent)
{
    auto *block = new QWidget(parent);
    auto *layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);

    auto *icon = new QLabel(block);
    icon->setPixmap(
        runningApplicationIcon().pixmap(QSize(iconSize, iconSize), devicePixelRatioF()));
    icon->setFixedSize(iconSize, iconSize);
    icon->setScaledContents(true);
    icon->setAccessibleName(QString());
    icon->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(icon, 0, Qt::AlignHCenter);

    QLabel *name = SheetStyle::label(tr("Metaloom"), SheetStyle::title2(font(), QFont::Bold),
                                     SheetStyle::Tone::Primary, block);
    name->setAlignment(Qt::AlignHCenter);
    layout->addWidget(name);

    m_version = SheetStyle::label(versionText(info), SheetStyle::callout(font()),
                                  SheetStyle::Tone::Secondary, block);
    m_version->setAlignment(Qt::AlignHCenter);
    m_version->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(m_version);

    m_updateArea = new QWidget(block);
    auto *updateLayout = new QVBoxLayout(m_updateArea);
    updateLayout->setContentsMargins(0, 8, 0, 0);
    m_updateButton = new QPushButton(tr("Check for &Updates…"), m_updateArea);
    m_updateButton->setAutoDefault(false);
    m_updateButton->setMinimumHeight(m_updateButton->sizeHint().height() + 6);
    SheetStyle::makeProminent(m_updateButton, SheetStyle::accent(palette()));
    updateLayout->addWidget(m_updateButton, 0, Qt::AlignHCenter);
    layout->addWidget(m_updateArea);
    connect(m_updateButton, &QPushButton::clicked, this, [this] {
        if (m_bridge)
            m_bridge->check();
    });
    return block;
}

QWidget *AboutPage::makeInformation(QWidget *parent)
{
    auto *block = new QWidget(parent);
    block->setFixedWidth(informationWidth);
    auto *layout = new QVBoxLayout(block);
    layout->setContentsMargins(0, 24, 0, 0);
    layout->setSpacing(12);
    const QFont callout = SheetStyle::callout(font());

    layout->addWidget(SheetStyle::label(
        tr("Metaloom reads, edits and strips the EXIF, IPTC, XMP and GPS metadata in your photos "
           "and videos. Everything runs on your computer with a bundled copy of ExifTool; "
           "nothing is uploaded."),
        callout, SheetStyle::Tone::Secondary, block));

    auto *credits = new QVBoxLayout;
    credits->setSpacing(6);
    credits->addWidget(SheetStyle::label(tr("Credits"), SheetStyle::headline(font()),
                                         SheetStyle::Tone::Primary, block));
    credits->addWidget(SheetStyle::label(
        tr("Metaloom is built on ExifTool by Phil Harvey. Thank you for decades of metadata "
           "expertise and for your continued stewardship of the ExifTool community."),
        callout, SheetStyle::Tone::Secondary, block));
    const QUrl exifTool = AboutLinks::exifToolSite();
    credits->addWidget(link(exifTool.host(), exifTool, callout, block), 0, Qt::AlignLeft);
    layout->addLayout(credits);

    auto *links = new QHBoxLayout;
    links->setSpacing(16);
    links->addWidget(link(AboutLinks::makerSiteName(), AboutLinks::productPage(), callout, block));
    links->addWidget(link(tr("Release notes"), AboutLinks::releaseNotesPage(), callout, block));
    links->addWidget(link(tr("Report an Issue"), AboutLinks::contactPage(), callout, block));
    links->addWidget(link(tr("Privacy"), AboutLinks::privacyPage(), callout, block));
    links->addStretch();
    layout->addLayout(links);
    return block;
}

void AboutPage::followBridge()
{
    const bool hasAction = m_bridge && m_bridge->hasAction();
    m_updateArea->setVisible(hasAction);
    m_updateButton->setEnabled(hasAction && m_bridge->canCheck());
}

} // namespace Metaloom
