#pragma once

#include "MetaloomFeature/Platform/ResourceBundle.h"

#include <QByteArray>
#include <QCoroTask>
#include <QUrl>
#include <optional>

namespace Metaloom::EmbeddedPreview {

// A picture a camera or phone stored inside the file, still encoded.
struct Preview {
    QByteArray encoded;
    // The file's EXIF orientation (1 to 8; 1 when it has none). The preview
    // is stored unrotated, so the file's orientation applies to it.
    int orientation = 1;
    bool operator==(const Preview &) const = default;
};

// The first of the file's thumbnail image, preview image and full-size JPEG
// (RAW files) that it holds, or nothing. Only reads the file. Throws like
// every engine operation when ExifTool cannot run or the file is refused.
QCoro::Task<std::optional<Preview>> extract(ResourceBundle bundle, QUrl fileUrl);

// The preview in the output of the command extract() runs.
std::optional<Preview> fromOutput(const QByteArray &standardOutput);

} // namespace Metaloom::EmbeddedPreview
