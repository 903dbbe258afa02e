#include "MorningSummaryService.h"

#include "DesktopNotifier.h"

#include "model/Clock.h"
#include "model/MorningSummary.h"
#include "model/MorningSummaryPreference.h"
#include "model/PlannerStore.h"

#include <QDateTime>
#include <QPointer>

namespace furrow {

MorningSummaryService::MorningSummaryService(ModelContext &context, DesktopNotifier &notifier,
                                             QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_notifier(notifier)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &MorningSummaryService::check);
    connect(&m_sleep, &SleepWatch::resumed, this, &MorningSummaryService::check);
    connect(&m_notifier, &DesktopNotifier::actionInvoked, this,
            [this](uint id, const QString &key) {
                if (id == m_shownId && id != 0 && key == DesktopNotifier::kDefaultAction)
                    Q_EMIT openPageRequested(m_pageId);
            });
}

void MorningSummaryService::check()
{
    const QDateTime now = toLocalDateTime(Clock::now());
    const QDateTime sendAt(now.date(), MorningSummaryPreference::time());
    if (MorningSummaryPreference::isOn() && now >= sendAt
        && MorningSummaryPreference::lastSent() != now.date()) {
        MorningSummaryPreference::setLastSent(now.date());
        send();
    }
    // Checked at least once a minute, so that a changed time, switch or clock is followed.
    const qint64 untilSend = now < sendAt ? now.msecsTo(sendAt) : now.msecsTo(sendAt.addDays(1));
    m_timer.start(int(std::min<qint64>(untilSend, kLongestWait.count() * 1000)));
}

void MorningSummaryService::send()
{
    const auto summary = MorningSummary::of(PlannerStore(m_context), Clock::now());
    if (!summary)
        return;
    m_pageId = summary->firstPageId;
    QPointer<MorningSummaryService> self(this);
    m_notifier.notify(summary->title(), summary->body(),
                      {{DesktopNotifier::kDefaultAction, QStringLiteral("Open")}}, [self](uint id) {
                          if (self)
                              self->m_shownId = id;
                      });
}

} // namespace furrow
