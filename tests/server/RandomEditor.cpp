#include "RandomEditor.h"

#include "model/Calendar.h"
#include "model/Clock.h"
#include "model/LiveRecords.h"
#include "model/PlannerStore.h"

namespace furrow::test {

namespace {

std::vector<Section *> liveSections(const ModelContext &context)
{
    std::vector<Section *> sections;
    for (Section *section : live(context.fetchAll<Section>())) {
        if (section->page() && section->page()->isLive())
            sections.push_back(section);
    }
    return sections;
}

} // namespace

void RandomEditor::edit(PlannerStore &store)
{
    // Every change happens a little over a second after the one before, never on a whole
    // millisecond, so that the wire's rounding is exercised.
    Clock::advance(std::chrono::microseconds(1'000'317));
    if (below(3) == 0)
        editStructure(store);
    else
        editTask(store);
}

void RandomEditor::editTask(PlannerStore &store)
{
    const ModelContext &context = store.context();
    Section *section = pick(liveSections(context));
    TaskItem *task = pick(active(context.fetchAll<TaskItem>()));
    Project *project = pick(live(context.fetchAll<Project>()));
    if (!section) {
        store.ensureStarterPage();
        return;
    }
    const int choice = task ? below(9) : 0;
    switch (choice) {
    case 0:
    case 1:
        store.capture(name("Task-") + (project && below(2) ? " #" + project->name() : QString()),
                      section, nullptr);
        return;
    case 2:
        store.applyInlineEdit(name("Task-renamed-"), *task);
        return;
    case 3:
        store.setNote(name("Note-"), *task);
        return;
    case 4:
        if (task->isDone())
            store.reopen(*task);
        else
            store.close(*task);
        return;
    case 5:
        store.move(*task, section, below(4));
        return;
    case 6:
        store.setDueDate(below(3) ? OptionalInstant(Calendar::startOfDay(Clock::now()))
                                  : OptionalInstant(),
                         *task);
        return;
    case 7:
        store.setProject(below(3) ? project : nullptr, *task);
        return;
    default:
        store.archive(*task);
        return;
    }
}

void RandomEditor::editStructure(PlannerStore &store)
{
    const ModelContext &context = store.context();
    Page *page = pick(live(context.fetchAll<Page>()));
    Section *section = pick(liveSections(context));
    Project *project = pick(live(context.fetchAll<Project>()));
    switch (below(8)) {
    case 0:
        if (page)
            store.createSection(name("Section-"), *page);
        return;
    case 1:
        if (section)
            store.deleteSection(*section);
        return;
    case 2:
        store.createPage(name("Page-"), QStringLiteral("house"));
        return;
    case 3:
        if (page)
            store.deletePage(*page);
        return;
    case 4:
        store.createProject(name("proj-"));
        return;
    case 5:
        if (project)
            store.deleteProject(*project);
        return;
    case 6:
        if (section)
            store.rename(*section, name("Section-renamed-"));
        return;
    default:
        store.stampToday();
        store.save();
        return;
    }
}

} // namespace furrow::test
