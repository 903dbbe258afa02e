#include "PlannerSnapshot.h"

#include "model/LiveRecords.h"

#include <QHash>

namespace furrow::PlannerSnapshot {

namespace {

PlannerArchive::TaskRecord taskRecord(const TaskItem &task)
{
    PlannerArchive::TaskRecord record;
    record.id = task.id();
    record.title = task.title();
    if (const Section *section = task.section())
        record.section = section->name();
    record.order = task.order();
    record.note = task.note();
    record.dueDate = task.dueDate();
    record.isDone = task.isDone();
    record.doneAt = task.doneAt();
    record.createdAt = task.createdAt();
    record.updatedAt = task.updatedAt();
    record.deletedAt = task.deletedAt();
    if (const Project *project = task.project())
        record.projectID = project->id();
    record.remindAt = task.remindAt();
    if (!task.repeatRule().isEmpty())
        record.repeat = task.repeatRule();
    record.repeatFromDone = task.repeatFromDone();
    if (!task.seriesId().isNull())
        record.series = task.seriesId();
    return record;
}

// Rows by id; of two rows with one id the later one wins, as a plain overwrite gives.
template<class T>
QHash<QUuid, T *> rowsById(const ModelContext &context)
{
    QHash<QUuid, T *> map;
    map.reserve(qsizetype(context.rows<T>().size()));
    for (const auto &row : context.rows<T>())
        map.insert(row->id(), row.get());
    return map;
}

// Where tasks that the merge creates are filed. The document carries only a section's name,
// and a task without a section is shown on no page, so a new task goes to the first live
// section with that name (pages, then sections, in their order), else to the first live
// section of all.
class SectionPlacement
{
public:
    explicit SectionPlacement(PlannerStore &store)
        : m_store(store)
    {}

    Section *sectionFor(const std::optional<QString> &name)
    {
        if (!m_ready)
            prepare();
        if (name) {
            if (Section *named = m_byName.value(name->normalized(QString::NormalizationForm_C)))
                return named;
        }
        return m_first;
    }

private:
    void prepare()
    {
        m_ready = true;
        ModelContext &context = m_store.context();
        m_store.insertStarterPageIfMissing();
        const auto sections = context.fetchAll<Section>();
        for (Page *page : live(context.fetchAll<Page>())) {
            for (Section *section : liveOn(sections, page)) {
                if (!m_first)
                    m_first = section;
                const QString key = section->name().normalized(QString::NormalizationForm_C);
                if (!m_byName.contains(key))
                    m_byName.insert(key, section);
            }
        }
    }

    PlannerStore &m_store;
    bool m_ready = false;
    Section *m_first = nullptr;
    QHash<QString, Section *> m_byName;
};

void setFields(const PlannerArchive::ProjectRecord &r, Project &project)
{
    project.setName(r.name);
    project.setColorHex(r.colorHex);
    project.setOrder(r.order);
    project.setUpdatedAt(r.updatedAt);
    project.setDeletedAt(r.deletedAt);
}

void mergeProjects(ModelContext &context, const PlannerArchive &archive,
                   const std::vector<RestorePlan::Step> &steps, QHash<QUuid, Project *> &projects)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        const auto &r = archive.projects[i];
        if (steps[i] == RestorePlan::Step::Overwrite) {
            setFields(r, *projects.value(r.id));
        } else if (steps[i] == RestorePlan::Step::Create) {
            auto created = std::make_shared<Project>(r.name, r.colorHex, r.order);
            created->setId(r.id);
            created->setUpdatedAt(r.updatedAt);
            created->setDeletedAt(r.deletedAt);
            projects.insert(r.id, context.insert(std::move(created)));
        }
    }
}

void apply(const PlannerArchive::TaskRecord &r, TaskItem &task, Project *project)
{
    task.setTitle(r.title);
    task.setOrder(r.order);
    task.setNote(r.note.value_or(QString()));
    task.setDueDate(r.dueDate);
    task.setDone(r.isDone);
    task.setDoneAt(r.doneAt);
    task.setUpdatedAt(r.updatedAt);
    task.setDeletedAt(r.deletedAt);
    task.setProject(project);
    task.setRemindAt(r.remindAt);
    task.setRepeatRule(r.repeat.value_or(QString()));
    task.setRepeatFromDone(r.repeatFromDone);
    task.setSeriesId(r.series.value_or(QUuid()));
}

void mergeTasks(PlannerStore &store, const PlannerArchive &archive,
                const std::vector<RestorePlan::Step> &steps,
                const QHash<QUuid, Project *> &projects)
{
    ModelContext &context = store.context();
    QHash<QUuid, TaskItem *> tasks = rowsById<TaskItem>(context);
    SectionPlacement placement(store);
    for (size_t i = 0; i < steps.size(); ++i) {
        const auto &r = archive.tasks[i];
        Project *project = r.projectID ? projects.value(*r.projectID) : nullptr;
        if (steps[i] == RestorePlan::Step::Overwrite) {
            apply(r, *tasks.value(r.id), project);
        } else if (steps[i] == RestorePlan::Step::Create) {
            auto created
                = std::make_shared<TaskItem>(r.title, placement.sectionFor(r.section), 0, nullptr);
            created->setId(r.id);
            created->setCreatedAt(r.createdAt);
            TaskItem *t = context.insert(std::move(created));
            tasks.insert(r.id, t);
            apply(r, *t, project);
        }
    }
}

void mergeDays(ModelContext &context, const PlannerArchive &archive,
               const std::vector<RestorePlan::DayStep> &steps)
{
    for (size_t i = 0; i < steps.size(); ++i) {
        const auto &r = archive.days[i];
        if (steps[i].step == RestorePlan::Step::Overwrite)
            steps[i].plan->setStartedAt(r.startedAt);
        else if (steps[i].step == RestorePlan::Step::Create)
            context.insert(std::make_shared<DayPlan>(r.date, r.startedAt));
    }
}

} // namespace

PlannerArchive snapshot(const PlannerStore &store)
{
    const ModelContext &context = store.context();
    PlannerArchive archive;
    archive.projects.reserve(context.rows<Project>().size());
    for (const auto &p : context.rows<Project>())
        archive.projects.push_back(
            {p->id(), p->name(), p->colorHex(), p->order(), p->updatedAt(), p->deletedAt()});
    archive.tasks.reserve(context.rows<TaskItem>().size());
    for (const auto &task : context.rows<TaskItem>())
        archive.tasks.push_back(taskRecord(*task));
    archive.days.reserve(context.rows<DayPlan>().size());
    for (const auto &plan : context.rows<DayPlan>())
        archive.days.push_back({plan->date(), plan->startedAt()});
    return archive;
}

ModelContext::SaveResult restore(PlannerStore &store, const PlannerArchive &archive)
{
    // Decided before anything is written; projects are merged first, so that tasks can link to
    // the projects the same document adds.
    const RestorePlan plan(store.context(), archive);
    QHash<QUuid, Project *> projects = rowsById<Project>(store.context());
    mergeProjects(store.context(), archive, plan.projectSteps(), projects);
    mergeTasks(store, archive, plan.taskSteps(), projects);
    mergeDays(store.context(), archive, plan.daySteps());
    return store.save();
}

RestorePlan::Counts preview(const PlannerStore &store, const PlannerArchive &archive)
{
    return RestorePlan(store.context(), archive).counts();
}

} // namespace furrow::PlannerSnapshot
