#pragma once

#include "PrivacyClasses.h"

#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QList>
#include <QMap>
#include <QStringList>

namespace Metaloom {

// What a file's tags give away, class by class: the keys that hold
// something, in the order they were read. A tag holding nothing (empty, or
// only zeros as a blanked serial number or a zeroed movie date reads) gives
// nothing away and is not a finding.
struct PrivacyFindings {
    QMap<PrivacyClass, QStringList> keys;

    static PrivacyFindings of(const QList<MetadataEntry> &entries);
    // Whether a value read from a file holds nothing: empty, or made of
    // zeros and separators only ("0000000000", "0000:00:00 00:00:00").
    static bool isBlank(const QString &value);

    QStringList of(PrivacyClass privacyClass) const { return keys.value(privacyClass); }
    // Every key found, class by class in the order of PrivacyClasses::all().
    QStringList allKeys() const;
    bool isEmpty() const;

    bool operator==(const PrivacyFindings &) const = default;
};

} // namespace Metaloom
