#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>

namespace furrow {

class ModelContext;

// Keeps saving while the store refuses: every interval for as long as a failed save's changes
// are pending, through the planner store, so that the save that gets through is announced (the
// backup file, the icon, sync) as any other. The next change tries as well, by its own save.
class SaveRetry : public QObject
{
    Q_OBJECT

public:
    static constexpr std::chrono::milliseconds kInterval{30000};

    explicit SaveRetry(ModelContext &context, std::chrono::milliseconds interval = kInterval,
                       QObject *parent = nullptr);

private:
    void follow(const QString &failure);

    ModelContext &m_context;
    QTimer *m_timer;
};

} // namespace furrow
