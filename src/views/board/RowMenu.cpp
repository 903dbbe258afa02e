#include "views/board/RowMenu.h"

#include "model/PlannerStore.h"
#include "views/menus/MenuController.h"
#include "views/menus/MenuRow.h"
#include "views/menus/MenuSheet.h"
#include "views/theme/Theme.h"

namespace furrow::RowMenu {

namespace {

// Runs `change` on the task with that id, if it still exists.
template<class Change>
std::function<void()> onTask(ModelContext &context, const QUuid &taskId, Change change)
{
    return [&context, taskId, change] {
        if (TaskItem *task = PlannerStore(context).task(taskId))
            change(PlannerStore(context), *task);
    };
}

void addMoveTo(MenuSheet &sheet, ModelContext &context, const TaskItem &task)
{
    const Page *page = task.section() ? task.section()->page() : nullptr;
    const std::vector<Section *> sections = PlannerStore(context).sections(page);
    if (sections.empty())
        return;
    sheet.addCaption(QStringLiteral("Move to"));
    for (Section *section : sections) {
        const QUuid sectionId = section->id();
        MenuRow *row = sheet.addRow(
            section->name(), {},
            onTask(context, task.id(),
                   [&context, sectionId](PlannerStore store, TaskItem &current) {
                       if (Section *target = PlannerStore(context).liveSection(sectionId))
                           store.move(current, target, std::nullopt);
                   }));
        if (sectionId == task.section()->id()) {
            row->setChecked(true);
            row->setEnabled(false);
        }
    }
    sheet.addDivider();
}

} // namespace

QWidget *build(ModelContext &context, MenuController &menus, const TaskItem &task,
               const QRect &anchor)
{
    auto *sheet = new MenuSheet(&menus);
    addMoveTo(*sheet, context, task);
    const QUuid taskId = task.id();
    sheet->addRow(
        task.project() ? QStringLiteral("Change the project…") : QStringLiteral("Set a project…"),
        QStringLiteral("tag"), [&context, &menus, taskId, anchor] {
            if (TaskItem *current = PlannerStore(context).task(taskId))
                menus.show(kProjectPickerWidth, anchor, projectPicker(context, menus, *current));
        });
    if (task.dueDate()) {
        sheet->addRow(QStringLiteral("Clear the date"), QStringLiteral("calendar"),
                      onTask(context, taskId, [](PlannerStore store, TaskItem &current) {
                          store.setDueDate(std::nullopt, current);
                      }));
    }
    if (!task.repeatRule().isEmpty()) {
        sheet->addRow(QStringLiteral("Stop repeating"), QStringLiteral("repeat"),
                      onTask(context, taskId, [](PlannerStore store, TaskItem &current) {
                          store.setRepeat(QString(), false, current);
                      }));
    }
    sheet->addRow(QStringLiteral("Drop to archive"), QStringLiteral("tray.and.arrow.down"),
                  onTask(context, taskId,
                         [](PlannerStore store, TaskItem &current) { store.archive(current); }));
    return sheet;
}

QWidget *projectPicker(ModelContext &context, MenuController &menus, const TaskItem &task)
{
    auto *sheet = new MenuSheet(&menus);
    const QUuid taskId = task.id();
    MenuRow *none
        = sheet->addRow(QStringLiteral("No project"), {},
                        onTask(context, taskId, [](PlannerStore store, TaskItem &current) {
                            store.setProject(nullptr, current);
                        }));
    // An invisible dot keeps "No project" in line with the coloured rows.
    none->setDot(QColor(Qt::transparent));
    none->setChecked(!task.project());
    for (Project *project : PlannerStore(context).projects()) {
        const QUuid projectId = project->id();
        MenuRow *row = sheet->addRow(
            project->name(), {},
            onTask(context, taskId, [&context, projectId](PlannerStore store, TaskItem &current) {
                for (Project *candidate : store.projects()) {
                    if (candidate->id() == projectId)
                        store.setProject(candidate, current);
                }
            }));
        row->setDot(Theme::colorFromHex(project->colorHex()).value_or(Theme::muted));
        row->setChecked(task.project() && task.project()->id() == projectId);
    }
    sheet->addDivider();
    MenuRow *manage = sheet->addRow(QStringLiteral("Manage projects…"), {},
                                    [&menus] { menus.requestProjectSettings(); });
    manage->setTitleColor(Theme::gray);
    return sheet;
}

} // namespace furrow::RowMenu
