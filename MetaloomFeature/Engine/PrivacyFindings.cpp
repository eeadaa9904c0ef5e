#include "PrivacyFindings.h"

#include <algorithm>

namespace Metaloom {

PrivacyFindings PrivacyFindings::of(const QList<MetadataEntry> &entries)
{
    PrivacyFindings findings;
    for (const MetadataEntry &entry : entries) {
        if (isBlank(entry.value))
            continue;
        if (const std::optional<PrivacyClass> found = PrivacyClasses::classOf(entry.rawKey))
            findings.keys[*found].append(entry.rawKey);
    }
    return findings;
}

bool PrivacyFindings::isBlank(const QString &value)
{
    return std::all_of(value.cbegin(), value.cend(), [](QChar c) {
        return c.isSpace() || c == u'0' || c == u':' || c == u'.' || c == u'-' || c == u'+' ||
               c == u'/';
    });
}

QStringList PrivacyFindings::allKeys() const
{
    QStringList all;
    for (PrivacyClass privacyClass : PrivacyClasses::all())
        all << of(privacyClass);
    return all;
}

bool PrivacyFindings::isEmpty() const
{
    return std::all_of(keys.cbegin(), keys.cend(),
                       [](const QStringList &list) { return list.isEmpty(); });
}

} // namespace Metaloom
