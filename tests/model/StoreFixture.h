#pragma once

#include "LocalTime.h"
#include "model/Clock.h"
#include "model/PlannerNotifications.h"
#include "model/PlannerStore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace furrow::test {

// An in-memory planner with the clock fixed at 10:00 on 10 March 2026, counting saves by the
// "planner.did.change" notifications they post.
class StoreFixture : public ::testing::Test
{
protected:
    StoreFixture()
        : saves(&PlannerNotifications::center(), &PlannerNotifications::plannerDidChange)
    {
        Clock::setNow(localTime(2026, 3, 10, 10));
    }
    ~StoreFixture() override { Clock::useSystemTime(); }

    int saveCount() const { return int(saves.count()); }

    Page *addPage(const QString &name, qint64 order = 0)
    {
        return context.insert(std::make_shared<Page>(name, Page::defaultIconName, order));
    }
    Section *addSection(const QString &name, Page *page, qint64 order = 0)
    {
        return context.insert(std::make_shared<Section>(name, page, order));
    }
    TaskItem *addTask(const QString &title, Section *section, qint64 order,
                      Project *project = nullptr)
    {
        return context.insert(std::make_shared<TaskItem>(title, section, order, project));
    }
    Project *addProject(const QString &name, qint64 order = 0)
    {
        return context.insert(std::make_shared<Project>(name, Project::paletteHex(0), order));
    }

    // Orders of the rows, in the order given.
    template<class T>
    static std::vector<qint64> orders(const std::vector<T *> &rows)
    {
        std::vector<qint64> result;
        for (const T *row : rows)
            result.push_back(row->order());
        return result;
    }
    template<class T>
    static std::vector<QString> titles(const std::vector<T *> &rows)
    {
        std::vector<QString> result;
        for (const T *row : rows)
            result.push_back(row->title());
        return result;
    }

    // Lets queued work of the event loop run: coalesced change signals, closing undo steps.
    static void endEventLoopTurn() { QCoreApplication::processEvents(); }

    ModelContext context;
    PlannerStore store{context};
    QSignalSpy saves;
};

} // namespace furrow::test
