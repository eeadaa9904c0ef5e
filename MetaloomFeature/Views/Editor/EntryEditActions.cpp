#include "MetaloomFeature/Views/Editor/EntryEditActions.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QPointer>

namespace Metaloom::EntryEditActions {

int add(QMenu *menu, LibraryViewModel *library, const QString &key)
{
    int added = 0;
    // The menu may outlive the window's library (it is closed after it).
    const QPointer<LibraryViewModel> owner(library);
    if (library->canRevertEntry(key)) {
        QAction *revert =
            menu->addAction(QCoreApplication::translate("EntryEditActions", "Rever&t This Tag"));
        QObject::connect(revert, &QAction::triggered, library, [owner, key] {
            if (owner)
                owner->revertEntry(key);
        });
        ++added;
    }
    if (library->canMarkForRemoval(key)) {
        QAction *remove =
            menu->addAction(QCoreApplication::translate("EntryEditActions", "&Remove This Tag"));
        remove->setToolTip(QCoreApplication::translate(
            "EntryEditActions", "The tag is deleted from the file when you save."));
        QObject::connect(remove, &QAction::triggered, library, [owner, key] {
            if (owner)
                owner->markForRemoval(key);
        });
        ++added;
    }
    return added;
}

} // namespace Metaloom::EntryEditActions
