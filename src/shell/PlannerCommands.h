#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenuBar;
class QWidget;

namespace furrow {

// The application's menu commands as actions with their shortcuts (Ctrl in place of the
// command key). The shortcuts work in every window the actions are added to.
class PlannerCommands : public QObject
{
    Q_OBJECT

public:
    struct Handlers
    {
        std::function<void()> newTask;
        std::function<void()> quickCapture;
        std::function<void()> archive;
        std::function<void()> undo;
        std::function<void()> redo;
        std::function<void()> exportFile;
        std::function<void()> importFile;
        std::function<void()> revealBackup;
        std::function<void()> settings;
        std::function<void()> quit;
    };

    PlannerCommands(Handlers handlers, QObject *parent = nullptr);

    // A menu bar with the File, Edit and Tasks menus, for a window of the planner.
    QMenuBar *createMenuBar(QWidget *window) const;
    // Makes the shortcuts work while `window` is active.
    void attachShortcuts(QWidget *window) const;

private:
    QAction *action(const QString &text, const QKeySequence &shortcut,
                    std::function<void()> handler);

    QAction *m_newTask = nullptr;
    QAction *m_newTaskInTasks = nullptr;
    QAction *m_quickCapture = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
    QAction *m_export = nullptr;
    QAction *m_import = nullptr;
    QAction *m_revealBackup = nullptr;
    QAction *m_settings = nullptr;
    QAction *m_archive = nullptr;
    QAction *m_quit = nullptr;
};

} // namespace furrow
