#pragma once

#include <QString>
#include <QUrl>

// The addresses the About page links to. The maker's pages lie under the
// maker's home page, which is fixed when the program is built (the apps
// catalog uses the same one).
namespace Metaloom::AboutLinks {

QString makerSiteName();
QUrl productPage();
QUrl releaseNotesPage();
QUrl contactPage();
QUrl privacyPage();
QUrl exifToolSite();

} // namespace Metaloom::AboutLinks
