#pragma once

#include "ServerTestKit.h"

#include "model/Calendar.h"
#include "model/Clock.h"
#include "model/LiveRecords.h"
#include "model/PlannerStore.h"
#include "model/UndoHistory.h"
#include "model/UserDefaults.h"
#include "persistence/PlannerSnapshot.h"
#include "sync/Snapshot.h"
#include "sync/SyncEngine.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <random>

// Planners that sync with the test server: each a device with a context, an undo history and an
// engine of its own.
namespace furrow::test {

using namespace std::chrono_literals;

inline const QString kPhrase = QStringLiteral("correct horse battery");
// Not on a whole millisecond: the wire rounds every time.
inline const Instant kStart = instantFromMicroseconds(1733400000062500);
inline const QString kManyUnreadable
    = QStringLiteral(" записей не прочитались — проверьте секретную фразу");

// One planner of a scenario: a context of its own and an engine whose defaults live in a
// folder of their own, so that two planners in one process are separate devices.
struct Planner
{
    explicit Planner(const QString &url, const QString &phrase = kPhrase)
    {
        configure({{"sync.address", url},
                   {"sync.token", QString::fromStdString(ServerHarness::kToken)},
                   {"sync.phrase", phrase},
                   {"sync.on", true}});
        context.setUndoHistory(&history);
    }

    // Writes `values` into the planner's defaults, as an editor of its configuration file
    // would, and starts a new engine, which reads them.
    void configure(const std::map<QString, QVariant> &values)
    {
        // The engine opens its defaults once, when it is made.
        const QByteArray shared = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
        const auto defaults = UserDefaults::open();
        for (const auto &[key, value] : values)
            defaults->setValue(key, value);
        defaults->sync();
        engine.reset();
        engine = std::make_unique<SyncEngine>(context, SyncEngine::Timing{1h, 1h, 10s});
        qputenv("XDG_CONFIG_HOME", shared);
    }

    // Every record as the wire carries it, unsealed, by kind and id.
    std::vector<SyncRecord> records()
    {
        std::vector<SyncRecord> out = Snapshot(context).changes(-INFINITY);
        std::ranges::sort(out, {}, [](const SyncRecord &r) { return std::pair(r.kind, r.id); });
        return out;
    }
    // The backup document with its lists in a fixed order.
    QByteArray exported()
    {
        PlannerArchive archive = PlannerSnapshot::snapshot(store);
        archive.savedAt = Instant();
        std::ranges::sort(archive.projects, {}, [](const auto &project) { return project.id; });
        std::ranges::sort(archive.tasks, {}, [](const auto &task) { return task.id; });
        std::ranges::sort(archive.days, {}, [](const auto &day) { return day.date; });
        return archive.encode();
    }
    // A task on a section of a page of its own, all named after `name`.
    TaskItem *addTask(const QString &name)
    {
        Page *page = store.createPage("Page-" + name, QStringLiteral("house"));
        return store.capture("Task-" + name, store.createSection("Section-" + name, *page),
                             nullptr);
    }

    QTemporaryDir config;
    UndoHistory history;
    ModelContext context;
    PlannerStore store{context};
    std::unique_ptr<SyncEngine> engine;
};

inline void syncCleanly(Planner &planner)
{
    EXPECT_TRUE(planner.engine->syncAndWait()) << planner.engine->status().message.toStdString();
}

// A random change, as a person would make it, a little over a second after the one before.
// Every text holds a '-', which base64 never does, so it can be searched for in the server's files.
inline void randomEdit(PlannerStore &store, std::mt19937 &random)
{
    static int count = 0;
    const auto name = [](const char *prefix) {
        return prefix + QString::number(++count);
    };
    const auto pick = [&](const auto &list) {
        return list.empty() ? nullptr : list[random() % list.size()];
    };
    Clock::advance(1'000'317us);
    const ModelContext &context = store.context();
    std::vector<Section *> sections = live(context.fetchAll<Section>());
    std::erase_if(sections, [](Section *s) { return !s->page() || !s->page()->isLive(); });
    Section *section = pick(sections);
    Project *project = pick(live(context.fetchAll<Project>()));
    TaskItem *task = pick(active(context.fetchAll<TaskItem>()));
    if (!section)
        section = store.createSection(name("Section-"), *store.ensureStarterPage());
    // The first one is the only change possible before there is a task.
    const std::function<void()> edits[] = {
        [&] {
            store.capture(name("Task-") + (project && random() % 2 ? " #" + project->name() : ""),
                          section, nullptr);
        },
        [&] { store.applyInlineEdit(name("Task-renamed-"), *task); },
        [&] { store.setNote(name("Note-"), *task); },
        [&] { task->isDone() ? store.reopen(*task) : store.close(*task); },
        [&] { store.move(*task, section, qint64(random() % 4)); },
        [&] {
            store.setDueDate(random() % 3 ? Calendar::startOfDay(Clock::now()) : OptionalInstant(),
                             *task);
        },
        [&] { store.setProject(random() % 3 ? project : nullptr, *task); },
        [&] { store.archive(*task); },
        [&] { store.createSection(name("Section-"), *section->page()); },
        [&] { store.deleteSection(*section); },
        [&] { store.createPage(name("Page-"), QStringLiteral("house")); },
        [&] { store.deletePage(*section->page()); },
        [&] { store.createProject(name("proj-")); },
        [&] { project ? store.deleteProject(*project) : void(); },
        [&] { store.stampToday(), store.save(); },
    };
    edits[task ? random() % std::size(edits) : 0]();
}

} // namespace furrow::test
