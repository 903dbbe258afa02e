#include "PlannerApplication.h"

#include "AppIconState.h"
#include "BackupCommands.h"
#include "HeadlessCommands.h"
#include "StoreLauncher.h"

#include "model/Log.h"
#include "model/PlannerNotifications.h"
#include "model/PlannerStore.h"
#include "model/VectorStore.h"
#include "persistence/ArchiveWriter.h"
#include "persistence/DemoSeed.h"
#include "persistence/PlannerContainer.h"
#include "sync/SyncEngine.h"
#include "views/archive/ArchiveWindow.h"
#include "views/main/MainWindow.h"
#include "views/theme/FontLoader.h"

#include <QApplication>

namespace furrow {

int PlannerApplication::run(const CommandLine &command)
{
    if (const auto exitCode = StoreLauncher::handOver(command))
        return *exitCode;
    logLine(QStringLiteral("шрифты в бандле — ") + FontLoader::registeredNames().join(u", "));
    StoreLauncher::Opened opened = StoreLauncher::openStore(command);
    if (const int *exitCode = std::get_if<int>(&opened))
        return *exitCode;
    auto container = std::move(std::get<std::unique_ptr<PlannerContainer>>(opened));
    const QString storePath = container->storePath();
    int exitCode = 0;
    {
        PlannerApplication planner(std::move(container), storePath);
        planner.start(command.seedDemo);
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

void PlannerApplication::start(bool seedDemo)
{
    context().setUndoHistory(&m_undoHistory);
    ArchiveWriter::shared().attachTo(context());
    connect(&context(), &ModelContext::storeSaved, this, [this] { updateIcon(false); });
    m_instance.listen([this](const QStringList &arguments, SingleInstance::Respond respond) {
        handOver(arguments, respond);
    });
    if (seedDemo)
        runDemoSeed();
    QGuiApplication::setWindowIcon(AppIconState::plainIcon());
    updateIcon(true);
    m_sync = std::make_unique<SyncEngine>(context());
    m_sync->start();

    m_commands = std::make_unique<PlannerCommands>(PlannerCommands::Handlers{
        [this] { m_undoRouting.undo(); },
        [this] { m_undoRouting.redo(); },
        [this] { BackupCommands::exportWithDialog(context(), QApplication::activeWindow()); },
        [this] { BackupCommands::importWithDialog(context(), QApplication::activeWindow()); },
        [this] { BackupCommands::revealBackup(context()); },
        [this] {
            commitOpenEdits();
            QApplication::quit();
        },
    });
    // Any other way out (the session ending) saves open drafts too.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &PlannerApplication::commitOpenEdits);
    qApp->installEventFilter(&m_undoRouting);
    qApp->setQuitOnLastWindowClosed(false);
    connect(&PlannerNotifications::center(), &PlannerNotifications::plannerOpenArchive, this,
            &PlannerApplication::showArchive);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            updateIcon(false);
    });
    showMainWindow();
}

void PlannerApplication::showMainWindow()
{
    if (!m_mainWindow) {
        m_mainWindow = std::make_unique<MainWindow>(context(), VectorStore::shared());
        m_mainWindow->setMenuBar(m_commands->createMenuBar(m_mainWindow.get()));
        connect(m_mainWindow.get(), &MainWindow::housekeepingDone, this,
                [this] { updateIcon(true); });
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
    case CommandLine::Action::Help:
        return respond({0, CommandLine::usage(), {}});
    case CommandLine::Action::Version:
        return respond({0, QCoreApplication::applicationVersion() + u'\n', {}});
    default:
        return HeadlessCommands::execute(*command, context(), *m_sync, respond);
    }
}

void PlannerApplication::commitOpenEdits()
{
    if (m_mainWindow)
        m_mainWindow->commitEdits();
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

} // namespace furrow
