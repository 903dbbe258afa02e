#include "PlannerCommands.h"

#include <QAction>
#include <QMenuBar>
#include <QWidget>

namespace furrow {

PlannerCommands::PlannerCommands(Handlers handlers, QObject *parent)
    : QObject(parent)
{
    m_newTask
        = action(QStringLiteral("New Task"), QKeySequence(Qt::CTRL | Qt::Key_N), handlers.newTask);
    m_newTaskInTasks
        = action(QStringLiteral("New Task"), QKeySequence(Qt::CTRL | Qt::Key_T), handlers.newTask);
    // Only ever opens the panel; the hotkey is what toggles it.
    m_quickCapture = action(QStringLiteral("Quick Capture"), {}, handlers.quickCapture);
    m_undo = action(QStringLiteral("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), handlers.undo);
    m_redo = action(QStringLiteral("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                    handlers.redo);
    m_export = action(QStringLiteral("Export…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
                      handlers.exportFile);
    m_import = action(QStringLiteral("Import…"), {}, handlers.importFile);
    m_revealBackup = action(QStringLiteral("Show Backup File"), {}, handlers.revealBackup);
    m_settings = action(QStringLiteral("Settings…"), QKeySequence(Qt::CTRL | Qt::Key_Comma),
                        handlers.settings);
    m_archive = action(QStringLiteral("Archive"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A),
                       handlers.archive);
    m_quit = action(QStringLiteral("Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), handlers.quit);
}

QAction *PlannerCommands::action(const QString &text, const QKeySequence &shortcut,
                                 std::function<void()> handler)
{
    auto *created = new QAction(text, this);
    created->setShortcut(shortcut);
    created->setShortcutContext(Qt::ApplicationShortcut);
    connect(created, &QAction::triggered, this, [handler = std::move(handler)] { handler(); });
    return created;
}

QMenuBar *PlannerCommands::createMenuBar(QWidget *window) const
{
    auto *bar = new QMenuBar(window);
    QMenu *file = bar->addMenu(QStringLiteral("&File"));
    file->addActions({m_newTask, m_quickCapture});
    file->addSeparator();
    file->addActions({m_export, m_import, m_revealBackup});
    file->addSeparator();
    file->addAction(m_settings);
    file->addSeparator();
    file->addAction(m_quit);
    QMenu *edit = bar->addMenu(QStringLiteral("&Edit"));
    edit->addActions({m_undo, m_redo});
    QMenu *tasks = bar->addMenu(QStringLiteral("&Tasks"));
    tasks->addActions({m_newTaskInTasks, m_archive});
    return bar;
}

void PlannerCommands::attachShortcuts(QWidget *window) const
{
    window->addActions({m_newTask, m_newTaskInTasks, m_undo, m_redo, m_export, m_import,
                        m_revealBackup, m_settings, m_archive, m_quit});
}

} // namespace furrow
