#include "foundation/SettingsTab.h"

namespace lumeno {

QString rawValue(SettingsTab tab) {
    switch (tab) {
    case SettingsTab::general:
        return QStringLiteral("general");
    case SettingsTab::account:
        return QStringLiteral("account");
    case SettingsTab::more:
        return QStringLiteral("more");
    case SettingsTab::style:
        return QStringLiteral("style");
    case SettingsTab::permissions:
        return QStringLiteral("permissions");
    }
    return QString();
}

std::optional<SettingsTab> settingsTabFromRawValue(const QString& raw) {
    for (SettingsTab tab : allSettingsTabs)
        if (rawValue(tab) == raw)
            return tab;
    return std::nullopt;
}

} // namespace lumeno
