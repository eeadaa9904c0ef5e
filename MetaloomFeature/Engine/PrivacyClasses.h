#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Metaloom {

// What a tag gives away about whoever made or shared a file.
enum class PrivacyClass {
    // Where: GPS of every family and place names.
    location,
    // Who: authors, owners, people shown, their e-mail and phone, comments.
    people,
    // With what: serial numbers, make and model, unique image ids.
    device,
    // When: capture and creation dates, time zones.
    time,
    // Embedded thumbnails and previews, which may show the picture as it
    // was before a crop or a retouch.
    pictures,
    // How it was edited: the programs, their steps and settings, ancestors.
    history,
};

// Which keys fall into which class, as one table: each rule names a group
// (any when empty) and a tag, either of them with "*" wildcards, and the
// first rule that matches a key decides. Keys are ExifTool's family-1 group,
// a colon and the tag name, as a read gives them ("GPS:GPSLatitude").
namespace PrivacyClasses {

struct Rule {
    PrivacyClass privacyClass;
    QString group;
    QString tag;
};

// Every rule, in the order they are tried.
const QList<Rule> &rules();

// Every class, in the order reports name them.
QList<PrivacyClass> all();

// The class of a key read from a file; nothing for a key that gives nothing
// away, and for the groups ExifTool computes or takes from the file system
// (Composite, File, System), which no strip can remove.
std::optional<PrivacyClass> classOf(const QString &key);

// Whether a key matches a pattern ("Orientation", "ICC_Profile:*",
// "XMP-dc:Creator", "GPS*"): group and tag compared without regard to case,
// a pattern without group matching any group.
bool matches(const QString &pattern, const QString &key);

// The class's name in profiles and JSON ("location", "people", "device",
// "time", "pictures", "history"), and back.
QString name(PrivacyClass privacyClass);
std::optional<PrivacyClass> fromName(const QString &name);

} // namespace PrivacyClasses
} // namespace Metaloom
