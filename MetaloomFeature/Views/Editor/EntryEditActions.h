#pragma once

#include <QString>

class QMenu;

namespace Metaloom {

class LibraryViewModel;

// The commands on one tag of the shown file that its row's menu offers:
// "Revert This Tag" while the tag is edited, "Remove This Tag" while the
// file holds it and it can be written. Each is one step to undo.
namespace EntryEditActions {

// Adds those of the two that apply to the tag with this key; returns how
// many it added.
int add(QMenu *menu, LibraryViewModel *library, const QString &key);

} // namespace EntryEditActions

} // namespace Metaloom
