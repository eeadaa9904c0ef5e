#pragma once

namespace Metaloom::Testing {

// A dark palette for the preview programs, so views can be looked at in a
// dark desktop theme under Xvfb, which has none of its own.
void useDarkPreviewPalette();

} // namespace Metaloom::Testing
