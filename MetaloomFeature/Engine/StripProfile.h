#pragma once

#include "PrivacyClasses.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Metaloom {

// What a strip for sharing removes and what it keeps. Either everything
// ExifTool can remove goes, the kept tags copied back into the new file in
// the same command ("-all= -tagsFromFile @ -Orientation ..."), or only the
// tags of some classes and keys are deleted.
struct StripProfile {
    QString name;
    // Starts from every tag ExifTool can remove.
    bool removesEverything = false;
    // The classes whose tags go (all of them when everything goes).
    QList<PrivacyClass> removedClasses;
    // Further keys or patterns that go ("XMP-dc:Description", "IPTC:*").
    QStringList removedKeys;
    // Keys or patterns that stay whatever goes ("Orientation",
    // "ICC_Profile"), and classes that stay.
    QStringList keptKeys;
    QList<PrivacyClass> keptClasses;

    // The built-in profiles, by the names the command line takes.
    static StripProfile everything();
    static StripProfile keepOrientationAndColour();
    static StripProfile location();
    static StripProfile personal();
    static QList<StripProfile> builtIn();

    // The profile of this name: a built-in one first, then the user's.
    static std::optional<StripProfile> named(const QString &name,
                                             const QList<StripProfile> &userProfiles);

    // The classes the proof checks: those removed, less those kept.
    QList<PrivacyClass> checkedClasses() const;
    // Whether a tag read from a file is to go: it is of a removed class or
    // matches a removed key (every tag, when everything goes), and is not
    // kept.
    bool removes(const QString &key) const;
    bool keeps(const QString &key) const;

    bool operator==(const StripProfile &) const = default;
};

// The user's own profiles kept in the preferences as JSON, an array of
// objects: {"name": "Web", "remove": ["location", "people", "XMP-dc:Title"],
// "keep": ["time", "Orientation"]}. Each entry of a list names a class or a
// key; "all" (or "everything") in "remove" starts from every tag.
namespace StripProfiles {

inline const QString preferencesKey = QStringLiteral("Metaloom.stripProfiles");

// Throws DecodingError for a list that cannot be read.
QList<StripProfile> decode(const QByteArray &json);
QByteArray encode(const QList<StripProfile> &profiles);

} // namespace StripProfiles

} // namespace Metaloom
