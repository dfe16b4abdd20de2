#pragma once

#include <QString>
#include <array>
#include <optional>

namespace lumeno {

// The tabs of the settings window. The raw values name a tab in overlay actions and requests to open
// the window.
enum class SettingsTab { general, account, more, style, permissions };

// Every tab in the order the settings window shows them.
inline constexpr std::array<SettingsTab, 5> allSettingsTabs = {SettingsTab::general, SettingsTab::account,
                                                               SettingsTab::more, SettingsTab::style,
                                                               SettingsTab::permissions};

QString rawValue(SettingsTab tab);                                      // "general", "account", ...
std::optional<SettingsTab> settingsTabFromRawValue(const QString& raw); // none for any other text

} // namespace lumeno
