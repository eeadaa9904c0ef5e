#include "IdentifyingTags.h"

#include <QSet>

#include <algorithm>
#include <initializer_list>

namespace Metaloom::IdentifyingTags {

namespace {

bool containsAny(const QString &name, std::initializer_list<const char *> parts)
{
    return std::any_of(parts.begin(), parts.end(),
                       [&name](const char *part) { return name.contains(QLatin1String(part)); });
}

} // namespace

int rankOf(const QString &key)
{
    const QString name = key.section(QLatin1Char(':'), -1).toLower();
    // A person (the program that wrote the file, CreatorTool or a
    // WriterName, names none)
    static const QSet<QString> notAPerson{QStringLiteral("creatortool"),
                                          QStringLiteral("writername"),
                                          QStringLiteral("copyrightflag")};
    if (!notAPerson.contains(name) &&
        (containsAny(name, {"owner", "artist", "creator", "author", "by-line", "byline",
                            "copyright", "photographer", "contact"}) ||
         name == QLatin1String("writer-editor") || name == QLatin1String("credit") ||
         name == QLatin1String("rights")))
        return 0;
    // A camera: make and model first, then what tells one camera from another
    if (name == QLatin1String("make"))
        return 1;
    if (name == QLatin1String("model"))
        return 2;
    if (name.contains(QLatin1String("serial")))
        return 3;
    if (containsAny(name, {"cameramodel", "modelid", "lensmodel", "lensmake", "imagetype",
                           "imageuniqueid", "firmware"}))
        return 4;
    // A place
    static const QSet<QString> places{QStringLiteral("city"),
                                      QStringLiteral("country"),
                                      QStringLiteral("countrycode"),
                                      QStringLiteral("country-primarylocationname"),
                                      QStringLiteral("country-primarylocationcode"),
                                      QStringLiteral("province-state"),
                                      QStringLiteral("state"),
                                      QStringLiteral("sub-location")};
    if (name.startsWith(QLatin1String("gps")) || name.contains(QLatin1String("location")) ||
        places.contains(name))
        return 5;
    // A date
    if (name.contains(QLatin1String("date")) || name == QLatin1String("timecreated") ||
        name == QLatin1String("digitalcreationtime"))
        return 6;
    return unranked;
}

} // namespace Metaloom::IdentifyingTags
