#include "SaveRetry.h"

#include "model/ModelContext.h"
#include "model/PlannerStore.h"

namespace furrow {

SaveRetry::SaveRetry(ModelContext &context, std::chrono::milliseconds interval, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_timer(new QTimer(this))
{
    m_timer->setInterval(interval);
    connect(m_timer, &QTimer::timeout, this, [this] { PlannerStore(m_context).save(); });
    connect(&context, &ModelContext::saveFailureChanged, this, &SaveRetry::follow);
    follow(context.saveFailure());
}

void SaveRetry::follow(const QString &failure)
{
    if (failure.isEmpty())
        m_timer->stop();
    else if (!m_timer->isActive())
        m_timer->start();
}

} // namespace furrow
