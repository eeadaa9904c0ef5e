#include "MetaloomFeature/Views/Editor/PrivacyPanel.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"

#include <QHeaderView>
#include <QIcon>
#include <QPixmap>

namespace Metaloom {

PrivacyPanel::PrivacyPanel(LibraryViewModel *viewModel, QWidget *parent)
    : QTreeWidget(parent), m_viewModel(viewModel)
{
    setColumnCount(2);
    setHeaderLabels({tr("Tag"), tr("Value")});
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setRootIsDecorated(true);
    // The hidden picture's row is as tall as the picture.
    setIconSize(QSize(96, 96));
    setAccessibleName(tr("Privacy"));
    connect(viewModel, &LibraryViewModel::filteredEntriesChanged, this, &PrivacyPanel::refresh);
    connect(viewModel, &LibraryViewModel::filteredEntryChanged, this, &PrivacyPanel::refresh);
    connect(viewModel, &LibraryViewModel::hiddenPictureChanged, this, &PrivacyPanel::refresh);
    refresh();
}

void PrivacyPanel::refresh()
{
    clear();
    const QList<LibraryViewModel::PrivacyGroup> groups = m_viewModel->privacyGroups();
    if (groups.isEmpty()) {
        auto *none = new QTreeWidgetItem(
            this, {tr("Nothing found that tells where, when, who or with what.")});
        none->setFirstColumnSpanned(true);
        return;
    }
    for (const LibraryViewModel::PrivacyGroup &group : groups) {
        auto *top =
            new QTreeWidgetItem(this, {tr("%1 (%2)").arg(group.title).arg(group.entries.size())});
        top->setFirstColumnSpanned(true);
        QFont bold = top->font(0);
        bold.setBold(true);
        top->setFont(0, bold);
        for (const MetadataEntry &entry : group.entries)
            new QTreeWidgetItem(top, {entry.rawKey, entry.value});
        if (!group.pictures)
            continue;
        // Shown as a picture: it may show what the photo no longer does.
        const QImage picture = m_viewModel->hiddenPicture();
        if (picture.isNull())
            m_viewModel->loadHiddenPicture();
        else
            top->child(0)->setIcon(1, QIcon(QPixmap::fromImage(picture)));
    }
    expandAll();
}

} // namespace Metaloom
