#pragma once

#include <QDate>
#include <QLocale>
#include <QStringList>

#include <functional>

namespace furrow {

// What a capture reading depends on besides the text: the day it is read on, the locale that
// orders numeric dates, whether dates are read at all, which hash words name a project and the
// phrases the user turned back into plain text.
struct CaptureContext
{
    QDate today;
    bool dayBeforeMonth = true; // "24/12" rather than "12/24"
    bool readDates = true;
    std::function<bool(const QString &token)> namesProject;
    QStringList refused; // phrase texts, lower case, never taken

    // Today from the planner's clock, the order of the time locale (LC_TIME) and the user's
    // setting; no project is named until namesProject is set.
    static CaptureContext current();
    static bool dayBeforeMonthIn(const QLocale &locale);

    // The user's setting "Read dates in what I type" (on unless turned off).
    static bool readsDates();
    static void setReadsDates(bool on);
};

} // namespace furrow
