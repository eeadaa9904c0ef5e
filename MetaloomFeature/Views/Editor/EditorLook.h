#pragma once

#include <QSet>
#include <QString>

#include <optional>

// How the user likes the metadata editor to look, kept in the preferences:
// compact rows or cards, where they put the divider between names and
// values, and the groups they folded. Every window's editor
// follows a change of the row look at once (a notification).
namespace Metaloom::EditorLook {

inline const QString compactRowsKey = QStringLiteral("Metaloom.compactRows");
inline const QString foldedGroupsKey = QStringLiteral("Metaloom.foldedGroups");
inline const QString nameColumnWidthKey = QStringLiteral("Metaloom.nameColumnWidth");
// Posted after the row look changed.
inline const QString compactRowsChanged = QStringLiteral("Metaloom.compactRowsChanged");

// Cards unless the user chose compact rows.
bool compactRows();
// Stores the choice and tells every window.
void setCompactRows(bool compact);

// The width the user dragged the name column to, if they ever did; a
// stored text that is not a positive number counts as none.
std::optional<int> nameColumnWidth();
void setNameColumnWidth(int width);

QSet<QString> foldedGroups();
void setFoldedGroups(const QSet<QString> &groups);

} // namespace Metaloom::EditorLook
