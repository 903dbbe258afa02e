#pragma once

#include <QUuid>

namespace furrow {

// What the right side of the main window shows: one page, named by its id, or the goals page.
struct SidebarSelection
{
    enum class Kind { Goals, Page };

    Kind kind = Kind::Goals;
    QUuid pageId; // null for the goals page

    static SidebarSelection goals() { return {}; }
    static SidebarSelection page(const QUuid &id) { return {Kind::Page, id}; }

    bool isGoals() const { return kind == Kind::Goals; }
    friend bool operator==(const SidebarSelection &, const SidebarSelection &) = default;
};

} // namespace furrow
