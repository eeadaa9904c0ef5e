#pragma once

#include <QCollatorSortKey>
#include <QString>
#include <optional>

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

// A precomputed key that orders like compare(): for sorting many strings,
// where collating each pair again would be far slower.
class SortKey {
public:
    explicit SortKey(const QString &text);
    int compare(const SortKey &other) const;

private:
    std::optional<QCollatorSortKey> m_collated;
    QString m_folded; // used instead under the C locale, whose collator is case-sensitive
};

} // namespace Metaloom::LocalizedText
