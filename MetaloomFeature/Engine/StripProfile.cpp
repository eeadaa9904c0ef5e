#include "StripProfile.h"

#include "MetaloomFeature/Model/StoredJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace Metaloom {

namespace {

using enum PrivacyClass;

bool matchesAny(const QStringList &patterns, const QString &key)
{
    return std::any_of(patterns.cbegin(), patterns.cend(), [&key](const QString &pattern) {
        return PrivacyClasses::matches(pattern, key);
    });
}

bool isOfAny(const QList<PrivacyClass> &classes, const QString &key)
{
    const std::optional<PrivacyClass> found = PrivacyClasses::classOf(key);
    return found && classes.contains(*found);
}

// A list's entries sorted into class names and keys.
void sortEntries(const QStringList &entries, QList<PrivacyClass> *classes, QStringList *keys,
                 bool *everything)
{
    for (const QString &entry : entries) {
        if (everything && (entry.compare(QLatin1String("all"), Qt::CaseInsensitive) == 0 ||
                           entry.compare(QLatin1String("everything"), Qt::CaseInsensitive) == 0))
            *everything = true;
        else if (const std::optional<PrivacyClass> privacyClass = PrivacyClasses::fromName(entry))
            classes->append(*privacyClass);
        else
            keys->append(entry);
    }
}

QStringList entriesOf(const QList<PrivacyClass> &classes, const QStringList &keys)
{
    QStringList entries;
    for (PrivacyClass privacyClass : classes)
        entries << PrivacyClasses::name(privacyClass);
    return entries + keys;
}

} // namespace

StripProfile StripProfile::everything()
{
    StripProfile profile;
    profile.name = QStringLiteral("everything");
    profile.removesEverything = true;
    profile.removedClasses = PrivacyClasses::all();
    return profile;
}

StripProfile StripProfile::keepOrientationAndColour()
{
    StripProfile profile = everything();
    profile.name = QStringLiteral("keep-orientation-colour");
    // What a viewer needs to show the picture as it was: which way is up,
    // the colour profile and the EXIF and PNG colour-space marks.
    profile.keptKeys = {QStringLiteral("Orientation"), QStringLiteral("ICC_Profile"),
                        QStringLiteral("ColorSpace"),  QStringLiteral("InteropIndex"),
                        QStringLiteral("Gamma"),       QStringLiteral("SRGBRendering"),
                        QStringLiteral("WhitePointX"), QStringLiteral("WhitePointY"),
                        QStringLiteral("RedX"),        QStringLiteral("RedY"),
                        QStringLiteral("GreenX"),      QStringLiteral("GreenY"),
                        QStringLiteral("BlueX"),       QStringLiteral("BlueY")};
    return profile;
}

StripProfile StripProfile::location()
{
    StripProfile profile;
    profile.name = QStringLiteral("location");
    profile.removedClasses = {PrivacyClass::location};
    return profile;
}

StripProfile StripProfile::personal()
{
    // Dates, the camera's settings and the descriptions stay.
    StripProfile profile;
    profile.name = QStringLiteral("personal");
    profile.removedClasses = {people, device, history, pictures};
    return profile;
}

QList<StripProfile> StripProfile::builtIn()
{
    return {everything(), keepOrientationAndColour(), location(), personal()};
}

std::optional<StripProfile> StripProfile::named(const QString &name,
                                                const QList<StripProfile> &userProfiles)
{
    for (const QList<StripProfile> &list : {builtIn(), userProfiles}) {
        for (const StripProfile &profile : list) {
            if (profile.name == name)
                return profile;
        }
    }
    return std::nullopt;
}

QList<PrivacyClass> StripProfile::checkedClasses() const
{
    QList<PrivacyClass> checked;
    for (PrivacyClass privacyClass : PrivacyClasses::all()) {
        if ((removesEverything || removedClasses.contains(privacyClass)) &&
            !keptClasses.contains(privacyClass))
            checked << privacyClass;
    }
    return checked;
}

bool StripProfile::keeps(const QString &key) const
{
    return matchesAny(keptKeys, key) || isOfAny(keptClasses, key);
}

bool StripProfile::removes(const QString &key) const
{
    if (keeps(key))
        return false;
    return removesEverything || isOfAny(removedClasses, key) || matchesAny(removedKeys, key);
}

namespace StripProfiles {

QList<StripProfile> decode(const QByteArray &json)
{
    const QJsonArray array = StoredJson::parseArray(json);
    QList<StripProfile> profiles;
    for (qsizetype index = 0; index < array.size(); ++index) {
        const StoredJson::ObjectReader reader(array.at(index),
                                              {StoredJson::indexPathComponent(index)});
        StripProfile profile;
        profile.name = reader.requiredString(QStringLiteral("name"));
        if (profile.name.trimmed().isEmpty())
            reader.fail(QStringLiteral("A strip profile needs a name."));
        sortEntries(reader.optionalStringArray(QStringLiteral("remove")), &profile.removedClasses,
                    &profile.removedKeys, &profile.removesEverything);
        if (profile.removesEverything)
            profile.removedClasses = PrivacyClasses::all();
        sortEntries(reader.optionalStringArray(QStringLiteral("keep")), &profile.keptClasses,
                    &profile.keptKeys, nullptr);
        profiles << profile;
    }
    return profiles;
}

QByteArray encode(const QList<StripProfile> &profiles)
{
    QJsonArray array;
    for (const StripProfile &profile : profiles) {
        QStringList removed =
            entriesOf(profile.removesEverything ? QList<PrivacyClass>() : profile.removedClasses,
                      profile.removedKeys);
        if (profile.removesEverything)
            removed.prepend(QStringLiteral("all"));
        array.append(QJsonObject{
            {QStringLiteral("name"), profile.name},
            {QStringLiteral("remove"), QJsonArray::fromStringList(removed)},
            {QStringLiteral("keep"),
             QJsonArray::fromStringList(entriesOf(profile.keptClasses, profile.keptKeys))}});
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

} // namespace StripProfiles

} // namespace Metaloom
