#include "DemoSeed.h"

#include "model/Calendar.h"
#include "model/Clock.h"
#include "model/Log.h"
#include "model/ModelContext.h"

#include <QHash>

namespace furrow {

namespace {

struct DemoTask
{
    const char *title;
    const char *section;
    qint64 order;
    const char *project; // null for none
    const char *note;
    std::optional<int> dueInDays;
    bool done;
};

const DemoTask kTasks[] = {
    {"Finish the onboarding screens", "In flight", 0, "Design",
     "Waiting on the final copy from the content lead; the mock-ups are in the shared design "
     "file.",
     3, false},
    {"Write the quarterly summary", "In flight", 1, "Writing", "", -6, false},
    {"Send the invoice", "In flight", 2, "Ops", "", std::nullopt, true},
    {"Contract review", "Waiting on someone", 0, nullptr, "Legal said end of week", 6, false},
    {"Hosting access for the new box", "Waiting on someone", 1, "Ops", "", std::nullopt, false},
    {"Answer the agency about the retainer", "Waiting on someone", 2, nullptr,
     "They asked twice — do not let it slide again", 1, false},
    {"Rewrite the pricing page", "Later this month", 0, "Writing", "Three tiers is one too many",
     std::nullopt, false},
    {"Move the backups off the old box", "Later this month", 1, "Ops", "", 12, false},
    {"Interview loop for the design role", "Later this month", 2, "Design", "", std::nullopt,
     false},
    {"Archive the 2024 files", "Later this month", 3, nullptr, "", std::nullopt, true},
};

template<class T>
std::vector<Record *> allRows(const ModelContext &context)
{
    std::vector<Record *> rows;
    for (const auto &row : context.rows<T>())
        rows.push_back(row.get());
    return rows;
}

} // namespace

void DemoSeed::run(ModelContext &context)
{
    const auto count = context.rows<TaskItem>().size();
    if (count >= 3) {
        logLine(QStringLiteral("база не пустая (%1 задач) — демо-данные не ставятся").arg(count));
        return;
    }
    wipe(context);
    plant(context);
    // A failed save leaves the rows pending for the next one; the seed reports nothing.
    context.save();
    logLine(QStringLiteral("демо-данные поставлены"));
}

void DemoSeed::wipe(ModelContext &context)
{
    // Removed for good, not tombstoned; day plans stay.
    context.remove(allRows<TaskItem>(context));
    context.remove(allRows<Section>(context));
    context.remove(allRows<Page>(context));
    context.remove(allRows<Project>(context));
    context.save();
}

void DemoSeed::plant(ModelContext &context)
{
    QHash<QString, Project *> projects;
    const std::pair<const char *, const char *> projectColors[]
        = {{"Design", "#3E7A56"}, {"Writing", "#8F6A22"}, {"Ops", "#2F6F8F"}};
    qint64 order = 0;
    for (const auto &[name, color] : projectColors) {
        projects.insert(QString::fromUtf8(name),
                        context.insert(std::make_shared<Project>(
                            QString::fromUtf8(name), QString::fromUtf8(color), order++)));
    }

    const std::pair<const char *, const char *> pages[]
        = {{"Work", "briefcase"}, {"Home", "house"}, {"Reading", "books"}, {"Someday", "moon"}};
    Page *work = nullptr;
    order = 0;
    for (const auto &[name, icon] : pages) {
        Page *page = context.insert(
            std::make_shared<Page>(QString::fromUtf8(name), QString::fromUtf8(icon), order++));
        work = work ? work : page;
    }

    QHash<QString, Section *> sections;
    order = 0;
    for (const char *name : {"In flight", "Waiting on someone", "Later this month"}) {
        sections.insert(QString::fromUtf8(name), context.insert(std::make_shared<Section>(
                                                     QString::fromUtf8(name), work, order++)));
    }

    const Instant now = Clock::now();
    for (const DemoTask &demo : kTasks) {
        Project *project = demo.project ? projects.value(QString::fromUtf8(demo.project)) : nullptr;
        TaskItem *task = context.insert(std::make_shared<TaskItem>(
            QString::fromUtf8(demo.title), sections.value(QString::fromUtf8(demo.section)),
            demo.order, project));
        task->setNote(QString::fromUtf8(demo.note));
        if (demo.dueInDays)
            task->setDueDate(Calendar::addingDays(now, *demo.dueInDays));
        if (demo.done) {
            task->setDone(true);
            task->setDoneAt(now);
        }
    }
}

} // namespace furrow
