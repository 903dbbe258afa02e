#pragma once

#include "sync/wire/SyncRecord.h"

#include <QUuid>

#include <optional>

namespace furrow {

class DayPlan;
class Page;
class Project;
class Section;
class TaskItem;

// The five planner record types as sync records, and back. Relationships travel as identifier
// texts; applySync leaves them to Links, which resolves them once everything has arrived.
namespace SyncKind {
inline const QString project = QStringLiteral("project");
inline const QString page = QStringLiteral("page");
inline const QString section = QStringLiteral("section");
inline const QString task = QStringLiteral("task");
inline const QString day = QStringLiteral("day");
} // namespace SyncKind

// The record of an object, with its unsealed body.
SyncRecord syncRecord(const Project &project);
SyncRecord syncRecord(const Page &page);
SyncRecord syncRecord(const Section &section);
SyncRecord syncRecord(const TaskItem &task);
SyncRecord syncRecord(const DayPlan &plan);

// A day plan's identity on the wire: its local date as "yyyy-MM-dd".
QString syncID(const DayPlan &plan);

// Overwrites an object's own fields from a record with an unsealed body; members that are
// missing or of another kind fall back as each field's rule says. Relationships are untouched.
void applySync(Project &project, const SyncRecord &record);
void applySync(Page &page, const SyncRecord &record);
void applySync(Section &section, const SyncRecord &record);
void applySync(TaskItem &task, const SyncRecord &record);
void applySync(DayPlan &plan, const SyncRecord &record);

// An identifier in canonical 8-4-4-4-12 form, hexadecimal digits of either case; none otherwise.
std::optional<QUuid> parseSyncId(QStringView text);
// The identifier held by a body member when it is such a text; none otherwise.
std::optional<QUuid> bodyId(const SyncBody &body, const QString &member);

} // namespace furrow
