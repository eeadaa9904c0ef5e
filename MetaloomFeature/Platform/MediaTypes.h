#pragma once

#include <QString>

namespace Metaloom::MediaTypes {

// True when the file name's extension names audio-visual content (video or
// audio, QuickTime and MPEG-4 included) or a HEIC/HEIF image: containers whose
// metadata must be stripped with ExifTool's more careful argument list.
bool isAudioVisualOrHeif(const QString &fileName);

// True when the extension names a camera raw format (CR2, DNG, NEF, ARW and
// the others the shared MIME database derives from image/x-dcraw): files
// whose embedded previews are part of the image's structure.
bool isCameraRaw(const QString &fileName);

} // namespace Metaloom::MediaTypes
