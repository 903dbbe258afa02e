#pragma once

#include "model/ModelContext.h"
#include "model/PlannerStore.h"
#include "shell/tray/TrayPanel.h"
#include "shell/tray/TrayTaskRow.h"
#include "views/widgets/TextLabel.h"

#include <QCoreApplication>
#include <QStringList>

namespace furrow {

// Lets the coalesced change signal and deferred deletions run.
inline void settleEvents()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// A planner in memory with helpers to fill the first page and read the tray panel.
struct TrayFixture
{
    ModelContext context;
    PlannerStore store{context};

    Section *section(Page &page, const QString &name, int openTasks)
    {
        Section *section = store.createSection(name, page);
        // Inserted rather than captured, so that a section named "Today" gives "Today 1".
        for (int i = 1; i <= openTasks; ++i)
            context.insert(
                std::make_shared<TaskItem>(name + u' ' + QString::number(i), section, i, nullptr));
        store.save();
        return section;
    }

    static QStringList headings(const TrayPanel &panel)
    {
        QStringList result;
        for (const TextLabel *label :
             panel.findChildren<TextLabel *>(QStringLiteral("traySectionHeading")))
            result.append(label->text());
        return result;
    }

    static QStringList rowTitles(const TrayPanel &panel)
    {
        QStringList result;
        for (const TrayTaskRow *row : panel.findChildren<TrayTaskRow *>())
            result.append(row->title());
        return result;
    }
};

} // namespace furrow
