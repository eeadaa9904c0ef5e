#include "MediaTypes.h"

#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>

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

static bool isCameraRawMime(const QMimeType &type)
{
    const QString raw = QStringLiteral("image/x-dcraw");
    return type.name() == raw || type.allAncestors().contains(raw);
}

// Whether any type the extension may stand for passes the test.
static bool anyTypeOfExtension(const QString &fileName, bool (*test)(const QMimeType &))
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix.isEmpty())
        return false;
    static const QMimeDatabase database;
    const QList<QMimeType> candidates =
        database.mimeTypesForFileName(QStringLiteral("file.") + suffix);
    return std::any_of(candidates.cbegin(), candidates.cend(), test);
}

bool isAudioVisualOrHeif(const QString &fileName)
{
    return anyTypeOfExtension(fileName, isAudioVisualMime);
}

bool isCameraRaw(const QString &fileName)
{
    return anyTypeOfExtension(fileName, isCameraRawMime);
}

} // namespace Metaloom::MediaTypes
