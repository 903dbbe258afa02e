#pragma once

#include "DayPlan.h"
#include "Page.h"
#include "Project.h"
#include "Section.h"
#include "StoreBackend.h"
#include "TaskItem.h"
#include "UndoHistory.h"

#include <QObject>
#include <QPointer>

#include <algorithm>
#include <vector>

namespace furrow {

// The persistent object context: owns every row of the five record types, in insertion order.
// Field writes, insertions and removals all pass through it, so it knows what to save, records
// undo steps in the installed history and tells views what changed, once per event-loop turn.
class ModelContext : public QObject
{
    Q_OBJECT

public:
    struct SaveResult
    {
        bool ok = true;
        QString error; // the error's description when the save failed
    };

    explicit ModelContext(QObject *parent = nullptr);
    ~ModelContext() override;

    // Every row of one type, in insertion order.
    template<class T>
    const std::vector<std::shared_ptr<T>> &rows() const;
    template<class T>
    std::vector<T *> fetchAll() const;

    // Adds a new row; it is written by the next save.
    template<class T>
    T *insert(std::shared_ptr<T> row);
    // Adds a row read from the persistent store under its stored key; nothing is recorded.
    template<class T>
    T *insertStored(std::shared_ptr<T> row, qint64 rowKey);

    // Removes rows for good. Every reference from a remaining row to a removed one becomes
    // absent first (tasks' project and section, sections' page).
    void remove(Record &row);
    void remove(const std::vector<Record *> &rows);

    bool hasChanges() const;
    // Writes all pending changes through the backend. On failure they stay pending and are
    // written by the next successful save. Without a backend the context lives in memory only.
    SaveResult save();
    // Why the latest save failed while its changes are still pending; empty once a save wrote
    // them.
    const QString &saveFailure() const { return m_saveFailure; }

    void setBackend(StoreBackend *backend) { m_backend = backend; }
    void setUndoHistory(UndoHistory *history);
    UndoHistory *undoHistory() const { return m_undoHistory; }

    // Called by PlannerStore::save() after a successful save; emits storeSaved().
    void announceStoreSave();

Q_SIGNALS:
    // Rows of these kinds were inserted, removed or changed during the last event-loop turn.
    void changed(furrow::RecordKinds kinds);
    // The planner store saved; the backup writer and the application icon follow this.
    void storeSaved();
    // A save failed (with why) or, after failures, one succeeded (with an empty text).
    void saveFailureChanged(const QString &failure);

private:
    friend class Record;

    template<class T>
    std::vector<std::shared_ptr<T>> &mutableRows();
    template<class T>
    void attach(const std::shared_ptr<T> &row);
    template<class T>
    void detach(T &row);
    void detachRecord(Record &row);
    void retract(Record &row);
    bool isReferenced(const Record &row, bool byLiveRowsOnly) const;

    template<class MakeReversal>
    void noteFieldChange(Record &row, MakeReversal &&makeReversal);
    void markUnsaved(Record &row);
    void noteChangedKind(RecordKind kind);
    UndoHistory *recordingHistory() const;
    void stampReplayedRows();
    void setSaveFailure(const QString &failure);

    std::vector<std::shared_ptr<TaskItem>> m_tasks;
    std::vector<std::shared_ptr<Project>> m_projects;
    std::vector<std::shared_ptr<Page>> m_pages;
    std::vector<std::shared_ptr<Section>> m_sections;
    std::vector<std::shared_ptr<DayPlan>> m_dayPlans;

    std::vector<std::shared_ptr<Record>> m_unsavedRows;
    std::vector<std::shared_ptr<Record>> m_removedRows;
    std::vector<std::shared_ptr<Record>> m_replayedRows;
    qint64 m_nextRowKey = 1;

    StoreBackend *m_backend = nullptr;
    QPointer<UndoHistory> m_undoHistory;
    RecordKinds m_changedKinds;
    bool m_changeSignalQueued = false;
    QString m_saveFailure;
};

template<class T>
std::vector<std::shared_ptr<T>> &ModelContext::mutableRows()
{
    if constexpr (std::is_same_v<T, TaskItem>)
        return m_tasks;
    else if constexpr (std::is_same_v<T, Project>)
        return m_projects;
    else if constexpr (std::is_same_v<T, Page>)
        return m_pages;
    else if constexpr (std::is_same_v<T, Section>)
        return m_sections;
    else {
        static_assert(std::is_same_v<T, DayPlan>, "not a record type");
        return m_dayPlans;
    }
}

template<class T>
const std::vector<std::shared_ptr<T>> &ModelContext::rows() const
{
    return const_cast<ModelContext *>(this)->mutableRows<T>();
}

template<class T>
std::vector<T *> ModelContext::fetchAll() const
{
    const auto &list = rows<T>();
    std::vector<T *> result;
    result.reserve(list.size());
    for (const auto &row : list)
        result.push_back(row.get());
    return result;
}

template<class T>
T *ModelContext::insert(std::shared_ptr<T> row)
{
    row->m_rowKey = m_nextRowKey++;
    attach(row);
    return row.get();
}

template<class T>
T *ModelContext::insertStored(std::shared_ptr<T> row, qint64 rowKey)
{
    row->m_rowKey = rowKey;
    m_nextRowKey = std::max(m_nextRowKey, rowKey + 1);
    auto &list = mutableRows<T>();
    row->m_context = this;
    // The store reads rows in key order: each one goes at the end.
    if (list.empty() || list.back()->m_rowKey < rowKey) {
        list.push_back(std::move(row));
        return list.back().get();
    }
    const auto at = std::lower_bound(list.begin(), list.end(), rowKey,
                                     [](const auto &r, qint64 key) { return r->m_rowKey < key; });
    return list.insert(at, std::move(row))->get();
}

template<class T>
void ModelContext::attach(const std::shared_ptr<T> &row)
{
    auto &list = mutableRows<T>();
    // Rows stay sorted by key, which is insertion order; a row brought back by undo returns
    // to its old place.
    const auto at = std::lower_bound(list.begin(), list.end(), row->m_rowKey,
                                     [](const auto &r, qint64 key) { return r->m_rowKey < key; });
    list.insert(at, row);
    row->m_context = this;
    markUnsaved(*row);
    noteChangedKind(row->kind());
    if (UndoHistory *history = recordingHistory())
        history->record([this, row] { retract(*row); });
}

template<class T>
void ModelContext::detach(T &row)
{
    auto &list = mutableRows<T>();
    const auto at = std::lower_bound(list.begin(), list.end(), row.m_rowKey,
                                     [](const auto &r, qint64 key) { return r->m_rowKey < key; });
    if (at == list.end() || at->get() != &row)
        return;
    std::shared_ptr<T> kept = *at;
    list.erase(at);
    row.m_context = nullptr;
    m_removedRows.push_back(kept);
    noteChangedKind(row.kind());
    if (UndoHistory *history = recordingHistory())
        history->record([this, kept] { attach(kept); });
}

template<class MakeReversal>
void ModelContext::noteFieldChange(Record &row, MakeReversal &&makeReversal)
{
    markUnsaved(row);
    noteChangedKind(row.kind());
    UndoHistory *history = recordingHistory();
    if (!history)
        return;
    history->record(makeReversal());
    if (history->isReplaying())
        m_replayedRows.push_back(row.shared_from_this());
}

} // namespace furrow

Q_DECLARE_METATYPE(furrow::RecordKinds)
