#include "MetaloomFeature/Views/Editor/PrivacyPanel.h"

#include "MetaloomFeature/Library/LibraryViewModel.h"

#include <QHeaderView>
#include <QIcon>
#include <QPixmap>

namespace Metaloom {

namespace {

// "a.jpg, b.jpg, c.jpg and 4 more files".
QString namesOf(const QStringList &names)
{
    constexpr qsizetype shown = 3;
    if (names.size() <= shown + 1)
        return names.join(QStringLiteral(", "));
    return PrivacyPanel::tr("%1 and %n more files", nullptr, int(names.size() - shown))
        .arg(names.mid(0, shown).join(QStringLiteral(", ")));
}

} // namespace

PrivacyPanel::PrivacyPanel(LibraryViewModel *viewModel, QWidget *parent)
    : QTreeWidget(parent), m_viewModel(viewModel)
{
    setColumnCount(3);
    setHeaderLabels({tr("Tag"), tr("Value"), tr("Files")});
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(1, QHeaderView::Stretch);
    header()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
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
    // The Files column tells how several files differ; one file has none.
    const bool several = std::any_of(groups.cbegin(), groups.cend(),
                                     [](const auto &group) { return !group.fileNames.isEmpty(); });
    setColumnHidden(2, !several);
    for (const LibraryViewModel::PrivacyGroup &group : groups) {
        QString title = tr("%1 (%2)").arg(group.title).arg(group.entries.size());
        if (several)
            title = tr("%1 — in %2").arg(title, namesOf(group.fileNames));
        auto *top = new QTreeWidgetItem(this, {title});
        top->setFirstColumnSpanned(true);
        QFont bold = top->font(0);
        bold.setBold(true);
        top->setFont(0, bold);
        for (qsizetype at = 0; at < group.entries.size(); ++at) {
            const MetadataEntry &entry = group.entries.at(at);
            const QString note = group.notes.value(at);
            // Values the files do not share are no one value.
            const bool mixed = several && entry.value.isEmpty() && !note.isEmpty();
            auto *row = new QTreeWidgetItem(
                top, {entry.rawKey, mixed ? tr("(differs between files)") : entry.value,
                      note.isEmpty() && several ? tr("in every file") : note});
            if (mixed) {
                QFont italic = row->font(1);
                italic.setItalic(true);
                row->setFont(1, italic);
            }
        }
        // A picture is the one file's to show.
        if (!group.pictures || several)
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
