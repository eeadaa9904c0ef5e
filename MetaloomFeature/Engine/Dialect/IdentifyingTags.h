#pragma once

#include <QString>

namespace Metaloom::IdentifyingTags {

// How much a tag tells about who made a file, with what, where and when,
// judged by its name in any group: 0 for a person (owner, artist, creator
// and copyright names; not the program that wrote the file), 1 to 4 for the
// camera (make, model, serial numbers, then lens and firmware), 5 for a place
// (GPS, city, location), 6 for a date, `unranked` for the rest. Messages name
// lower ranks first.
inline constexpr int unranked = 7;
int rankOf(const QString &key);

} // namespace Metaloom::IdentifyingTags
