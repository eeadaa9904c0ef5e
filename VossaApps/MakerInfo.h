#pragma once

#include <QString>
#include <QUrl>

// The maker's addresses, fixed when the program is built.
namespace VossaApps::MakerInfo {

// The maker's home page, opened by every "website" link of the catalog.
QUrl homePage();
// The host name shown to the user in texts such as "See them at …".
QString hostName();
// The feed address used when the environment does not name another one.
QUrl builtInFeedURL();
// The reverse-DNS identifier naming the cache folder when the running
// application has none of its own.
QString fallbackAppIdentifier();

} // namespace VossaApps::MakerInfo
