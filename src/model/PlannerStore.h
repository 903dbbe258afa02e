#pragma once

#include "ModelContext.h"
#include "capture/CaptureContext.h"
#include "capture/CaptureReading.h"
#include "repeat/RepeatOccurrence.h"

#include <QHash>
#include <QStringList>
#include <QTime>

#include <optional>
#include <vector>

namespace furrow {

// The one way the program queries and changes the planner's records. A stateless wrapper made
// on demand around a context; every mutation that changes anything ends with one save(), and
// refusals (an empty title, closing a done task, …) are silent.
class PlannerStore
{
public:
    explicit PlannerStore(ModelContext &context)
        : m_context(context)
    {}

    ModelContext &context() const { return m_context; }

    // Queries
    // Every task without tombstone, in fetch order.
    std::vector<TaskItem *> allTasks() const;
    // The open, unarchived tasks of a section (by id; null gives the tasks with no section),
    // by order.
    std::vector<TaskItem *> tasks(const Section *section) const;
    // A section's active tasks as the board shows them: open ones by order, then done ones,
    // most recently done first (a done task without a time counts as done long ago).
    struct ShownTasks
    {
        std::vector<TaskItem *> open;
        std::vector<TaskItem *> done;
    };
    // The shown tasks of each of these sections, in the same order, from one pass over the tasks.
    std::vector<ShownTasks> shownTasks(const std::vector<Section *> &sections) const;
    std::vector<Project *> projects() const;
    // The first live section of the first live page, where captures made outside the board
    // go; null when there is no live page or that page has no live section.
    Section *firstSection() const;
    // Archived tasks without tombstone, most recently archived first.
    std::vector<TaskItem *> archivedTasks() const;
    DayPlan *dayPlan(Instant instant) const;
    qint64 closedTodayCount() const;

    // Saves the context; on success hands off to the backup writer and the icon and posts
    // "planner.did.change"; on failure logs and leaves the changes pending. Answers the result
    // for the callers that report it.
    ModelContext::SaveResult save();
    Page *ensureStarterPage();
    // The same without saving, for operations that save once at their end.
    Page *insertStarterPageIfMissing();

    // Tasks
    // Reads capture text as it would be filed now: the project token only when it names a
    // project, and dates unless the user turned reading them off or refused the phrase.
    CaptureReading readCapture(const QString &text, const QStringList &refused = {}) const;
    // The same in a given context (another day, say); the store names the projects.
    CaptureReading readCapture(const QString &text, CaptureContext context) const;
    TaskItem *capture(const QString &text, Section *into, Project *defaultProject,
                      const QStringList &refused = {});
    // One capture for each non-blank line of the text; the tasks filed, in order.
    std::vector<TaskItem *> captureLines(const QString &text, Section *into,
                                         Project *defaultProject);
    void applyInlineEdit(const QString &text, TaskItem &task, const QStringList &refused = {});
    void setNote(const QString &note, TaskItem &task);
    // A due day moves the reminder to the same time on the new day; no due day clears it.
    void setDueDate(const OptionalInstant &day, TaskItem &task);
    // A reminder at that time of day on the task's due day; a task without a due day becomes
    // due today if the time is still ahead, else tomorrow. No time clears the reminder.
    void setReminder(const std::optional<QTime> &time, TaskItem &task);
    // An empty rule stops the task repeating; a rule makes a task without a due day due today
    // and starts a series at the task unless it already belongs to one. The rule's text is
    // stored as given: callers check it.
    void setRepeat(const QString &rule, bool fromDone, TaskItem &task);
    void setProject(Project *project, TaskItem &task);
    void close(TaskItem &task);
    void reopen(TaskItem &task);
    void archive(TaskItem &task);
    void unarchive(TaskItem &task, Section *fallback);
    bool move(TaskItem &task, Section *target, std::optional<qint64> insertAt);
    // Renumbers a section's open tasks 0, 1, 2, …; does not save.
    void reindex(const Section *section);

    // Repeating tasks
    // Leaves each series one open occurrence, the latest due (earlier ones stop belonging to
    // it), and brings back the next occurrence of a closed one that a merge found withdrawn.
    // Sync runs it after merging; does not save.
    void settleSeries();

    // Pages and sections
    Page *createPage(const QString &name, const QString &iconName);
    void rename(Page &page, const QString &name);
    void setIcon(const QString &iconName, Page &page);
    void deletePage(Page &page);
    Section *createSection(const QString &name, Page &page);
    void rename(Section &section, const QString &name);
    void deleteSection(Section &section);

    // Projects
    Project *createProject(const QString &name);
    // A trimmed new name; a blank one, or the name the project has, changes nothing.
    void rename(Project &project, const QString &name);
    // A new colour (hex text, stored as given); the colour the project has changes nothing.
    void setColor(const QString &hex, Project &project);
    void deleteProject(Project &project);
    void normalizeProjectColors();
    static bool isHexColor(const QString &text);
    Project *matchProject(const QString &token) const;

    // Day plan and housekeeping
    // Refreshes today's plan from the tasks; does not save.
    void stampToday();
    void purgeArchive(int olderThanDays);
    void purgeTombstones(int olderThanDays);

    // Undo history: each reverts or reapplies one step and saves; false when there was none.
    bool undo();
    bool redo();

    // Lookups and lists for the views, which find records again by id when they act, so that
    // none keeps a record that may have been deleted since it was shown.
    // The task with that id among every task without tombstone, or null.
    TaskItem *task(const QUuid &id) const;
    // The section with that id if it is live, or null.
    Section *liveSection(const QUuid &id) const;
    // The page with that id if it is live, or null.
    Page *livePage(const QUuid &id) const;
    // Pages without tombstone, by order.
    std::vector<Page *> pages() const;
    // The live sections of a page, by order; none for a null page.
    std::vector<Section *> sections(const Page *page) const;
    // Where a task put back from the archive goes when its own section is gone: the first live
    // section of the first live page that has one; null when no page has a live section.
    Section *fallbackSection() const;
    // The open-task count of every live page that has open tasks: active tasks not done whose
    // section is one of the page's live sections. One pass over the tasks.
    QHash<QUuid, qint64> openCounts() const;
    // The tidying done each time the main window is shown: purges tombstones and dropped
    // tasks older than 30 days, repairs project colours, ensures the starter page, stamps
    // today's plan and saves. Answers the starter page (the first live page).
    Page *runHousekeeping();

private:
    std::vector<Page *> livePages() const;
    void reindexPages();
    qint64 nextOrder(const Section *section) const;
    // Puts the task into the target's open list at the index (clamped; the end when none) and
    // renumbers that list.
    void place(TaskItem &task, Section *target, std::optional<qint64> insertAt);
    // The task's index in its section's open list, none when it is not in it.
    std::optional<qint64> openPosition(const TaskItem &task) const;

    // Any task row with that id, tombstoned ones included.
    TaskItem *taskRow(const QUuid &id) const;
    int occurrenceOrdinal(const TaskItem &task, QDate closedDay) const;
    std::optional<RepeatOccurrence::Next> nextOccurrence(const TaskItem &closed, Instant at) const;
    void startNextOccurrence(const TaskItem &closed, std::optional<qint64> position);
    void withdrawNextOccurrence(const TaskItem &closed);
    void reviveWithdrawnOccurrences();
    // The due day and repeat a capture reading names, each through its own operation.
    void applyDates(const CaptureReading &reading, TaskItem &task);
    // A new task from a reading, without saving; null for a reading without a title.
    TaskItem *file(const CaptureReading &reading, Section *into, Project *defaultProject);
    // The field changes of setDueDate and setRepeat, without the stamp and the save.
    void moveDueDate(const OptionalInstant &day, TaskItem &task);
    void assignRepeat(const QString &rule, bool fromDone, TaskItem &task);

    ModelContext &m_context;
};

} // namespace furrow
