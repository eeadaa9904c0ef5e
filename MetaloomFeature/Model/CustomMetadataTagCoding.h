#pragma once

#include "CustomMetadataTag.h"

#include <QByteArray>
#include <QList>

namespace Metaloom::CustomMetadataTagCoding {

// The stored form of the custom fields: the UTF-8 bytes of a compact JSON
// array, [{"id":"3C9E1A70-…","rawKey":"…","displayName":"…"}], in list order.
QByteArray encode(const QList<CustomMetadataTag> &tags);

// Every member is required; members in any order, identifiers in either
// letter case. Throws DecodingError when any element cannot be read, so one
// malformed field makes the whole list unreadable.
QList<CustomMetadataTag> decode(const QByteArray &json);

} // namespace Metaloom::CustomMetadataTagCoding
