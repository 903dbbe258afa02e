#pragma once

#include <QObject>

namespace furrow {

// Tells when the computer wakes from suspend, from logind's PrepareForSleep signal on the
// system bus; without logind it stays silent and the reminders' coarse tick catches up.
class SleepWatch : public QObject
{
    Q_OBJECT

public:
    explicit SleepWatch(QObject *parent = nullptr);

Q_SIGNALS:
    void resumed();

private Q_SLOTS:
    void onPrepareForSleep(bool sleeping);
};

} // namespace furrow
