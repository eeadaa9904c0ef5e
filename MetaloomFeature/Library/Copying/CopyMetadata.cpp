#include "CopyMetadata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace Metaloom {

namespace {

bool isJpeg(const QString &suffix)
{
    return suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
}

// The raw formats cameras write beside a JPEG of the same shot.
bool isCameraRaw(const QString &suffix)
{
    static const QSet<QString> raw{
        QStringLiteral("arw"), QStringLiteral("cr2"), QStringLiteral("cr3"), QStringLiteral("crw"),
        QStringLiteral("dng"), QStringLiteral("erf"), QStringLiteral("nef"), QStringLiteral("nrw"),
        QStringLiteral("orf"), QStringLiteral("pef"), QStringLiteral("raf"), QStringLiteral("raw"),
        QStringLiteral("rw2"), QStringLiteral("rwl"), QStringLiteral("sr2"), QStringLiteral("srw"),
        QStringLiteral("x3f"), QStringLiteral("3fr"), QStringLiteral("iiq"), QStringLiteral("mrw")};
    return raw.contains(suffix);
}

} // namespace

QList<CopyFamily> allCopyFamilies()
{
    return {CopyFamily::descriptionAndKeywords,
            CopyFamily::creatorAndRights,
            CopyFamily::location,
            CopyFamily::dates,
            CopyFamily::cameraSettings,
            CopyFamily::everything};
}

QString copyFamilyName(CopyFamily family)
{
    switch (family) {
    case CopyFamily::everything:
        return QCoreApplication::translate("CopyMetadata", "Everything writable");
    case CopyFamily::descriptionAndKeywords:
        return QCoreApplication::translate("CopyMetadata", "Description and keywords");
    case CopyFamily::creatorAndRights:
        return QCoreApplication::translate("CopyMetadata", "Creator and rights");
    case CopyFamily::location:
        return QCoreApplication::translate("CopyMetadata", "Location");
    case CopyFamily::dates:
        return QCoreApplication::translate("CopyMetadata", "Dates");
    case CopyFamily::cameraSettings:
        return QCoreApplication::translate("CopyMetadata", "Camera settings");
    }
    return {};
}

std::optional<QString> partnerFile(const QString &path)
{
    const QFileInfo file(path);
    const QString suffix = file.suffix().toLower();
    const bool jpeg = isJpeg(suffix);
    if (!jpeg && !isCameraRaw(suffix))
        return std::nullopt;
    // The base name up to the last dot: "IMG_0001.CR2" pairs with "IMG_0001.JPG".
    const QString base = file.completeBaseName();
    // Compared by name rather than matched by a name filter: a base name may
    // hold the filter's own wildcards ("shot[1].jpg").
    const QStringList names = file.dir().entryList(QDir::Files | QDir::NoDotAndDotDot);
    std::optional<QString> found;
    for (const QString &name : names) {
        const QFileInfo other(file.dir(), name);
        if (other.completeBaseName() != base || other.fileName() == file.fileName())
            continue;
        const QString otherSuffix = other.suffix().toLower();
        if (jpeg ? !isCameraRaw(otherSuffix) : !isJpeg(otherSuffix))
            continue;
        if (found) // two candidates: which one is meant cannot be told
            return std::nullopt;
        found = other.absoluteFilePath();
    }
    return found;
}

} // namespace Metaloom
