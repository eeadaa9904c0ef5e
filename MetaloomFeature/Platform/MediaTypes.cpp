#include "MediaTypes.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace Metaloom::MediaTypes {

static bool isAudioVisualMime(const QMimeType &type)
{
    static const QStringList heifFamily{QStringLiteral("image/heic"), QStringLiteral("image/heif"),
                                        QStringLiteral("image/heic-sequence"),
                                        QStringLiteral("image/heif-sequence")};
    const QString name = type.name();
    if (name.startsWith(QLatin1String("video/")) || name.startsWith(QLatin1String("audio/")))
        return true;
    if (heifFamily.contains(name))
        return true;
    for (const QString &ancestor : type.allAncestors()) {
        if (ancestor.startsWith(QLatin1String("video/")) ||
            ancestor.startsWith(QLatin1String("audio/")) || heifFamily.contains(ancestor))
            return true;
    }
    return false;
}

bool isAudioVisualOrHeif(const QString &fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix.isEmpty())
        return false;
    static const QMimeDatabase database;
    const QList<QMimeType> candidates =
        database.mimeTypesForFileName(QStringLiteral("file.") + suffix);
    for (const QMimeType &type : candidates) {
        if (isAudioVisualMime(type))
            return true;
    }
    return false;
}

} // namespace Metaloom::MediaTypes
