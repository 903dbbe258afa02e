#include "Snapshot.h"

#include "Links.h"
#include "SyncRecordMapping.h"
#include "SyncTime.h"
#include "model/ModelContext.h"

namespace furrow {

namespace {

template<class T>
QHash<QUuid, T *> &mapOf(Snapshot::Maps &maps)
{
    if constexpr (std::is_same_v<T, Project>)
        return maps.projects;
    else if constexpr (std::is_same_v<T, Page>)
        return maps.pages;
    else if constexpr (std::is_same_v<T, Section>)
        return maps.sections;
    else
        return maps.tasks;
}

template<class T>
const QHash<QUuid, T *> &mapOf(const Snapshot::Maps &maps)
{
    return mapOf<T>(const_cast<Snapshot::Maps &>(maps));
}

// Two rows may share an identifier; the later one wins, as it does when the map is built.
template<class T>
void index(const ModelContext &context, QHash<QUuid, T *> &map)
{
    for (const auto &row : context.rows<T>())
        map.insert(row->id(), row.get());
}

template<class Map>
void collectNewest(const Map &map, double &newest)
{
    for (const auto *object : map)
        newest = std::max(newest, SyncTime::seconds(object->updatedAt()));
}

template<class Map>
void collectChanges(const Map &map, double after, std::vector<SyncRecord> &out)
{
    for (const auto *object : map) {
        if (SyncTime::seconds(object->updatedAt()) > after)
            out.push_back(syncRecord(*object));
    }
}

template<class Map>
void markChanged(const Map &map, double after)
{
    for (auto *object : map) {
        if (SyncTime::seconds(object->updatedAt()) > after)
            object->markShared();
    }
}

template<class Map>
void restamp(const Map &map, const QSet<QString> &keep)
{
    for (auto *object : map) {
        const SyncRecord record = syncRecord(*object);
        if (!keep.contains(Snapshot::versionKey(record)))
            object->setUpdatedAt(SyncTime::fromWire(record.updatedAt + 1));
    }
}

template<class T>
T *lookup(const Snapshot::Box &box, const Snapshot::Maps &own, const QUuid &id)
{
    if (T *found = mapOf<T>(box).value(id))
        return found;
    return mapOf<T>(own).value(id);
}

} // namespace

Snapshot::Snapshot(ModelContext &context)
    : m_context(context)
{
    index(context, m_own.projects);
    index(context, m_own.pages);
    index(context, m_own.sections);
    index(context, m_own.tasks);
    for (const auto &plan : context.rows<DayPlan>())
        m_days.insert(syncID(*plan), plan.get());
}

double Snapshot::newest(double defaulting) const
{
    double newest = defaulting;
    collectNewest(m_own.projects, newest);
    collectNewest(m_own.pages, newest);
    collectNewest(m_own.sections, newest);
    collectNewest(m_own.tasks, newest);
    collectNewest(m_days, newest);
    return newest;
}

std::vector<SyncRecord> Snapshot::changes(double after) const
{
    std::vector<SyncRecord> out;
    collectChanges(m_own.projects, after, out);
    collectChanges(m_own.pages, after, out);
    collectChanges(m_own.sections, after, out);
    collectChanges(m_own.tasks, after, out);
    collectChanges(m_days, after, out);
    return out;
}

void Snapshot::markSent(double after) const
{
    markChanged(m_own.projects, after);
    markChanged(m_own.pages, after);
    markChanged(m_own.sections, after);
    markChanged(m_own.tasks, after);
    markChanged(m_days, after);
}

QString Snapshot::versionKey(const SyncRecord &record)
{
    return record.kind + u'/' + record.id + u'/' + QString::number(record.updatedAt);
}

void Snapshot::restampAllBut(const QSet<QString> &keep) const
{
    restamp(m_own.projects, keep);
    restamp(m_own.pages, keep);
    restamp(m_own.sections, keep);
    restamp(m_own.tasks, keep);
    restamp(m_days, keep);
}

bool Snapshot::applyOne(const SyncRecord &record, Links &links)
{
    if (record.kind == SyncKind::project)
        return applyEntity<Project>(record, links);
    if (record.kind == SyncKind::page)
        return applyEntity<Page>(record, links);
    if (record.kind == SyncKind::section)
        return applyEntity<Section>(record, links);
    if (record.kind == SyncKind::task)
        return applyEntity<TaskItem>(record, links);
    if (record.kind != SyncKind::day)
        return false;
    DayPlan *plan = day(record.id);
    if (!plan)
        plan = addDay(record);
    plan->markShared();
    if (SyncTime::fromWire(record.updatedAt) <= plan->updatedAt())
        return false;
    applySync(*plan, record);
    return true;
}

template<class T>
bool Snapshot::applyEntity(const SyncRecord &record, Links &links)
{
    const std::optional<QUuid> id = parseSyncId(record.id);
    if (!id)
        return false;
    T *object = lookup<T>(m_box, m_own, *id);
    if (!object)
        object = add(std::make_shared<T>(), *id);
    object->markShared();
    // Equal times keep the local object.
    if (SyncTime::fromWire(record.updatedAt) <= object->updatedAt())
        return false;
    applySync(*object, record);
    if constexpr (std::is_same_v<T, Section>)
        links.addSection(object, bodyId(record.body, QStringLiteral("page")));
    if constexpr (std::is_same_v<T, TaskItem>)
        links.addTask(object, bodyId(record.body, QStringLiteral("section")),
                      bodyId(record.body, QStringLiteral("project")));
    return true;
}

template<class T>
T *Snapshot::add(std::shared_ptr<T> object, const QUuid &id)
{
    object->setId(id);
    // The earliest time there is: any incoming record is newer.
    object->setUpdatedAt(distantPast());
    T *added = m_context.insert(std::move(object));
    mapOf<T>(m_box).insert(id, added);
    return added;
}

DayPlan *Snapshot::addDay(const SyncRecord &record)
{
    const auto date = record.body.find(QStringLiteral("date"));
    const bool hasDate = date != record.body.end() && date->second.isNumber();
    const Instant day = SyncTime::fromWire(hasDate ? date->second.asNumber() : record.updatedAt);
    auto plan = std::make_shared<DayPlan>(day, std::nullopt);
    plan->setUpdatedAt(distantPast());
    DayPlan *added = m_context.insert(std::move(plan));
    m_box.days.insert(record.id, added);
    return added;
}

Project *Snapshot::project(const QUuid &id) const
{
    return lookup<Project>(m_box, m_own, id);
}

Page *Snapshot::page(const QUuid &id) const
{
    return lookup<Page>(m_box, m_own, id);
}

Section *Snapshot::section(const QUuid &id) const
{
    return lookup<Section>(m_box, m_own, id);
}

DayPlan *Snapshot::day(const QString &id) const
{
    if (DayPlan *found = m_box.days.value(id))
        return found;
    return m_days.value(id);
}

} // namespace furrow
