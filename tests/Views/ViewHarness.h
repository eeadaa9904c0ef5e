#pragma once

#include "MetaloomFeature/Library/LibraryViewModel.h"
#include "MetaloomFeature/Views/Editor/MetadataEditorView.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTest>

// Small steps shared by the tests that drive real windows.
namespace Metaloom::Testing {

// The editor row of a tag key, or an invalid index.
inline QModelIndex editorRow(const MetadataEditorView *editor, const QString &rawKey)
{
    return editor->editorModel()->indexOf(rawKey);
}

// Drags the URLs over the widget and drops them, as a file manager does;
// answers whether the drop was taken.
inline bool dropUrls(QWidget *target, const QList<QUrl> &urls)
{
    QMimeData data;
    data.setUrls(urls);
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    return drop.isAccepted();
}

inline bool waitForLoad(const LibraryViewModel &library)
{
    return QTest::qWaitFor(
        [&library] { return !library.isBusy() && !library.filteredEntries().isEmpty(); }, 60000);
}

inline bool waitUntilIdle(const LibraryViewModel &library)
{
    return QTest::qWaitFor([&library] { return !library.isBusy(); }, 60000);
}

inline std::optional<MetadataEntry> shownEntry(const LibraryViewModel &library,
                                               const QString &rawKey)
{
    for (const MetadataEntry &entry : library.filteredEntries()) {
        if (entry.rawKey == rawKey)
            return entry;
    }
    return std::nullopt;
}

} // namespace Metaloom::Testing
