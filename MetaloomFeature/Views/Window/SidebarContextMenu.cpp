#include "MetaloomFeature/Views/Window/SidebarContextMenu.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Platform/FileManager.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPointer>

namespace Metaloom {

QMenu *makeSidebarContextMenu(const MediaItem &item, LibraryViewModel *viewModel, QWidget *parent)
{
    auto *menu = new QMenu(parent);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QString path = item.url.toLocalFile();
    QPointer<LibraryViewModel> library(viewModel);

    QAction *show =
        menu->addAction(QCoreApplication::translate("SidebarContextMenu", "Show in File Manager"));
    show->setObjectName(QStringLiteral("showInFileManager"));
    QObject::connect(show, &QAction::triggered, viewModel, [path, viewModel] {
        // Without a file manager that answers, its folder is opened instead.
        FileManager::showItem(path, viewModel, [path] {
            QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absolutePath()));
        });
    });

    QAction *copy = menu->addAction(QCoreApplication::translate("SidebarContextMenu", "Copy Path"));
    copy->setObjectName(QStringLiteral("copyPath"));
    QObject::connect(copy, &QAction::triggered, menu,
                     [path] { QGuiApplication::clipboard()->setText(path); });

    // The row's file, or the whole selection when the row is part of it.
    menu->addSeparator();
    QList<QUuid> files = viewModel->selectedItemIDs();
    if (!files.contains(item.id))
        files = {item.id};
    QAction *copyFrom =
        menu->addAction(QCoreApplication::translate("SidebarContextMenu", "Copy Metadata From…"));
    copyFrom->setObjectName(QStringLiteral("copyMetadataFrom"));
    QObject::connect(copyFrom, &QAction::triggered, menu, [library, files] {
        if (library)
            library->presentCopyMetadata(files);
    });
    if (files.size() == 2) {
        QAction *compare =
            menu->addAction(QCoreApplication::translate("SidebarContextMenu", "Compare"));
        compare->setObjectName(QStringLiteral("compare"));
        QObject::connect(compare, &QAction::triggered, menu, [library, files] {
            if (library)
                library->presentCompare(files.at(0), files.at(1));
        });
    }

    menu->addSeparator();
    QAction *remove =
        menu->addAction(QCoreApplication::translate("SidebarContextMenu", "Remove from List"));
    remove->setObjectName(QStringLiteral("removeFromList"));
    QObject::connect(remove, &QAction::triggered, menu, [library, item] {
        if (library)
            library->removeItem(item);
    });
    return menu;
}

} // namespace Metaloom
