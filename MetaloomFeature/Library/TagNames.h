#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// Telling a key ExifTool knows from one it does not, by the tag name alone:
// ExifTool takes a tag under many group names (family 0, 1 or 2, or none),
// so only a name that no group of its listing has is unknown to it. Pure
// functions over the keys of the tag listing.
namespace Metaloom::TagNames {

// The tag names of the listing's keys ("IFD0:Make" gives "make"), in lower
// case as ExifTool compares them, with ExifTool's shortcuts and "all", which
// the listing does not hold.
QSet<QString> knownNames(const QStringList &listingKeys);

// The keys among these whose tag name is not known, in their order.
QStringList unknownKeys(const QStringList &keys, const QSet<QString> &known);

} // namespace Metaloom::TagNames
