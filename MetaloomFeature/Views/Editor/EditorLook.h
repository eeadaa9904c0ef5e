#pragma once

#include <QSet>
#include <QString>

// How the user likes the metadata editor to look, kept in the preferences:
// compact rows or cards, and the groups they folded. Every window's editor
// follows a change of the row look at once (a notification).
namespace Metaloom::EditorLook {

inline const QString compactRowsKey = QStringLiteral("Metaloom.compactRows");
inline const QString foldedGroupsKey = QStringLiteral("Metaloom.foldedGroups");
// Posted after the row look changed.
inline const QString compactRowsChanged = QStringLiteral("Metaloom.compactRowsChanged");

// Cards unless the user chose compact rows.
bool compactRows();
// Stores the choice and tells every window.
void setCompactRows(bool compact);

QSet<QString> foldedGroups();
void setFoldedGroups(const QSet<QString> &groups);

} // namespace Metaloom::EditorLook
