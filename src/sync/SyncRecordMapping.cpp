#include "SyncRecordMapping.h"

#include "SyncTime.h"
#include "model/Calendar.h"
#include "model/DayPlan.h"
#include "model/Page.h"
#include "model/Project.h"
#include "model/Section.h"
#include "model/TaskItem.h"

namespace furrow {

namespace {

SyncValue instantValue(Instant instant)
{
    return SyncValue::number(SyncTime::toWire(instant));
}

SyncValue instantValue(const OptionalInstant &instant)
{
    return instant ? instantValue(*instant) : SyncValue::blank();
}

template<class Related>
SyncValue referenceValue(const Related *related)
{
    return related ? SyncValue::text(idText(related->id())) : SyncValue::blank();
}

template<class Object>
SyncRecord envelope(const QString &kind, const Object &object)
{
    return {kind,
            idText(object.id()),
            SyncTime::toWire(object.updatedAt()),
            object.deletedAt().has_value(),
            {}};
}

const SyncValue *member(const SyncRecord &record, const QString &name)
{
    const auto found = record.body.find(name);
    return found == record.body.end() ? nullptr : &found->second;
}

QString textOr(const SyncRecord &record, const QString &name, const QString &current)
{
    const SyncValue *value = member(record, name);
    return value && value->isText() ? value->asText() : current;
}

qint64 numberOrZero(const SyncRecord &record, const QString &name)
{
    const SyncValue *value = member(record, name);
    return value && value->isNumber() ? value->asNumber() : 0;
}

qint64 orderOf(const SyncRecord &record)
{
    return clampedOrder(numberOrZero(record, QStringLiteral("order")));
}

OptionalInstant instantOrNone(const SyncRecord &record, const QString &name)
{
    const SyncValue *value = member(record, name);
    if (value && value->isNumber())
        return SyncTime::fromWire(value->asNumber());
    return std::nullopt;
}

// A tombstone takes the body's deletedAt, else the record's own time; a live record undeletes.
OptionalInstant tombstone(const SyncRecord &record)
{
    if (!record.deleted)
        return std::nullopt;
    return instantOrNone(record, QStringLiteral("deletedAt"))
        .value_or(SyncTime::fromWire(record.updatedAt));
}

} // namespace

SyncRecord syncRecord(const Project &project)
{
    SyncRecord record = envelope(SyncKind::project, project);
    record.body = {{QStringLiteral("name"), SyncValue::text(project.name())},
                   {QStringLiteral("color"), SyncValue::text(project.colorHex())},
                   {QStringLiteral("order"), SyncValue::number(project.order())},
                   {QStringLiteral("deletedAt"), instantValue(project.deletedAt())}};
    return record;
}

SyncRecord syncRecord(const Page &page)
{
    SyncRecord record = envelope(SyncKind::page, page);
    record.body = {{QStringLiteral("name"), SyncValue::text(page.name())},
                   {QStringLiteral("icon"), SyncValue::text(page.iconName())},
                   {QStringLiteral("order"), SyncValue::number(page.order())},
                   {QStringLiteral("deletedAt"), instantValue(page.deletedAt())}};
    return record;
}

SyncRecord syncRecord(const Section &section)
{
    SyncRecord record = envelope(SyncKind::section, section);
    record.body = {{QStringLiteral("name"), SyncValue::text(section.name())},
                   {QStringLiteral("order"), SyncValue::number(section.order())},
                   {QStringLiteral("page"), referenceValue(section.page())},
                   {QStringLiteral("deletedAt"), instantValue(section.deletedAt())}};
    return record;
}

SyncRecord syncRecord(const TaskItem &task)
{
    SyncRecord record = envelope(SyncKind::task, task);
    record.body = {{QStringLiteral("title"), SyncValue::text(task.title())},
                   {QStringLiteral("note"), SyncValue::text(task.note())},
                   {QStringLiteral("order"), SyncValue::number(task.order())},
                   {QStringLiteral("done"), SyncValue::flag(task.isDone())},
                   {QStringLiteral("doneAt"), instantValue(task.doneAt())},
                   {QStringLiteral("dueDate"), instantValue(task.dueDate())},
                   {QStringLiteral("createdAt"), instantValue(task.createdAt())},
                   {QStringLiteral("archivedAt"), instantValue(task.archivedAt())},
                   {QStringLiteral("snoozedUntil"), instantValue(task.snoozedUntil())},
                   {QStringLiteral("deletedAt"), instantValue(task.deletedAt())},
                   {QStringLiteral("section"), referenceValue(task.section())},
                   {QStringLiteral("project"), referenceValue(task.project())}};
    // Left out when unset, so that a task without them reads the same to older devices.
    if (task.remindAt())
        record.body[QStringLiteral("remindAt")] = instantValue(task.remindAt());
    if (!task.repeatRule().isEmpty()) {
        record.body[QStringLiteral("repeat")] = SyncValue::text(task.repeatRule());
        record.body[QStringLiteral("repeatFromDone")] = SyncValue::flag(task.repeatFromDone());
    }
    if (!task.seriesId().isNull())
        record.body[QStringLiteral("series")] = SyncValue::text(idText(task.seriesId()));
    return record;
}

SyncRecord syncRecord(const DayPlan &plan)
{
    SyncRecord record{SyncKind::day, syncID(plan), SyncTime::toWire(plan.updatedAt()), false, {}};
    record.body = {{QStringLiteral("date"), instantValue(plan.date())},
                   {QStringLiteral("startedAt"), instantValue(plan.startedAt())},
                   {QStringLiteral("closedAt"), instantValue(plan.closedAt())},
                   {QStringLiteral("planned"), SyncValue::number(plan.plannedCount())},
                   {QStringLiteral("closed"), SyncValue::number(plan.closedCount())}};
    return record;
}

QString syncID(const DayPlan &plan)
{
    return SyncTime::dayId(plan.date());
}

void applySync(Project &project, const SyncRecord &record)
{
    project.setName(textOr(record, QStringLiteral("name"), project.name()));
    project.setColorHex(textOr(record, QStringLiteral("color"), project.colorHex()));
    project.setOrder(orderOf(record));
    project.setDeletedAt(tombstone(record));
    project.setUpdatedAt(SyncTime::fromWire(record.updatedAt));
}

void applySync(Page &page, const SyncRecord &record)
{
    page.setName(textOr(record, QStringLiteral("name"), page.name()));
    page.setIconName(textOr(record, QStringLiteral("icon"), page.iconName()));
    page.setOrder(orderOf(record));
    page.setDeletedAt(tombstone(record));
    page.setUpdatedAt(SyncTime::fromWire(record.updatedAt));
}

void applySync(Section &section, const SyncRecord &record)
{
    section.setName(textOr(record, QStringLiteral("name"), section.name()));
    section.setOrder(orderOf(record));
    section.setDeletedAt(tombstone(record));
    section.setUpdatedAt(SyncTime::fromWire(record.updatedAt));
}

void applySync(TaskItem &task, const SyncRecord &record)
{
    task.setTitle(textOr(record, QStringLiteral("title"), task.title()));
    task.setNote(textOr(record, QStringLiteral("note"), task.note()));
    task.setOrder(orderOf(record));
    const SyncValue *done = member(record, QStringLiteral("done"));
    task.setDone(done && done->isFlag() && done->asFlag());
    task.setDoneAt(instantOrNone(record, QStringLiteral("doneAt")));
    task.setDueDate(instantOrNone(record, QStringLiteral("dueDate")));
    task.setCreatedAt(
        instantOrNone(record, QStringLiteral("createdAt")).value_or(task.createdAt()));
    task.setArchivedAt(instantOrNone(record, QStringLiteral("archivedAt")));
    task.setSnoozedUntil(instantOrNone(record, QStringLiteral("snoozedUntil")));
    task.setRemindAt(instantOrNone(record, QStringLiteral("remindAt")));
    task.setRepeatRule(textOr(record, QStringLiteral("repeat"), QString()));
    const SyncValue *fromDone = member(record, QStringLiteral("repeatFromDone"));
    task.setRepeatFromDone(fromDone && fromDone->isFlag() && fromDone->asFlag());
    task.setSeriesId(QUuid::fromString(textOr(record, QStringLiteral("series"), QString())));
    task.setDeletedAt(tombstone(record));
    task.setUpdatedAt(SyncTime::fromWire(record.updatedAt));
}

void applySync(DayPlan &plan, const SyncRecord &record)
{
    if (const OptionalInstant date = instantOrNone(record, QStringLiteral("date")))
        plan.setDate(Calendar::startOfDay(*date));
    plan.setStartedAt(instantOrNone(record, QStringLiteral("startedAt")));
    plan.setClosedAt(instantOrNone(record, QStringLiteral("closedAt")));
    plan.setPlannedCount(numberOrZero(record, QStringLiteral("planned")));
    plan.setClosedCount(numberOrZero(record, QStringLiteral("closed")));
    plan.setUpdatedAt(SyncTime::fromWire(record.updatedAt));
}

std::optional<QUuid> parseSyncId(QStringView text)
{
    if (text.size() != 36)
        return std::nullopt;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        const bool hex
            = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (dash ? c != u'-' : !hex)
            return std::nullopt;
    }
    return QUuid::fromString(text);
}

std::optional<QUuid> bodyId(const SyncBody &body, const QString &name)
{
    const auto found = body.find(name);
    if (found == body.end() || !found->second.isText())
        return std::nullopt;
    return parseSyncId(found->second.asText());
}

} // namespace furrow
