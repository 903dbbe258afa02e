#include "FindIndex.h"

#include "FindResults.h"
#include "FindScope.h"
#include "FoldedText.h"
#include "LinearFind.h"
#include "model/PlannerStore.h"

#include <QTimer>

#include <algorithm>
#include <set>

namespace furrow {

namespace {

// Tasks indexed per slice while building on the event loop: a few milliseconds each.
constexpr size_t kSliceSize = 1000;
// The first slice waits this long, so that the windows opened at start-up paint first.
constexpr int kStartDelayMs = 200;

QString projectNameOf(const TaskItem &task)
{
    const Project *project = task.project();
    return project && !project->deletedAt() ? project->name() : QString();
}

std::set<QString> keysOf(const QString &text)
{
    std::set<QString> keys;
    if (text.isEmpty())
        return keys;
    const FoldedText folded(text);
    for (const qsizetype start : folded.wordStarts())
        keys.insert(folded.keyAt(start));
    return keys;
}

QString lookupKey(const QString &word)
{
    qsizetype length = std::min(word.size(), FoldedText::kKeyLimit);
    if (length < word.size() && word.at(length - 1).isHighSurrogate())
        --length;
    return word.left(length);
}

} // namespace

FindIndex::FindIndex(ModelContext &context, QObject *parent)
    : QObject(parent)
    , m_context(context)
{
    connect(&context, &ModelContext::changed, this, [this](RecordKinds kinds) {
        if (kinds & (RecordKind::Task | RecordKind::Project))
            m_stale = true;
    });
}

void FindIndex::startBuilding()
{
    if (m_ready || m_building)
        return;
    m_building = true;
    ++m_pass;
    QTimer::singleShot(kStartDelayMs, this, &FindIndex::buildSlice);
}

void FindIndex::buildNow()
{
    if (m_ready)
        return;
    m_building = false;
    refresh();
    m_ready = true;
    Q_EMIT ready();
}

void FindIndex::buildSlice()
{
    if (m_ready)
        return;
    const auto &rows = m_context.rows<TaskItem>();
    const size_t end = std::min(rows.size(), m_buildPosition + kSliceSize);
    for (; m_buildPosition < end; ++m_buildPosition)
        upsert(*rows[m_buildPosition]);
    if (m_buildPosition < rows.size()) {
        QTimer::singleShot(0, this, &FindIndex::buildSlice);
        return;
    }
    // Rows may have come and gone between slices; one full pass settles them.
    buildNow();
}

void FindIndex::refresh()
{
    ++m_pass;
    const auto &rows = m_context.rows<TaskItem>();
    for (const auto &row : rows)
        upsert(*row);
    for (quint32 slot = 0; slot < m_entries.size(); ++slot) {
        if (m_entries[slot].used && m_entries[slot].pass != m_pass)
            release(slot);
    }
    m_rowCount = rows.size();
    m_lastRowKey = rows.empty() ? 0 : rows.back()->rowKey();
    m_stale = false;
}

void FindIndex::refreshIfStale()
{
    const auto &rows = m_context.rows<TaskItem>();
    const qint64 lastRowKey = rows.empty() ? 0 : rows.back()->rowKey();
    if (m_stale || rows.size() != m_rowCount || lastRowKey != m_lastRowKey)
        refresh();
}

void FindIndex::upsert(TaskItem &task)
{
    const auto found = m_slotByRowKey.constFind(task.rowKey());
    if (found == m_slotByRowKey.cend()) {
        quint32 slot = quint32(m_entries.size());
        if (!m_freeSlots.empty()) {
            slot = m_freeSlots.back();
            m_freeSlots.pop_back();
        } else {
            m_entries.emplace_back();
        }
        m_entries[slot]
            = {&task, task.rowKey(), task.title(), projectNameOf(task), task.note(), m_pass, true};
        m_slotByRowKey.insert(task.rowKey(), slot);
        index(slot, true);
        return;
    }
    Entry &entry = m_entries[*found];
    entry.task = &task;
    entry.pass = m_pass;
    const QString projectName = projectNameOf(task);
    if (entry.title == task.title() && entry.note == task.note()
        && entry.projectName == projectName)
        return;
    index(*found, false);
    entry.title = task.title();
    entry.note = task.note();
    entry.projectName = projectName;
    index(*found, true);
}

void FindIndex::index(quint32 slot, bool add)
{
    const Entry &entry = m_entries[slot];
    const QString titleText
        = entry.projectName.isEmpty() ? entry.title : entry.title + u' ' + entry.projectName;
    const std::pair<QString, quint32> fields[]
        = {{titleText, slot * 2}, {entry.note, slot * 2 + 1}};
    for (const auto &[text, posting] : fields) {
        for (const QString &key : keysOf(text)) {
            if (add) {
                m_postings[key].push_back(posting);
                continue;
            }
            const auto list = m_postings.find(key);
            if (list == m_postings.end())
                continue;
            std::erase(list->second, posting);
            if (list->second.empty())
                m_postings.erase(list);
        }
    }
}

void FindIndex::release(quint32 slot)
{
    index(slot, false);
    m_slotByRowKey.remove(m_entries[slot].rowKey);
    m_entries[slot] = {};
    m_freeSlots.push_back(slot);
}

std::vector<FindResult> FindIndex::search(const QString &text, const std::vector<Vector> &goals,
                                          qsizetype limit)
{
    const PlannerStore store(m_context);
    if (!m_ready)
        return LinearFind::search(store, text, goals, limit);
    refreshIfStale();
    const FindQuery query = FindQuery::parse(text);
    if (query.isEmpty())
        return {};
    const std::optional<Project *> project = FindScope::restriction(query, store);
    std::vector<FindCandidate> found;
    if (!project || *project)
        found = candidates(query, project);
    FindScope::addPlaces(query, store, goals, found);
    FindCandidate::keepBest(found, limit);
    return FindResults::build(found, query, goals);
}

bool FindIndex::accepts(const Entry &entry, const std::optional<Project *> &project) const
{
    return entry.used && FindScope::isSearchable(*entry.task)
           && (!project || entry.task->project() == *project);
}

std::vector<quint32> FindIndex::slotsWithAllWords(const std::vector<QString> &words,
                                                  std::vector<quint32> &titleCounts) const
{
    // Counts per slot of the words found anywhere and in the title text; a slot counts a word
    // once however many of its keys start with it.
    std::vector<quint32> anyCounts(m_entries.size()), anyLast(m_entries.size()),
        titleLast(m_entries.size());
    titleCounts.assign(m_entries.size(), 0);
    std::vector<quint32> complete;
    const quint32 wordCount = quint32(words.size());
    for (quint32 w = 1; w <= wordCount; ++w) {
        const QString key = lookupKey(words[w - 1]);
        for (auto it = m_postings.lower_bound(key);
             it != m_postings.end() && it->first.startsWith(key); ++it) {
            for (const quint32 posting : it->second) {
                const quint32 slot = posting / 2;
                if (posting % 2 == 0 && titleLast[slot] != w) {
                    titleLast[slot] = w;
                    ++titleCounts[slot];
                }
                if (anyLast[slot] == w)
                    continue;
                anyLast[slot] = w;
                if (++anyCounts[slot] == wordCount)
                    complete.push_back(slot);
            }
        }
    }
    return complete;
}

std::vector<FindCandidate> FindIndex::candidates(const FindQuery &query,
                                                 const std::optional<Project *> &project)
{
    std::vector<FindCandidate> found;
    const auto add = [&](const Entry &entry, bool noteMatch) {
        const TaskItem &task = *entry.task;
        found.push_back({.task = entry.task,
                         .noteMatch = noteMatch,
                         .rank = FindScope::rankOf(task),
                         .updatedAt = task.updatedAt(),
                         .key = entry.rowKey});
    };
    if (query.words.empty()) {
        for (const Entry &entry : m_entries) {
            if (accepts(entry, project))
                add(entry, false);
        }
        return found;
    }
    // Keys are cut to a limit, so a longer word is checked on the texts themselves.
    const bool verify = std::any_of(query.words.begin(), query.words.end(), [](const QString &w) {
        return w.size() > FoldedText::kKeyLimit;
    });
    std::vector<quint32> titleCounts;
    for (const quint32 slot : slotsWithAllWords(query.words, titleCounts)) {
        const Entry &entry = m_entries[slot];
        if (!accepts(entry, project))
            continue;
        bool noteMatch = titleCounts[slot] != query.words.size();
        if (verify
            && !FindScope::matches(query.words, FindScope::titleText(*entry.task),
                                   entry.task->note(), &noteMatch))
            continue;
        add(entry, noteMatch);
    }
    return found;
}

} // namespace furrow
