#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace Metaloom {

// The three tabs of the settings sheet, in the order they are shown. The
// library keeps which one the next opening shows; the sheet itself lives with
// the views.
enum class SettingsTab { metadata, apps, about };

namespace SettingsTabs {

QList<SettingsTab> allCases();
// "metadata", "apps", "about".
QString rawValue(SettingsTab tab);
std::optional<SettingsTab> fromRawValue(const QString &rawValue);

} // namespace SettingsTabs

} // namespace Metaloom
