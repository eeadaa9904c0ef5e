#pragma once

#include <functional>

class QMenuBar;

namespace Metaloom {

class MainWindow;
class UpdaterController;

// The menu bar of a main window. Save, Reload, Revert, Settings… and About
// Metaloom are posted as notifications that every window carries out on its
// own library; the rest act on this window or the application.
namespace AppMenus {

struct Commands {
    std::function<void()> newWindow;
    std::function<void()> quit;
    // Check for Updates… follows its can-check flag; without one the item
    // stays disabled.
    UpdaterController *updater = nullptr;
};

void install(MainWindow *window, const Commands &commands);

} // namespace AppMenus

} // namespace Metaloom
