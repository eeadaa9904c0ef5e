#include "SettingsTab.h"

namespace Metaloom::SettingsTabs {

QList<SettingsTab> allCases()
{
    return {SettingsTab::metadata, SettingsTab::apps, SettingsTab::about};
}

QString rawValue(SettingsTab tab)
{
    switch (tab) {
    case SettingsTab::metadata:
        return QStringLiteral("metadata");
    case SettingsTab::apps:
        return QStringLiteral("apps");
    case SettingsTab::about:
        return QStringLiteral("about");
    }
    Q_UNREACHABLE();
}

std::optional<SettingsTab> fromRawValue(const QString &text)
{
    for (SettingsTab tab : allCases()) {
        if (rawValue(tab) == text)
            return tab;
    }
    return std::nullopt;
}

} // namespace Metaloom::SettingsTabs
