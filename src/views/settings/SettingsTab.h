#pragma once

#include <QString>

#include <array>

namespace furrow {

// The tabs of the settings window, in the order their pills are shown.
enum class SettingsTab { General, Projects, Shortcut, Sync, Backup };

namespace SettingsTabs {

constexpr std::array<SettingsTab, 5> all{SettingsTab::General, SettingsTab::Projects,
                                         SettingsTab::Shortcut, SettingsTab::Sync,
                                         SettingsTab::Backup};

inline QString title(SettingsTab tab)
{
    switch (tab) {
    case SettingsTab::General:
        return QStringLiteral("General");
    case SettingsTab::Projects:
        return QStringLiteral("Projects");
    case SettingsTab::Shortcut:
        return QStringLiteral("Shortcut");
    case SettingsTab::Sync:
        return QStringLiteral("Sync");
    case SettingsTab::Backup:
        return QStringLiteral("Backup");
    }
    return {};
}

} // namespace SettingsTabs
} // namespace furrow
