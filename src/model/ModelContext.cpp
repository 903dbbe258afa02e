#include "ModelContext.h"

#include "Clock.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

namespace furrow {

ModelContext::ModelContext(QObject *parent)
    : QObject(parent)
{}

ModelContext::~ModelContext()
{
    // Undo steps refer to this context; they must not outlive it.
    if (m_undoHistory)
        m_undoHistory->clear();
    const auto release = [](auto &list) {
        for (auto &row : list)
            row->m_context = nullptr;
    };
    release(m_tasks);
    release(m_projects);
    release(m_pages);
    release(m_sections);
    release(m_dayPlans);
}

void ModelContext::remove(Record &row)
{
    remove(std::vector<Record *>{&row});
}

void ModelContext::remove(const std::vector<Record *> &rows)
{
    std::unordered_set<const Record *> leaving;
    RecordKinds kinds;
    for (Record *row : rows) {
        if (row->m_context == this) {
            leaving.insert(row);
            kinds |= row->kind();
        }
    }
    if (leaving.empty())
        return;
    const auto isLeaving = [&](const Record *row) {
        return row && leaving.contains(row);
    };

    if (kinds & (RecordKind::Project | RecordKind::Section)) {
        for (const auto &task : m_tasks) {
            if (isLeaving(task.get()))
                continue;
            if (isLeaving(task->project()))
                task->setProject(nullptr);
            if (isLeaving(task->section()))
                task->setSection(nullptr);
        }
    }
    if (kinds & RecordKind::Page) {
        for (const auto &section : m_sections) {
            if (!isLeaving(section.get()) && isLeaving(section->page()))
                section->setPage(nullptr);
        }
    }
    for (Record *row : rows) {
        if (leaving.contains(row))
            detachRecord(*row);
    }
}

void ModelContext::detachRecord(Record &row)
{
    switch (row.kind()) {
    case RecordKind::Task:
        return detach(static_cast<TaskItem &>(row));
    case RecordKind::Project:
        return detach(static_cast<Project &>(row));
    case RecordKind::Page:
        return detach(static_cast<Page &>(row));
    case RecordKind::Section:
        return detach(static_cast<Section &>(row));
    case RecordKind::DayPlan:
        return detach(static_cast<DayPlan &>(row));
    }
}

void ModelContext::retract(Record &row)
{
    // Undo of an insertion (or redo of a removal). Rows that sync linked to this one are not in
    // the history, so they may still point at it: then it stays. A row other desks know turns
    // into a tombstone that reaches them, so that they do not keep it alone.
    if (row.isShared()) {
        if (isReferenced(row, true))
            return;
        const OptionalInstant now = Clock::now();
        switch (row.kind()) {
        case RecordKind::Task:
            return static_cast<TaskItem &>(row).setDeletedAt(now);
        case RecordKind::Project:
            return static_cast<Project &>(row).setDeletedAt(now);
        case RecordKind::Page:
            return static_cast<Page &>(row).setDeletedAt(now);
        case RecordKind::Section:
            return static_cast<Section &>(row).setDeletedAt(now);
        case RecordKind::DayPlan:
            return; // a day has no tombstone; the other desks keep counting it
        }
    }
    if (!isReferenced(row, false))
        detachRecord(row);
}

bool ModelContext::isReferenced(const Record &row, bool byLiveRowsOnly) const
{
    const auto counts = [byLiveRowsOnly](const auto &referrer) {
        return !byLiveRowsOnly || !referrer->deletedAt();
    };
    switch (row.kind()) {
    case RecordKind::Project:
        return std::ranges::any_of(
            m_tasks, [&](const auto &task) { return task->project() == &row && counts(task); });
    case RecordKind::Section:
        return std::ranges::any_of(
            m_tasks, [&](const auto &task) { return task->section() == &row && counts(task); });
    case RecordKind::Page:
        return std::ranges::any_of(m_sections, [&](const auto &section) {
            return section->page() == &row && counts(section);
        });
    case RecordKind::Task:
    case RecordKind::DayPlan:
        return false;
    }
    return false;
}

bool ModelContext::hasChanges() const
{
    return !m_unsavedRows.empty() || !m_removedRows.empty();
}

ModelContext::SaveResult ModelContext::save()
{
    if (!hasChanges()) {
        setSaveFailure({});
        return {};
    }
    ChangeSet changes;
    changes.written.reserve(m_unsavedRows.size());
    for (const auto &row : m_unsavedRows) {
        if (row->m_context == this)
            changes.written.push_back(row.get());
    }
    for (const auto &row : m_removedRows) {
        if (row->m_context != this)
            changes.removed.push_back({row->kind(), row->m_rowKey});
    }
    if (m_backend) {
        std::optional<QString> failure;
        try {
            m_backend->write(changes);
        } catch (const StoreError &error) {
            failure = error.description();
        } catch (const std::exception &error) {
            failure = QString::fromLocal8Bit(error.what());
        }
        if (failure) {
            // The failure must read as one even when the store gave no description.
            setSaveFailure(failure->isEmpty() ? QStringLiteral("?") : *failure);
            return {false, m_saveFailure};
        }
    }
    for (const auto &row : m_unsavedRows)
        row->m_unsaved = false;
    m_unsavedRows.clear();
    m_removedRows.clear();
    setSaveFailure({});
    return {};
}

void ModelContext::setSaveFailure(const QString &failure)
{
    if (failure == m_saveFailure)
        return;
    m_saveFailure = failure;
    Q_EMIT saveFailureChanged(failure);
}

void ModelContext::setUndoHistory(UndoHistory *history)
{
    m_undoHistory = history;
    if (history)
        history->setReplayFinisher([this] { stampReplayedRows(); });
}

void ModelContext::stampReplayedRows()
{
    // An undone or redone change is a new change: rows it touched get a fresh updatedAt, so that
    // sync and import see the reverted state as the newest one instead of silently keeping the
    // state that was undone.
    const auto rows = std::exchange(m_replayedRows, {});
    const Instant now = Clock::now();
    for (const auto &row : rows) {
        if (row->m_context == this)
            row->setUpdatedAt(now);
    }
    m_replayedRows.clear();
}

void ModelContext::announceStoreSave()
{
    Q_EMIT storeSaved();
}

void ModelContext::markUnsaved(Record &row)
{
    if (row.m_unsaved)
        return;
    row.m_unsaved = true;
    m_unsavedRows.push_back(row.shared_from_this());
}

void ModelContext::noteChangedKind(RecordKind kind)
{
    m_changedKinds |= kind;
    if (m_changeSignalQueued)
        return;
    m_changeSignalQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_changeSignalQueued = false;
            Q_EMIT changed(std::exchange(m_changedKinds, {}));
        },
        Qt::QueuedConnection);
}

UndoHistory *ModelContext::recordingHistory() const
{
    return m_undoHistory && m_undoHistory->isRecording() ? m_undoHistory.data() : nullptr;
}

} // namespace furrow
