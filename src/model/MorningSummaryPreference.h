#pragma once

#include <QDate>
#include <QTime>

namespace furrow {

// The morning summary's settings in the user's defaults: whether it is on (off unless the user
// turned it on), its time of day (09:00 unless set) and the last day it was sent on this
// computer.
namespace MorningSummaryPreference {

bool isOn();
void setOn(bool on);
QTime time();
void setTime(const QTime &time);
QDate lastSent();
void setLastSent(const QDate &day);

} // namespace MorningSummaryPreference
} // namespace furrow
