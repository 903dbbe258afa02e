#pragma once

#include "sync/wire/SyncRecord.h"

#include <QHash>
#include <QSet>
#include <QUuid>

#include <memory>
#include <vector>

namespace furrow {

class DayPlan;
class Links;
class ModelContext;
class Page;
class Project;
class Section;
class TaskItem;

// A sync cycle's index of the local store by identity (not the backup snapshot of
// persistence/PlannerSnapshot): every row of the five types, tombstones and archived tasks
// included, plus a box of the objects the cycle created. Lookups try the box first. The
// pointers are valid only while the store is not changed by anything else, so a snapshot is
// built and used within one turn of the event loop.
class Snapshot
{
public:
    struct Maps
    {
        QHash<QUuid, Project *> projects;
        QHash<QUuid, Page *> pages;
        QHash<QUuid, Section *> sections;
        QHash<QUuid, TaskItem *> tasks;
    };
    // The objects created during the cycle.
    struct Box : Maps
    {
        QHash<QString, DayPlan *> days;
    };

    explicit Snapshot(ModelContext &context);

    // The largest of `defaulting` and every object's updatedAt, in seconds since 1970.
    double newest(double defaulting) const;
    // The records of every object changed strictly after `after` (seconds since 1970): all
    // projects, then pages, sections, tasks and days.
    std::vector<SyncRecord> changes(double after) const;
    // Marks the objects that changes(after) names as known beyond this desk: they are being
    // sent.
    void markSent(double after) const;

    // A record's kind, identifier and time as one text: what tells two versions apart.
    static QString versionKey(const SyncRecord &record);
    // Moves every object whose version is not among `keep` one millisecond past its time on
    // the wire, so that its next push is newer than anything the server holds for it at that
    // time.
    void restampAllBut(const QSet<QString> &keep) const;

    // Merges one opened incoming record: creates the object when it is unknown and overwrites
    // it when the record is strictly newer. Answers whether it changed anything.
    bool applyOne(const SyncRecord &record, Links &links);

    // Lookups by identity, in the box first.
    Project *project(const QUuid &id) const;
    Page *page(const QUuid &id) const;
    Section *section(const QUuid &id) const;
    DayPlan *day(const QString &id) const;

private:
    template<class T>
    bool applyEntity(const SyncRecord &record, Links &links);
    template<class T>
    T *add(std::shared_ptr<T> object, const QUuid &id);
    DayPlan *addDay(const SyncRecord &record);

    ModelContext &m_context;
    Maps m_own;
    QHash<QString, DayPlan *> m_days;
    Box m_box;
};

} // namespace furrow
