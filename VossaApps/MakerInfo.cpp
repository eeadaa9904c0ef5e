#include "MakerInfo.h"

namespace VossaApps::MakerInfo {

QUrl homePage()
{
    return QUrl(QStringLiteral(VOSSA_DEFAULT_HOME_PAGE));
}

QString hostName()
{
    return QStringLiteral(VOSSA_DEFAULT_HOST_NAME);
}

QUrl builtInFeedURL()
{
    return QUrl(QStringLiteral(VOSSA_DEFAULT_FEED_URL));
}

QString fallbackAppIdentifier()
{
    return QStringLiteral(VOSSA_DEFAULT_FALLBACK_APP_ID);
}

} // namespace VossaApps::MakerInfo
