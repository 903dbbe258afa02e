#include "PlannerApplication.h"

#include "AppIconState.h"
#include "BackgroundNotice.h"
#include "BackupCommands.h"
#include "HeadlessCommands.h"
#include "QuitGuard.h"
#include "RecoveryNotice.h"
#include "SaveRetry.h"
#include "StoreLauncher.h"
#include "capture/QuickCaptureController.h"
#include "reminders/DesktopNotifier.h"
#include "reminders/MorningSummaryService.h"
#include "reminders/ReminderService.h"
#include "tray/TrayController.h"

#include "hotkey/GlobalHotKey.h"
#include "hotkey/HotkeyPreference.h"
#include "hotkey/HotkeyState.h"
#include "model/Log.h"
#include "model/PlannerStore.h"
#include "model/VectorStore.h"
#include "model/find/FindIndex.h"
#include "persistence/ArchiveWriter.h"
#include "persistence/DemoSeed.h"
#include "persistence/PlannerContainer.h"
#include "persistence/PlannerFile.h"
#include "sync/SyncEngine.h"
#include "views/archive/ArchiveView.h"
#include "views/archive/ArchiveWindow.h"
#include "views/main/MainToolbar.h"
#include "views/main/MainWindow.h"
#include "views/settings/SettingsWindow.h"
#include "views/settings/ShortcutTab.h"
#include "views/settings/SyncSettingsTab.h"
#include "views/theme/FontLoader.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>

namespace furrow {

namespace {

// A store that cannot be opened ends the planner; the message goes to standard error and, as
// nothing else shows it, into an alert.
void reportStoreFailure(const QString &message)
{
    printError(message + u'\n');
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Furrow"), message, QMessageBox::Ok);
    box.setObjectName(QStringLiteral("storeFailure"));
    box.exec();
}

PlannerApplication::Opening openingFor(CommandLine::Action action)
{
    if (action == CommandLine::Action::QuickCapture)
        return PlannerApplication::Opening::QuickCapture;
    if (action == CommandLine::Action::Background)
        return PlannerApplication::Opening::Background;
    return PlannerApplication::Opening::MainWindow;
}

} // namespace

int PlannerApplication::run(const CommandLine &command, const QPalette &desktopPalette)
{
    if (const auto exitCode = StoreLauncher::handOver(command))
        return *exitCode;
    logLine(QStringLiteral("шрифты в бандле — ") + FontLoader::registeredNames().join(u", "));
    StoreLauncher::Opened opened = StoreLauncher::openStore(command, reportStoreFailure);
    if (const int *exitCode = std::get_if<int>(&opened))
        return *exitCode;
    StoreLauncher::OpenStore store = std::move(std::get<StoreLauncher::OpenStore>(opened));
    const QString storePath = store.container->storePath();
    int exitCode = 0;
    {
        PlannerApplication planner(std::move(store.container), storePath);
        planner.m_desktopPalette = desktopPalette;
        const bool capture = command.action == CommandLine::Action::QuickCapture;
        planner.start(command.seedDemo, store.recovery, openingFor(command.action));
        if (capture)
            planner.m_quickCapture->show(command.activationToken.toUtf8());
        exitCode = QApplication::exec();
    }
    // A change saved just before the quit still reaches the backup file.
    ArchiveWriter::shared().flush();
    return exitCode;
}

PlannerApplication::PlannerApplication(std::unique_ptr<PlannerContainer> container,
                                       const QString &storePath)
    : m_container(std::move(container))
    , m_undoRouting(m_container->context())
    , m_instance(storePath)
{}

PlannerApplication::~PlannerApplication()
{
    qApp->removeEventFilter(&m_undoRouting);
}

ModelContext &PlannerApplication::context() const
{
    return m_container->context();
}

void PlannerApplication::start(bool seedDemo, const StoreRecovery::Outcome &recovery,
                               Opening opening)
{
    context().setUndoHistory(&m_undoHistory);
    StoreLauncher::attachBackupWriter(context(), recovery);
    m_backupReplaceable = recovery.backupMayBeReplaced();
    connect(&context(), &ModelContext::storeSaved, this, [this] { updateIcon(false); });
    m_saveRetry = std::make_unique<SaveRetry>(context());
    const bool listening
        = m_instance.listen([this](const QStringList &arguments, SingleInstance::Respond respond) {
              handOver(arguments, respond);
          });
    // Later launches then cannot reach this planner and find the store in use.
    if (!listening)
        logLine(QStringLiteral("команды других запусков не дойдут до планировщика — ")
                + m_instance.problem());
    if (seedDemo)
        runDemoSeed();
    QGuiApplication::setWindowIcon(AppIconState::plainIcon());
    updateIcon(true);
    startCaptureFromAnywhere();
    m_sync = std::make_unique<SyncEngine>(context());
    m_sync->start();
    startReminders();
    m_findIndex = std::make_unique<FindIndex>(context());

    m_commands = std::make_unique<PlannerCommands>(PlannerCommands::Handlers{
        [this] {
            if (m_mainWindow)
                m_mainWindow->focusInput();
        },
        [this] { m_quickCapture->show(); },
        [this] { showArchive(); },
        [this] { m_undoRouting.undo(); },
        [this] { m_undoRouting.redo(); },
        [this] { BackupCommands::exportWithDialog(context(), QApplication::activeWindow()); },
        [this] { BackupCommands::importWithDialog(context(), QApplication::activeWindow()); },
        [this] {
            BackupCommands::revealBackup(context(), m_backupReplaceable,
                                         QApplication::activeWindow());
        },
        [this] { showSettings(); },
        [this] { quitOnRequest(); },
    });
    // Any other way out (the session ending) saves open drafts too.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &PlannerApplication::quitting);
    qApp->installEventFilter(&m_undoRouting);
    qApp->setQuitOnLastWindowClosed(false);
    m_tray = std::make_unique<TrayController>(
        context(), [this] { showMainWindow(); }, [this] { m_quickCapture->show(); });
    if (m_desktopPalette != QPalette())
        m_tray->setPanelPalette(m_desktopPalette);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            updateIcon(false);
    });
    if (opening == Opening::MainWindow)
        showMainWindow();
    else // a planner started without its window still files captures on a page
        PlannerStore(context()).ensureStarterPage();
    tellAboutRecovery(recovery);
    // Built between events once the window is up, so that it never delays the first paint.
    m_findIndex->startBuilding();
}

void PlannerApplication::startCaptureFromAnywhere()
{
    m_quickCapture = std::make_unique<QuickCaptureController>(context());
    m_hotKey = GlobalHotKey::create();
    // A desktop that asks the user answers later; its answer is announced like the rest.
    connect(m_hotKey.get(), &GlobalHotKey::statusSettled, this,
            &PlannerApplication::announceHotkey);
    // A combination that cannot be registered, or waits for the user, never holds up the
    // start-up; the result is announced for whoever shows it.
    announceHotkey(applyHotkey(HotkeyPreference::combo()));
}

void PlannerApplication::startReminders()
{
    m_notifier = std::make_unique<DesktopNotifier>(QDBusConnection::sessionBus());
    m_reminders = std::make_unique<ReminderService>(context(), *m_notifier);
    connect(m_reminders.get(), &ReminderService::openTaskRequested, this,
            [this](const QUuid &taskId) {
                showMainWindow();
                m_mainWindow->revealTask(taskId);
            });
    m_reminders->start();
    m_morningSummary = std::make_unique<MorningSummaryService>(context(), *m_notifier);
    connect(m_morningSummary.get(), &MorningSummaryService::openPageRequested, this,
            [this](const QUuid &pageId) {
                showMainWindow();
                if (PlannerStore(context()).livePage(pageId))
                    m_mainWindow->setSelection(SidebarSelection::page(pageId));
            });
    m_morningSummary->check();
}

HotkeyStatus PlannerApplication::applyHotkey(const HotkeyCombo &combo)
{
    m_hotKey->registerCombo(combo, [this] { m_quickCapture->toggle(); });
    return m_hotKey->status();
}

void PlannerApplication::announceHotkey(HotkeyStatus status)
{
    HotkeyState::setStatus(status);
    if (m_shortcutTab)
        m_shortcutTab->showHotkeyStatus(status);
}

void PlannerApplication::quitOnRequest()
{
    commitOpenEdits();
    if (!QuitGuard::mayQuit(context(), PlannerFile::backupPath(), QApplication::activeWindow()))
        return;
    m_quitConfirmed = true;
    QApplication::quit();
}

void PlannerApplication::quitting()
{
    commitOpenEdits();
    if (!m_quitConfirmed)
        QuitGuard::saveForLastTime(context(), PlannerFile::backupPath());
    if (m_hotKey)
        m_hotKey->unregister();
}

void PlannerApplication::tellAboutRecovery(const StoreRecovery::Outcome &recovery)
{
    const QString text = RecoveryNotice::text(recovery, QFileInfo(m_container->storePath()).path());
    if (text.isEmpty())
        return;
    // Opened rather than run, so that the event loop (and later launches) are not held up.
    auto *box = new QMessageBox(QMessageBox::Information, QStringLiteral("Furrow"), text,
                                QMessageBox::Ok, m_mainWindow.get());
    box->setObjectName(QStringLiteral("recoveryNotice"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void PlannerApplication::showMainWindow()
{
    if (!m_mainWindow) {
        m_mainWindow = std::make_unique<MainWindow>(context(), VectorStore::shared());
        m_mainWindow->setMenuBar(m_commands->createMenuBar(m_mainWindow.get()));
        connect(m_mainWindow.get(), &MainWindow::shown, this, [this] {
            m_mainWindow->openOn(*PlannerStore(context()).runHousekeeping());
            updateIcon(true);
        });
        connect(m_mainWindow.get(), &MainWindow::archiveRequested, this, [this] { showArchive(); });
        // A quit closes the window too; only a close that leaves the planner running tells.
        // Told a turn later: any quit, the session's included, has ended the event loop by then.
        connect(m_mainWindow.get(), &MainWindow::closed, this, [this] {
            QTimer::singleShot(0, this, [this] {
                if (!m_quitConfirmed && !QCoreApplication::closingDown())
                    BackgroundNotice::showOnce();
            });
        });
        connect(m_mainWindow.get(), &MainWindow::archivedTaskRequested, this,
                [this](const QUuid &taskId) {
                    showArchive();
                    m_archiveWindow->reveal(taskId);
                });
        m_mainWindow->setFindIndex(m_findIndex.get());
        connect(m_mainWindow.get(), &MainWindow::settingsRequested, this,
                [this] { showSettings(); });
        connect(m_mainWindow.get(), &MainWindow::projectSettingsRequested, this,
                [this] { showSettings(SettingsTab::Projects); });
        connect(m_mainWindow.get(), &MainWindow::syncSettingsRequested, this,
                [this] { showSettings(SettingsTab::Sync); });
        followSyncTrouble();
    }
    m_mainWindow->showNormal();
    m_mainWindow->raise();
    m_mainWindow->activateWindow();
}

void PlannerApplication::showArchive()
{
    if (!m_archiveWindow) {
        m_archiveWindow = std::make_unique<ArchiveWindow>(context());
        m_commands->attachShortcuts(m_archiveWindow.get());
    }
    m_archiveWindow->present();
}

void PlannerApplication::showSettings(std::optional<SettingsTab> tab)
{
    if (!m_settingsWindow) {
        // The dialogs and alerts of the backup commands belong to the settings window.
        m_settingsWindow = std::make_unique<SettingsWindow>(
            context(),
            BackupTab::Actions{
                [this] { BackupCommands::exportWithDialog(context(), m_settingsWindow.get()); },
                [this] { BackupCommands::importWithDialog(context(), m_settingsWindow.get()); },
                [this] {
                    BackupCommands::revealBackup(context(), m_backupReplaceable,
                                                 m_settingsWindow.get());
                },
                [this] {
                    BackupCommands::restoreCopyWithDialog(context(), m_settingsWindow.get());
                },
            });
        m_shortcutTab
            = new ShortcutTab([this](const HotkeyCombo &combo) { return applyHotkey(combo); },
                              m_hotKey->isSupported());
        m_settingsWindow->setTabContent(SettingsTab::Shortcut, m_shortcutTab);
        m_settingsWindow->setTabContent(SettingsTab::Sync, new SyncSettingsTab(*m_sync));
        m_commands->attachShortcuts(m_settingsWindow.get());
    }
    if (tab)
        m_settingsWindow->showTab(*tab);
    m_settingsWindow->present();
}

void PlannerApplication::handOver(const QStringList &arguments,
                                  const SingleInstance::Respond &respond)
{
    QString error;
    const auto command = CommandLine::parse(arguments, &error);
    if (!command)
        return respond({2, {}, QStringLiteral("furrow: ") + error + u'\n'});
    switch (command->action) {
    case CommandLine::Action::Start:
        if (command->seedDemo)
            runDemoSeed();
        showMainWindow();
        return respond({});
    case CommandLine::Action::Background:
        // The session starting a planner that already runs: it keeps what it shows.
        return respond({});
    case CommandLine::Action::QuickCapture:
        m_quickCapture->toggle(command->activationToken.toUtf8());
        return respond({});
    case CommandLine::Action::Help:
        return respond({0, CommandLine::usage(), {}});
    case CommandLine::Action::Version:
        return respond({0, QCoreApplication::applicationVersion() + u'\n', {}});
    default:
        return HeadlessCommands::execute(
            *command, context(), *m_sync, respond, [this](const QString &query, qsizetype limit) {
                return m_findIndex->search(query, VectorStore::shared().visible(), limit);
            });
    }
}

void PlannerApplication::commitOpenEdits()
{
    if (m_mainWindow)
        m_mainWindow->commitEdits();
    if (m_settingsWindow)
        m_settingsWindow->commitEdits();
}

void PlannerApplication::runDemoSeed()
{
    // The seed replaces the store's contents; that is no step for Undo to take back.
    m_undoHistory.setRecordingEnabled(false);
    DemoSeed::run(context());
    m_undoHistory.setRecordingEnabled(true);
    m_undoHistory.clear();
}

void PlannerApplication::updateIcon(bool force)
{
    AppIconState::apply(PlannerStore(context()).closedTodayCount(), force);
}

void PlannerApplication::followSyncTrouble()
{
    MainToolbar *toolbar = m_mainWindow->toolbar();
    const auto follow = [toolbar](const SyncStatus &status) {
        // A cycle in flight leaves the sign as the last one ended, so it does not blink.
        if (status.kind != SyncStatus::Kind::Running)
            toolbar->setSyncFailing(status.kind == SyncStatus::Kind::Failed);
    };
    follow(m_sync->status());
    connect(m_sync.get(), &SyncEngine::statusChanged, toolbar, follow);
}

} // namespace furrow
