#pragma once

#include "MetaloomFeature/Model/CustomMetadataTag.h"

#include <QList>
#include <QString>

#include <optional>

// How a custom field is written in one line of text: a tag key alone
// ("XMP-dc:Description") or a label, a colon and a tag key
// ("Caption:XMP-dc:Description"). A tag key holds one colon itself, so a
// single colon never separates a label.
namespace Metaloom::CustomFieldText {

struct Parsed {
    std::optional<QString> label;
    QString key;

    bool operator==(const Parsed &) const = default;
};

// Nothing for a text of blanks only.
std::optional<Parsed> parse(const QString &text);

// The line shown for a field: "label:key", or the key alone without a label.
QString editText(const CustomMetadataTag &field);

// The field with the key and label the text gives; a text of blanks gives an
// empty key and label.
CustomMetadataTag edited(CustomMetadataTag field, const QString &text);

// The fields as they are stored on Done: each re-read from its own line,
// those that read as nothing or as an empty key dropped, ids kept.
QList<CustomMetadataTag> normalised(const QList<CustomMetadataTag> &fields);

} // namespace Metaloom::CustomFieldText
