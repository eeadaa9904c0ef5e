#pragma once

#include "MetaloomFeature/Platform/Preferences.h"

#include <QString>
#include <optional>

namespace Metaloom::DefaultOverridesMigration {

// Older versions kept one map of tag values to write under this key (a
// dictionary of string to string). Nothing writes it any more.
inline const QString overridesKey = QStringLiteral("Metaloom.metadataOverrides");

// Turns a stored default-overrides record into a preset named
// "Migrated Default Overrides" (in the user's language) when the user has no presets yet, and
// removes the record. Answers the status text to show after a migration and nothing otherwise: no
// record, an empty record, a record with a non-string value, or presets already present (the record
// then stays for a later start).
//
// The record is removed only once the preset has been written: if the write
// fails, the record stays and the next start tries again, so the user's
// values are never lost.
std::optional<QString> migrate(Preferences preferences = Preferences::standard());

} // namespace Metaloom::DefaultOverridesMigration
