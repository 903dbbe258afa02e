#pragma once

#include "ViewTestSupport.h"
#include "model/Clock.h"
#include "model/PlannerStore.h"
#include "views/board/DragState.h"
#include "views/board/NoteEditor.h"
#include "views/board/NoteText.h"
#include "views/board/PageView.h"
#include "views/board/RowTrailing.h"
#include "views/board/SectionBlock.h"
#include "views/board/TaskRow.h"
#include "views/board/TitleEditor.h"
#include "views/board/TitleText.h"
#include "views/widgets/IconButton.h"
#include "views/widgets/TaskBox.h"

#include <QCursor>
#include <QVBoxLayout>

namespace furrow {

// The parts of a task row, found by their object names as a user finds them on the screen.
inline TaskBox *checkBox(const QWidget *row)
{
    return row->findChild<TaskBox *>(u"checkBox"_s);
}
inline TitleText *titleText(const QWidget *row)
{
    return row->findChild<TitleText *>(u"titleText"_s);
}
inline TitleEditor *titleEditor(const QWidget *row)
{
    return row->findChild<TitleEditor *>(u"titleEditor"_s);
}
inline NoteText *noteText(const QWidget *row)
{
    return row->findChild<NoteText *>(u"noteText"_s);
}
inline NoteEditor *noteEditor(const QWidget *row)
{
    return row->findChild<NoteEditor *>(u"noteEditor"_s);
}
inline IconButton *noteButton(const QWidget *row)
{
    return row->findChild<IconButton *>(u"noteButton"_s);
}
inline RowTrailing *trailing(const QWidget *row)
{
    return row->findChild<RowTrailing *>(u"trailing"_s);
}

// A page "Work" with the sections "In flight" (two open tasks, the first under the project
// "Work") and "Later" (empty), shown in an active window on 10 August 2021 at noon.
class BoardTest : public testing::Test
{
protected:
    void SetUp() override
    {
        Clock::setNow(localTime(2021, 8, 10, 12));
        PlannerStore store(context);
        page = store.createPage(QStringLiteral("Work"), QStringLiteral("briefcase"));
        inFlight = store.createSection(QStringLiteral("In flight"), *page);
        later = store.createSection(QStringLiteral("Later"), *page);
        work = store.createProject(QStringLiteral("Work"));
        home = store.createProject(QStringLiteral("Home"));
        first = store.capture(QStringLiteral("Write the summary #work"), inFlight, nullptr);
        second = store.capture(QStringLiteral("Send the invoice"), inFlight, nullptr);

        window.resize(900, 700);
        auto *layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        menus = new MenuController(&window);
        view = new PageView(context, *menus, &window);
        layout->addWidget(view);
        view->setPage(page->id());
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        // Rows that appear under a pointer left behind by an earlier test would turn hovered.
        QCursor::setPos(window.geometry().bottomRight() + QPoint(200, 200));
        settle();
    }

    void TearDown() override
    {
        DragState::shared().setDraggingId({});
        DragState::shared().setPayload(nullptr);
        DragState::shared().setSourceRunning(false);
        Clock::useSystemTime();
    }

    TaskRow *row(const TaskItem *task) const { return view->row(task->id()); }
    SectionBlock *block(const Section *section) const { return view->block(section->id()); }

    std::vector<QUuid> rowIds(const Section *section) const
    {
        std::vector<QUuid> ids;
        for (const TaskRow *taskRow : block(section)->rows())
            ids.push_back(taskRow->taskId());
        return ids;
    }

    ModelContext context;
    QWidget window;
    MenuController *menus = nullptr;
    PageView *view = nullptr;
    Page *page = nullptr;
    Section *inFlight = nullptr;
    Section *later = nullptr;
    Project *work = nullptr;
    Project *home = nullptr;
    TaskItem *first = nullptr;
    TaskItem *second = nullptr;
};

} // namespace furrow
