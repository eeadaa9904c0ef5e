#include "TagNames.h"

namespace Metaloom::TagNames {

namespace {

// "XMP-dc:Subject" gives "subject"; ExifTool's "#" (the value unconverted)
// is no part of the name.
QString nameOf(const QString &key)
{
    QString name = key.section(QLatin1Char(':'), -1).toLower();
    if (name.endsWith(QLatin1Char('#')))
        name.chop(1);
    return name;
}

} // namespace

QSet<QString> knownNames(const QStringList &listingKeys)
{
    // The shortcuts of ExifTool's Shortcuts module and "all" stand for
    // other tags; the listing names only real ones.
    QSet<QString> names{QStringLiteral("all"),        QStringLiteral("alldates"),
                        QStringLiteral("common"),     QStringLiteral("canon"),
                        QStringLiteral("nikon"),      QStringLiteral("makernotes"),
                        QStringLiteral("unsafe"),     QStringLiteral("colorspacetags"),
                        QStringLiteral("commonifd0"), QStringLiteral("largetags")};
    names.reserve(listingKeys.size());
    for (const QString &key : listingKeys)
        names.insert(nameOf(key));
    return names;
}

QStringList unknownKeys(const QStringList &keys, const QSet<QString> &known)
{
    QStringList unknown;
    for (const QString &key : keys) {
        if (!known.contains(nameOf(key)) && !unknown.contains(key))
            unknown << key;
    }
    return unknown;
}

} // namespace Metaloom::TagNames
