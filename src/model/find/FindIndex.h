#pragma once

#include "FindCandidate.h"
#include "FindQuery.h"
#include "FindResult.h"

#include "model/Record.h"
#include "model/VectorStore.h"

#include <QHash>
#include <QObject>

#include <map>
#include <optional>

namespace furrow {

class ModelContext;
class Project;

// An in-memory word index over the tasks' titles, project names and notes. It is built in
// slices on the event loop after start-up (searching linearly until then) and follows every
// change of the context: after a change turn, the next search compares each task's texts
// with the ones indexed and re-indexes only those that differ.
class FindIndex : public QObject
{
    Q_OBJECT

public:
    explicit FindIndex(ModelContext &context, QObject *parent = nullptr);

    // Builds in slices between events, starting a moment later; the ready() signal says when
    // it is done.
    void startBuilding();
    // Builds at once, for a search that is about to run anyway.
    void buildNow();
    bool isReady() const { return m_ready; }

    // The best `limit` results in ranking order (all when the limit is negative).
    std::vector<FindResult> search(const QString &query, const std::vector<Vector> &goals,
                                   qsizetype limit);

Q_SIGNALS:
    void ready();

private:
    struct Entry
    {
        TaskItem *task = nullptr;
        qint64 rowKey = 0;
        QString title;
        QString projectName;
        QString note;
        quint32 pass = 0;
        bool used = false;
    };

    void buildSlice();
    void refresh();
    void refreshIfStale();
    void upsert(TaskItem &task);
    void index(quint32 slot, bool add);
    void release(quint32 slot);
    std::vector<FindCandidate> candidates(const FindQuery &query,
                                          const std::optional<Project *> &project);
    std::vector<quint32> slotsWithAllWords(const std::vector<QString> &words,
                                           std::vector<quint32> &titleCounts) const;
    bool accepts(const Entry &entry, const std::optional<Project *> &project) const;

    ModelContext &m_context;
    std::vector<Entry> m_entries;
    std::vector<quint32> m_freeSlots;
    QHash<qint64, quint32> m_slotByRowKey;
    // Folded word keys to postings: the slot times two, plus one for a key from the note.
    std::map<QString, std::vector<quint32>> m_postings;
    quint32 m_pass = 0;
    size_t m_buildPosition = 0;
    bool m_building = false;
    bool m_ready = false;
    bool m_stale = false;
    // The task rows seen by the last refresh, to notice rows added or removed in the same
    // event-loop turn as a search, before the context's change signal arrives.
    size_t m_rowCount = 0;
    qint64 m_lastRowKey = 0;
};

} // namespace furrow
