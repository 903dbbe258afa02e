#pragma once

#include <QObject>

namespace furrow {

// The process-wide notification centre of the planner: one signal per notification name, so
// parts of the application can ask each other to act without holding references.
class PlannerNotifications : public QObject
{
    Q_OBJECT

public:
    static constexpr const char *didChangeName = "planner.did.change";
    static constexpr const char *quickCaptureName = "planner.quickCapture";
    static constexpr const char *hotkeyChangedName = "planner.hotkeyChanged";
    static constexpr const char *focusInputName = "planner.focusInput";
    static constexpr const char *openArchiveName = "planner.openArchive";

    static PlannerNotifications &center();

Q_SIGNALS:
    void plannerDidChange();
    void plannerQuickCapture();
    void plannerHotkeyChanged(bool registered);
    void plannerFocusInput();
    void plannerOpenArchive();

private:
    PlannerNotifications() = default;
};

} // namespace furrow
