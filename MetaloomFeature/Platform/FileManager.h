#pragma once

#include <QObject>
#include <QString>
#include <functional>

// Stands in for revealing a file in the Finder: the desktop's file manager
// is asked over D-Bus (org.freedesktop.FileManager1, which Nautilus,
// Dolphin, Nemo, Caja and Thunar answer) to show the file selected.
namespace Metaloom::FileManager {

// Asks the file manager to show the file. The answer comes later; when no
// file manager takes the call (no session bus, none installed), onRefused
// runs on the context's thread, so the caller can open the folder instead.
void showItem(const QString &path, QObject *context, std::function<void()> onRefused);

} // namespace Metaloom::FileManager
