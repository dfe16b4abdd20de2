#pragma once

#include "support/RawValue.h"

#include <QObject>
#include <array>

namespace lumeno {

// Its own namespace only because Qt's meta-object for the names is one per namespace.
namespace SettingsTabEnum {
Q_NAMESPACE
// The tabs of the settings window. The names (rawValue) name a tab in overlay actions and requests to open
// the window.
enum class SettingsTab { general, account, more, style, permissions };
Q_ENUM_NS(SettingsTab)
} // namespace SettingsTabEnum
using SettingsTabEnum::SettingsTab;

// Every tab in the order the settings window shows them.
inline constexpr std::array<SettingsTab, 5> allSettingsTabs = {SettingsTab::general, SettingsTab::account,
                                                               SettingsTab::more, SettingsTab::style,
                                                               SettingsTab::permissions};

} // namespace lumeno
