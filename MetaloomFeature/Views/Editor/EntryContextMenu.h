#pragma once

#include "MetaloomFeature/Model/MetadataEntry.h"

#include <QString>

class QMenu;
class QWidget;

namespace Metaloom {

class LibraryViewModel;

// The menu of a tag row in the metadata editor: copying the value, the tag
// name or an ExifTool argument that sets the value, and pinning the tag.
namespace EntryContextMenu {

// The argument that gives a tag its value on ExifTool's command line or in
// an argument file: "-XMP-dc:Title=Sunset", one such argument per item of a
// list, separated by spaces. Nothing is quoted (the user decides where it
// goes). A value with a line break or another control character is written
// C-escaped after ExifTool's "#[CSTR]" marker, as an argument file takes it,
// so the argument stays one line.
QString exifToolArgument(const MetadataEntry &entry);
// The value as the clipboard gets it: a list's items one per line.
QString copiedValue(const MetadataEntry &entry);

// The menu for the shown entry with this key, or null when there is none.
// Its actions act on the library when chosen; the menu is the caller's to
// show and delete (it is parented to `parent`).
QMenu *build(QWidget *parent, LibraryViewModel *library, const QString &key);

} // namespace EntryContextMenu

} // namespace Metaloom
