#include "StoreFixture.h"

#include "model/find/FindIndex.h"
#include "model/find/LinearFind.h"

#include <random>

namespace furrow::test {
namespace {

const char *const kWords[]
    = {"call",        "bank",       "garden",   "report",  "review",
       "café",        "crème",      "plan",     "dentist", "invoice",
       "school",      "Москва",     "письмо",   "東京",    "会議",
       "🎉",           "taxes",      "travel",   "ticket",  "internationalisation",
       "repair",      "bicycle",    "read",     "write",   "calendar",
       "calligraphy", "bankruptcy", "über",     "naïve",   "résumé",
       "quarter",     "budget",     "notebook", "x"};

// A planner of 10 000 tasks on pages (some done) and 50 000 archived ones, a third with
// notes, with the same random texts and times every run.
class LargeFindFixture : public StoreFixture
{
protected:
    LargeFindFixture()
    {
        for (int p = 0; p < 3; ++p) {
            Page *page = addPage(QStringLiteral("Page %1").arg(p), p);
            for (int s = 0; s < 3; ++s)
                sections.push_back(addSection(QStringLiteral("Section %1").arg(s), page, s));
        }
        for (int i = 0; i < 5; ++i)
            projects.push_back(addProject(QString::fromUtf8(kWords[i * 3 + 2]) + "s", i));
        for (int i = 0; i < 60000; ++i)
            addRandomTask(i, i >= 10000);
    }

    QString words(int count)
    {
        QStringList list;
        for (int i = 0; i < count; ++i)
            list << QString::fromUtf8(kWords[pick(std::size(kWords))]);
        return list.join(u' ');
    }

    size_t pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); }

    TaskItem *addRandomTask(int order, bool archived)
    {
        TaskItem *task = addTask(words(1 + int(pick(4))), sections[pick(sections.size())], order,
                                 pick(3) == 0 ? projects[pick(projects.size())] : nullptr);
        if (pick(3) == 0)
            task->setNote(words(3 + int(pick(20))));
        task->setUpdatedAt(localTime(2025, 1, 1) + std::chrono::minutes(pick(500000)));
        if (archived || pick(4) == 0) {
            task->setDone(true);
            task->setDoneAt(task->updatedAt());
        }
        if (archived) {
            task->setDone(pick(2) == 0);
            task->setArchivedAt(task->updatedAt());
        }
        return task;
    }

    static std::vector<std::pair<QUuid, QString>> summary(const std::vector<FindResult> &results)
    {
        std::vector<std::pair<QUuid, QString>> rows;
        for (const FindResult &r : results)
            rows.emplace_back(r.kind == FindResult::Kind::Goal ? QUuid() : r.id, r.snippet);
        return rows;
    }

    void expectIndexAgreesWithLinearSearch(FindIndex &index)
    {
        const QString queries[] = {"a",
                                   "ca",
                                   "call bank",
                                   "caf",
                                   "CRÈME",
                                   "москва",
                                   "京",
                                   "🎉",
                                   "#gardens",
                                   "#rev call",
                                   "dentist invoice plan",
                                   "internationalisatio",
                                   "internationalisation read",
                                   "x",
                                   "bankr",
                                   "page",
                                   "zzz"};
        for (const QString &query : queries) {
            SCOPED_TRACE(query.toStdString());
            EXPECT_EQ(summary(index.search(query, {}, 300)),
                      summary(LinearFind::search(store, query, {}, 300)));
        }
    }

    std::mt19937 random{20261207};
    std::vector<Section *> sections;
    std::vector<Project *> projects;
};

TEST_F(LargeFindFixture, theIndex_answersLikeTheLinearSearchAt60000Tasks)
{
    FindIndex index(context);
    index.buildNow();
    expectIndexAgreesWithLinearSearch(index);
}

TEST_F(LargeFindFixture, theIndex_followsEditsClosesArchivesDeletionsAndRenames)
{
    FindIndex index(context);
    index.buildNow();
    const auto tasks = store.allTasks();
    for (int i = 0; i < 300; ++i) {
        TaskItem &task = *tasks[pick(tasks.size())];
        switch (i % 6) {
        case 0:
            task.setTitle(words(2));
            break;
        case 1:
            task.setNote(pick(2) ? words(5) : QString());
            break;
        case 2:
            task.setDone(!task.isDone());
            break;
        case 3:
            task.setArchivedAt(task.isArchived() ? OptionalInstant() : Clock::now());
            break;
        case 4:
            task.setDeletedAt(Clock::now());
            break;
        case 5:
            task.setUpdatedAt(Clock::now());
            break;
        }
    }
    projects[0]->setName(QStringLiteral("Allotment"));
    for (int i = 0; i < 50; ++i)
        context.remove(*tasks[pick(tasks.size())]);
    endEventLoopTurn();
    expectIndexAgreesWithLinearSearch(index);
}

TEST_F(LargeFindFixture, tasksAddedAndRemovedInTheSameTurn_areSeenByTheNextSearch)
{
    FindIndex index(context);
    index.buildNow();
    addTask(QStringLiteral("Zebra crossing"), sections[0], 1);
    EXPECT_EQ(index.search(QStringLiteral("zebra"), {}, -1).size(), 1u);
    context.remove(*store.allTasks().front());
    EXPECT_EQ(summary(index.search(QStringLiteral("call"), {}, 300)),
              summary(LinearFind::search(store, QStringLiteral("call"), {}, 300)));
}

TEST_F(LargeFindFixture, buildingInTheBackground_searchesLinearlyUntilReady)
{
    FindIndex index(context);
    QSignalSpy ready(&index, &FindIndex::ready);
    index.startBuilding();
    EXPECT_FALSE(index.isReady());
    EXPECT_EQ(summary(index.search(QStringLiteral("bank"), {}, 50)),
              summary(LinearFind::search(store, QStringLiteral("bank"), {}, 50)));
    // Changes between slices are settled by the final pass.
    addTask(QStringLiteral("Zebra crossing"), sections[0], 1);
    ASSERT_TRUE(ready.wait(20000));
    EXPECT_EQ(index.search(QStringLiteral("zebra"), {}, -1).size(), 1u);
    expectIndexAgreesWithLinearSearch(index);
}

} // namespace
} // namespace furrow::test
