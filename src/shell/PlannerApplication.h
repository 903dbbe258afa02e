#pragma once

#include "CommandLine.h"
#include "PlannerCommands.h"
#include "SingleInstance.h"
#include "UndoRouting.h"

#include "hotkey/HotkeyStatus.h"
#include "model/UndoHistory.h"
#include "persistence/StoreRecovery.h"
#include "views/settings/SettingsTab.h"

#include <QObject>
#include <QPalette>
#include <QPointer>

#include <memory>
#include <optional>

namespace furrow {

class ArchiveWindow;
class FindIndex;
class GlobalHotKey;
class DesktopNotifier;
class MainWindow;
class PlannerContainer;
class MorningSummaryService;
class QuickCaptureController;
class ReminderService;
class SaveRetry;
class SettingsWindow;
class ShortcutTab;
class SyncEngine;
class TrayController;
struct HotkeyCombo;

// The planner's process once it owns the store: start-up in order, the main and archive
// windows, the menu commands, the icon that follows today's closed count, sync, and the command
// lines that later launches hand over. Closing the last window does not quit; Ctrl+Q does.
class PlannerApplication : public QObject
{
    Q_OBJECT

public:
    // Starts the planner for `command` (the QApplication exists): hands the command line to a
    // running planner if there is one, else opens the store, starts up and runs the event loop.
    // `desktopPalette` is the desktop's own, from before the planner's theme: the tray label is
    // drawn for it. Answers the process's exit code.
    static int run(const CommandLine &command, const QPalette &desktopPalette);

    // What the planner shows once it has started.
    enum class Opening { MainWindow, QuickCapture, Background };

    PlannerApplication(std::unique_ptr<PlannerContainer> container, const QString &storePath);
    ~PlannerApplication() override;

    // The start-up steps once the store is open and recovered; `seedDemo` runs the demo seed.
    void start(bool seedDemo, const StoreRecovery::Outcome &recovery,
               Opening opening = Opening::MainWindow);
    void showMainWindow();
    void showArchive();
    // Opens the settings window, one for the process, on `tab` or where it was left.
    void showSettings(std::optional<SettingsTab> tab = std::nullopt);
    // Registers `combo` as the global hotkey that toggles the capture panel; Registered when
    // the desktop accepted it, Waiting while it asks the user.
    HotkeyStatus applyHotkey(const HotkeyCombo &combo);
    MainWindow *mainWindow() const { return m_mainWindow.get(); }
    QuickCaptureController *quickCapture() const { return m_quickCapture.get(); }
    TrayController *tray() const { return m_tray.get(); }
    SettingsWindow *settingsWindow() const { return m_settingsWindow.get(); }

private:
    void handOver(const QStringList &arguments, const SingleInstance::Respond &respond);
    void commitOpenEdits();
    void startCaptureFromAnywhere();
    // Desktop notifications for the tasks' reminders and the morning summary; a click shows
    // the task, or the summary's first page, in the main window.
    void startReminders();
    // Records how the hotkey's registration ended and tells the Shortcut tab, if open.
    void announceHotkey(HotkeyStatus status);
    void quitOnRequest();
    void quitting();
    void runDemoSeed();
    void tellAboutRecovery(const StoreRecovery::Outcome &recovery);
    void updateIcon(bool force);
    // The main window's toolbar shows a sign while sync is failing.
    void followSyncTrouble();
    ModelContext &context() const;

    std::unique_ptr<PlannerContainer> m_container;
    bool m_backupReplaceable = true; // false when the recovery left a backup file to keep
    bool m_quitConfirmed = false;    // the user was asked and chose to quit
    UndoHistory m_undoHistory;
    UndoRouting m_undoRouting;
    std::unique_ptr<PlannerCommands> m_commands;
    std::unique_ptr<SyncEngine> m_sync;
    std::unique_ptr<FindIndex> m_findIndex;
    std::unique_ptr<SaveRetry> m_saveRetry;
    SingleInstance m_instance;
    std::unique_ptr<GlobalHotKey> m_hotKey;
    std::unique_ptr<QuickCaptureController> m_quickCapture;
    std::unique_ptr<TrayController> m_tray;
    std::unique_ptr<DesktopNotifier> m_notifier;
    std::unique_ptr<ReminderService> m_reminders;
    std::unique_ptr<MorningSummaryService> m_morningSummary;
    QPalette m_desktopPalette;
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<ArchiveWindow> m_archiveWindow;
    std::unique_ptr<SettingsWindow> m_settingsWindow;
    QPointer<ShortcutTab> m_shortcutTab;
};

} // namespace furrow
