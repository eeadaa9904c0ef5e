#pragma once

#include "Preset.h"

#include <QByteArray>
#include <QList>

namespace Metaloom::PresetCoding {

// The stored form of the preset list: the UTF-8 bytes of a compact JSON array,
//   [{"id":"0F8B6C2A-…","name":"…","action":{"type":"addOrModify",
//     "overrides":{"key":"value"},"removals":["key"]}}]
// All three action members are always written.
QByteArray encode(const QList<Preset> &presets);

// Reads the stored form with members in any order and identifiers in either
// letter case. Throws DecodingError when any preset cannot be read, including
// an action type other than "addOrModify": one unreadable preset makes the
// whole list unreadable.
QList<Preset> decode(const QByteArray &json);

} // namespace Metaloom::PresetCoding
