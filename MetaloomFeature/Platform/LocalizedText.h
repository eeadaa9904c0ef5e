#pragma once

#include <QString>

namespace Metaloom::LocalizedText {

// Case-insensitive comparison under the user's locale: negative, zero or
// positive like QString::compare. Used wherever the user sees an order.
int compare(const QString &a, const QString &b);

inline bool lessThan(const QString &a, const QString &b)
{
    return compare(a, b) < 0;
}

// Case-insensitive "contains" used for searching what the user typed.
bool contains(const QString &haystack, const QString &needle);

} // namespace Metaloom::LocalizedText
