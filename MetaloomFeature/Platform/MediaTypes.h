#pragma once

#include <QString>

namespace Metaloom::MediaTypes {

// True when the file name's extension names audio-visual content (video or
// audio, QuickTime and MPEG-4 included) or a HEIC/HEIF image: containers whose
// metadata must be stripped with ExifTool's more careful argument list.
bool isAudioVisualOrHeif(const QString &fileName);

} // namespace Metaloom::MediaTypes
