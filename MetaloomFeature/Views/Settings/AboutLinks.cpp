#include "MetaloomFeature/Views/Settings/AboutLinks.h"

#include "VossaApps/MakerInfo.h"

namespace Metaloom::AboutLinks {

namespace {

QUrl makerPage(const QString &path)
{
    QUrl home = VossaApps::MakerInfo::homePage();
    // "https://maker.example" and "https://maker.example/" lead to the same pages.
    if (!home.path().endsWith(QLatin1Char('/')))
        home.setPath(home.path() + QLatin1Char('/'));
    return home.resolved(QUrl(path));
}

} // namespace

QString makerSiteName()
{
    return VossaApps::MakerInfo::hostName();
}

QUrl productPage()
{
    return makerPage(QStringLiteral("metaloom/"));
}

QUrl releaseNotesPage()
{
    return makerPage(QStringLiteral("metaloom/releases/"));
}

QUrl contactPage()
{
    return makerPage(QStringLiteral("contact/"));
}

QUrl privacyPage()
{
    return makerPage(QStringLiteral("privacy/"));
}

QUrl exifToolSite()
{
    return QUrl(QStringLiteral("https://exiftool.org"));
}

} // namespace Metaloom::AboutLinks
