#pragma once

#include "MetaloomFeature/Model/MediaItem.h"

class QMenu;
class QWidget;

namespace Metaloom {

class LibraryViewModel;

// The menu of a file's row in the sidebar: Show in File Manager, Copy Path,
// Copy Metadata From… (into the selection the row belongs to), Compare (of
// the two selected files), Remove from List (the list only, never the disk).
QMenu *makeSidebarContextMenu(const MediaItem &item, LibraryViewModel *viewModel, QWidget *parent);

} // namespace Metaloom
