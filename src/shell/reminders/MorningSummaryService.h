#pragma once

#include "SleepWatch.h"

#include <QObject>
#include <QTimer>
#include <QUuid>

namespace furrow {

class DesktopNotifier;
class ModelContext;

// Sends the morning summary once a day at its time while it is on: how many tasks are due
// today and overdue, with the first titles. One missed while the planner did not run or the
// computer slept goes out at the next start or resume on the same day, never later. Open asks
// for the first page that holds one of the tasks.
class MorningSummaryService : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::seconds kLongestWait{60};

    MorningSummaryService(ModelContext &context, DesktopNotifier &notifier,
                          QObject *parent = nullptr);

    // Sends today's summary when it is due and not sent yet, then waits for the next.
    void check();

Q_SIGNALS:
    void openPageRequested(const QUuid &pageId);

private:
    void send();

    ModelContext &m_context;
    DesktopNotifier &m_notifier;
    QTimer m_timer;
    SleepWatch m_sleep;
    uint m_shownId = 0;
    QUuid m_pageId;
};

} // namespace furrow
