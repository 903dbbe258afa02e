#pragma once

#include <QRect>

class QWidget;

namespace furrow {

class MenuController;
class ModelContext;
class TaskItem;

// The popups a task row opens: its menu and the project picker. Their rows act on the task
// looked up again by id, so a task deleted meanwhile is left alone.
namespace RowMenu {

constexpr int kMenuWidth = 210;
constexpr int kProjectPickerWidth = 232;

// "Move to" with the page's sections (the task's own checked and disabled), "Set a project…"
// or "Change the project…", "Clear the date" for a dated task, "Stop repeating" for a repeating
// one and "Drop to archive". The
// project row opens the picker at `anchor`, where the menu was opened.
QWidget *build(ModelContext &context, MenuController &menus, const TaskItem &task,
               const QRect &anchor);

// "No project" and one row per live project, the task's current choice checked, then
// "Manage projects…", which asks the window for the project settings.
QWidget *projectPicker(ModelContext &context, MenuController &menus, const TaskItem &task);

} // namespace RowMenu
} // namespace furrow
